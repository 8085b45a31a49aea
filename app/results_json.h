#pragma once
// Every result of a solved beam as one JSON document for scripts: the model as
// read (nodes with their supports, spans with E, I and loads), the nodal
// displacements and reactions, the span end forces, each span's extremes of
// moment, shear and deflection with their positions, and on request the
// influence ordinates of a section. "format" is "kalvoro-results" and
// "version" 1; the names are English and carry no units. Every number is the
// double the program holds, written with as many digits as it takes to read
// back bit for bit. The schema is in the README.

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "engine/analysis_model.h"
#include "engine/general_road.h"
#include "engine/supported_road.h"
#include "influence/influence.h"

namespace kalvoro {

// The document of the model's current solution (after Resultados). Span i is
// load row i with its element, as in the results report.
nlohmann::ordered_json ResultsDocument(const AnalysisModel& m, const std::string& title);
// The same for a beam of the general road (after ResultadosGeral, whose curves
// these are): each span's "loads" is the list of its loads as the .vigx file
// writes them, its figures come from its exact piecewise curves.
nlohmann::ordered_json ResultsDocument(const AnalysisModel& m, const std::string& title,
                                       const BeamLoads& loads, const std::vector<SpanCurve>& curves);

// The same for a beam of the supported road: each node's "support" also
// carries its "spring", "settlement" and "hinge" as the .vigx file writes them,
// and a hinge's "displacement" the "rotation_right" of the span on its right;
// the reactions are what each support carries, a spring's force included.
nlohmann::ordered_json ResultsDocument(const SupportedBeam& beam, const SupportedResult& r,
                                       const std::string& title, const BeamLoads& loads);

// Adds "influence": the section (span n, position xs) and the report's lines.
void AddInfluence(nlohmann::ordered_json& document, long n, double xs,
                  const std::vector<InfluenceOrdinate>& ordinates);

// The text written to disk: two-space indents, a final line feed, UTF-8 (a
// byte that is not UTF-8 in the title becomes U+FFFD).
std::string JsonText(const nlohmann::ordered_json& document);

}  // namespace kalvoro
