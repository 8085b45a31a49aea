// Section forces along a span and their extremes.
//
// Just right of the start node the span carries the shear
//   VA = V0 - qL/2 - RA,   RA = P b^2 (3d + b) / L^3,   b = L - d,
// and the sagging moment
//   MS = qL^2/12 + MA - M0,   MA = P d b^2 / L^2,
// V0 and M0 being the start-node end forces from the displacements alone; the
// fixed-end forces of the span's own load are added back here. Then
//   V(x) = VA + q x (+ P for x > d),   M(x) = MS + VA x + q x^2 / 2 (+ P (x - d) for x >= d).
//
// The extremes examine a fixed list of points in a fixed order; ties keep the
// earlier point, so the positions reported are reproducible.

#include "engine/section_forces.h"

#include <cmath>
#include <limits>

#include "engine/arithmetic.h"

namespace kalvoro {

namespace {

// Fixed-end shear of P at the start node.
Real startShearOfP(Real P, Real d, Real L)
{
    const Real b = L - d;
    return div(P * b * b * (3 * d + b), L * L * L);
}

double momentAt(const SpanData& s, double x)
{
    return MomentoSecao(x, s.q, s.P, s.d, s.L, s.V0, s.M0);
}

double shearAt(const SpanData& s, double x)
{
    return CortanteSecao(x, s.q, s.P, s.d, s.L, s.V0, s.M0);
}

// Is a moment of a better than one of b for this sense (+1 the largest, -1
// the smallest)? Equal moments are not.
bool better(double a, double b, int sense)
{
    return sense > 0 ? a > b : a < b;
}

// Where the shear changes sign: left of the load if that zero lies in [0, d],
// otherwise right of it; the span's end when neither lies on the span.
//
// When the shear has a zero on both sides of the load (a uniform load and a
// concentrated load of opposite senses) the one right of the load may hold the
// extreme, so it takes the left zero's place when its moment is strictly
// better. A right zero on the load or at the span's end is left out: those
// points are examined anyway, and leaving them out keeps every tie where it
// always was. So a span whose shear changes sign at most once keeps its
// candidate, except where the left zero is the load point itself: there the
// shear does not change sign at all, and the extreme lies at the right zero.
double momentCandidate(const SpanData& s, int sense)
{
    if (s.q == 0) return s.d;
    const double v0 = shearAt(s, 0);
    const Real minusQ = -static_cast<Real>(s.q);
    const double left = store(div(v0, minusQ));
    // Not stored yet: storing it fails beyond the doubles, and that is a
    // failure only where it is the candidate itself.
    const Real right = div(static_cast<Real>(v0) + s.P, minusQ);
    const bool rightFits = std::fabs(right) <= static_cast<Real>(std::numeric_limits<double>::max());

    const bool leftOfLoad = left >= 0 && left <= s.d;
    const double x = leftOfLoad ? left : store(right);
    if (x < 0 || x > s.L) return s.L;
    if (!leftOfLoad || !rightFits) return x;
    const double rightZero = store(right);
    if (rightZero > s.d && rightZero < s.L && better(momentAt(s, rightZero), momentAt(s, left), sense))
        return rightZero;
    return left;
}

struct Extreme {
    double value, position;
};

Extreme momentExtreme(const SpanData& s, int sense)
{
    double x = momentCandidate(s, sense);
    const auto worse = [&](double at, double other) {
        return better(momentAt(s, other), momentAt(s, at), sense);
    };
    if (worse(x, 0)) x = 0;
    if (worse(x, s.d)) x = s.d;
    if (worse(x, s.L)) x = s.L;
    return {momentAt(s, x), x};
}

Extreme shearMaximum(const SpanData& s)
{
    const double v0 = shearAt(s, 0);
    Extreme best{v0, 0};
    const double leftOfLoad = store(static_cast<Real>(v0) + static_cast<Real>(s.q) * s.d);
    const double rightOfLoad = store(static_cast<Real>(v0) + static_cast<Real>(s.q) * s.d + s.P);
    const double atEnd = store(static_cast<Real>(v0) + static_cast<Real>(s.q) * s.L + s.P);
    if (leftOfLoad > best.value) best = {leftOfLoad, s.d};
    if (rightOfLoad > best.value) best = {rightOfLoad, s.d};
    if (atEnd > best.value) best = {atEnd, s.L};
    return best;
}

Extreme shearMinimum(const SpanData& s)
{
    const double v0 = shearAt(s, 0);
    Extreme best{v0, 0};
    const double rightOfLoad = store(static_cast<Real>(v0) + static_cast<Real>(s.q) * s.d + s.P);
    const double leftOfLoad = store(static_cast<Real>(v0) + static_cast<Real>(s.q) * s.d);
    const double atEnd = store(static_cast<Real>(v0) + static_cast<Real>(s.q) * s.L + s.P);
    if (rightOfLoad < best.value) best = {rightOfLoad, s.d};
    if (leftOfLoad < best.value) best = {leftOfLoad, s.d};
    if (atEnd < best.value) best = {atEnd, s.L};
    return best;
}

}  // namespace

double MomentoSecao(double x, double q, double P, double d, double L, double V0, double M0)
{
    const Real X = x, Q = q, Lr = L;
    const Real b = Lr - d;
    Real M = X * (V0 - Q * Lr / 2 - startShearOfP(P, d, Lr)) +
             (Q * Lr * Lr / 12 - M0 + div(static_cast<Real>(P) * d * b * b, Lr * Lr)) + Q * X * X / 2;
    if (x >= d) M += static_cast<Real>(P) * (X - d);
    return store(M);
}

// The shear does not depend on the start moment; the argument keeps both
// functions callable with the same seven values.
double CortanteSecao(double x, double q, double P, double d, double L, double V0, double /*M0*/)
{
    const Real Q = q, Lr = L;
    Real V = V0 - Q * Lr / 2 - startShearOfP(P, d, Lr) + Q * x;
    if (x > d) V += P;
    return store(V);
}

SpanData SpanOf(const AnalysisModel& m, long i)
{
    const long e = m.LoadRowElement(i, 1);
    const long A = m.Incidence(e, 1);
    const long B = m.Incidence(e, 2);
    const Real dx = static_cast<Real>(m.Coord(A, 1)) - m.Coord(B, 1);
    const Real dy = static_cast<Real>(m.Coord(A, 2)) - m.Coord(B, 2);
    SpanData s{};
    s.L = store(root(dx * dx + dy * dy));
    s.q = m.LoadRowValue(i, 1, 1);
    s.P = m.LoadRowValue(i, 2, 1);
    s.d = m.LoadRowValue(i, 3, 1);
    s.V0 = m.ElementStartShear[i];
    s.M0 = m.ElementStartMoment[i];
    return s;
}

double MaxMomentoPositivo(const AnalysisModel& m, long i)
{
    return momentExtreme(SpanOf(m, i), +1).value;
}
double PosMaxMomentoPositivo(const AnalysisModel& m, long i)
{
    return momentExtreme(SpanOf(m, i), +1).position;
}
double MaxMomentoNegativo(const AnalysisModel& m, long i)
{
    return momentExtreme(SpanOf(m, i), -1).value;
}
double PosMaxMomentoNegativo(const AnalysisModel& m, long i)
{
    return momentExtreme(SpanOf(m, i), -1).position;
}
double MaxCortantePositivo(const AnalysisModel& m, long i)
{
    return shearMaximum(SpanOf(m, i)).value;
}
double PosMaxCortantePositivo(const AnalysisModel& m, long i)
{
    return shearMaximum(SpanOf(m, i)).position;
}
double MaxCortanteNegativo(const AnalysisModel& m, long i)
{
    return shearMinimum(SpanOf(m, i)).value;
}
double PosMaxCortanteNegativo(const AnalysisModel& m, long i)
{
    return shearMinimum(SpanOf(m, i)).position;
}

}  // namespace kalvoro
