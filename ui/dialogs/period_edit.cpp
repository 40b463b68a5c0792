#include "ui/dialogs/period_edit.h"

namespace kolma::ui {
namespace {

QString PeriodFormat(int unitIndex) {
  switch (unitIndex) {
    case 1: return QStringLiteral(",0.#### day");
    case 2: return QStringLiteral(",0.#### month");
    default: return QStringLiteral(",0.#### hour");
  }
}

}  // namespace

TPeriodEdit::TPeriodEdit(int unitIndex, double rangeLo, double rangeHi, double initial, QWidget* parent)
    : TNumericEdit(PeriodFormat(unitIndex), parent), initial_(initial) {
  setRange(rangeLo, rangeHi);
  setValue(initial);
  setEnterPressesDefault(true);  // the filter dialogs' default button is their OK
  initialShown_ = value();
}

double TPeriodEdit::Period() const {
  const double shown = value();
  return shown == initialShown_ ? initial_ : shown;
}

}  // namespace kolma::ui
