#pragma once
// The texts that name this program and its version in the splash screen, the About box
// and the message boxes of the error handler.
#include <QString>

#include "core/model/project.h"

namespace kolma::ui {

inline constexpr const char* kApplicationTitle = "KOLMA";
inline constexpr const char* kProgramName = "Kolma";
inline constexpr const char* kReleaseDate = "November 21, 2003";

// "1.0.2": major, minor and release, as the splash screen shows them.
inline QString ShortVersionText() {
  return QStringLiteral("%1.%2.%3").arg(kVersionMajor).arg(kVersionMinor).arg(kVersionRelease);
}

// "1,0,2,1": all four numbers, as the About box shows them.
inline QString FullVersionText() {
  return QStringLiteral("%1,%2,%3,%4").arg(kVersionMajor).arg(kVersionMinor).arg(kVersionRelease).arg(kVersionBuild);
}

}  // namespace kolma::ui
