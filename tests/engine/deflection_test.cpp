// The deflected shape of a span against the textbook closed forms, and its end
// values against the nodal solution that the report prints.

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "beam_builder.h"
#include "engine/deflection.h"
#include "engine/engine.h"
#include "engine/errors.h"

namespace kalvoro {
namespace {

using test::makeBeam;
using test::Span;

constexpr double L = 5, E = 2, I = 3, EI = E * I, q = -2, P = -3;
// Propped cantilever under a uniform load: the slope is zero at
// x/L = (1 + sqrt 33)/16 = 0.4215 from the pin, where v = q L^4 s(1 - 3s^2 + 2s^3)/48 EI
// (the qL^4/185EI of the tables).
const long double Propped = (1 + std::sqrt(33.0L)) / 16;
const double ProppedDeflection = static_cast<double>(
    q * L * L * L * L * Propped * (1 - 3 * Propped * Propped + 2 * Propped * Propped * Propped) / (48 * EI));
// A simple span with P at d = 3.5 (b = 1.5 from the right end): the largest
// deflection lies in the longer part, at sqrt((L^2 - b^2)/3) from the left end.
constexpr double B = 1.5;
const double OffCentreAt = std::sqrt((L * L - B * B) / 3);
const double OffCentre = P * B * std::pow(L * L - B * B, 1.5) / (9 * std::sqrt(3.0) * L * EI);

struct Case {
    std::string name;
    std::vector<Span> spans;
    std::vector<int> codes;
    int span;
    double down, at;  // the largest downward deflection and where
};

TEST(Deflection, ClosedFormsAndTheNodalValuesAtTheEnds)
{
    const Span uniform{L, q, 0, 0, E, I};
    const std::vector<Case> cases = {
        {"simple span, uniform load", {uniform}, {10, 10}, 1, 5 * q * L * L * L * L / (384 * EI), L / 2},
        {"cantilever, tip load", {{L, 0, P, L, E, I}}, {11, 0}, 1, P * L * L * L / (3 * EI), L},
        {"fixed-fixed, central load",
         {{L, 0, P, L / 2, E, I}},
         {11, 11},
         1,
         P * L * L * L / (192 * EI),
         L / 2},
        {"propped cantilever, uniform load",
         {uniform},
         {10, 11},
         1,
         ProppedDeflection,
         static_cast<double>(Propped * L)},
        {"two equal spans, first",
         {uniform, uniform},
         {10, 10, 10},
         1,
         ProppedDeflection,
         static_cast<double>(Propped * L)},
        {"two equal spans, second",
         {uniform, uniform},
         {10, 10, 10},
         2,
         ProppedDeflection,
         static_cast<double>(L - Propped * L)},
        {"simple span, load off centre", {{L, 0, P, L - B, E, I}}, {10, 10}, 1, OffCentre, OffCentreAt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto m = makeBeam(c.spans, c.codes);
        SolveBeam(*m);

        const DeflectionExtremes e = ExtremeDeflections(DeflectionOf(*m, c.span));
        EXPECT_NEAR(e.down.value, c.down, 1e-9 * std::fabs(c.down));
        EXPECT_NEAR(e.down.position, c.at, 1e-9 * L);
        // Supported ends hold the largest "upward" value: zero up to the penalty's rounding.
        EXPECT_LT(std::fabs(e.up.value), 1e-20);

        // Every span's curve starts and ends on the solution's nodal values,
        // the report's "Vertical" and "Rotação", bit for bit.
        for (int i = 1; i <= m->ElementCount; ++i) {
            const SpanDeflection s = DeflectionOf(*m, i);
            EXPECT_EQ(Deflection(s, 0), m->LoadVector(2 * i - 1, 1));
            EXPECT_EQ(DeflectionSlope(s, 0), m->LoadVector(2 * i, 1));
            EXPECT_EQ(Deflection(s, s.L), m->LoadVector(2 * i + 1, 1));
            EXPECT_EQ(DeflectionSlope(s, s.L), m->LoadVector(2 * i + 2, 1));
        }
    }
}

// An unloaded span beside a loaded one rises, and its largest upward
// deflection is a root of the slope inside it; a span of no length fails.
TEST(Deflection, UpwardDeflectionAndZeroLength)
{
    auto m = makeBeam({{L, q, 0, 0, E, I}, {L, 0, 0, 0, E, I}}, {10, 10, 10});
    SolveBeam(*m);
    const SpanDeflection s = DeflectionOf(*m, 2);
    const DeflectionExtremes e = ExtremeDeflections(s);
    // The unloaded span is a cubic with v(0) = v(L) = 0 and v'(L) = -v'(0)/2,
    // rising to its top at x = L (1 - 1/sqrt 3).
    const double at = L * (1 - 1 / std::sqrt(3.0));
    EXPECT_NEAR(e.up.position, at, 1e-9 * L);
    EXPECT_GT(e.up.value, 0);
    EXPECT_NEAR(DeflectionSlope(s, e.up.position), 0, 1e-12);

    SpanDeflection none = s;
    none.L = 0;
    EXPECT_THROW(Deflection(none, 0), ArithmeticError);
}

}  // namespace
}  // namespace kalvoro
