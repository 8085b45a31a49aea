#include "influence/supported_influence.h"

#include <cmath>

#include "data/numbers.h"
#include "engine/arithmetic.h"
#include "engine/errors.h"
#include "engine/text_fields.h"
#include "influence/influence_page.h"

namespace kalvoro {

std::vector<InfluenceOrdinate> OrdenadasApoiadas(const SupportedSystem& system, long n, double xs)
{
    const long spans = static_cast<long>(system.spanCount());
    if (n < 1 || n > spans)
        throw IndexError("trecho " + fieldInt(n, 0) + " fora de 1.." + fieldInt(spans, 0));
    // Eleven positions per span, the tenths of its length.
    std::vector<std::pair<std::size_t, double>> positions;
    for (long k = 0; k < spans; ++k)
        for (int i = 0; i <= 10; ++i)
            positions.push_back({static_cast<std::size_t>(k), store(Real(system.spanLength(k)) / 10 * i)});
    const auto lines = system.influence(static_cast<std::size_t>(n - 1), xs, positions);
    std::vector<InfluenceOrdinate> out;
    for (std::size_t p = 0; p < positions.size(); ++p)
        out.push_back({static_cast<long>(positions[p].first) + 1, positions[p].second, lines[p].shearLeft,
                       lines[p].shearRight, lines[p].moment});
    return out;
}

std::string RelatorioInfluenciaApoiada(const SupportedSystem& system, const std::string& trechoText,
                                       const std::string& posText, std::vector<InfluenceOrdinate>* ordinates)
{
    const long n = toInt(trechoText);
    const double xs = toReal(posText);
    const std::vector<InfluenceOrdinate> lines = OrdenadasApoiadas(system, n, xs);

    constexpr const char* CrLf = "\r\n";
    std::string out = "Linha de Influência de Esforços Cortantes e Momentos Fletores";
    out += CrLf;
    out += "para a seção à " + fieldReal(xs, 0, 3) + " m do trecho " + fieldInt(n, 0) + CrLf;
    for (std::size_t p = 0; p < lines.size(); ++p) {
        const InfluenceOrdinate& o = lines[p];
        if (p % 11 == 0)
            out += padText("Trecho", 7) + padText("Posição", 9) + padText("Cortante esq.", 14) +
                   padText("Cortante dir.", 14) + padText("Momento", 14) + CrLf;
        out += fieldInt(o.span, 7) + fieldReal(o.d, 9, 2) + fieldReal(o.shearLeft, 14, 6) +
               fieldReal(o.shearRight, 14, 6) + fieldReal(o.moment, 14, 6) + CrLf;
    }
    if (ordinates) ordinates->insert(ordinates->end(), lines.begin(), lines.end());
    return out;
}

Recording DesenhaLinhaInfluenciaApoiada(const SupportedSystem& system, const BeamFrame& frame,
                                        const DiagramSettings& s, long n, double xs,
                                        const std::string& dataFile, bool svg)
{
    const long spans = static_cast<long>(system.spanCount());
    if (n < 1 || n > spans || frame.spans.size() != system.spanCount())
        throw IndexError("trecho " + fieldInt(n, 0) + " fora de 1.." + fieldInt(spans, 0));
    const std::size_t section = static_cast<std::size_t>(n - 1);

    // The positions of every span's curve, then the two reference positions:
    // the section and the middle of its span. One pair of substitutions for all.
    std::vector<InfluenceSpan> curves;
    std::vector<std::pair<std::size_t, double>> positions;
    Real beamLength = 0;
    for (std::size_t k = 0; k < frame.spans.size(); ++k) {
        const BeamFrame::Node& a = frame.nodes[frame.spans[k].start];
        const BeamFrame::Node& b = frame.nodes[frame.spans[k].end];
        InfluenceSpan c{a.X, a.Y, b.X, b.Y, InfluenceAbscissae(a.X, b.X), {}};
        beamLength += std::fabs(static_cast<Real>(b.X) - a.X);
        for (const double X : c.X) positions.push_back({k, store(static_cast<Real>(X) - a.X)});
        curves.push_back(std::move(c));
    }
    positions.push_back({section, xs});
    positions.push_back({section, store(Real(system.spanLength(section)) / 2)});
    const auto lines = system.influence(section, xs, positions);

    std::size_t p = 0;
    for (InfluenceSpan& c : curves)
        for (std::size_t i = 0; i < c.X.size(); ++i) c.M.push_back(lines[p++].moment);
    const double M1 = lines[p].moment, M2 = lines[p + 1].moment;
    const double Mref = std::fabs(M1) > std::fabs(M2) ? M1 : M2;

    Recording page = InfluencePage(frame, s, curves, Mref, beamLength, n, xs);
    SavePage(page, dataFile, "LIM", svg);
    return page;
}

}  // namespace kalvoro
