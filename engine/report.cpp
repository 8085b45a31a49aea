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

void endForces(AnalysisModel& m)
{
    line(m, padText("----Esf. Esquerda-----", 28) + padText("----Esf. Direita-----", 22));
    line(m, padText("Trecho", 6) + padText("Cortante", 11) + padText("Momento", 11) +
                padText("Cortante", 11) + padText("Momento", 11));
    for (long i = 1; i <= m.ElementCount; ++i) {
        const SpanData s = SpanOf(m, i);
        // The end of the span is taken along X (the same as its length on a
        // horizontal beam).
        const long e = m.LoadRowElement(i, 1);
        const double end =
            store(static_cast<Real>(m.Coord(m.Incidence(e, 2), 1)) - m.Coord(m.Incidence(e, 1), 1));
        line(m, fieldInt(i, 6) + fieldReal(CortanteSecao(0, s.q, s.P, s.d, s.L, s.V0, s.M0), 11, 4) +
                    fieldReal(MomentoSecao(0, s.q, s.P, s.d, s.L, s.V0, s.M0), 11, 4) +
                    fieldReal(CortanteSecao(end, s.q, s.P, s.d, s.L, s.V0, s.M0), 11, 4) +
                    fieldReal(MomentoSecao(end, s.q, s.P, s.d, s.L, s.V0, s.M0), 11, 4));
    }
    line(m, "");
}

void momentExtremes(AnalysisModel& m)
{
    line(m, "--------Máximos Momentos nos Trechos");
    line(m, padText("Trecho", 6) + padText("Max. M+", 11) + padText("Posição", 11) + padText("Max. M-", 11) +
                padText("Posição", 11));
    for (long i = 1; i <= m.ElementCount; ++i)
        line(m, fieldInt(i, 6) + fieldReal(MaxMomentoPositivo(m, i), 11, 4) +
                    fieldReal(PosMaxMomentoPositivo(m, i), 11, 4) +
                    fieldReal(MaxMomentoNegativo(m, i), 11, 4) +
                    fieldReal(PosMaxMomentoNegativo(m, i), 11, 4));
    line(m, "");
}

void shearExtremes(AnalysisModel& m)
{
    line(m, "--------Máximos Cortantes nos Trechos");
    line(m, padText("Trecho", 6) + padText("Max. C+", 11) + padText("Posição", 11) + padText("Max. C-", 11) +
                padText("Posição", 11));
    for (long i = 1; i <= m.ElementCount; ++i)
        line(m, fieldInt(i, 6) + fieldReal(MaxCortantePositivo(m, i), 11, 4) +
                    fieldReal(PosMaxCortantePositivo(m, i), 11, 4) +
                    fieldReal(MaxCortanteNegativo(m, i), 11, 4) +
                    fieldReal(PosMaxCortanteNegativo(m, i), 11, 4));
}

}  // namespace

void Resultados(AnalysisModel& m)
{
    EsforcosExtremos(m);
    EscreveRelatorio(m);
}

void EscreveRelatorio(AnalysisModel& m)
{
    displacementsAndReactions(m);
    endForces(m);
    momentExtremes(m);
    shearExtremes(m);
}

}  // namespace kalvoro
