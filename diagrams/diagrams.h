#pragma once
// The moment and shear diagrams of the analysed beam: one page each, drawn from
// the model as the last analysis left it, recorded, and saved beside the data
// file as stem + "M.wmf" / stem + "C.wmf" when the name is not empty.
//
// Layout: the beam axis lies y0 pixels above the bottom edge, the part of the
// diagram above the axis reaching H/1.2 above it at zoom 100. Moments are
// plotted as -M (sagging below the axis), shear as +V (positive above). Span k
// is load row k: its element, loads and end forces all come from row k.
// The returned recording is what the windows replay on screen and print.

#include <string>

#include "diagram_settings.h"
#include "engine/analysis_model.h"
#include "page_frame.h"
#include "recording.h"

namespace kalvoro {

// Pixels per length unit along X before zoom (from the moment page's width),
// whatever holds the beam.
double EscalaHorizontal(const AnalysisModel& m, const DiagramSettings& s);
double EscalaHorizontal(const BeamFrame& f, const DiagramSettings& s);
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
