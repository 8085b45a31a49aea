// Assembly and solution against closed forms and by their properties.

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
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

constexpr double Any = std::numeric_limits<double>::quiet_NaN();  // a position decided by a rounding tie

void expectClose(double actual, double expected, const std::string& what)
{
    if (std::isnan(expected)) return;
    EXPECT_NEAR(actual, expected, 1e-9 * (1 + std::fabs(expected))) << what;
}

TEST(ResolveSistema, OneSpanPinnedAndFixed)
{
    auto pinned = makeBeam({{1, -1}}, {10, 10});
    SolveBeam(*pinned);
    SolveBeam(*pinned);  // a run repeats on the same model
    EXPECT_NEAR(pinned->LoadVector(2, 1), -1.0 / 24, 1e-12);
    EXPECT_NEAR(pinned->LoadVector(4, 1), 1.0 / 24, 1e-12);
    EXPECT_LT(pinned->LoadVector(1, 1), 0);  // pressed into the penalty spring
    EXPECT_GT(pinned->LoadVector(1, 1), -1e-29);
    EXPECT_NEAR(pinned->Reaction(2, 1), 0.5, 1e-12);
    EXPECT_EQ(pinned->Reaction(2, 2), 0.0);
    EXPECT_NEAR(pinned->ElementStartShear[1], 0, 1e-12);
    EXPECT_NEAR(pinned->ElementStartMoment[1], -1.0 / 12, 1e-12);

    auto fixed = makeBeam({{1, -1}}, {11, 11});
    SolveBeam(*fixed);
    for (int g = 1; g <= 4; ++g) EXPECT_LT(std::fabs(fixed->LoadVector(g, 1)), 1e-29);
    EXPECT_LT(std::fabs(fixed->ElementStartMoment[1]), 1e-28);  // all of it is the fixed-end part
    EXPECT_NEAR(fixed->Reaction(1, 2), 1.0 / 12, 1e-12);
    EXPECT_NEAR(fixed->Reaction(2, 2), -1.0 / 12, 1e-12);

    // P = -1.5 at the tip, L = 2, EI = 6: v = PL^3/3EI, rotation PL^2/2EI.
    auto cantilever = makeBeam({{2, 0, -1.5, 2, 3, 2}}, {11, 0});
    SolveBeam(*cantilever);
    EXPECT_NEAR(cantilever->LoadVector(3, 1), -1.5 * 8 / 18, 1e-12);
    EXPECT_NEAR(cantilever->LoadVector(4, 1), -1.5 * 4 / 12, 1e-12);
}

// Per span: V(0), M(0), V(L), M(L), largest moment and its position, smallest
// moment and its position. Loads are downward; w is the load per length.
using SpanValues = std::array<double, 8>;
struct ClassicBeam {
    const char* name;
    std::vector<Span> spans;
    std::vector<int> codes;
    std::vector<double> force, moment;  // reactions per node
    std::vector<SpanValues> values;
};

