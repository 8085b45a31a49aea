#pragma once
// The results report: displacements and reactions, span end forces, moment and
// shear extremes, as fixed-width text (UTF-8 here, CR LF line ends; the file
// itself is written in Windows-1252 by the caller).

#include <array>
#include <functional>
#include <string>

#include "analysis_model.h"

namespace kalvoro {

// EsforcosExtremos, then EscreveRelatorio.
void Resultados(AnalysisModel& m);
// Appends the four blocks of the report to m.ReportFile.
void EscreveRelatorio(AnalysisModel& m);

// The figures of span i in blocks 2 to 4: shear and moment at the start and
// at the end; largest moment, its position, smallest moment, its position;
// the same for the shear. Each block asks for its own, span by span, so a
// failure leaves whole lines behind.
struct SpanFigures {
    std::function<std::array<double, 4>(long)> endForces, moments, shears;
};
// The same four blocks with the span figures given.
void EscreveRelatorio(AnalysisModel& m, const SpanFigures& spans);

}  // namespace kalvoro
