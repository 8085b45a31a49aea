#pragma once
// The deflected shape of a span and its largest deflections.
//
// Within a span the deflection is exact for the beam element: the cubic that
// the element's end displacements and rotations give (its Hermite shape
// functions) plus the deflection of the span's own load with both ends fixed,
// the part that the nodal solution leaves out, just as the end forces leave
// out the fixed-end forces. So E I v''(x) is the moment of MomentoSecao.
//
// x runs from the span's start node (0) to its end node (L). v is positive
// upward, as the report's "Vertical" column, and its slope v' is the rotation,
// counter-clockwise positive as the report's "Rotação": for a span from left
// to right on Y = 0 (every beam the tables write) v(0), v'(0), v(L) and v'(L)
// are the nodal values of the report, bit for bit. The end values are taken in
// the span's own frame, as the end forces are (R u).
//
// The load of span i is load row i; its element, E, I and end nodes are those
// of element LoadRowElement[i, 1]. A span is to be read after a solution.

#include <functional>
#include <vector>

#include "analysis_model.h"
#include "arithmetic.h"
#include "real_roots.h"

namespace kalvoro {

struct SpanDeflection {
    double L = 0;
    double E = 0, I = 0;
    double v1 = 0, r1 = 0;  // start node: displacement and rotation
    double v2 = 0, r2 = 0;  // end node
    double q = 0, P = 0, d = 0;
};

SpanDeflection DeflectionOf(const AnalysisModel& m, long i);

// v(x) and v'(x). A span of length 0 or with E I = 0 throws ArithmeticError.
double Deflection(const SpanDeflection& s, double x);
double DeflectionSlope(const SpanDeflection& s, double x);

struct DeflectionPoint {
    double value = 0, position = 0;
};
// The smallest v (the largest downward deflection; positive only when the
// whole span rises) and the largest v, each at the first position where it is
// reached. Found exactly: on each side of the load v is a polynomial of degree
// 4, so its extremes lie at the ends or at the real roots of its slope.
struct DeflectionExtremes {
    DeflectionPoint down, up;
};
DeflectionExtremes ExtremeDeflections(const SpanDeflection& s);

// For the span shapes' extremes: after the last candidate in `at`, the roots
// in (0, width) of the slope on a piece starting at x0 and of its derivative
// (a root of the slope that rounding turns into a touch of zero lies at the
// latter), each as x0 + t, in order, short of the piece's end x1.
void AddSlopeRoots(std::vector<double>& at, const Polynomial& slope, Real x0, Real width, double x1);
// The smallest and largest v among the candidates, each at the first of them
// where it is reached.
DeflectionExtremes ExtremesAmong(const std::vector<double>& at, const std::function<double(double)>& v);

}  // namespace kalvoro
