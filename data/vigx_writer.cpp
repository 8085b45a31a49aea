// The extended beam file's writer and its bridges to the analysis model.
//
// Layout: two-blank indents, one line per material list, section list, node
// and load, so that two versions of a beam compare line by line. Numbers are
// the shortest text that reads back as the same double.

#include <charconv>
#include <cmath>

#include <nlohmann/json.hpp>

#include "data/extended_beam.h"
#include "data/text_file.h"
#include "engine/arithmetic.h"
#include "engine/errors.h"
#include "engine/nodal_loads.h"

namespace kalvoro {

namespace {

std::string number(double v)
{
    // "-0" would read back as the integer 0, losing the sign.
    if (v == 0 && std::signbit(v)) return "-0.0";
    char buffer[32];
    // Whole numbers as integers ("25000000", not "2.5e+07"), as people write them.
    const bool whole = std::fabs(v) < 1e16 && std::trunc(v) == v;
    const auto end = whole ? std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::fixed).ptr
                           : std::to_chars(buffer, buffer + sizeof buffer, v).ptr;
    return std::string(buffer, end);
}

std::string quoted(const std::string& text)
{
    return nlohmann::json(text).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

std::string supportText(std::int32_t code)
{
    return code == 11 ? "11" : code == 10 ? "10" : code == 1 ? "01" : "00";
}

// ", \"spring\": {...}" and the like, for what the node has; nothing for a plain node.
std::string extraText(const NodeSupport& e)
{
    const auto pair = [](const char* key, double vertical, double rotation) -> std::string {
        if (vertical == 0 && rotation == 0) return "";
        std::string s = std::string(", \"") + key + "\": {";
        if (vertical != 0) s += "\"vertical\": " + number(vertical);
        if (rotation != 0) s += std::string(vertical != 0 ? ", " : "") + "\"rotation\": " + number(rotation);
        return s + "}";
    };
    return pair("spring", e.springVertical, e.springRotation) +
           pair("settlement", e.settlementVertical, e.settlementRotation) +
           (e.hinge ? ", \"hinge\": true" : "");
}

std::string loadText(const SpanLoad& l)
{
    switch (l.kind) {
        case LoadKind::Uniform:
            return "{\"type\": \"uniform\", \"q\": " + number(l.v1) + "}";
        case LoadKind::Point:
            return "{\"type\": \"point\", \"P\": " + number(l.v1) + ", \"a\": " + number(l.a) + "}";
        case LoadKind::Moment:
            return "{\"type\": \"moment\", \"M\": " + number(l.v1) + ", \"a\": " + number(l.a) + "}";
        case LoadKind::Linear:
            break;
    }
    return "{\"type\": \"linear\", \"q1\": " + number(l.v1) + ", \"q2\": " + number(l.v2) +
           ", \"a\": " + number(l.a) + ", \"b\": " + number(l.b) + "}";
}

std::string propertyList(const std::vector<double>& values, const char* key)
{
    std::string s = "[";
    for (std::size_t i = 0; i < values.size(); ++i)
        s += (i ? ", {\"" : "{\"") + std::string(key) + "\": " + number(values[i]) + "}";
    return s + "]";
}

}  // namespace

std::string VigxText(const ExtendedBeam& beam)
{
    std::string s = "{\n";
    s += "  \"format\": \"" + std::string(ExtendedFormat) + "\",\n";
    s += "  \"version\": " + std::to_string(ExtendedVersion) + ",\n";
    s += "  \"title\": " + quoted(beam.title) + ",\n";
    s += "  \"materials\": " + propertyList(beam.materials, "E") + ",\n";
    s += "  \"sections\": " + propertyList(beam.sections, "I") + ",\n";
    s += "  \"nodes\": [\n";
    for (std::size_t i = 0; i < beam.nodes.size(); ++i)
        s += "    {\"x\": " + number(beam.nodes[i].x) + ", \"support\": \"" +
             supportText(beam.nodes[i].support) + "\"" + extraText(beam.nodes[i].extra) + "}" +
             (i + 1 < beam.nodes.size() ? ",\n" : "\n");
    s += "  ],\n";
    s += "  \"spans\": [\n";
    for (std::size_t i = 0; i < beam.spans.size(); ++i) {
        const ExtendedSpan& span = beam.spans[i];
        s += "    {\"material\": " + std::to_string(span.material) +
             ", \"section\": " + std::to_string(span.section) + ", \"loads\": [";
        for (std::size_t k = 0; k < span.loads.size(); ++k)
            s += "\n      " + loadText(span.loads[k]) + (k + 1 < span.loads.size() ? "," : "\n    ");
        s += "]}" + std::string(i + 1 < beam.spans.size() ? ",\n" : "\n");
    }
    s += "  ]\n}\n";
    return s;
}

void SalvarVigx(const std::string& fileName, const ExtendedBeam& beam)
{
    writeFileAtomically(fileName, VigxText(beam));
}

bool CabeNoModelo(const ExtendedBeam& beam)
{
    return beam.nodes.size() <= static_cast<std::size_t>(capacity::SupportEntries);
}

bool PrecisaApoiosEspeciais(const ExtendedBeam& beam)
{
    if (!CabeNoModelo(beam)) return true;
    for (const ExtendedNode& n : beam.nodes)
        if (n.extra.any()) return true;
    return false;
}

SupportedBeam VigaApoiada(const ExtendedBeam& beam)
{
    SupportedBeam b;
    for (const ExtendedNode& n : beam.nodes) b.nodes.push_back({n.x, n.support, n.extra});
    for (const ExtendedSpan& s : beam.spans)
        b.spans.push_back({beam.materials.at(static_cast<std::size_t>(s.material - 1)),
                           beam.sections.at(static_cast<std::size_t>(s.section - 1))});
    return b;
}

bool CabeNoVig(const ExtendedBeam& beam)
{
    if (PrecisaApoiosEspeciais(beam)) return false;
    for (const ExtendedSpan& span : beam.spans) {
        int uniform = 0, point = 0;
        for (const SpanLoad& l : span.loads) {
            if (l.kind == LoadKind::Uniform)
                ++uniform;
            else if (l.kind == LoadKind::Point)
                ++point;
            else
                return false;
        }
        if (uniform > 1 || point > 1) return false;
    }
    return true;
}

BeamLoads CargasDaViga(const ExtendedBeam& beam)
{
    BeamLoads loads;
    for (const ExtendedSpan& span : beam.spans) loads.push_back(span.loads);
    return loads;
}

void PreencheModelo(const ExtendedBeam& beam, AnalysisModel& m)
{
    // What the data file reader sets, in its order.
    m.DofPerNode = 2;
    m.NodesPerElement = 2;
    m.ElementDofCount = 4;
    m.MaterialPropCount = 1;
    m.LoadCaseCount = 1;
    m.NodeCount = static_cast<AnalysisModel::Int>(beam.nodes.size());
    m.EquationCount = mulInt(m.NodeCount, m.DofPerNode);
    m.CoordsPerNode = 2;
    for (AnalysisModel::Int n = 1; n <= m.NodeCount; ++n) {
        m.Coord(n, 1) = beam.nodes[static_cast<std::size_t>(n - 1)].x;
        m.Coord(n, 2) = 0.0;
    }
    m.ElementCount = static_cast<AnalysisModel::Int>(beam.spans.size());
    for (AnalysisModel::Int e = 1; e <= m.ElementCount; ++e) {
        const ExtendedSpan& span = beam.spans[static_cast<std::size_t>(e - 1)];
        m.Incidence(e, 1) = e;
        m.Incidence(e, 2) = e + 1;
        m.ElementSection[e] = span.section;
        m.ElementMaterial[e] = span.material;
    }
    m.MaterialCount = static_cast<AnalysisModel::Int>(beam.materials.size());
    for (AnalysisModel::Int k = 1; k <= m.MaterialCount; ++k)
        m.MaterialProp(k, 1) = beam.materials[static_cast<std::size_t>(k - 1)];
    m.SectionCount = static_cast<AnalysisModel::Int>(beam.sections.size());
    for (AnalysisModel::Int k = 1; k <= m.SectionCount; ++k)
        m.SectionProp(k, 1) = beam.sections[static_cast<std::size_t>(k - 1)];
    m.SupportCount = m.NodeCount;
    for (AnalysisModel::Int n = 1; n <= m.NodeCount; ++n) {
        m.SupportNode[n] = n;
        m.SupportCode[n] = beam.nodes[static_cast<std::size_t>(n - 1)].support;
    }
    m.SupportValue.fill(0.0);

    ClearEquivalentLoads(m);
    m.LoadRowValue.fill(0.0);
    m.LoadRowCount[1] = m.ElementCount;
    const bool specified = CabeNoVig(beam);
    for (AnalysisModel::Int i = 1; i <= m.ElementCount; ++i) {
        m.LoadRowElement(i, 1) = i;
        if (!specified) continue;
        for (const SpanLoad& l : beam.spans[static_cast<std::size_t>(i - 1)].loads) {
            if (l.kind == LoadKind::Uniform) {
                m.LoadRowValue(i, 1, 1) = l.v1;
            } else {
                m.LoadRowValue(i, 2, 1) = l.v1;
                m.LoadRowValue(i, 3, 1) = l.a;
            }
        }
        AddEquivalentLoads(m, i);
    }
    if (specified) BuildNodalLoadList(m);
}

ExtendedBeam VigaDoModelo(const AnalysisModel& m, const std::string& title)
{
    ExtendedBeam beam;
    beam.title = title;
    for (AnalysisModel::Int k = 1; k <= m.MaterialCount; ++k) beam.materials.push_back(m.MaterialProp(k, 1));
    for (AnalysisModel::Int k = 1; k <= m.SectionCount; ++k) beam.sections.push_back(m.SectionProp(k, 1));
    for (AnalysisModel::Int n = 1; n <= m.NodeCount; ++n) {
        if (m.Coord(n, 2) != 0 || (n > 1 && !(m.Coord(n, 1) > m.Coord(n - 1, 1))))
            throw ConversionError("nó " + std::to_string(n) + " fora do eixo ou fora de ordem");
        ExtendedNode node;
        node.x = m.Coord(n, 1);
        for (AnalysisModel::Int s = 1; s <= m.SupportCount; ++s)
            if (m.SupportNode[s] == n) node.support = m.SupportCode[s];
        beam.nodes.push_back(node);
    }
    for (AnalysisModel::Int e = 1; e <= m.ElementCount; ++e) {
        if (m.Incidence(e, 1) != e || m.Incidence(e, 2) != e + 1)
            throw ConversionError("trecho " + std::to_string(e) + " não liga o nó " + std::to_string(e) +
                                  " ao nó " + std::to_string(e + 1));
        beam.spans.push_back({m.ElementMaterial[e], m.ElementSection[e], {}});
    }
    for (AnalysisModel::Int r = 1; r <= m.LoadRowCount[1]; ++r) {
        const AnalysisModel::Int e = m.LoadRowElement(r, 1);
        if (e < 1 || e > m.ElementCount) throw ConversionError("carga num trecho que não existe");
        auto& loads = beam.spans[static_cast<std::size_t>(e - 1)].loads;
        const double q = m.LoadRowValue(r, 1, 1), P = m.LoadRowValue(r, 2, 1), d = m.LoadRowValue(r, 3, 1);
        // A zero of either sign is kept when its bits say so, so the beam
        // comes back as the same doubles.
        if (q != 0 || std::signbit(q)) loads.push_back({LoadKind::Uniform, q, 0, 0, 0});
        if (P != 0 || d != 0 || std::signbit(P) || std::signbit(d))
            loads.push_back({LoadKind::Point, P, 0, d, 0});
    }
    return beam;
}

}  // namespace kalvoro
