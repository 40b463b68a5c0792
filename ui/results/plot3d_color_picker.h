#pragma once
// A colour chooser for the 3-D view: a short list of named colours, each with its swatch, and
// "Other..." at the end, which opens the colour dialog. A colour from the dialog joins the
// list as one more entry, named by its RGB code, so that the list always shows the colour in use.
#include <QColor>
#include <QComboBox>

namespace kolma::ui {

class TColorPicker : public QComboBox {
  Q_OBJECT
 public:
  // dialogTitle: the title of the colour dialog that "Other..." opens.
  explicit TColorPicker(const QString& dialogTitle, QWidget* parent = nullptr);

  QColor Color() const { return color_; }
  // Selects the colour (adding it to the list when it has no name there); no signal.
  void SetColor(const QColor& color);

 signals:
  // The user chose another colour.
  void ColorChanged(const QColor& color);

 private:
  void Chosen(int index);
  void ChooseOther();
  int OtherIndex() const { return count() - 1; }

  QString dialogTitle_;
  QColor color_;
};

}  // namespace kolma::ui
