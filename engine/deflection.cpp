// The deflection of a span, with L its length, x from the start node, s = x/L:
//
//   v(x) = (1-s)^2 (1+2s) v1 + L s (1-s)^2 r1 + s^2 (3-2s) v2 - L s^2 (1-s) r2 + w(x) / EI
//
// where w / EI is the deflection of the span's own load with both ends fixed:
//   q:        q x^2 (L-x)^2 / 24
//   P at d:   P b^2 x^2 (3dL - (3d+b)x) / (6L^3)               for x < d, b = L - d
//             P d^2 u^2 (3bL - (3b+d)u) / (6L^3), u = L - x     for x >= d.
// Each term is written so that it is exactly zero (or exactly 1 for the shape
// of an end's own value) at x = 0 and x = L, which keeps the end values those
// of the solution bit for bit. A load position outside the span takes the
// formula of its side for the whole span, which is what the fixed-end forces
// of the equivalent loads extend to (and what MomentoSecao integrates to).
//
// Another kind of span load brings three things: its fixed-ended deflection
// and slope (fixedEndDeflection, fixedEndSlope), its part of E I v'' and
// E I v''' on a piece (slopeOnPiece, whose polynomial then grows by the
// load's degree), and the points where its formula changes, which split the
// span into pieces in ExtremeDeflections.

#include "engine/deflection.h"

#include <algorithm>
#include <vector>

#include "engine/arithmetic.h"
#include "engine/real_roots.h"
#include "engine/section_forces.h"

