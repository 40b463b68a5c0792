#pragma once
// The part of the main window right of the item list: a soft colour gradient behind
// whichever of the main chart and the value list is shown.
#include <QWidget>

namespace kolma::ui {

class TClientArea : public QWidget {
  Q_OBJECT
 public:
  explicit TClientArea(QWidget* parent = nullptr);

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace kolma::ui
