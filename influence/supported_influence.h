#pragma once
// Influence lines of a beam with springs, settlements or hinges, or longer
// than the analysis model holds: the report of ComputeInfluenceReport, line
// for line, from the supported road's adjoint solutions (the beam is
// factored once; each unit-load position costs a few products).

#include <string>

#include "engine/supported_road.h"

namespace kalvoro {

// The report for the section at posText of span trechoText (texts as typed);
// ConversionError for a text that is not a number, IndexError for a span
// outside the beam. UTF-8, CR LF.
std::string RelatorioInfluenciaApoiada(const SupportedSystem& system, const std::string& trechoText,
                                       const std::string& posText);

}  // namespace kalvoro
