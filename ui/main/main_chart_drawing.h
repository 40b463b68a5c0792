#pragma once
// The three pictures of the main chart: the section with its nodes and thermometers, a
// face temperature history and a measured history. Each rebuilds the drawing from the
// project; nothing is cached.
#include <QColor>
#include <QString>

#include "core/model/project.h"

namespace kolma::ui {

class TRChart;

inline const QColor kNodeColor(255, 0, 0);
inline const QColor kThermometerColor(0, 128, 0);

// The settings the main chart is given once, when the main window is created.
void ConfigureMainChart(TRChart& chart);

// Section along y = 0 between the faces, isometric, with a red cross at every node and a
// green circle with three diameters at every occupied thermometer slot.
void DrawSectionOn(TRChart& chart, const kolma::Project& project);

// Temperature samples against time, sample k at k * timeStep. Fewer than two samples
// leave the drawing as it was; returns whether something was drawn.
bool DrawHistoryOn(TRChart& chart, const kolma::TVector& values, double timeStep, const QString& caption);

}  // namespace kolma::ui
