#pragma once
// The deflected shape of the analysed beam on the moment page's frame (size,
// axis, span numbers, supports, loads, pan and zoom), saved beside the data
// file as stem + "D.wmf" (and "D.svg") when the name is not empty.
//
// The curve is v(x) of every span, upward deflections above the axis, scaled
// so that the beam's largest deflection lies a third of the page height from
// the axis; the axis sits where the curve's range is centred on the page. Each
// span's largest deflection (the larger of its downward and upward extremes)
// is marked by a line from the axis and written beside it, the largest values
// first, leaving out a value that would cover one already written.

#include <string>
#include <utility>
#include <vector>

#include "diagram_settings.h"
#include "engine/analysis_model.h"
#include "engine/general_deflection.h"
#include "engine/general_road.h"
#include "page_frame.h"
#include "recording.h"

namespace kalvoro {

// A span's deflected shape as the page draws it, worked out once for a
// solution, since a pan or a zoom changes only where it lands on the page:
// its start node on the page, its length, its extremes and the points of its
// curve (x from the span's start, v(x)) in increasing x: a fixed number of
// steps, every point where its load formula changes, and both extremes.
struct DeflectionCurve {
    double X1 = 0, Y1 = 0;
    double L = 0;
    DeflectionExtremes extremes;
    std::vector<std::pair<double, double>> points;
};

// Pixels per length of deflection before zoom: the largest |v| of the beam at a
// third of the moment page's height; 100 for a beam that does not deflect.
double EscalaDeformada(const AnalysisModel& m, const DiagramSettings& s);

// Draws the page and, for a non-empty data file name, saves it (with svg set,
// as SVG too). A failure raises its error and writes no file.
Recording DesenhaDeformada(const AnalysisModel& m, const DiagramSettings& s, const std::string& dataFile,
                           bool svg = false);

// The same page for a beam of the general road: every span's curve exact under
// each of its loads (curves: ResultadosGeral's), its loads drawn as on the
// moment page.
Recording DesenhaDeformadaGeral(const AnalysisModel& m, const BeamLoads& loads,
                                const std::vector<SpanCurve>& curves, const DiagramSettings& s,
                                const std::string& dataFile, bool svg = false);
// The same from a frame of any length and each span's deflection (for a beam
// of the supported road, DeflectionsOf), a hinge's spans each with its own
// rotation there, the frame's springs, settlements and hinges drawn.
Recording DesenhaDeformadaGeral(const BeamFrame& f, const BeamLoads& loads,
                                const std::vector<GeneralDeflection>& spans,
                                const std::vector<SpanCurve>& curves, const DiagramSettings& s,
                                const std::string& dataFile, bool svg = false);
// The same from the spans' shapes worked out beforehand (CurvasDeformadas of
// the same frame, deflections and curves): the same page, byte for byte.
std::vector<DeflectionCurve> CurvasDeformadas(const BeamFrame& f, const std::vector<GeneralDeflection>& spans,
                                              const std::vector<SpanCurve>& forces);
Recording DesenhaDeformadaGeral(const BeamFrame& f, const BeamLoads& loads,
                                const std::vector<DeflectionCurve>& shape,
                                const std::vector<SpanCurve>& curves, const DiagramSettings& s,
                                const std::string& dataFile, bool svg = false);

}  // namespace kalvoro