constexpr double VA2 = 3 + 2.5 / 6;  // unequal spans: shear right of the middle support
// clang-format off
const ClassicBeam classicBeams[] = {
    // w = 2, L = 3: R = 3/8 wL, 5/4 wL; M = -wL^2/8; max 9/128 wL^2 at 3/8 L.
    {"two equal spans", {{3, -2}, {3, -2}}, {10, 10, 10}, {2.25, 7.5, 2.25}, {0, 0, 0},
     {{2.25, 0, -3.75, -2.25, 1.265625, 1.125, -2.25, 3}, {3.75, -2.25, -2.25, 0, 1.265625, 1.875, -2.25, 0}}},
    // w = 1.5, L = 2: R = 0.4 wL, 1.1 wL; M = -0.1 wL^2; max 0.08 wL^2 at 0.4 L, 0.025 wL^2 mid-span.
    {"three equal spans", {{2, -1.5}, {2, -1.5}, {2, -1.5}}, {10, 10, 10, 10}, {1.2, 3.3, 3.3, 1.2}, {0, 0, 0, 0},
     {{1.2, 0, -1.8, -0.6, 0.48, 0.8, -0.6, 2}, {1.5, -0.6, -1.5, -0.6, 0.15, 1, -0.6, Any},
      {1.8, -0.6, -1.2, 0, 0.48, 1.2, -0.6, 0}}},
    // Pin, then wall; w = 2, L = 4: R = 3/8 wL, 5/8 wL; M = -wL^2/8; max 9/128 wL^2 at 3/8 L.
    {"propped cantilever", {{4, -2}}, {10, 11}, {3, 5}, {0, -4}, {{3, 0, -5, -4, 2.25, 1.5, -4, 4}}},
    // Any non-zero digit restrains: 20 is a fixed end.
    {"code 20 as a fixed end", {{4, -2}}, {10, 20}, {3, 5}, {0, -4}, {{3, 0, -5, -4, 2.25, 1.5, -4, 4}}},
    // P = 8 at mid-span, L = 4: end moments -PL/8, centre +PL/8.
    {"fixed-fixed, central load", {{4, 0, -8, 2}}, {11, 11}, {4, 4}, {4, -4}, {{4, -4, -4, -4, 4, 2, -4, Any}}},
    // P = 1.5 at the tip, L = 2: M = -PL at the wall.
    {"cantilever, tip load", {{2, 0, -1.5, 2, 3, 2}}, {11, 0}, {1.5, 0}, {3, 0}, {{1.5, -3, 1.5, 0, 0, 2, -3, 0}}},
    // Rotation held, vertical free (code 01): half of a pinned span of 2L, M(0) = w(2L)^2/8.
    {"sliding clamp", {{2, -1}}, {1, 10}, {0, 2}, {-2, 0}, {{0, 2, -2, 0, 2, 0, 0, 2}}},
    // Overhang a = 1, then a span of 4, w = 2: M = -wa^2/2 over the support.
    {"left overhang", {{1, -2}, {4, -2}}, {0, 10, 10}, {0, 6.25, 3.75}, {0, 0, 0},
     {{0, 0, -2, -1, 0, Any, -1, 1}, {4.25, -1, -3.75, 0, 3.515625, 2.125, -1, 0}}},
    // Three moments, w = 1, L1 = 2, I1 = 1, L2 = 6, I2 = 3:
    // M = -w (L1^3/I1 + L2^3/I2) / (8 (L1/I1 + L2/I2)) = -2.5.
    {"unequal spans and sections", {{2, -1, 0, 0, 1, 1}, {6, -1, 0, 0, 1, 3}}, {10, 10, 10},
     {-0.25, 8.25 - (6 - VA2), 6 - VA2}, {0, 0, 0},
     {{-0.25, 0, -2.25, -2.5, 0, 0, -2.5, 2}, {VA2, -2.5, VA2 - 6, 0, -2.5 + VA2 * VA2 / 2, VA2, -2.5, 0}}},
};
// clang-format on

TEST(ResolveSistema, ClassicBeams)
{
    for (const auto& c : classicBeams) {
        SCOPED_TRACE(c.name);
        auto m = makeBeam(c.spans, c.codes);
        SolveBeam(*m);
        for (int n = 1; n <= m->NodeCount; ++n) {
            expectClose(m->Reaction(n, 1), c.force[n - 1], "force at node " + std::to_string(n));
            expectClose(m->Reaction(n, 2), c.moment[n - 1], "moment at node " + std::to_string(n));
        }
        for (int i = 1; i <= m->ElementCount; ++i) {
            const SpanData s = SpanOf(*m, i);
            const SpanValues& v = c.values[i - 1];
            const double got[] = {CortanteSecao(0, s.q, s.P, s.d, s.L, s.V0, s.M0),
                                  MomentoSecao(0, s.q, s.P, s.d, s.L, s.V0, s.M0),
                                  CortanteSecao(s.L, s.q, s.P, s.d, s.L, s.V0, s.M0),
                                  MomentoSecao(s.L, s.q, s.P, s.d, s.L, s.V0, s.M0),
                                  MaxMomentoPositivo(*m, i),
                                  PosMaxMomentoPositivo(*m, i),
                                  MaxMomentoNegativo(*m, i),
                                  PosMaxMomentoNegativo(*m, i)};
            for (int k = 0; k < 8; ++k)
                expectClose(got[k], v[k], "span " + std::to_string(i) + " value " + std::to_string(k));
        }

        // The reactions hold the loads: vertical forces and moments about X = 0.
        long double force = 0, moment = 0, scale = 1;
        for (int i = 1; i <= m->ElementCount; ++i) {
            const Span& s = c.spans[i - 1];
            const long double x = m->Coord(i, 1);
            force += s.q * s.L + s.P;
            moment += s.q * s.L * (x + s.L / 2) + s.P * (x + s.d);
            scale += std::fabs(s.q * s.L * (x + s.L)) + std::fabs(s.P * (x + s.L));
        }
        for (int n = 1; n <= m->NodeCount; ++n) {
            force += m->Reaction(n, 1);
            moment += m->Reaction(n, 1) * m->Coord(n, 1) + m->Reaction(n, 2);
        }
        EXPECT_LT(std::fabs(force) + std::fabs(moment), 1e-12 * scale);
    }
}