namespace kalvoro {

namespace {

Real stiffness(const SpanDeflection& s)
{
    return static_cast<Real>(s.E) * s.I;
}

// Displacement of a node's degree of freedom in load case 1.
double nodal(const AnalysisModel& m, long node, AnalysisModel::Int dof)
{
    const auto n = static_cast<AnalysisModel::Int>(node);
    return m.LoadVector(addInt(mulInt(subInt(n, 1), m.DofPerNode), dof), 1);
}

// E I times the fixed-ended deflection of the span's load, and its slope.
Real fixedEndDeflection(const SpanDeflection& s, Real x)
{
    const Real L = s.L, d = s.d, b = L - d, u = L - x;
    Real w = s.q * x * x * u * u / 24;
    if (s.P != 0) {
        if (x < d)
            w += div(s.P * b * b * x * x * (3 * d * L - (3 * d + b) * x), 6 * L * L * L);
        else
            w += div(s.P * d * d * u * u * (3 * b * L - (3 * b + d) * u), 6 * L * L * L);
    }
    return w;
}

Real fixedEndSlope(const SpanDeflection& s, Real x)
{
    const Real L = s.L, d = s.d, b = L - d, u = L - x;
    Real w = s.q * x * u * (L - 2 * x) / 12;
    if (s.P != 0) {
        if (x < d)
            w += div(s.P * b * b * x * (2 * d * L - (3 * d + b) * x), 2 * L * L * L);
        else
            w -= div(s.P * d * d * u * (2 * b * L - (3 * b + d) * u), 2 * L * L * L);
    }
    return w;
}

Real slopeAt(const SpanDeflection& s, Real x)
{
    const Real L = s.L;
    const Real xi = div(x, L), a = 1 - xi;
    const Real shape = -6 * xi * a * div(static_cast<Real>(s.v1) - s.v2, L) + a * (1 - 3 * xi) * s.r1 +
                       xi * (3 * xi - 2) * s.r2;
    return shape + div(fixedEndSlope(s, x), stiffness(s));
}

// The slope on the piece of the span that starts at xa (0 or the load) as a
// polynomial in t = x - xa: v'(xa) + v''(xa) t + v'''(xa) t^2/2 + v''''(xa) t^3/6,
// exact because the load adds no term of higher degree within a piece. E I v''
// is the moment of the load with both ends fixed plus the shape's linear part.
Polynomial slopeOnPiece(const SpanDeflection& s, Real xa)
{
    const Real L = s.L, d = s.d, b = L - d, q = s.q, P = s.P, EI = stiffness(s);
    const Real xi = div(xa, L);
    const Real dv = static_cast<Real>(s.v1) - s.v2;
    const Real shape2 = div((12 * xi - 6) * dv, L * L) + div((6 * xi - 4) * s.r1 + (6 * xi - 2) * s.r2, L);
    const Real shape3 = div(12 * dv, L * L * L) + div(6 * (static_cast<Real>(s.r1) + s.r2), L * L);
    // Fixed-end reaction and moment of P at the start node, as the equivalent loads take them.
    const Real RA = div(P * b * b * (3 * d + b), L * L * L);
    const Real MA = div(P * d * b * b, L * L);
    const bool pastLoad = !(xa < d);
    const Real moment =
        q * L * L / 12 + MA - (q * L / 2 + RA) * xa + q * xa * xa / 2 + (pastLoad ? P * (xa - d) : 0);
    const Real shear = -(q * L / 2 + RA) + q * xa + (pastLoad ? P : 0);
    return {slopeAt(s, xa), shape2 + div(moment, EI), (shape3 + div(shear, EI)) / 2, div(q, EI) / 6};
}

}  // namespace

SpanDeflection DeflectionOf(const AnalysisModel& m, long i)
{
    const SpanData span = SpanOf(m, i);
    const long e = m.LoadRowElement(i, 1);
    const long A = m.Incidence(e, 1);
    const long B = m.Incidence(e, 2);
    const Real dx = static_cast<Real>(m.Coord(B, 1)) - m.Coord(A, 1);
    const Real dy = static_cast<Real>(m.Coord(B, 2)) - m.Coord(A, 2);
    const Real length = root(dx * dx + dy * dy);
    const Real c = div(dx, length), sn = div(dy, length);
    // The element's frame: (v, r) of each node turned by [[c, s], [-s, c]], as
    // for its end forces; the identity for a span from left to right.
    const auto along = [&](long node, double& v, double& r) {
        const double gv = nodal(m, node, 1), gr = nodal(m, node, 2);
        v = store(c * gv + sn * gr);
        r = store(-sn * gv + c * gr);
    };

    SpanDeflection s;
    s.L = span.L;
    s.E = m.MaterialProp(m.ElementMaterial[e], 1);
    s.I = m.SectionProp(m.ElementSection[e], 1);
    along(A, s.v1, s.r1);
    along(B, s.v2, s.r2);
    s.q = span.q;
    s.P = span.P;
    s.d = span.d;
    return s;
}

double Deflection(const SpanDeflection& s, double x)
{
    const Real L = s.L, X = x;
    const Real xi = div(X, L), a = 1 - xi;
    const Real shape = a * a * (1 + 2 * xi) * s.v1 + L * xi * a * a * s.r1 + xi * xi * (3 - 2 * xi) * s.v2 -
                       L * xi * xi * a * s.r2;
    return store(shape + div(fixedEndDeflection(s, X), stiffness(s)));
}

double DeflectionSlope(const SpanDeflection& s, double x)
{
    return store(slopeAt(s, x));
}

DeflectionExtremes ExtremeDeflections(const SpanDeflection& s)
{
    // The pieces: both sides of a load inside the span, else the whole span.
    std::vector<double> ends{0};
    if (s.P != 0 && s.d > 0 && s.d < s.L) ends.push_back(s.d);
    ends.push_back(s.L);

    // Candidates in increasing order: each piece's start, the roots of the
    // slope on it and of its curvature (a root of the slope that rounding
    // makes a touch of zero lies there), and the span's end.
    std::vector<double> at;
    for (std::size_t k = 0; k + 1 < ends.size(); ++k) {
        const Real xa = ends[k], width = static_cast<Real>(ends[k + 1]) - xa;
        at.push_back(ends[k]);
        AddSlopeRoots(at, slopeOnPiece(s, xa), xa, width, ends[k + 1]);
    }
    at.push_back(s.L);
    return ExtremesAmong(at, [&s](double x) { return Deflection(s, x); });
}

void AddSlopeRoots(std::vector<double>& at, const Polynomial& slope, Real x0, Real width, double x1)
{
    std::vector<long double> roots = RootsIn(slope, 0, width);
    const std::vector<long double> bends = RootsIn(Derivative(slope), 0, width);
    roots.insert(roots.end(), bends.begin(), bends.end());
    std::sort(roots.begin(), roots.end());
    for (const long double t : roots) {
        const double x = store(x0 + t);
        if (x > at.back() && x < x1) at.push_back(x);
    }
}

DeflectionExtremes ExtremesAmong(const std::vector<double>& at, const std::function<double(double)>& v)
{
    DeflectionExtremes e;
    e.down = e.up = {v(at.front()), at.front()};
    for (const double x : at) {
        const double value = v(x);
        if (value < e.down.value) e.down = {value, x};
        if (value > e.up.value) e.up = {value, x};
    }
    return e;
}

}  // namespace kalvoro
