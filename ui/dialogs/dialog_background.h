#pragma once
// The soft vertical colour gradient behind the analysis, options and section dialogs, and
// their fixed size.
#include <QDialog>

class QHBoxLayout;
class QPushButton;

namespace kolma::ui {

class TGradientDialog : public QDialog {
  Q_OBJECT
 public:
  explicit TGradientDialog(QWidget* parent = nullptr);

 protected:
  // Fixes the dialog at its designed size, or larger where the fonts of this desktop need
  // more room for the texts than the design gave them.
  void FixSizeAtLeast(const QSize& designed);
  // The "OK" (default) and "Cancel" buttons named OKBtn and CancelBtn.
  void MakeOkCancelButtons(QPushButton*& ok, QPushButton*& cancel);
  // The same buttons at the right of a row of their own.
  QHBoxLayout* MakeOkCancelRow(QPushButton*& ok, QPushButton*& cancel);
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace kolma::ui