// Term (i, j) of a skyline copy, zero above the column's top.
double term(const AnalysisModel& m, const std::vector<double>& sky, int i, int j)
{
    const int height = m.DiagPointer[j] - (j > 1 ? m.DiagPointer[j - 1] : 0);
    return i < j - height + 1 ? 0 : sky[m.DiagPointer[j] - (j - i)];
}

TEST(ResolveSistema, FactorTimesItsTransposeIsTheAssembledMatrix)
{
    const std::vector<Span> beams[] = {{{0.1, 0, -1}, {10, -0.5}},
                                       {{2, -1}, {6, -1, 0, 0, 1, 3}, {3, 0, -4, 1, 2, 5}}};
    const std::vector<int> codes[] = {{0, 0, 11}, {11, 0, 10, 1}};
    for (int b = 0; b < 2; ++b) {
        auto m = makeBeam(beams[b], codes[b]);
        ColunasAltura(*m);
        MontaRigidez(*m);
        MontaCargas(*m);
        AplicaApoios(*m);
        const int terms = m->DiagPointer[m->EquationCount];
        std::vector<double> K(terms + 1), U(terms + 1);
        for (int p = 1; p <= terms; ++p) K[p] = m->Skyline[p];
        ResolveSistema(*m);
        for (int p = 1; p <= terms; ++p) U[p] = m->Skyline[p];
        for (int j = 1; j <= m->EquationCount; ++j) {
            for (int i = 1; i <= j; ++i) {
                long double sum = 0;
                for (int k = 1; k <= i; ++k)
                    sum += static_cast<long double>(term(*m, U, k, i)) * term(*m, U, k, j);
                const double scale = std::sqrt(std::fabs(term(*m, K, i, i) * term(*m, K, j, j)));
                EXPECT_NEAR(static_cast<double>(sum), term(*m, K, i, j), 1e-13 * scale)
                    << b << ": " << i << "," << j;
            }
        }
    }
}

