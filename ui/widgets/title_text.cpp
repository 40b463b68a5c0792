#include "ui/widgets/title_text.h"

namespace kolma::ui {

QString TitleText(const kolma::TShortTitle& title) { return QString::fromLatin1(title.Text()); }

QString FirstCharacterNotInTitles(const QString& text) {
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i].unicode() <= 0xFF) continue;
    // A character beyond the basic plane is two code units; name it whole.
    const bool pair = text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
    return text.mid(i, pair ? 2 : 1);
  }
  return QString();
}

std::optional<kolma::TShortTitle> TitleFromText(const QString& text) {
  if (!FirstCharacterNotInTitles(text).isEmpty()) return std::nullopt;
  kolma::TShortTitle title;
  title.SetText(text.toLatin1().toStdString());
  return title;
}

}  // namespace kolma::ui
