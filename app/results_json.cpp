#include "results_json.h"

#include "engine/arithmetic.h"
#include "engine/deflection.h"
#include "engine/section_forces.h"

namespace kalvoro {

namespace {

using json = nlohmann::ordered_json;

json point(double value, double position)
{
    return {{"value", value}, {"position", position}};
}

// The support of a node as the data file writes it ("10", "01" ...) and what
// it restrains, decoded digit by digit as the engine does (a digit other than
// 0 restrains).
json support(AnalysisModel::Int code)
{
    std::string text = std::to_string(code);
    if (code >= 0 && code < 10) text.insert(0, "0");
    const bool vertical = code / 10 != 0;
    const bool rotation = (vertical ? code - 10 : code) != 0;
    return {{"code", text}, {"vertical", vertical}, {"rotation", rotation}};
}

// Node n: its support entry and reactions are entry n, as in the report.
json node(const AnalysisModel& m, long n)
{
    return {
        {"node", n},
        {"x", m.Coord(n, 1)},
        {"y", m.Coord(n, 2)},
        {"support", support(m.SupportCode[n])},
        {"displacement", {{"vertical", m.LoadVector(2 * n - 1, 1)}, {"rotation", m.LoadVector(2 * n, 1)}}},
        {"reactions", {{"force", m.Reaction(n, 1)}, {"moment", m.Reaction(n, 2)}}}};
}

json span(const AnalysisModel& m, long i)
{
    const SpanData s = SpanOf(m, i);
    const long e = m.LoadRowElement(i, 1);
    const long A = m.Incidence(e, 1), B = m.Incidence(e, 2);
    // The end forces at the span's X extent, as the report takes them.
    const double end = store(static_cast<Real>(m.Coord(B, 1)) - m.Coord(A, 1));
    const auto forcesAt = [&](double x) {
        return json{{"shear", CortanteSecao(x, s.q, s.P, s.d, s.L, s.V0, s.M0)},
                    {"moment", MomentoSecao(x, s.q, s.P, s.d, s.L, s.V0, s.M0)}};
    };
    const DeflectionExtremes v = ExtremeDeflections(DeflectionOf(m, i));
    return {{"span", i},
            {"start_node", A},
            {"end_node", B},
            {"length", s.L},
            {"E", m.MaterialProp(m.ElementMaterial[e], 1)},
            {"I", m.SectionProp(m.ElementSection[e], 1)},
            {"loads", {{"q", s.q}, {"P", s.P}, {"d", s.d}}},
            {"end_forces", {{"start", forcesAt(0)}, {"end", forcesAt(end)}}},
            {"moment",
             {{"max", point(MaxMomentoPositivo(m, i), PosMaxMomentoPositivo(m, i))},
              {"min", point(MaxMomentoNegativo(m, i), PosMaxMomentoNegativo(m, i))}}},
            {"shear",
             {{"max", point(MaxCortantePositivo(m, i), PosMaxCortantePositivo(m, i))},
              {"min", point(MaxCortanteNegativo(m, i), PosMaxCortanteNegativo(m, i))}}},
            {"deflection",
             {{"down", point(v.down.value, v.down.position)}, {"up", point(v.up.value, v.up.position)}}}};
}

}  // namespace

json ResultsDocument(const AnalysisModel& m, const std::string& title)
{
    json nodes = json::array();
    for (long n = 1; n <= m.NodeCount; ++n) nodes.push_back(node(m, n));
    json spans = json::array();
    for (long i = 1; i <= m.ElementCount; ++i) spans.push_back(span(m, i));
    return {
        {"format", "kalvoro-results"}, {"version", 1}, {"title", title}, {"nodes", nodes}, {"spans", spans}};
}

void AddInfluence(json& document, long n, double xs, const std::vector<InfluenceOrdinate>& ordinates)
{
    json lines = json::array();
    for (const InfluenceOrdinate& o : ordinates)
        lines.push_back({{"span", o.span},
                         {"load_position", o.d},
                         {"shear_left", o.shearLeft},
                         {"shear_right", o.shearRight},
                         {"moment", o.moment}});
    document["influence"] = {{"section", {{"span", n}, {"position", xs}}}, {"ordinates", lines}};
}

std::string JsonText(const json& document)
{
    return document.dump(2, ' ', false, json::error_handler_t::replace) + "\n";
}

}  // namespace kalvoro
