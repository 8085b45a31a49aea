#pragma once
// The results report: displacements and reactions, span end forces, moment and
// shear extremes, as fixed-width text (UTF-8 here, CR LF line ends; the file
// itself is written in Windows-1252 by the caller).

#include <string>

#include "analysis_model.h"

namespace kalvoro {

// EsforcosExtremos, then EscreveRelatorio.
void Resultados(AnalysisModel& m);
// Appends the four blocks of the report to m.ReportFile.
void EscreveRelatorio(AnalysisModel& m);

}  // namespace kalvoro
