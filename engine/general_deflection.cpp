// The fixed-ended deflection of a load is built from p(x), E I times a
// deflection with p(0) = p'(0) = 0 whose second derivative is the load's
// sagging moment about x of its part left of x:
//   point P at a:               P (x-a)^3 / 6                       (x > a)
//   moment M at a:             -M (x-a)^2 / 2                       (x > a)
//   uniform q:                  q x^4 / 24
//   linear q1 at a .. q2 at b:  q1 t^4/24 + k t^5/120, t = x - a, k = (q2-q1)/(b-a)
//                               less q2 s^4/24 + k s^5/120, s = x - b (x > b).
// The element's end shapes then take away its value and slope at L:
//   w(x) = p(x) - p(L) s^2 (3 - 2s) + p'(L) L s^2 (1 - s),   s = x / L,
// which leaves w'''' the load and w = w' = 0 at both ends: the deflection with
// both ends fixed. Every load adds its own w, so the sum is exact for any mix.

#include "engine/general_deflection.h"

#include "engine/arithmetic.h"
#include "engine/real_roots.h"

namespace kalvoro {

namespace {

// p(x) and p'(x) of one load.
struct Particular {
    Real value, slope;
};

Particular particular(const SpanLoad& l, Real x)
{
    switch (l.kind) {
        case LoadKind::Point: {
            const Real t = x - l.a;
            if (!(t > 0)) return {0, 0};
            return {l.v1 * t * t * t / 6, l.v1 * t * t / 2};
        }
        case LoadKind::Moment: {
            const Real t = x - l.a;
            if (!(t > 0)) return {0, 0};
            return {-l.v1 * t * t / 2, -l.v1 * t};
        }
        case LoadKind::Uniform:
            return {l.v1 * x * x * x * x / 24, l.v1 * x * x * x / 6};
        case LoadKind::Linear:
            break;
    }
    const Real t = x - l.a;
    if (!(t > 0)) return {0, 0};
    const Real k = (static_cast<Real>(l.v2) - l.v1) / (static_cast<Real>(l.b) - l.a);
    Particular p{l.v1 * t * t * t * t / 24 + k * t * t * t * t * t / 120,
                 l.v1 * t * t * t / 6 + k * t * t * t * t / 24};
    const Real s = x - l.b;
    if (s > 0) {
        p.value -= l.v2 * s * s * s * s / 24 + k * s * s * s * s * s / 120;
        p.slope -= l.v2 * s * s * s / 6 + k * s * s * s * s / 24;
    }
    return p;
}

// E I w(x) and E I w'(x): the fixed-ended deflection of every load.
Particular fixedEnd(const GeneralDeflection& s, Real x)
{
    const Real L = s.ends.L, u = div(x, L);
    Particular w{0, 0};
    for (const SpanLoad& l : s.loads) {
        const Particular p = particular(l, x), end = particular(l, L);
        w.value += p.value - end.value * u * u * (3 - 2 * u) + end.slope * L * u * u * (1 - u);
        w.slope += p.slope - end.value * 6 * u * (1 - u) / L + end.slope * u * (2 - 3 * u);
    }
    return w;
}

Real stiffness(const GeneralDeflection& s)
{
    return static_cast<Real>(s.ends.E) * s.ends.I;
}

}  // namespace

GeneralDeflection DeflectionOf(const AnalysisModel& m, const BeamLoads& loads, long i)
{
    return {DeflectionOf(m, i), loads.at(static_cast<std::size_t>(i - 1))};
}

std::vector<GeneralDeflection> DeflectionsOf(const SupportedBeam& beam, const SupportedResult& r,
                                             const BeamLoads& loads)
{
    std::vector<GeneralDeflection> spans;
    for (std::size_t i = 0; i < beam.spans.size(); ++i) {
        SpanDeflection ends;
        ends.L = store(static_cast<Real>(beam.nodes.at(i + 1).x) - beam.nodes.at(i).x);
        ends.E = beam.spans[i].E;
        ends.I = beam.spans[i].I;
        ends.v1 = r.vertical.at(i);
        ends.r1 = r.rotationRight.at(i);
        ends.v2 = r.vertical.at(i + 1);
        ends.r2 = r.rotation.at(i + 1);
        spans.push_back({ends, loads.at(i)});
    }
    return spans;
}

double Deflection(const GeneralDeflection& s, double x)
{
    // The ends' cubic alone (q = P = 0), then the loads.
    const Real shape = Deflection(s.ends, x);
    return store(shape + div(fixedEnd(s, x).value, stiffness(s)));
}

double DeflectionSlope(const GeneralDeflection& s, double x)
{
    const Real shape = DeflectionSlope(s.ends, x);
    return store(shape + div(fixedEnd(s, x).slope, stiffness(s)));
}

DeflectionExtremes ExtremeDeflections(const GeneralDeflection& s, const SpanCurve& curve)
{
    const Real EI = stiffness(s);
    if (!(EI != 0)) throw ArithmeticError("divisão por zero");
    // Candidates in increasing order: each piece's start, the roots of the
    // slope and of the curvature on it, and the span's end.
    std::vector<double> at;
    for (const Piece& p : curve.pieces) {
        const Real width = static_cast<Real>(p.x1) - p.x0;
        at.push_back(p.x0);
        // v'(x0 + t) = v'(x0) + (integral of the piece's moment from 0 to t) / E I.
        const Polynomial slope{static_cast<long double>(DeflectionSlope(s, p.x0)), p.c[0] / EI,
                               p.c[1] / EI / 2, p.c[2] / EI / 3, p.c[3] / EI / 4};
        AddSlopeRoots(at, slope, p.x0, width, p.x1);
    }
    at.push_back(s.ends.L);
    return ExtremesAmong(at, [&s](double x) { return Deflection(s, x); });
}

}  // namespace kalvoro
