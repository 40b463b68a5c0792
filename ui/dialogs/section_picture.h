#pragma once
// The picture at the top of the section dialog: the section from the upstream face (Xu)
// to the downstream face (Xd), its division points graded as the dialog's number of
// divisions and ratio give them, with the first and the middle spacing marked.
#include <QWidget>
#include <vector>

namespace kolma::ui {

class TSectionPicture : public QWidget {
  Q_OBJECT
 public:
  explicit TSectionPicture(QWidget* parent = nullptr);

  // Divisions and ratio of the drawn grid; values the node distribution refuses draw
  // equal spacings.
  void setDistribution(int divisions, double ratio);
  // Division points across the section as fractions 0..1 of its width.
  const std::vector<double>& Fractions() const { return fractions_; }

  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::vector<double> fractions_;
};

}  // namespace kolma::ui
