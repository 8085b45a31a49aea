// The results report: four blocks of fixed-width rows, every line ended by
// CR LF, the last one included; no empty line follows the last block.
//
//   1. per node: vertical displacement and rotation (equations 2n - 1 and 2n,
//      load case 1) and the reactions of support entry n;
//   2. per span: shear and moment at its start and end;
//   3. per span: largest and smallest moment with their positions;
//   4. per span: largest and smallest shear with their positions.
//
// Span i is load row i, its geometry element LoadRowElement[i, 1].

#include "engine/report.h"

#include "engine/arithmetic.h"
#include "engine/engine.h"
#include "engine/section_forces.h"
#include "engine/text_fields.h"

namespace kalvoro {

namespace {

constexpr const char* LineEnd = "\r\n";

// Appends one finished line, so a failure leaves only whole lines behind.
void line(AnalysisModel& m, const std::string& text)
{
    m.ReportFile += text;
    m.ReportFile += LineEnd;
}

void displacementsAndReactions(AnalysisModel& m)
{
    line(m, padText("-----Deslocamentos-----", 32) + padText("--Reações de apoio--", 22));
    line(m, padText("no", 4) + padText("Vertical", 14) + padText("Rotação", 14) + padText("Força", 11) +
                padText("M.fletor", 11));
    for (long n = 1; n <= m.NodeCount; ++n)
        line(m, fieldInt(n, 4) + fieldReal(m.LoadVector(2 * n - 1, 1), 14, 8) +
                    fieldReal(m.LoadVector(2 * n, 1), 14, 8) + fieldReal(m.Reaction(n, 1), 11, 4) +
                    fieldReal(m.Reaction(n, 2), 11, 4));
    line(m, "");
}

void endForces(AnalysisModel& m, const SpanFigures& spans)
{
    line(m, padText("----Esf. Esquerda-----", 28) + padText("----Esf. Direita-----", 22));
    line(m, padText("Trecho", 6) + padText("Cortante", 11) + padText("Momento", 11) +
                padText("Cortante", 11) + padText("Momento", 11));
    for (long i = 1; i <= m.ElementCount; ++i) {
        const auto f = spans.endForces(i);
        line(m, fieldInt(i, 6) + fieldReal(f[0], 11, 4) + fieldReal(f[1], 11, 4) + fieldReal(f[2], 11, 4) +
                    fieldReal(f[3], 11, 4));
    }
    line(m, "");
}

void extremes(AnalysisModel& m, const char* heading, const char* plus, const char* minus,
              const std::function<std::array<double, 4>(long)>& figures)
{
    line(m, heading);
    line(m, padText("Trecho", 6) + padText(plus, 11) + padText("Posição", 11) + padText(minus, 11) +
                padText("Posição", 11));
    for (long i = 1; i <= m.ElementCount; ++i) {
        const auto f = figures(i);
        line(m, fieldInt(i, 6) + fieldReal(f[0], 11, 4) + fieldReal(f[1], 11, 4) + fieldReal(f[2], 11, 4) +
                    fieldReal(f[3], 11, 4));
    }
}

// The specified span functions: span i is load row i.
SpanFigures specifiedFigures(const AnalysisModel& m)
{
    SpanFigures f;
    f.endForces = [&m](long i) {
        const SpanData s = SpanOf(m, i);
        // The end of the span is taken along X (the same as its length on a
        // horizontal beam).
        const long e = m.LoadRowElement(i, 1);
        const double end =
            store(static_cast<Real>(m.Coord(m.Incidence(e, 2), 1)) - m.Coord(m.Incidence(e, 1), 1));
        return std::array<double, 4>{CortanteSecao(0, s.q, s.P, s.d, s.L, s.V0, s.M0),
                                     MomentoSecao(0, s.q, s.P, s.d, s.L, s.V0, s.M0),
                                     CortanteSecao(end, s.q, s.P, s.d, s.L, s.V0, s.M0),
                                     MomentoSecao(end, s.q, s.P, s.d, s.L, s.V0, s.M0)};
    };
    f.moments = [&m](long i) {
        return std::array<double, 4>{MaxMomentoPositivo(m, i), PosMaxMomentoPositivo(m, i),
                                     MaxMomentoNegativo(m, i), PosMaxMomentoNegativo(m, i)};
    };
    f.shears = [&m](long i) {
        return std::array<double, 4>{MaxCortantePositivo(m, i), PosMaxCortantePositivo(m, i),
                                     MaxCortanteNegativo(m, i), PosMaxCortanteNegativo(m, i)};
    };
    return f;
}

}  // namespace

void Resultados(AnalysisModel& m)
{
    EsforcosExtremos(m);
    EscreveRelatorio(m);
}

void EscreveRelatorio(AnalysisModel& m)
{
    EscreveRelatorio(m, specifiedFigures(m));
}

void EscreveRelatorio(AnalysisModel& m, const SpanFigures& spans)
{
    displacementsAndReactions(m);
    endForces(m, spans);
    extremes(m, "--------Máximos Momentos nos Trechos", "Max. M+", "Max. M-", spans.moments);
    line(m, "");
    extremes(m, "--------Máximos Cortantes nos Trechos", "Max. C+", "Max. C-", spans.shears);
}

}  // namespace kalvoro
