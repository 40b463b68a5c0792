#include "ui/results/plot3d_color_picker.h"

#include <QPixmap>
#include <iterator>

#include "ui/widgets/prompts.h"

namespace kolma::ui {
namespace {

struct TNamedColor {
  const char* name;
  QRgb rgb;
};

// The sixteen basic colours every desktop program names alike.
constexpr TNamedColor kPalette[] = {
    {"Black", 0x000000}, {"Maroon", 0x800000}, {"Green", 0x008000},  {"Olive", 0x808000},
    {"Navy", 0x000080},  {"Purple", 0x800080}, {"Teal", 0x008080},   {"Gray", 0x808080},
    {"Silver", 0xC0C0C0}, {"Red", 0xFF0000},   {"Lime", 0x00FF00},   {"Yellow", 0xFFFF00},
    {"Blue", 0x0000FF},  {"Fuchsia", 0xFF00FF}, {"Aqua", 0x00FFFF},  {"White", 0xFFFFFF},
};
constexpr int kPaletteSize = int(std::size(kPalette));

QIcon Swatch(const QColor& color) {
  QPixmap pixmap(16, 12);
  pixmap.fill(color);
  return QIcon(pixmap);
}

}  // namespace

TColorPicker::TColorPicker(const QString& dialogTitle, QWidget* parent)
    : QComboBox(parent), dialogTitle_(dialogTitle) {
  for (const TNamedColor& c : kPalette) addItem(Swatch(QColor(c.rgb)), QString::fromLatin1(c.name), QColor(c.rgb));
  addItem(QStringLiteral("Other..."));
  SetColor(Qt::black);
  connect(this, &QComboBox::activated, this, &TColorPicker::Chosen);
}

void TColorPicker::SetColor(const QColor& color) {
  color_ = color.toRgb();
  int index = findData(color_);
  if (index < 0) {
    // One entry of its own for a colour without a name, replaced by the next such colour.
    const QString name = color_.name(QColor::HexRgb).toUpper();
    if (count() - 1 > kPaletteSize) {
      setItemText(kPaletteSize, name);
      setItemIcon(kPaletteSize, Swatch(color_));
      setItemData(kPaletteSize, color_);
    } else {
      insertItem(kPaletteSize, Swatch(color_), name, color_);
    }
    index = kPaletteSize;
  }
  setCurrentIndex(index);
}

void TColorPicker::Chosen(int index) {
  if (index == OtherIndex()) {
    ChooseOther();
    return;
  }
  const QColor color = itemData(index).value<QColor>();
  if (color == color_) return;
  color_ = color;
  emit ColorChanged(color_);
}

void TColorPicker::ChooseOther() {
  const QColor chosen = Prompts().ChooseColor(this, color_, dialogTitle_);
  if (!chosen.isValid() || chosen.toRgb() == color_) {
    SetColor(color_);  // cancelled: the list shows the colour in use again
    return;
  }
  SetColor(chosen);
  emit ColorChanged(color_);
}

}  // namespace kolma::ui
