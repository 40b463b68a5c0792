#pragma once
// The part of the main window right of the item list: a soft colour gradient behind
// whichever of the main chart and the value list is shown, and while neither is, a short
// guide with links to the first steps.
#include <QList>
#include <QWidget>

class QLabel;

namespace kolma::ui {

class TClientArea : public QWidget {
  Q_OBJECT
 public:
  // What the links of the guide ask for.
  static constexpr const char* kOpenExampleLink = "example";
  static constexpr const char* kOpenProjectLink = "open";
  static constexpr const char* kDefineSectionLink = "section";

  explicit TClientArea(QWidget* parent = nullptr);

  // Lays `picture` over the whole area; the guide hides while a picture is shown.
  void AddPicture(QWidget* picture);
  QLabel* StartGuide() const { return guide_; }

 signals:
  void StartLinkActivated(const QString& link);

 protected:
  void paintEvent(QPaintEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void UpdateGuide();

  QLabel* guide_ = nullptr;
  QList<QWidget*> pictures_;
};

}  // namespace kolma::ui
