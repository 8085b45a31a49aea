#include "results_json.h"

#include "engine/arithmetic.h"
#include "engine/deflection.h"
#include "engine/errors.h"
#include "engine/general_deflection.h"
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

// A load as the .vigx file names it.
json load(const SpanLoad& l)
{
    switch (l.kind) {
        case LoadKind::Uniform:
            return {{"type", "uniform"}, {"q", l.v1}};
        case LoadKind::Point:
            return {{"type", "point"}, {"P", l.v1}, {"a", l.a}};
        case LoadKind::Moment:
            return {{"type", "moment"}, {"M", l.v1}, {"a", l.a}};
        case LoadKind::Linear:
            break;
    }
    return {{"type", "linear"}, {"q1", l.v1}, {"q2", l.v2}, {"a", l.a}, {"b", l.b}};
}

json extreme(const Extreme& e)
{
    return point(e.value, e.position);
}

// A span whose figures come from its exact piecewise curve: its loads listed
// by type.
json curveSpan(long i, long start, long end, double E, double I, const std::vector<SpanLoad>& loads,
               const SpanCurve& c, const DeflectionExtremes& v)
{
    json list = json::array();
    for (const SpanLoad& l : loads) list.push_back(load(l));
    return {{"span", i},
            {"start_node", start},
            {"end_node", end},
            {"length", c.L},
            {"E", E},
            {"I", I},
            {"loads", list},
            {"end_forces",
             {{"start", {{"shear", c.startShear()}, {"moment", c.startMoment()}}},
              {"end", {{"shear", c.endShear()}, {"moment", c.endMoment()}}}}},
            {"moment", {{"max", extreme(c.largestMoment())}, {"min", extreme(c.smallestMoment())}}},
            {"shear", {{"max", extreme(c.largestShear())}, {"min", extreme(c.smallestShear())}}},
            {"deflection",
             {{"down", point(v.down.value, v.down.position)}, {"up", point(v.up.value, v.up.position)}}}};
}

// A span of the general road.
json span(const AnalysisModel& m, const BeamLoads& loads, const SpanCurve& c, long i)
{
    const long e = m.LoadRowElement(i, 1);
    return curveSpan(i, m.Incidence(e, 1), m.Incidence(e, 2), m.MaterialProp(m.ElementMaterial[e], 1),
                     m.SectionProp(m.ElementSection[e], 1), loads.at(static_cast<std::size_t>(i - 1)), c,
                     ExtremeDeflections(DeflectionOf(m, loads, i), c));
}

// A node of the supported road: its code, what it adds to it, as the .vigx
// file names them, and at a hinge the rotation of the span on its right.
json supportedNode(const SupportedNode& n, const SupportedResult& r, std::size_t k)
{
    json code = support(n.support);
    const NodeSupport& e = n.extra;
    const auto pair = [](const char* a, double va, const char* b, double vb) {
        json j = json::object();
        if (va != 0) j[a] = va;
        if (vb != 0) j[b] = vb;
        return j;
    };
    if (e.springVertical != 0 || e.springRotation != 0)
        code["spring"] = pair("vertical", e.springVertical, "rotation", e.springRotation);
    if (e.settlementVertical != 0 || e.settlementRotation != 0)
        code["settlement"] = pair("vertical", e.settlementVertical, "rotation", e.settlementRotation);
    if (e.hinge) code["hinge"] = true;
    json displacement = {{"vertical", r.vertical.at(k)}, {"rotation", r.rotation.at(k)}};
    if (e.hinge) displacement["rotation_right"] = r.rotationRight.at(k);
    return {{"node", static_cast<long>(k + 1)},
            {"x", n.x},
            {"y", 0.0},
            {"support", code},
            {"displacement", displacement},
            {"reactions", {{"force", r.force.at(k)}, {"moment", r.moment.at(k)}}}};
}

json document(const std::string& title, json nodes, json spans)
{
    return {
        {"format", "kalvoro-results"}, {"version", 1}, {"title", title}, {"nodes", nodes}, {"spans", spans}};
}

json document(const AnalysisModel& m, const std::string& title, json spans)
{
    json nodes = json::array();
    for (long n = 1; n <= m.NodeCount; ++n) nodes.push_back(node(m, n));
    return document(title, nodes, spans);
}

}  // namespace

json ResultsDocument(const AnalysisModel& m, const std::string& title)
{
    json spans = json::array();
    for (long i = 1; i <= m.ElementCount; ++i) spans.push_back(span(m, i));
    return document(m, title, spans);
}

json ResultsDocument(const AnalysisModel& m, const std::string& title, const BeamLoads& loads,
                     const std::vector<SpanCurve>& curves)
{
    if (static_cast<long>(curves.size()) != m.ElementCount) throw IndexError("curvas de outra viga");
    json spans = json::array();
    for (long i = 1; i <= m.ElementCount; ++i)
        spans.push_back(span(m, loads, curves[static_cast<std::size_t>(i - 1)], i));
    return document(m, title, spans);
}

json ResultsDocument(const SupportedBeam& beam, const SupportedResult& r, const std::string& title,
                     const BeamLoads& loads)
{
    if (r.curves.size() != beam.spans.size()) throw IndexError("curvas de outra viga");
    json nodes = json::array();
    for (std::size_t k = 0; k < beam.nodes.size(); ++k) nodes.push_back(supportedNode(beam.nodes[k], r, k));
    const std::vector<GeneralDeflection> deflections = DeflectionsOf(beam, r, loads);
    json spans = json::array();
    for (std::size_t i = 0; i < beam.spans.size(); ++i) {
        const long n = static_cast<long>(i + 1);
        spans.push_back(curveSpan(n, n, n + 1, beam.spans[i].E, beam.spans[i].I, loads.at(i), r.curves[i],
                                  ExtremeDeflections(deflections[i], r.curves[i])));
    }
    return document(title, nodes, spans);
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
