#pragma once
// "Selected harmonics": the harmonics the last direct or inverse analysis kept, with
// their periods and their amplitude and phase in the two histories decomposed. It can
// be exported and copied; it changes nothing in the project.
#include <QDialog>

#include "ui/results/result_window_menus.h"
#include "ui/widgets/result_grid.h"

namespace kolma {
struct Project;
}

namespace kolma::ui {

class THarmonicDlg final : public QDialog {
  Q_OBJECT
 public:
  THarmonicDlg(kolma::Project& project, bool showInverse, QWidget* parent = nullptr);

  TResultGrid* Grid() const { return grid_; }
  const TTableWindowMenus& Menus() const { return menus_; }

 private:
  TResultGrid* grid_ = nullptr;
  TTableWindowMenus menus_;
};

}  // namespace kolma::ui
