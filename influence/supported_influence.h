#pragma once
// Influence lines of a beam with springs, settlements or hinges, or longer
// than the analysis model holds: the report of ComputeInfluenceReport, line
// for line, from the supported road's adjoint solutions (the beam is
// factored once; each unit-load position costs a few products).

#include <string>
#include <vector>

#include "engine/supported_road.h"
#include "influence/influence.h"

namespace kalvoro {

// The report's lines for the section at xs of span n (from 1): eleven
// positions per span, its tenths. IndexError for a span outside the beam.
std::vector<InfluenceOrdinate> OrdenadasApoiadas(const SupportedSystem& system, long n, double xs);

// The report for the section at posText of span trechoText (texts as typed);
// ConversionError for a text that is not a number, IndexError for a span
// outside the beam. UTF-8, CR LF. With ordinates given, the report's lines
// are also appended there.
std::string RelatorioInfluenciaApoiada(const SupportedSystem& system, const std::string& trechoText,
                                       const std::string& posText,
                                       std::vector<InfluenceOrdinate>* ordinates = nullptr);

}  // namespace kalvoro
