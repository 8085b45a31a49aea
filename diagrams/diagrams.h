#pragma once
// The moment and shear diagrams of the analysed beam: one page each, drawn from
// the model as the last analysis left it, recorded, and saved beside the data
// file as stem + "M.wmf" / stem + "C.wmf" when the name is not empty.

#include <string>

#include "diagram_settings.h"
#include "engine/analysis_model.h"
#include "recording.h"

namespace kalvoro {

// Pixels per length unit along X before zoom (from the moment page's width).
double EscalaHorizontal(const AnalysisModel& m, const DiagramSettings& s);
// Pixels per moment unit before zoom (moment page's height).
double EscalaMomentos(const AnalysisModel& m, const DiagramSettings& s);
// Pixels per shear unit before zoom (shear page's height).
double EscalaCortantes(const AnalysisModel& m, const DiagramSettings& s);

// Draw the page and, for a non-empty data file name, save its metafile (and,
// with svg set, an SVG beside it). A failure raises its error and writes no file.
Recording DesenhaMomentos(const AnalysisModel& m, const DiagramSettings& s, const std::string& dataFile,
                          bool svg = false);
Recording DesenhaCortantes(const AnalysisModel& m, const DiagramSettings& s, const std::string& dataFile,
                           bool svg = false);

}  // namespace kalvoro
