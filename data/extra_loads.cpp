#include "data/extra_loads.h"

#include <memory>

#include "data/beam_tables.h"
#include "data/numbers.h"
#include "engine/errors.h"

namespace kalvoro {

namespace {

// A beam the data file holds is read from the file's own text, so that it is
// the very beam a .vig of these tables would give.
ExtendedBeam beamThroughReader(const std::string& title, const BeamTexts& tables)
{
    auto scratch = std::make_unique<AnalysisModel>();
    const ReadResult r = AbrirTexto(BeamFileText(title, tables), *scratch, {});
    if (r.status != 0) throw ConversionError(ReaderMessages().at(static_cast<std::size_t>(r.status)));
    return VigaDoModelo(*scratch, title);
}

}  // namespace

ExtendedBeam VigaDasTabelas(const std::string& title, const BeamTexts& tables,
                            const std::vector<ExtraLoadRow>& extra)
{
    ExtendedBeam beam =
        BeamFileLimit(tables) ? VigaDosTextos(title, tables) : beamThroughReader(title, tables);
    for (std::size_t i = 0; i < extra.size(); ++i) {
        const ExtraLoadRow& row = extra[i];
        const std::string where = "Cargas adicionais, linha " + std::to_string(i + 1) + ": ";
        const auto real = [&](const std::string& text, const char* column) {
            const auto v = parseReal(text);
            if (!v) throw ConversionError(where + column + " \"" + text + "\" não é um número");
            return *v;
        };
        const auto span = parseInt(row.span);
        if (!span || *span < 1 || static_cast<std::size_t>(*span) > beam.spans.size())
            throw ConversionError(where + "o trecho \"" + row.span + "\" não existe");
        SpanLoad l;
        if (row.type == ExtraPoint || row.type == ExtraMoment) {
            l = {row.type == ExtraPoint ? LoadKind::Point : LoadKind::Moment, real(row.value, "Valor"), 0,
                 real(row.a, "a"), 0};
        } else if (row.type == ExtraSpread) {
            l = {LoadKind::Linear, real(row.value, "Valor"), real(row.endValue, "Valor final"),
                 real(row.a, "a"), real(row.b, "b")};
        } else {
            throw ConversionError(where + "tipo \"" + row.type + "\" desconhecido");
        }
        beam.spans[static_cast<std::size_t>(*span - 1)].loads.push_back(l);
    }
    return beam;
}

std::vector<ExtraLoadRow> SeparaCargasAdicionais(ExtendedBeam& beam)
{
    std::vector<ExtraLoadRow> rows;
    for (std::size_t i = 0; i < beam.spans.size(); ++i) {
        const double L = beam.nodes[i + 1].x - beam.nodes[i].x;
        std::vector<SpanLoad> kept;
        bool uniform = false, point = false;
        for (const SpanLoad& l : beam.spans[i].loads) {
            if (l.kind == LoadKind::Uniform && !uniform) {
                uniform = true;
                kept.push_back(l);
                continue;
            }
            if (l.kind == LoadKind::Point && !point) {
                point = true;
                kept.push_back(l);
                continue;
            }
            const std::string span = std::to_string(i + 1);
            switch (l.kind) {
                case LoadKind::Point:
                case LoadKind::Moment:
                    rows.push_back({span, l.kind == LoadKind::Point ? ExtraPoint : ExtraMoment,
                                    formatGeneral(l.v1), "", formatGeneral(l.a), ""});
                    break;
                case LoadKind::Uniform:
                    rows.push_back(
                        {span, ExtraSpread, formatGeneral(l.v1), formatGeneral(l.v1), "0", formatGeneral(L)});
                    break;
                case LoadKind::Linear:
                    rows.push_back({span, ExtraSpread, formatGeneral(l.v1), formatGeneral(l.v2),
                                    formatGeneral(l.a), formatGeneral(l.b)});
                    break;
            }
        }
        beam.spans[i].loads = kept;
    }
    return rows;
}

}  // namespace kalvoro
