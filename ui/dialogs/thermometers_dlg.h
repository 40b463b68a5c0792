#pragma once
// The measured temperatures inside the section: up to ten thermometers with a title, a
// position, a time step and samples, added, edited and removed here, and the two checked
// for the inverse analysis. The dialog works on its own copy of the ten slots and of the
// pair; the main window copies them back on OK.
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "core/model/project.h"
#include "ui/dialogs/dialog_background.h"
#include "ui/dialogs/temperatures_dlg.h"

class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace kolma::ui {

// One slot of the dialog; it is occupied when it holds samples.
struct TThermometerSlot {
  double Position = 0.0;
  double TimeStep = 0.0;
  kolma::TShortTitle Title;
  std::optional<kolma::TVector> Values;
};

class TThermometersDlg : public TGradientDialog {
  Q_OBJECT
 public:
  // Copies the ten slots (the samples of occupied ones only), the pair and the faces.
  explicit TThermometersDlg(const kolma::Project& project, QWidget* parent = nullptr);

  // What OK hands back: the pair (and pfInversePair from it), the occupied slots, every
  // other slot emptied. pfModified and the result flags are the caller's.
  void CopyBackTo(kolma::Project& project) const;

  const TThermometerSlot& Slot(int k) const;  // 1 to 10
  int OccupiedCount() const;
  kolma::TInversePair Pair() const { return pair_; }
  // After OK: false when nothing was added, removed, edited or checked differently, so
  // that the caller leaves the project, its results and its saved state alone.
  bool Changed() const { return changed_; }

  // Shows the history editor modally; tests answer it without a modal loop.
  std::function<int(TTemperaturesDlg&)> RunEditor = [](TTemperaturesDlg& d) { return d.exec(); };

 public slots:
  void ButtonAddClick();
  void Button1Click();  // "Remove measured temperature"
  void Button2Click();  // "Edit measured temperature"
  void OKBtnClick();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildControls();
  void FormShow();
  void CheckListBoxClickCheck(QListWidgetItem* item);
  void Warn(const QString& text);
  // The history editor for an inside record, limited to the section.
  std::unique_ptr<TTemperaturesDlg> NewEditor(const QString& caption);
  // Runs the editor; false when it closed without a usable history.
  bool EditHistory(TTemperaturesDlg& editor);
  int SelectedSlot() const;  // 0 when no line is selected
  std::vector<bool> CheckMarks() const;

  std::array<TThermometerSlot, kolma::kThermometerSlots> slots_;
  kolma::TInversePair pair_;
  std::vector<bool> shownChecks_;
  bool changed_ = false;  // a line added, removed or edited
  double xu_ = 0.0;
  double xd_ = 0.0;

  QLineEdit* EditTitle = nullptr;
  QPushButton* ButtonAdd = nullptr;
  QListWidget* CheckListBox = nullptr;
  QPushButton* Button1 = nullptr;
  QPushButton* Button2 = nullptr;
  QPushButton* OKBtn = nullptr;
  QPushButton* CancelBtn = nullptr;
};

}  // namespace kolma::ui
