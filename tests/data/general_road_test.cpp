// The general road against closed forms and against itself: every load type's
// fixed-end forces, the extremes of simple spans, the jump under an applied
// moment, and superposition of single loads.

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <random>

#include "data/extended_beam.h"
#include "engine/general_road.h"
#include "load_builders.h"

namespace {

using namespace kalvoro;
using namespace kalvoro::testing;

SpanCurve solved(const ExtendedBeam& b, long i = 1)
{
    auto m = std::make_unique<AnalysisModel>();
    PreencheModelo(b, *m);
    ResolveGeral(*m, CargasDaViga(b));
    return CurvaDoTrecho(*m, CargasDaViga(b), i);
}

// Moment just left and just right of x.
std::pair<double, double> momentAround(const SpanCurve& c, double x)
{
    double left = 0, right = 0;
    for (const Piece& p : c.pieces) {
        if (p.x1 == x) left = static_cast<double>(p.moment(Real(p.x1) - p.x0));
        if (p.x0 == x) right = static_cast<double>(p.moment(0));
    }
    return {left, right};
}

struct ClosedForm {
    const char* name;
    std::function<double()> computed;
    double expected;
};

TEST(GeneralRoad, ClosedForms)
{
    const double L = 7, a = 2.5, b = L - a, P = -3, M = 5, q = -4, c = 3;
    const double s3 = std::sqrt(3.0);
    const auto eq = [&](const SpanLoad& l, int k) { return static_cast<double>(EquivalentLoads(l, L)[k]); };
    const ClosedForm cases[] = {
        // Fixed-end moments (the equivalent loads with the opposite sign).
        {"point, start", [&] { return eq(point(P, a), 1); }, P * a * b * b / (L * L)},
        {"point, end", [&] { return -eq(point(P, a), 3); }, P * a * a * b / (L * L)},
        {"moment, start", [&] { return -eq(moment(M, a), 1); }, M * b * (2 * a - b) / (L * L)},
        {"moment, end", [&] { return -eq(moment(M, a), 3); }, M * a * (2 * b - a) / (L * L)},
        {"moment, start force", [&] { return eq(moment(M, a), 0); }, -6 * M * a * b / (L * L * L)},
        {"triangle, start", [&] { return eq(linear(0, q, 0, L), 1); }, q * L * L / 30},
        {"triangle, end", [&] { return -eq(linear(0, q, 0, L), 3); }, q * L * L / 20},
        {"triangle, start force", [&] { return eq(linear(0, q, 0, L), 0); }, 3 * q * L / 20},
        {"partial, start", [&] { return eq(linear(q, q, 0, c), 1); },
         q * c * c * (6 * L * L - 8 * c * L + 3 * c * c) / (12 * L * L)},
        {"partial, end", [&] { return -eq(linear(q, q, 0, c), 3); },
         q * c * c * c * (4 * L - 3 * c) / (12 * L * L)},
        {"uniform as linear",
         [&] {
             return eq({LoadKind::Uniform, q, 0, 0, 0}, 1);
         },
         q * L * L / 12},
        // Simple spans.
        {"two symmetric point loads: largest moment",
         [&] {
             return solved(span(L, 10, 10, {point(P, a), point(P, L - a)})).largestMoment().value;
         },
         -P * a},
        {"two symmetric point loads: where",
         [&] {
             return solved(span(L, 10, 10, {point(P, a), point(P, L - a)})).largestMoment().position;
         },
         a},
        {"triangle: largest moment",
         [&] { return solved(span(L, 10, 10, {linear(0, q, 0, L)})).largestMoment().value; },
         -q * L * L / (9 * s3)},
        {"triangle: where",
         [&] { return solved(span(L, 10, 10, {linear(0, q, 0, L)})).largestMoment().position; }, L / s3},
        {"applied moment: jump",
         [&] {
             const auto [left, right] = momentAround(solved(span(L, 10, 10, {moment(M, a)})), a);
             return left - right;
         },
         M},
        {"applied moment: just left",
         [&] { return momentAround(solved(span(L, 10, 10, {moment(M, a)})), a).first; }, M * a / L},
        {"fixed ends, centre load: end moment",
         [&] { return solved(span(L, 11, 11, {point(P, L / 2)})).startMoment(); }, P * L / 8},
        {"cantilever, end moment: shear",
         [&] { return solved(span(L, 11, 0, {moment(M, L)})).largestShear().value; }, 0},
        {"cantilever, end moment: root moment",
         [&] { return solved(span(L, 11, 0, {moment(M, L)})).startMoment(); }, M},
    };
    for (const ClosedForm& c : cases) {
        const double got = c.computed();
        EXPECT_NEAR(got, c.expected, 1e-12 * std::max(1.0, std::fabs(c.expected))) << c.name;
    }
}

// A beam with many loads of every type equals the sum of the beams that carry
// one load each: displacements, reactions, end forces and moment extremes of
// the whole are sums of the parts (the extremes only where a single part acts).
TEST(GeneralRoad, SuperpositionOfSingleLoads)
{
    const ExtendedBeam all = MixedLoadBeam(19, 5);

    auto whole = std::make_unique<AnalysisModel>();
    PreencheModelo(all, *whole);
    ResolveGeral(*whole, CargasDaViga(all));

    const long equations = whole->EquationCount;
    std::vector<long double> displacements(static_cast<std::size_t>(equations) + 1), reactions(7 * 2);
    std::vector<long double> ends(all.spans.size() * 4);
    auto part = std::make_unique<AnalysisModel>();
    for (std::size_t i = 0; i < all.spans.size(); ++i)
        for (const SpanLoad& l : all.spans[i].loads) {
            ExtendedBeam one = all;
            for (auto& s : one.spans) s.loads.clear();
            one.spans[i].loads = {l};
            PreencheModelo(one, *part);
            ResolveGeral(*part, CargasDaViga(one));
            for (long e = 1; e <= equations; ++e)
                displacements[static_cast<std::size_t>(e)] += part->LoadVector(e, 1);
            for (long n = 1; n <= 6; ++n)
                for (long d = 1; d <= 2; ++d)
                    reactions[static_cast<std::size_t>(2 * n + d - 3)] += part->Reaction(n, d);
            for (long k = 1; k <= static_cast<long>(all.spans.size()); ++k) {
                const SpanCurve c = CurvaDoTrecho(*part, CargasDaViga(one), k);
                const std::size_t j = static_cast<std::size_t>(k - 1) * 4;
                ends[j] += c.startShear(), ends[j + 1] += c.startMoment();
                ends[j + 2] += c.endShear(), ends[j + 3] += c.endMoment();
            }
        }

    const auto close = [](long double sum, double direct, double scale, const std::string& what) {
        EXPECT_LE(std::fabs(static_cast<double>(sum) - direct), 1e-12 * scale) << what;
    };
    double dScale = 0, rScale = 0, fScale = 0;
    for (long e = 1; e <= equations; ++e) dScale = std::max(dScale, std::fabs(whole->LoadVector(e, 1)));
    for (long n = 1; n <= 6; ++n)
        rScale = std::max({rScale, std::fabs(whole->Reaction(n, 1)), std::fabs(whole->Reaction(n, 2))});
    for (long e = 1; e <= equations; ++e)
        close(displacements[static_cast<std::size_t>(e)], whole->LoadVector(e, 1), dScale,
              "equation " + std::to_string(e));
    for (long n = 1; n <= 6; ++n)
        for (long d = 1; d <= 2; ++d)
            close(reactions[static_cast<std::size_t>(2 * n + d - 3)], whole->Reaction(n, d), rScale,
                  "reaction " + std::to_string(n) + "," + std::to_string(d));
    std::vector<double> direct;
    for (long k = 1; k <= static_cast<long>(all.spans.size()); ++k) {
        const SpanCurve c = CurvaDoTrecho(*whole, CargasDaViga(all), k);
        for (double v : {c.startShear(), c.startMoment(), c.endShear(), c.endMoment()}) {
            direct.push_back(v);
            fScale = std::max(fScale, std::fabs(v));
        }
    }
    for (std::size_t j = 0; j < direct.size(); ++j)
        close(ends[j], direct[j], fScale, "span " + std::to_string(j / 4 + 1));
}

}  // namespace
