#include "ui/results/spreadsheet_dlg.h"

#include <QAction>
#include <QActionGroup>
#include <QFont>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QVBoxLayout>
#include <array>

#include "core/analysis/thermal_decomposition.h"
#include "core/model/project.h"
#include "ui/widgets/prompts.h"

namespace kolma::ui {

namespace {

constexpr std::array kDataViews = {kolma::TSpreadsheetData::Temperature, kolma::TSpreadsheetData::Mean,
                                   kolma::TSpreadsheetData::Linear, kolma::TSpreadsheetData::Nonlinear,
                                   kolma::TSpreadsheetData::Stress};
constexpr std::array kPrecisions = {kolma::TSpreadsheetPrecision::ThreeDigits,
                                    kolma::TSpreadsheetPrecision::FiveDigits,
                                    kolma::TSpreadsheetPrecision::Exponential};

QActionGroup* AddRadioGroup(QMenu* menu, const auto& choices, const auto& label) {
  auto* group = new QActionGroup(menu);
  group->setExclusive(true);
  for (const auto choice : choices) {
    QAction* action = menu->addAction(QString::fromUtf8(label(choice)));
    action->setCheckable(true);
    action->setData(static_cast<int>(choice));
    group->addAction(action);
  }
  group->actions().first()->setChecked(true);
  return group;
}

}  // namespace

TSpreadsheetDlg::TSpreadsheetDlg(kolma::Project& project, bool inverseFaces, QWidget* parent)
    : QDialog(parent), project_(project), inverseFaces_(inverseFaces) {
  setObjectName(QStringLiteral("SpreadsheetDlg"));
  setWindowTitle(QStringLiteral("Spreadsheet"));
  grid_ = new TResultGrid(this);
  grid_->setFont(QFont(QStringLiteral("Tahoma"), 8));
  grid_->SetDefaultSizes(70, 25);
  grid_->SetMovableColumns(true);
  grid_->SetTable(inverseFaces ? kolma::InverseFacesTable(project, precision_)
                               : kolma::BuildSpreadsheet(project, data_, precision_));
  grid_->WidenColumnsToFit();
  menus_ = AddTableWindowMenus(this, grid_, [this] { return QuantityWording(Quantity()); });
  Describe();

  dataMenu_ = menus_.bar->addMenu(QStringLiteral("Data"));
  dataGroup_ = AddRadioGroup(dataMenu_, kDataViews, kolma::SpreadsheetDataLabel);
  dataMenu_->menuAction()->setVisible(!inverseFaces);
  QMenu* precisionMenu = menus_.bar->addMenu(QStringLiteral("Precision"));
  precisionGroup_ = AddRadioGroup(precisionMenu, kPrecisions, kolma::SpreadsheetPrecisionLabel);
  connect(dataGroup_, &QActionGroup::triggered, this,
          [this](QAction* a) { ShowData(static_cast<kolma::TSpreadsheetData>(a->data().toInt())); });
  connect(precisionGroup_, &QActionGroup::triggered, this,
          [this](QAction* a) { SetPrecision(static_cast<kolma::TSpreadsheetPrecision>(a->data().toInt())); });

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setMenuBar(menus_.bar);
  layout->addWidget(grid_);
  resize(696, 480);
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    QRect frame = geometry();
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
  }
}

QAction* TSpreadsheetDlg::DataAction(kolma::TSpreadsheetData data) const {
  return dataGroup_->actions().value(static_cast<int>(data));
}

QAction* TSpreadsheetDlg::PrecisionAction(kolma::TSpreadsheetPrecision precision) const {
  return precisionGroup_->actions().value(static_cast<int>(precision));
}

void TSpreadsheetDlg::ShowData(kolma::TSpreadsheetData data) {
  if (inverseFaces_) return;
  if (data == kolma::TSpreadsheetData::Stress) {
    // A section without a finite stress factor has no stresses to show: say why once,
    // and keep the view that is shown.
    const kolma::TStressFactor factor = kolma::StressFactor(project_.SectionProperties);
    if (!factor.valid) {
      CheckMenus();
      Prompts().Message(this, PromptIcon::Warning, QStringLiteral("Warning"), QString::fromStdString(factor.reason));
      return;
    }
  }
  data_ = data;
  grid_->Table() = kolma::BuildSpreadsheet(project_, data_, precision_);
  grid_->TableChanged();
  grid_->WidenColumnsToFit();
  Describe();
  CheckMenus();
}

kolma::TResultQuantity TSpreadsheetDlg::Quantity() const {
  return inverseFaces_ ? kolma::TResultQuantity::InverseFaces : kolma::QuantityOf(data_);
}

void TSpreadsheetDlg::Describe() {
  const kolma::TQuantityNames& names = kolma::QuantityNames(Quantity());
  setWindowTitle(QString::fromStdString(names.caption));
  grid_->SetAccessibleName(windowTitle());
  DescribeTable(grid_, Quantity());
}

void TSpreadsheetDlg::SetPrecision(kolma::TSpreadsheetPrecision precision) {
  precision_ = precision;
  grid_->Table() = inverseFaces_ ? kolma::InverseFacesTable(project_, precision_)
                                 : kolma::BuildSpreadsheet(project_, data_, precision_);
  grid_->TableChanged();
  grid_->WidenColumnsToFit();  // the exponential form is the widest
  CheckMenus();
}

void TSpreadsheetDlg::CheckMenus() {
  DataAction(data_)->setChecked(true);
  PrecisionAction(precision_)->setChecked(true);
}

}  // namespace kolma::ui
