#pragma once
// Thermometer titles are single-byte (Latin-1) text in the project, so that a project file
// is written back byte for byte; the windows show and take them as Unicode text.
#include <QString>
#include <optional>

#include "core/model/short_title.h"

namespace kolma::ui {

// A thermometer title as the program shows it.
QString TitleText(const kolma::TShortTitle& title);

// The title holding `text`, or nullopt when a character of it has no single-byte form
// (it would otherwise be stored as '?'). Texts longer than the title's 80 bytes are cut.
std::optional<kolma::TShortTitle> TitleFromText(const QString& text);

// The first character of `text` that a title cannot hold; empty when there is none.
QString FirstCharacterNotInTitles(const QString& text);

}  // namespace kolma::ui
