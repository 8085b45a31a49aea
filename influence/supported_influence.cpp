#include "influence/supported_influence.h"

#include "data/numbers.h"
#include "engine/arithmetic.h"
#include "engine/errors.h"
#include "engine/text_fields.h"

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

}  // namespace kalvoro
