#pragma once
// The period edit of the filter dialogs: limited to the period range the spectrum chart
// shows, in the editor's time unit.
#include "ui/widgets/numeric_edit.h"

namespace kolma::ui {

class TPeriodEdit : public TNumericEdit {
  Q_OBJECT
 public:
  // unitIndex: 0 hour, 1 day, 2 month (the editor's "Time axis divisions").
  TPeriodEdit(int unitIndex, double rangeLo, double rangeHi, double initial, QWidget* parent = nullptr);

  // The entered period. Left as it was, it is the exact value it started with: the edit
  // keeps 8 decimals, and a range end rounded to them can miss the harmonic it names.
  double Period() const;

 private:
  double initial_;
  double initialShown_;
};

}  // namespace kolma::ui
