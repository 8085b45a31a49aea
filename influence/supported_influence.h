#pragma once
// Influence lines of a beam with springs, settlements or hinges, or longer
// than the analysis model holds: the report of ComputeInfluenceReport, line
// for line, from the supported road's adjoint solutions (the beam is
// factored once; each unit-load position costs a few products).

#include <string>
#include <vector>

#include "diagrams/diagram_settings.h"
#include "diagrams/page_frame.h"
#include "diagrams/recording.h"
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

// The moment influence line of section xs of span n (from 1) on the page of
// DesenhaLinhaInfluencia (its scales, title, clipping and zero reference),
// over the frame of the same beam (FrameOf). IndexError for a span outside
// the beam, ArithmeticError for a line that is zero everywhere. For a
// non-empty data file name the page is saved as stem + "LIM.wmf" (and
// stem + "LIM.svg" with svg); IoError when it cannot be.
Recording DesenhaLinhaInfluenciaApoiada(const SupportedSystem& system, const BeamFrame& frame,
                                        const DiagramSettings& s, long n, double xs,
                                        const std::string& dataFile, bool svg = false);

}  // namespace kalvoro
