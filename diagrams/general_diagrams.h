#pragma once
// The moment and shear diagrams of a beam on the general road (loads the data
// file cannot hold): the same page, scales and files as DesenhaMomentos and
// DesenhaCortantes, with each span's curve drawn piece by piece through every
// load point (a kink under a concentrated load, a jump under an applied
// moment exactly where it acts) and every load drawn: concentrated loads as
// on the specified page, applied moments as curved arrows, distributed loads
// as their trapezoid of arrows with the end values.

#include <string>
#include <vector>

#include "canvas.h"
#include "diagram_settings.h"
#include "engine/analysis_model.h"
#include "engine/general_road.h"
#include "engine/span_loads.h"
#include "engine/supported_road.h"
#include "page_frame.h"
#include "recording.h"

namespace kalvoro {

// The loads of every span as the pages below draw them (with the values), for
// another page on the same frame.
void DrawGeneralLoads(Canvas& c, const BeamFrame& f, const PageMapping& map, const BeamLoads& loads,
                      const std::vector<SpanCurve>& curves, const DiagramSettings& s);

// The model as ResolveGeral left it with these loads, and its span curves
// (CurvasDaViga or ResultadosGeral).
Recording DesenhaMomentosGeral(const AnalysisModel& m, const BeamLoads& loads,
                               const std::vector<SpanCurve>& curves, const DiagramSettings& s,
                               const std::string& dataFile, bool svg = false);
Recording DesenhaCortantesGeral(const AnalysisModel& m, const BeamLoads& loads,
                                const std::vector<SpanCurve>& curves, const DiagramSettings& s,
                                const std::string& dataFile, bool svg = false);

// The same pages for a beam on the supported road, of any length: its frame
// (FrameOf, with the symbols of each node's springs, settlement and hinge) and
// its span curves (SupportedResult::curves).
Recording DesenhaMomentosApoiados(const BeamFrame& f, const BeamLoads& loads, const std::vector<SpanCurve>& curves,
                                  const DiagramSettings& s, const std::string& dataFile, bool svg = false);
Recording DesenhaCortantesApoiados(const BeamFrame& f, const BeamLoads& loads, const std::vector<SpanCurve>& curves,
                                   const DiagramSettings& s, const std::string& dataFile, bool svg = false);

}  // namespace kalvoro
