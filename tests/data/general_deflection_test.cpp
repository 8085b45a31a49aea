// The deflected shape of general-road spans against closed forms (E = I = 1)
// and against superposition of single loads.

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <random>

#include "data/extended_beam.h"
#include "engine/general_deflection.h"
#include "engine/general_road.h"
#include "load_builders.h"

namespace {

using namespace kalvoro;
using namespace kalvoro::testing;

// One span of length L, E = I = 1, solved; its deflection and extremes.
struct Solved {
    GeneralDeflection shape;
    DeflectionExtremes extremes;
};

Solved solved(double L, std::int32_t left, std::int32_t right, std::vector<SpanLoad> loads)
{
    const ExtendedBeam b = span(L, left, right, std::move(loads));
    auto m = std::make_unique<AnalysisModel>();
    PreencheModelo(b, *m);
    const BeamLoads loads_ = CargasDaViga(b);
    ResolveGeral(*m, loads_);
    const GeneralDeflection s = DeflectionOf(*m, loads_, 1);
    return {s, ExtremeDeflections(s, CurvaDoTrecho(*m, loads_, 1))};
}

struct ClosedForm {
    const char* name;
    std::function<double()> computed;
    double expected;
};

TEST(GeneralDeflection, ClosedForms)
{
    const double L = 7, M = 5, q = -4, P = -3, a = 4.5, b = L - a, c = 2.5;
    const double s3 = std::sqrt(3.0);
    const auto simple = [&](std::vector<SpanLoad> loads) { return solved(L, 10, 10, std::move(loads)); };
    // A triangle growing to q at the end: v = q x (7L^4 - 10L^2 x^2 + 3x^4) / (360 L), largest
    // (0.00652 q L^4) at x = L sqrt(1 - sqrt(8/15)) = 0.5193 L.
    const double xt = L * std::sqrt(1 - std::sqrt(8.0 / 15));
    const double vt = q * xt * (7 * std::pow(L, 4) - 10 * L * L * xt * xt + 3 * std::pow(xt, 4)) / (360 * L);
    // P at a on a simple span: largest P b (L^2 - b^2)^(3/2) / (9 sqrt(3) L) at sqrt((L^2 - b^2) / 3).
    const double xp = std::sqrt((L * L - b * b) / 3);
    const ClosedForm cases[] = {
        {"central moment: down", [&] { return simple({moment(M, L / 2)}).extremes.down.value; },
         -M * L * L / (72 * s3)},
        {"central moment: where down", [&] { return simple({moment(M, L / 2)}).extremes.down.position; },
         L / (2 * s3)},
        {"central moment: up", [&] { return simple({moment(M, L / 2)}).extremes.up.value; },
         M * L * L / (72 * s3)},
        {"central moment: where up", [&] { return simple({moment(M, L / 2)}).extremes.up.position; },
         L - L / (2 * s3)},
        {"triangle: largest", [&] { return simple({linear(0, q, 0, L)}).extremes.down.value; }, vt},
        {"triangle: where", [&] { return simple({linear(0, q, 0, L)}).extremes.down.position; }, xt},
        {"triangle: 0.00652 q L^4", [&] { return simple({linear(0, q, 0, L)}).extremes.down.value; },
         0.00652 * q * std::pow(L, 4)},
        {"two partial loads make a uniform one: mid-span",
         [&] {
             return Deflection(simple({linear(q, q, 0, c)}).shape, L / 2) +
                    Deflection(simple({linear(q, q, c, L)}).shape, L / 2);
         },
         5 * q * std::pow(L, 4) / 384},
        {"uniform: largest",
         [&] {
             return simple({{LoadKind::Uniform, q, 0, 0, 0}}).extremes.down.value;
         },
         5 * q * std::pow(L, 4) / 384},
        {"point off centre: largest", [&] { return simple({point(P, a)}).extremes.down.value; },
         P * b * std::pow(L * L - b * b, 1.5) / (9 * s3 * L)},
        {"point off centre: where", [&] { return simple({point(P, a)}).extremes.down.position; }, xp},
        {"cantilever, moment at the tip", [&] { return solved(L, 11, 0, {moment(M, L)}).extremes.up.value; },
         M * L * L / 2},
        {"cantilever, tip slope", [&] { return DeflectionSlope(solved(L, 11, 0, {moment(M, L)}).shape, L); },
         M * L},
    };
    for (const ClosedForm& k : cases) {
        const double got = k.computed();
        // The textbook's 0.00652 carries three digits.
        const double tolerance = std::string(k.name).find("0.00652") != std::string::npos ? 1e-3 : 1e-9;
        EXPECT_NEAR(got, k.expected, tolerance * std::fabs(k.expected)) << k.name;
    }
}

// A beam with loads of every type: its deflection anywhere is the sum of the
// beams that carry one load each, and its ends are the nodal solution's.
TEST(GeneralDeflection, SuperpositionOfSingleLoads)
{
    const ExtendedBeam all = MixedLoadBeam(15, 8);
    const auto deflections = [](const ExtendedBeam& beam) {
        auto m = std::make_unique<AnalysisModel>();
        PreencheModelo(beam, *m);
        const BeamLoads loads = CargasDaViga(beam);
        ResolveGeral(*m, loads);
        std::vector<double> v;
        for (long i = 1; i <= m->ElementCount; ++i) {
            const GeneralDeflection s = DeflectionOf(*m, loads, i);
            for (int k = 0; k <= 10; ++k) v.push_back(Deflection(s, s.ends.L * k / 10));
            EXPECT_EQ(Deflection(s, 0), s.ends.v1);
            EXPECT_EQ(Deflection(s, s.ends.L), s.ends.v2);
        }
        return v;
    };
    const std::vector<double> whole = deflections(all);
    std::vector<long double> sum(whole.size());
    for (std::size_t i = 0; i < all.spans.size(); ++i)
        for (const SpanLoad& l : all.spans[i].loads) {
            ExtendedBeam one = all;
            for (auto& s : one.spans) s.loads.clear();
            one.spans[i].loads = {l};
            const std::vector<double> part = deflections(one);
            for (std::size_t k = 0; k < sum.size(); ++k) sum[k] += part[k];
        }
    double scale = 0;
    for (const double v : whole) scale = std::max(scale, std::fabs(v));
    for (std::size_t k = 0; k < whole.size(); ++k)
        EXPECT_LE(std::fabs(static_cast<double>(sum[k]) - whole[k]), 1e-12 * scale) << "point " << k;
}

}  // namespace
