#include "ui/dialogs/temperatures_dlg.h"

#include <QVBoxLayout>

#include "core/model/project.h"
#include "ui/widgets/numeric_edit.h"
#include "ui/widgets/rchart.h"

namespace kolma::ui {

TTemperaturesDlg::TTemperaturesDlg(const Project& project, QWidget* parent)
    : QDialog(parent), xu_(project.SectionProperties.Xu), xd_(project.SectionProperties.Xd) {
  setWindowTitle(QStringLiteral("Time history of temperatures"));
  EditPosition = new TNumericEdit(QStringLiteral(",0.##### m"), this);
  EditPosition->setObjectName(QStringLiteral("EditPosition"));
  ChartTime = new TRChart(this);
  ChartSpectrum = new TRChart(this);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(EditPosition);
  layout->addWidget(ChartTime);
  layout->addWidget(ChartSpectrum);
}

TTemperaturesDlg::~TTemperaturesDlg() = default;

double TTemperaturesDlg::TimeScale() const { return 1.0; }
QString TTemperaturesDlg::StatusPanelText(int) const { return QString(); }
void TTemperaturesDlg::LoadClick() {}
void TTemperaturesDlg::GeneratorClick() {}
void TTemperaturesDlg::LowPassClick() {}
void TTemperaturesDlg::HighPassClick() {}
void TTemperaturesDlg::BandFilterClick() {}
void TTemperaturesDlg::RestoreClick() {}
void TTemperaturesDlg::SaveClick() {}
void TTemperaturesDlg::RefreshClick() {}
void TTemperaturesDlg::showEvent(QShowEvent* event) { QDialog::showEvent(event); }
void TTemperaturesDlg::resizeEvent(QResizeEvent* event) { QDialog::resizeEvent(event); }
void TTemperaturesDlg::BuildControls() {}
void TTemperaturesDlg::FormShow() {}
void TTemperaturesDlg::DrawTimeChart() {}
void TTemperaturesDlg::DrawSpectrumChart() {}
void TTemperaturesDlg::ComputeOriginalSpectrum() {}
void TTemperaturesDlg::NewHistoryShown() {}

}  // namespace kolma::ui
