#pragma once
// Bending moment and shear along a span: the end forces from the displacements
// (ElementStartShear, ElementStartMoment) plus the span's own load (uniform q
// over the whole span, P at distance d from the start node). Shear is the sum
// of the vertical forces left of the section, positive upward; the moment is
// positive when sagging.

#include "analysis_model.h"

namespace kalvoro {

// Moment at x; the term of P is included from x >= d on.
double MomentoSecao(double x, double q, double P, double d, double L, double V0, double M0);
// Shear at x; P is added only for x > d (at x = d the value just left of the load).
double CortanteSecao(double x, double q, double P, double d, double L, double V0, double M0);

// Extremes of span i (load row i, element LoadRowElement[i, 1]) after EsforcosExtremos.
double MaxMomentoPositivo(const AnalysisModel& m, long i);
double PosMaxMomentoPositivo(const AnalysisModel& m, long i);
double MaxMomentoNegativo(const AnalysisModel& m, long i);
double PosMaxMomentoNegativo(const AnalysisModel& m, long i);
double MaxCortantePositivo(const AnalysisModel& m, long i);
double PosMaxCortantePositivo(const AnalysisModel& m, long i);
double MaxCortanteNegativo(const AnalysisModel& m, long i);
double PosMaxCortanteNegativo(const AnalysisModel& m, long i);

// The seven values of span i as the span functions see them.
struct SpanData {
    double q, P, d, L, V0, M0;
};
SpanData SpanOf(const AnalysisModel& m, long i);

}  // namespace kalvoro
