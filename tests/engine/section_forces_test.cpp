// Section forces along a span and the order in which the extremes are chosen.

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "beam_builder.h"
#include "engine/engine.h"
#include "engine/errors.h"
#include "engine/section_forces.h"

namespace kalvoro {
namespace {

using test::makeBeam;
using test::Span;

// Span of 4 clamped at both ends with no displacements (V0 = M0 = 0), P = -1
// at d = 1 (a = 1, b = 3): M(0) = P a b^2 / L^2, M(d) = -2 P a^2 b^2 / L^3,
// M(L) = P a^2 b / L^2, V(0) = -P b^2 (3a + b) / L^3.
TEST(SecaoFunctions, ClampedSpanUnderAPointLoad)
{
    const double points[][3] = {
        {0, -0.5625, 0.84375},
        {1, 0.28125, 0.84375},  // at the load: its moment term is 0, its force not yet added
        {2, 0.125, -0.15625},
        {4, -0.1875, -0.15625},
    };
    for (const auto& p : points) {
        EXPECT_NEAR(MomentoSecao(p[0], 0, -1, 1, 4, 0, 0), p[1], 1e-15) << p[0];
        EXPECT_NEAR(CortanteSecao(p[0], 0, -1, 1, 4, 0, 0), p[2], 1e-15) << p[0];
    }
    // Uniform load: -qL^2/12 at the ends, +qL^2/24 mid-span; V0 shifts the
    // whole shear line, M0 is subtracted from the moment.
    EXPECT_NEAR(MomentoSecao(1, -3, 0, 0, 2, 0, 0), 0.5, 1e-15);
    EXPECT_NEAR(MomentoSecao(0, -3, 0, 0, 2, 0.25, 0.5), -1.5, 1e-15);
    EXPECT_NEAR(CortanteSecao(1, -3, 0, 0, 2, 0.25, 7), 0.25, 1e-15);
    EXPECT_THROW(MomentoSecao(0, -1, 0, 0, 0, 0, 0), ArithmeticError);
    EXPECT_THROW(CortanteSecao(0, -1, 0, 0, 0, 0, 0), ArithmeticError);
}

// max M, its position, min M, position, max V, position, min V, position.
using Extremes = std::array<double, 8>;
constexpr double Any = std::numeric_limits<double>::quiet_NaN();  // a position decided by a rounding tie

void expectExtremes(const AnalysisModel& m, int i, const Extremes& expected)
{
    const Extremes actual = {MaxMomentoPositivo(m, i),  PosMaxMomentoPositivo(m, i),
                             MaxMomentoNegativo(m, i),  PosMaxMomentoNegativo(m, i),
                             MaxCortantePositivo(m, i), PosMaxCortantePositivo(m, i),
                             MaxCortanteNegativo(m, i), PosMaxCortanteNegativo(m, i)};
    for (int k = 0; k < 8; ++k) {
        if (std::isnan(expected[k])) continue;
        EXPECT_NEAR(actual[k], expected[k], 1e-9) << "extreme " << k;
    }
}

TEST(SpanExtremes, SolvedBeams)
{
    struct Case {
        const char* name;
        std::vector<Span> spans;
        std::vector<int> codes;
        int span;
        Extremes expected;
    };
    const Case cases[] = {
        {"one span, uniform load", {{1, -1}}, {10, 10}, 1, {0.125, 0.5, 0, Any, 0.5, 0, -0.5, 1}},
        // The moment candidate is the load point; the shear just right of
        // the load is the smallest and is reported at d.
        {"one span, point load", {{4, 0, -1, 1}}, {10, 10}, 1, {0.75, 1, 0, Any, 0.75, 0, -0.25, 1}},
        {"two spans, first",
         {{1, -1}, {1, -1}},
         {10, 10, 10},
         1,
         {0.0703125, 0.375, -0.125, 1, 0.375, 0, -0.625, 1}},
        {"two spans, second",
         {{1, -1}, {1, -1}},
         {10, 10, 10},
         2,
         {0.0703125, 0.625, -0.125, 0, 0.625, 0, -0.375, 1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto m = makeBeam(c.spans, c.codes);
        SolveBeam(*m);
        expectExtremes(*m, c.span, c.expected);
    }
}

// Start forces set by hand, to reach each rule of the candidate point and
// each tie.
TEST(SpanExtremes, CandidatesAndTies)
{
    struct Case {
        const char* name;
        Span span;
        double V0, M0;
        Extremes expected;
    };
    const Case cases[] = {
        // M and V are 0 everywhere: the candidate d keeps every moment tie,
        // position 0 every shear tie.
        {"nothing at all", {1, 0, 0, 0.3}, 0, 0, {0, 0.3, 0, 0.3, 0, 0, 0, 0}},
        // Upward P mid-span of a clamped span: V = -0.5, then +0.5 up to the
        // end; d keeps the tie with L, 0 the tie of M(0) with M(L).
        {"shear tie between d and L", {1, 0, 1, 0.5}, 0, 0, {0.125, 0, -0.125, 0.5, 0.5, 0.5, -0.5, 0}},
        // q = -1, V(0) = 2, M(0) = 0: the shear's zero (x = 2) is beyond the span.
        {"zero of the shear beyond the span", {1, -1}, 1.5, -1.0 / 12, {1.5, 1, 0, 0, 2, 0, 1, 1}},
        // q = -1, P = -2 at 1, V(0) = 3, M(0) = 0: no zero left of the load;
        // right of it x = (3 - 2) / 1 = d.
        {"zero right of the load", {4, -1, -2, 1}, -0.6875, -1.125 - 4.0 / 3, {2.5, 1, -2, 4, 3, 0, -3, 4}},
        // q = -1, P = +3 at 1, V(0) = 0.5, M(0) = 0: the shear vanishes at 0.5
        // and at 3.5; the zero right of the load holds the maximum (3.125,
        // more than M(L) = 3), the smallest moment is M(0) = 0.
        {"both zeros", {4, -1, 3, 1}, 1.03125, 1.6875 - 4.0 / 3, {3.125, 3.5, 0, Any, 2.5, 1, -0.5, 1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto m = makeBeam({c.span}, {11, 11});
        m->ElementStartShear[1] = c.V0;
        m->ElementStartMoment[1] = c.M0;
        expectExtremes(*m, 1, c.expected);
    }
}

TEST(SpanExtremes, SpanDataComesFromTheLoadRow)
{
    // Load row 1 names element 2: its length, row 1's loads, span 1's end forces.
    auto m = makeBeam({{1, -1}, {3, 0, -2, 1}}, {10, 10, 10});
    m->LoadRowElement(1, 1) = 2;
    m->ElementStartShear[1] = 0.5;
    m->ElementStartMoment[1] = 0.25;
    const SpanData s = SpanOf(*m, 1);
    EXPECT_EQ(s.L, 3);
    EXPECT_EQ(s.q, -1);
    EXPECT_EQ(s.P, 0);
    EXPECT_EQ(s.V0, 0.5);
    EXPECT_EQ(s.M0, 0.25);
    EXPECT_THROW(SpanOf(*m, 401), IndexError);
}

// Random beams, loads of both senses: no point of a dense walk along a span
// has a moment beyond the extremes reported, and each extreme is the moment
// at its position.
TEST(SpanExtremes, NothingBeyondThemAlongRandomSpans)
{
    std::mt19937 random(21);
    const auto uniform = [&](double lo, double hi) {
        return std::uniform_real_distribution<double>(lo, hi)(random);
    };
    for (int beam = 0; beam < 100; ++beam) {
        std::vector<Span> spans;
        std::vector<int> codes{random() % 2 ? 10 : 11};
        for (int i = 0; i < 3; ++i) {
            const double L = uniform(1, 12);
            spans.push_back({L, uniform(-5, 5), uniform(-20, 20), uniform(0, L)});
            codes.push_back(random() % 2 ? 10 : 11);
        }
        auto m = makeBeam(spans, codes);
        SolveBeam(*m);
        for (int i = 1; i <= 3; ++i) {
            SCOPED_TRACE("beam " + std::to_string(beam) + ", span " + std::to_string(i));
            const SpanData s = SpanOf(*m, i);
            const double largest = MaxMomentoPositivo(*m, i), smallest = MaxMomentoNegativo(*m, i);
            EXPECT_EQ(largest, MomentoSecao(PosMaxMomentoPositivo(*m, i), s.q, s.P, s.d, s.L, s.V0, s.M0));
            EXPECT_EQ(smallest, MomentoSecao(PosMaxMomentoNegativo(*m, i), s.q, s.P, s.d, s.L, s.V0, s.M0));
            const double tolerance = 1e-9 * (1 + std::fabs(largest) + std::fabs(smallest));
            constexpr int Steps = 4000;
            for (int k = 0; k <= Steps; ++k) {
                const double x = s.L * k / Steps;
                const double M = MomentoSecao(x, s.q, s.P, s.d, s.L, s.V0, s.M0);
                ASSERT_LE(M, largest + tolerance) << "at " << x;
                ASSERT_GE(M, smallest - tolerance) << "at " << x;
            }
        }
    }
}

}  // namespace
}  // namespace kalvoro