// In any direction the element's stiffness is R^T k R and its end forces k R u
// (a reversed horizontal element, c = -1, has K = k and forces of opposite sign).
TEST(MontaElementos, RotatedElementsMatchTheLocalMatrixRotated)
{
    const double directions[][2] = {{3, 4}, {-1, 0}, {0, 2}, {-3, -4}};
    const double E = 2, I = 3, u[4] = {0.3, -0.2, 0.7, 0.11};
    for (const auto& dir : directions) {
        SCOPED_TRACE(std::to_string(dir[0]) + "," + std::to_string(dir[1]));
        auto m = makeBeam({{1, 0, 0, 0, E, I}}, {0, 0});
        m->Coord(2, 1) = dir[0];
        m->Coord(2, 2) = dir[1];
        ColunasAltura(*m);
        MontaRigidez(*m);
        for (int g = 1; g <= 4; ++g) m->LoadVector(g, 1) = u[g - 1];
        EsforcosExtremos(*m);

        const double L = std::hypot(dir[0], dir[1]), c = dir[0] / L, s = dir[1] / L;
        const double a = 12 * E * I / (L * L * L), b = 6 * E * I / (L * L), f = 4 * E * I / L;
        const double k[4][4] = {{a, b, -a, b}, {b, f, -b, f / 2}, {-a, -b, a, -b}, {b, f / 2, -b, f}};
        const double R[4][4] = {{c, s, 0, 0}, {-s, c, 0, 0}, {0, 0, c, s}, {0, 0, -s, c}};
        double T[4][4] = {}, K[4][4] = {}, force[4] = {};
        for (int i = 0; i < 4; ++i)
            for (int j = 0; j < 4; ++j)
                for (int p = 0; p < 4; ++p) T[i][j] += k[i][p] * R[p][j];
        for (int i = 0; i < 4; ++i)
            for (int j = 0; j < 4; ++j) {
                for (int p = 0; p < 4; ++p) K[i][j] += R[p][i] * T[p][j];
                force[i] += T[i][j] * u[j];
            }
        for (int j = 1; j <= 4; ++j) {
            for (int i = 1; i <= j; ++i)
                EXPECT_NEAR(m->Skyline[m->DiagPointer[j] - (j - i)], K[i - 1][j - 1], 1e-12 * f)
                    << i << "," << j;
            EXPECT_NEAR(m->ElementForce[j], force[j - 1], 1e-12 * f) << "force " << j;
        }
        EXPECT_EQ(m->ElementStartMoment[1], m->ElementForce[2]);
    }
}

