#include "data/beam_tables.h"

#include <cmath>

#include "data/numbers.h"
#include "engine/arithmetic.h"
#include "engine/errors.h"

namespace kalvoro {

namespace {

// "00", "01", "10", "11", as the reader's tables show a code.
std::string codeText(std::int32_t code)
{
    std::string s = std::to_string(code % 100);
    if (s.size() < 2) s.insert(0, 2 - s.size(), '0');
    return s;
}

const std::string& cell(const std::vector<std::string>& row, std::size_t col)
{
    static const std::string empty;
    return col < row.size() ? row[col] : empty;
}

std::vector<double> properties(const TableTexts& t)
{
    std::vector<double> values;
    for (const auto& row : t.rows) values.push_back(toReal(cell(row, 1)));
    return values;
}

void checkReference(std::size_t span, std::int32_t number, std::size_t count, const char* what)
{
    if (number < 1 || static_cast<std::size_t>(number) > count)
        throw ConversionError("trecho " + std::to_string(span) + ": " + what + " " + std::to_string(number) +
                              " não definido");
}

}  // namespace

BeamTexts TabelasDaViga(const ExtendedBeam& beam)
{
    BeamTexts t;
    const auto count = [](std::size_t n) { return std::to_string(n); };
    t.materials.count = count(beam.materials.size());
    for (std::size_t k = 0; k < beam.materials.size(); ++k)
        t.materials.rows.push_back({count(k + 1), formatGeneral(beam.materials[k], 12)});
    t.sections.count = count(beam.sections.size());
    for (std::size_t k = 0; k < beam.sections.size(); ++k)
        t.sections.rows.push_back({count(k + 1), formatGeneral(beam.sections[k], 12)});

    t.nodes.count = count(beam.nodes.size());
    t.supports.count = count(beam.nodes.size());
    for (std::size_t n = 0; n < beam.nodes.size(); ++n) {
        t.nodes.rows.push_back({count(n + 1), formatGeneral(beam.nodes[n].x, 12), formatGeneral(0.0, 12)});
        t.supports.rows.push_back({count(n + 1), codeText(beam.nodes[n].support)});
    }

    t.spans.count = count(beam.spans.size());
    t.loads.count = count(beam.spans.size());
    for (std::size_t e = 0; e < beam.spans.size(); ++e) {
        const ExtendedSpan& span = beam.spans[e];
        const Real length = static_cast<Real>(beam.nodes.at(e + 1).x) - beam.nodes.at(e).x;
        t.spans.rows.push_back({count(e + 1), formatGeneral(store(length), 12), std::to_string(span.section),
                                std::to_string(span.material)});
        double q = 0, P = 0, d = 0;
        bool uniform = false, point = false;
        for (const SpanLoad& l : span.loads) {
            if (l.kind == LoadKind::Uniform && !uniform) {
                uniform = true;
                q = l.v1;
            } else if (l.kind == LoadKind::Point && !point) {
                point = true;
                P = l.v1;
                d = l.a;
            }
        }
        t.loads.rows.push_back(
            {count(e + 1), formatGeneral(q, 12), formatGeneral(P, 12), formatGeneral(d, 12)});
    }
    return t;
}

ExtendedBeam VigaDosTextos(const std::string& title, const BeamTexts& tables)
{
    ExtendedBeam beam;
    beam.title = title;
    beam.materials = properties(tables.materials);
    beam.sections = properties(tables.sections);
    for (std::size_t n = 0; n < tables.nodes.rows.size(); ++n) {
        const auto& row = tables.nodes.rows[n];
        const double x = toReal(cell(row, 1));
        if (toReal(cell(row, 2)) != 0 || (n > 0 && !(x > beam.nodes.back().x)))
            throw ConversionError("nó " + std::to_string(n + 1) + " fora do eixo ou fora de ordem");
        beam.nodes.emplace_back(x, 0);
    }
    for (const auto& row : tables.supports.rows) {
        const std::int32_t node = toInt(cell(row, 0)), code = toInt(cell(row, 1));
        if (code != 0 && code != 1 && code != 10 && code != 11)
            throw ConversionError("código de apoio " + std::to_string(code) + " inválido");
        if (node < 1 || static_cast<std::size_t>(node) > beam.nodes.size())
            throw ConversionError("apoio no nó " + std::to_string(node) + ", que não existe");
        beam.nodes[static_cast<std::size_t>(node - 1)].support = code;
    }
    if (beam.nodes.size() != tables.spans.rows.size() + 1)
        throw ConversionError("a viga tem " + std::to_string(tables.spans.rows.size()) + " trechos e " +
                              std::to_string(beam.nodes.size()) + " nós");
    for (std::size_t e = 0; e < tables.spans.rows.size(); ++e) {
        const auto& row = tables.spans.rows[e];
        ExtendedSpan span;
        span.section = toInt(cell(row, 2));
        span.material = toInt(cell(row, 3));
        checkReference(e + 1, span.material, beam.materials.size(), "material");
        checkReference(e + 1, span.section, beam.sections.size(), "seção");
        beam.spans.push_back(span);
    }
    for (std::size_t r = 0; r < tables.loads.rows.size(); ++r) {
        const auto& row = tables.loads.rows[r];
        const std::int32_t e = toInt(cell(row, 0));
        if (e < 1 || static_cast<std::size_t>(e) > beam.spans.size())
            throw ConversionError("carga " + std::to_string(r + 1) + " sem trecho");
        const auto i = static_cast<std::size_t>(e - 1);
        const double q = toReal(cell(row, 1)), P = toReal(cell(row, 2)), d = toReal(cell(row, 3));
        // As the reader lets it through: d within the span, up to a part in
        // 1e9 of its length for a length written with 12 digits.
        const Real L = static_cast<Real>(beam.nodes[i + 1].x) - beam.nodes[i].x;
        if (d < -L * 1e-9L || d > L + L * 1e-9L)
            throw ConversionError("carga " + std::to_string(r + 1) + " fora do trecho " + std::to_string(e));
        auto& loads = beam.spans[i].loads;
        if (q != 0 || std::signbit(q)) loads.push_back({LoadKind::Uniform, q, 0, 0, 0});
        if (P != 0 || d != 0 || std::signbit(P) || std::signbit(d))
            loads.push_back({LoadKind::Point, P, 0, d, 0});
    }
    return beam;
}

}  // namespace kalvoro
