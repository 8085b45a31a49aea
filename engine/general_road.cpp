// The general road: equivalent nodal loads of every load type and the exact
// section forces along a span.
//
// Equivalent nodal loads are the work-equivalent loads of the cubic shape
// functions of a span A -> B of length L, with u = x / L:
//   N1 = (1 - u)^2 (1 + 2u),  N2 = L u (1 - u)^2,  N3 = u^2 (3 - 2u),  N4 = -L u^2 (1 - u).
// A force P at a gives P Ni(a); a moment M at a gives M Ni'(a); a distributed
// load w gives the integral of w Ni, which for a linear w is a polynomial of
// degree 4 and so is integrated exactly by three Gauss points.
//
// Along the span, with VA and MA the shear and sagging moment just right of A
// (end forces from the displacements plus the fixed-end part of the loads),
//   V(x) = VA + (forces left of x),   M(x) = MA + VA x + (moments of the forces
// left of x about x) - (applied moments left of x).
// Each piece between load points is written directly from the loads, not
// carried from the piece before, so no error accumulates along the span.

#include "engine/general_road.h"

#include <algorithm>
#include <cmath>

#include "engine/engine.h"
#include "engine/nodal_loads.h"
#include "engine/report.h"

namespace kalvoro {

namespace {

// A linear load from q1 at a to q2 at b; a uniform load is q over [0, L].
struct Spread {
    Real q1, q2, a, b;
};

Spread spreadOf(const SpanLoad& load, Real L)
{
    if (load.kind == LoadKind::Uniform) return {load.v1, load.v1, 0, L};
    return {load.v1, load.v2, load.a, load.b};
}

std::array<Real, 4> shapeValues(Real x, Real L)
{
    const Real u = x / L, r = 1 - u;
    return {r * r * (1 + 2 * u), L * u * r * r, u * u * (3 - 2 * u), -L * u * u * r};
}

}  // namespace

std::array<Real, 4> EquivalentLoads(const SpanLoad& load, Real L)
{
    if (!(L > 0)) throw ArithmeticError("divisão por zero");
    switch (load.kind) {
        case LoadKind::Point: {
            const Real P = load.v1, a = load.a, b = L - a;
            return {P * b * b * (3 * a + b) / (L * L * L), P * a * b * b / (L * L),
                    P * a * a * (a + 3 * b) / (L * L * L), -P * a * a * b / (L * L)};
        }
        case LoadKind::Moment: {
            const Real M = load.v1, a = load.a, b = L - a;
            const Real F = 6 * M * a * b / (L * L * L);
            return {-F, M * b * (b - 2 * a) / (L * L), F, M * a * (a - 2 * b) / (L * L)};
        }
        case LoadKind::Uniform:
        case LoadKind::Linear:
            break;
    }
    const Spread s = spreadOf(load, L);
    // Three-point Gauss-Legendre rule on [a, b].
    static constexpr Real node = 0.774596669241483377035853079956479922L;  // sqrt(3/5)
    static constexpr Real weights[3] = {5.0L / 9, 8.0L / 9, 5.0L / 9};
    const Real half = (s.b - s.a) / 2, mid = (s.a + s.b) / 2;
    std::array<Real, 4> f{};
    for (int k = 0; k < 3; ++k) {
        const Real t = (k - 1) * node;  // -node, 0, +node
        const Real x = mid + half * t;
        const Real w = s.q1 + (s.q2 - s.q1) * (1 + t) / 2;
        const auto N = shapeValues(x, L);
        for (int i = 0; i < 4; ++i) f[i] += half * weights[k] * w * N[i];
    }
    return f;
}

void CarregaGeral(AnalysisModel& m, const BeamLoads& loads)
{
    if (static_cast<long>(loads.size()) != m.ElementCount)
        throw IndexError("cargas de " + std::to_string(loads.size()) + " trechos para " +
                         std::to_string(m.ElementCount));
    ClearEquivalentLoads(m);
    m.LoadRowValue.fill(0.0);
    m.LoadRowCount[1] = m.ElementCount;
    for (AnalysisModel::Int i = 1; i <= m.ElementCount; ++i) {
        m.LoadRowElement(i, 1) = i;
        const AnalysisModel::Int A = m.Incidence(i, 1), B = m.Incidence(i, 2);
        const Real L = ElementLength(m, i);
        std::array<Real, 4> sum{};
        for (const SpanLoad& load : loads[static_cast<std::size_t>(i - 1)]) {
            const auto f = EquivalentLoads(load, L);
            for (int k = 0; k < 4; ++k) sum[k] += f[k];
        }
        m.NodeLoadMark[A] = addInt(m.NodeLoadMark[A], 1);
        m.NodeLoadMark[B] = addInt(m.NodeLoadMark[B], 1);
        m.EquivalentNodalLoad(A, 1) = store(m.EquivalentNodalLoad(A, 1) + sum[0]);
        m.EquivalentNodalLoad(A, 2) = store(m.EquivalentNodalLoad(A, 2) + sum[1]);
        m.EquivalentNodalLoad(B, 1) = store(m.EquivalentNodalLoad(B, 1) + sum[2]);
        m.EquivalentNodalLoad(B, 2) = store(m.EquivalentNodalLoad(B, 2) + sum[3]);
    }
    BuildNodalLoadList(m);
}

void ResolveGeral(AnalysisModel& m, const BeamLoads& loads)
{
    CarregaGeral(m, loads);
    SolveBeam(m);
}

SpanCurve CurvaDoTrecho(const AnalysisModel& m, const BeamLoads& loads, long i)
{
    return CurvaDoTrecho(loads.at(static_cast<std::size_t>(i - 1)), ElementLength(m, i),
                         m.ElementStartShear[i], m.ElementStartMoment[i]);
}

SpanCurve CurvaDoTrecho(const std::vector<SpanLoad>& spanLoads, Real L, Real startShear, Real startMoment)
{
    SpanCurve curve;
    curve.L = store(L);

    std::array<Real, 4> fixedEnd{};
    std::vector<double> points{0, curve.L};
    for (const SpanLoad& load : spanLoads) {
        const auto f = EquivalentLoads(load, L);
        fixedEnd[0] += f[0];
        fixedEnd[1] += f[1];
        if (load.kind != LoadKind::Uniform) points.push_back(load.a);
        if (load.kind == LoadKind::Linear) points.push_back(load.b);
    }
    std::sort(points.begin(), points.end());
    points.erase(std::unique(points.begin(), points.end()), points.end());

    const Real VA = startShear - fixedEnd[0];
    const Real MA = fixedEnd[1] - startMoment;

    // Walking along the span, a load left wholly behind adds A + B x to the
    // moment and B to the shear; a distributed load under way adds its own
    // polynomial. Loads join in the order they start acting.
    struct Pending {
        Real at;
        const SpanLoad* load;
    };
    std::vector<Pending> order;
    for (const SpanLoad& load : spanLoads)
        order.push_back({load.kind == LoadKind::Uniform ? 0 : Real(load.a), &load});
    std::stable_sort(order.begin(), order.end(),
                     [](const Pending& p, const Pending& q) { return p.at < q.at; });
    std::vector<Spread> underWay;
    Real A = 0, B = 0;
    std::size_t next = 0;
    for (std::size_t k = 0; k + 1 < points.size(); ++k) {
        const Real x0 = points[k];
        for (; next < order.size() && order[next].at <= x0; ++next) {
            const SpanLoad& load = *order[next].load;
            if (load.kind == LoadKind::Point) {
                A -= load.v1 * Real(load.a);
                B += load.v1;
            } else if (load.kind == LoadKind::Moment) {
                A -= load.v1;
            } else {
                underWay.push_back(spreadOf(load, L));
            }
        }
        std::erase_if(underWay, [&](const Spread& s) {
            if (s.b > x0) return false;
            const Real l = s.b - s.a, R = l * (s.q1 + s.q2) / 2;
            A += l * l * (2 * s.q1 + s.q2) / 6 - R * s.b;
            B += R;
            return true;
        });
        std::array<Real, 4> c{MA + VA * x0 + A + B * x0, VA + B, 0, 0};
        for (const Spread& s : underWay) {
            // The part from a to x0 as a resultant, the rest as the
            // polynomial of the load ahead.
            const Real slope = (s.q2 - s.q1) / (s.b - s.a);
            const Real l = x0 - s.a, wk = s.q1 + slope * l;
            c[0] += l * l * (2 * s.q1 + wk) / 6;
            c[1] += l * (s.q1 + wk) / 2;
            c[2] += wk / 2;
            c[3] += slope / 6;
        }
        curve.pieces.push_back({points[k], points[k + 1], c});
    }
    return curve;
}

namespace {

Real lengthOf(const Piece& p)
{
    return static_cast<Real>(p.x1) - p.x0;
}

// The real roots of c2 t^2 + c1 t + c0 within (0, h), ascending.
struct Roots {
    Real t[2];
    int count = 0;
    const Real* begin() const { return t; }
    const Real* end() const { return t + count; }
};

Roots rootsWithin(Real c2, Real c1, Real c0, Real h)
{
    Real found[2];
    int n = 0;
    if (c2 == 0) {
        if (c1 != 0) found[n++] = -c0 / c1;
    } else {
        const Real disc = c1 * c1 - 4 * c2 * c0;
        if (disc >= 0) {
            // The form without cancellation: q = -(c1 + sign(c1) sqrt(disc)) / 2.
            const Real q = -(c1 + std::copysign(std::sqrt(disc), c1)) / 2;
            if (q != 0) {
                found[n++] = q / c2;
                found[n++] = c0 / q;
            } else {
                found[n++] = 0;
            }
        }
    }
    Roots inside;
    for (int k = 0; k < n; ++k)
        if (found[k] > 0 && found[k] < h) inside.t[inside.count++] = found[k];
    if (inside.count == 2 && inside.t[1] < inside.t[0]) std::swap(inside.t[0], inside.t[1]);
    return inside;
}

// Candidates in order along the span: each piece's start, the roots inside
// it, its end. sense = +1 for the largest, -1 for the smallest value.
template <class Value, class Roots>
Extreme extreme(const SpanCurve& curve, int sense, Value value, Roots roots)
{
    bool first = true;
    Extreme best{0, 0};
    const auto consider = [&](const Piece& p, Real t) {
        const double v = store(value(p, t));
        if (first || (sense > 0 ? v > best.value : v < best.value)) {
            best = {v, store(p.x0 + t)};
            first = false;
        }
    };
    for (const Piece& p : curve.pieces) {
        const Real h = lengthOf(p);
        consider(p, 0);
        for (const Real t : roots(p, h)) consider(p, t);
        consider(p, h);
    }
    return best;
}

Extreme momentExtreme(const SpanCurve& curve, int sense)
{
    return extreme(
        curve, sense, [](const Piece& p, Real t) { return p.moment(t); },
        [](const Piece& p, Real h) { return rootsWithin(3 * p.c[3], 2 * p.c[2], p.c[1], h); });
}

Extreme shearExtreme(const SpanCurve& curve, int sense)
{
    return extreme(
        curve, sense, [](const Piece& p, Real t) { return p.shear(t); },
        [](const Piece& p, Real h) { return rootsWithin(0, 6 * p.c[3], 2 * p.c[2], h); });
}

}  // namespace

double SpanCurve::startShear() const
{
    return store(pieces.front().shear(0));
}
double SpanCurve::startMoment() const
{
    return store(pieces.front().moment(0));
}
double SpanCurve::endShear() const
{
    return store(pieces.back().shear(lengthOf(pieces.back())));
}
double SpanCurve::endMoment() const
{
    return store(pieces.back().moment(lengthOf(pieces.back())));
}
Extreme SpanCurve::largestMoment() const
{
    return momentExtreme(*this, +1);
}
Extreme SpanCurve::smallestMoment() const
{
    return momentExtreme(*this, -1);
}
Extreme SpanCurve::largestShear() const
{
    return shearExtreme(*this, +1);
}
Extreme SpanCurve::smallestShear() const
{
    return shearExtreme(*this, -1);
}

std::vector<SpanCurve> CurvasDaViga(const AnalysisModel& m, const BeamLoads& loads)
{
    std::vector<SpanCurve> curves;
    for (long i = 1; i <= m.ElementCount; ++i) curves.push_back(CurvaDoTrecho(m, loads, i));
    return curves;
}

std::vector<SpanCurve> ResultadosGeral(AnalysisModel& m, const BeamLoads& loads)
{
    EsforcosExtremos(m);
    std::vector<SpanCurve> curves = CurvasDaViga(m, loads);
    const auto curve = [&curves](long i) -> const SpanCurve& {
        return curves.at(static_cast<std::size_t>(i - 1));
    };
    SpanFigures f;
    f.endForces = [&](long i) {
        const SpanCurve& c = curve(i);
        return std::array<double, 4>{c.startShear(), c.startMoment(), c.endShear(), c.endMoment()};
    };
    f.moments = [&](long i) {
        const Extreme hi = curve(i).largestMoment(), lo = curve(i).smallestMoment();
        return std::array<double, 4>{hi.value, hi.position, lo.value, lo.position};
    };
    f.shears = [&](long i) {
        const Extreme hi = curve(i).largestShear(), lo = curve(i).smallestShear();
        return std::array<double, 4>{hi.value, hi.position, lo.value, lo.position};
    };
    EscreveRelatorio(m, f);
    return curves;
}

}  // namespace kalvoro
