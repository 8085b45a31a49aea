#pragma once
// The engine's general road: beams whose spans carry loads the data file
// cannot hold (several loads, applied moments, partial and linear loads). A
// beam the data file can hold never comes here, so its outputs stay those of
// the specified road.
//
// The load rows stay one empty row per span (the report, the diagrams and the
// influence lines address span i as row i); the span loads reach the solver as
// equivalent nodal loads, the integrals of each load against the beam's cubic
// shape functions, which are exact for every load type. Along a span the
// moment is a cubic and the shear a quadratic between consecutive load points,
// so both are held as exact piecewise polynomials.

#include <array>
#include <vector>

#include "analysis_model.h"
#include "arithmetic.h"
#include "span_loads.h"

namespace kalvoro {

// Equivalent nodal loads of one load on a span of length L: force and moment
// at the start node, force and moment at the end node (the fixed-end forces
// with the opposite sign).
std::array<Real, 4> EquivalentLoads(const SpanLoad& load, Real L);

// Load rows emptied (row i = span i), equivalent nodal loads of every span's
// loads, the list of loaded nodes. Every node of a span is listed, loaded or not.
void CarregaGeral(AnalysisModel& m, const BeamLoads& loads);
// CarregaGeral, then ColunasAltura .. EsforcosExtremos.
void ResolveGeral(AnalysisModel& m, const BeamLoads& loads);

// M(x0 + t) = c[0] + c[1] t + c[2] t^2 + c[3] t^3 for 0 <= t <= x1 - x0; the
// shear is its derivative. Loads at x0 belong to this piece (right-hand values).
struct Piece {
    double x0, x1;
    std::array<Real, 4> c;
    Real moment(Real t) const { return ((c[3] * t + c[2]) * t + c[1]) * t + c[0]; }
    Real shear(Real t) const { return (3 * c[3] * t + 2 * c[2]) * t + c[1]; }
};

struct Extreme {
    double value, position;
};

// Section forces of span i after the solution: its pieces in order along the
// span and the extremes (each piece's ends and the real roots of its
// derivative; ties keep the earlier position).
struct SpanCurve {
    double L = 0;
    std::vector<Piece> pieces;

    double startShear() const;
    double startMoment() const;
    double endShear() const;
    double endMoment() const;
    Extreme largestMoment() const;
    Extreme smallestMoment() const;
    Extreme largestShear() const;
    Extreme smallestShear() const;
};

SpanCurve CurvaDoTrecho(const AnalysisModel& m, const BeamLoads& loads, long i);
// Every span's curve, span 1 first.
std::vector<SpanCurve> CurvasDaViga(const AnalysisModel& m, const BeamLoads& loads);
// The same from the span's loads, its length and the shear and moment at its
// start caused by the nodal displacements alone.
SpanCurve CurvaDoTrecho(const std::vector<SpanLoad>& spanLoads, Real L, Real startShear, Real startMoment);

// The results report of the general road (EsforcosExtremos first): the same
// blocks and columns as Resultados, the span figures taken from the piecewise
// curves, which it returns for the diagrams.
std::vector<SpanCurve> ResultadosGeral(AnalysisModel& m, const BeamLoads& loads);

}  // namespace kalvoro
