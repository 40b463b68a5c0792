#pragma once
// The sketches beside the two choices of the function generator: what each parameter
// means on a temperature-over-time curve.
#include <QWidget>

namespace kolma::ui {

class TGeneratorDiagram : public QWidget {
  Q_OBJECT
 public:
  enum Kind { WithoutIceCover, WithIceCover };

  explicit TGeneratorDiagram(Kind kind, QWidget* parent = nullptr);
  QSize sizeHint() const override { return QSize(300, 160); }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  Kind kind_;
};

}  // namespace kolma::ui