// Mechanisms are refused whatever rounding leaves in their last pivot; stable
// beams with very different spans and sections, against the 1e30 penalty, are
// solved.
TEST(ResolveSistema, MechanismsAreRefusedStableBeamsAreNot)
{
    struct Case {
        const char* name;
        std::vector<Span> spans;
        std::vector<int> codes;
        bool stable;
    };
    // Values that do not cancel exactly: without the mechanism tests these
    // give displacements of 1e10 and more instead of a failure.
    const Span odd{0.7, -1.3, -2, 0.7 / 3, 2.1, 0.9};
    const Case cases[] = {
        {"free span", {{1, -1}}, {0, 0}, false},
        {"free span, odd values", {odd}, {0, 0}, false},
        {"one pin", {{1.1, -1.3, -2, 0.4, 2.1, 0.9}}, {10, 0}, false},
        {"rotations held, free to translate", {{2.9, -1.3, -2, 1, 2.1, 0.9}}, {1, 1}, false},
        {"two spans on one pin", {{0.3, -1.3}, odd}, {0, 10, 0}, false},
        // The rounding left in the last pivot is well above 1e-9 of its diagonal.
        {"stiff stub on one pin",
         {{7.9, -1, -1, 3.95}, {0.3, -1, -1, 0.15, 1, 1000}, {0.9, -1, -1, 0.45}},
         {10, 0, 0, 0},
         false},
        {"pin and held rotation", {{0.3, -1.3}, odd}, {0, 1, 10}, true},
        {"short free stub on a cantilever", {{0.1, 0, -1, 0}, {10}}, {0, 0, 11}, true},
        {"spans 1000 apart, sections 1e7 apart",
         {{0.05, -1, 0, 0, 2.1e11, 1e-3}, {50, -1, 0, 0, 2.1e11, 1e4}},
         {10, 10, 10},
         true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto m = makeBeam(c.spans, c.codes);
        if (c.stable) {
            EXPECT_NO_THROW(SolveBeam(*m));
            continue;
        }
        try {
            SolveBeam(*m);
            ADD_FAILURE() << "solved: rotation " << m->LoadVector(2, 1);
        } catch (const EngineError& e) {
            const std::string text = e.what();
            EXPECT_TRUE(text == "divisao por zero" || text == "numero negativo na raiz") << text;
        }
    }

    // And solved right: tip deflection PL^3/3EI of the 10.1 cantilever; the
    // three-moment equation over the middle support of the other.
    auto stub = makeBeam(cases[7].spans, cases[7].codes);
    SolveBeam(*stub);
    EXPECT_NEAR(stub->LoadVector(1, 1), -std::pow(10.1, 3) / 3, 1e-9 * std::pow(10.1, 3));
    auto apart = makeBeam(cases[8].spans, cases[8].codes);
    SolveBeam(*apart);
    const double L1 = 0.05, I1 = 1e-3, L2 = 50, I2 = 1e4;
    const double M = -(L1 * L1 * L1 / I1 + L2 * L2 * L2 / I2) / (8 * (L1 / I1 + L2 / I2));
    EXPECT_NEAR(MomentoSecao(L1, -1, 0, 0, L1, apart->ElementStartShear[1], apart->ElementStartMoment[1]), M,
                1e-9);
}

TEST(ResolveSistema, DegenerateModels)
{
    // A node on no element has no column at all.
    auto lonely = makeBeam({{1, -1}, {1, -1}}, {10, 10, 10});
    lonely->ElementCount = 1;
    EXPECT_THROW(SolveBeam(*lonely), EngineError);
    // Two separate beams in a hand-made incidence table; nodes 3 and 4 stand on nothing.
    auto apart = makeBeam({{1, -1}, {1, -1}, {1, -1}}, {10, 10, 0, 0});
    apart->Incidence(2, 1) = 3;
    apart->Incidence(2, 2) = 4;
    apart->ElementCount = 2;
    EXPECT_THROW(SolveBeam(*apart), EngineError);
    // Zero length, in the equivalent loads and in the assembly.
    EXPECT_THROW(makeBeam({{0}}, {10, 10}), ArithmeticError);
    auto collapsed = makeBeam({{1}}, {10, 10});
    collapsed->Coord(2, 1) = 0;
    EXPECT_THROW(SolveBeam(*collapsed), ArithmeticError);
    // More freedoms per element than the 4 x 4 element matrices hold.
    auto wide = makeBeam({{1}}, {10, 10});
    wide->ElementDofCount = 5;
    EXPECT_THROW(SolveBeam(*wide), IndexError);
}

TEST(EquivalentLoads, FixedEndForcesAndTheLoadedNodes)
{
    // P = -2 at d = 1 on a span of 4 (b = 3), then q = -3 on a span of 2.
    auto m = makeBeam({{4, 0, -2, 1}, {2, -3}}, {10, 10, 10});
    const double RA = -2.0 * 9 * 6 / 64, MA = -2.0 * 9 / 16, MB = -2.0 * 3 / 16;
    const double expected[3][2] = {{RA, MA}, {-2 - RA - 3, -MB - 1}, {-3, 1}};
    ASSERT_EQ(m->NodalLoadCount[1], 3);
    for (int n = 1; n <= 3; ++n) {
        EXPECT_EQ(m->NodalLoadNode(n, 1), n);
        EXPECT_NEAR(m->NodalLoadValue(n, 1, 1), expected[n - 1][0], 1e-15) << n;
        EXPECT_NEAR(m->NodalLoadValue(n, 2, 1), expected[n - 1][1], 1e-15) << n;
    }
    EXPECT_EQ(m->NodeLoadMark[2], 2);

    // P at either end goes wholly to that node, without a moment.
    auto ends = makeBeam({{2, 0, -1, 0}, {2, 0, -1, 2}}, {10, 10, 10});
    const double force[] = {-1, 0, -1};
    for (int n = 1; n <= 3; ++n) {
        EXPECT_EQ(ends->EquivalentNodalLoad(n, 1), force[n - 1]);
        EXPECT_EQ(ends->EquivalentNodalLoad(n, 2), 0);
    }

    // Only marked nodes are listed; 26 of them do not fit.
    auto partial = makeBeam({{1}, {1}, {1}}, {10, 10, 10, 10});
    partial->NodeLoadMark[2] = partial->NodeLoadMark[3] = 0;
    BuildNodalLoadList(*partial);
    EXPECT_EQ(partial->NodalLoadCount[1], 2);
    EXPECT_EQ(partial->NodalLoadNode(2, 1), 4);
    partial->NodeCount = 26;
    for (int n = 1; n <= 26; ++n) partial->NodeLoadMark[n] = 1;
    EXPECT_THROW(BuildNodalLoadList(*partial), IndexError);
}

}  // namespace
}  // namespace kalvoro
