// Springs, settlements and hinges against the figures that open beam and
// frame packages assert in their own test suites: the beam of each row is the
// package's, in its units, with its tolerance, or 1e-9 where the figure is an
// exact closed form or printed to ten digits. Forces and displacements here
// are positive upward, moments and rotations counter-clockwise; where a
// package counts otherwise its figure is turned to these signs, and the row
// says so.

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "engine/supported_road.h"

namespace {

using namespace kalvoro;

// What a row compares: a node's support force or moment, displacement,
// rotation (left and right of a hinge) or rotation jump (right - left), or
// the moment at the end of a span.
enum class Q { Force, Moment, Vertical, Rotation, RotationRight, Jump, EndMoment };

struct Expect {
    Q q;
    std::size_t i;  // node, or span for EndMoment
    double value;
    double tol;  // relative
};

struct Case {
    const char* source;  // package, repository, test file, test
    SupportedBeam beam;
    BeamLoads loads;
    std::vector<Expect> expect;
};

// One flexural stiffness per span, or one for all.
SupportedBeam beam(std::vector<SupportedNode> nodes, std::vector<double> EI)
{
    SupportedBeam b{std::move(nodes), {}};
    for (std::size_t i = 0; i + 1 < b.nodes.size(); ++i) b.spans.push_back({EI[EI.size() == 1 ? 0 : i], 1});
    return b;
}

SpanLoad uniform(double q)
{
    return {LoadKind::Uniform, q, 0, 0, 0};
}
SpanLoad point(double P, double a)
{
    return {LoadKind::Point, P, 0, a, 0};
}

const NodeSupport hinge{.hinge = true};

// McGuire, Gallagher and Ziemian's beam on elastic foundation (ex. 4.15):
// 16 elements of 15 in between pinned ends, a spring of 22.5 k/in at every
// inner node, 40 k down at mid-length; kips and inches.
Case foundation()
{
    Case c{
        "Pynite, JWock82/Pynite, Testing/test_spring_support.py, test_beam_on_elastic_foundation: "
        "DY at N9 -0.238 in, M8 moment 547 k-in, within 5%",
        {},
        BeamLoads(16),
        {{Q::Vertical, 8, -0.238, 0.05}, {Q::EndMoment, 7, 547, 0.05}}};
    std::vector<SupportedNode> nodes;
    for (int i = 0; i <= 16; ++i)
        nodes.push_back({15.0 * i, i % 16 == 0 ? 10 : 0, {.springVertical = i % 16 == 0 ? 0 : 22.5}});
    c.beam = beam(std::move(nodes), {29000 * 128.5});
    c.loads[7] = {point(-40, 15)};
    return c;
}

TEST(SupportedReference, PackagesOwnTestFigures)
{
    const NodeSupport kv{.springVertical = 1e8}, kr{.springRotation = 486e9};
    // Exact figures of the hinged beams: Logan's rotations at the hinge, and
    // the hinge join of a propped beam (l = 2, P = -6, EI = 1000).
    const double logan = 20.0 / (2 * (8 + 64) * 180000), l = 2, P = -6, EI = 1000;
    const Case cases[] = {
        // Fixed-pinned span of 10, EI 180000, the pin settling 0.01:
        // R_A = -3 EI d / L^3, M_A = -3 EI d / L^2, R_B = 3 EI d / L^3.
        {"pycba, ccaprani/pycba, tests/test_basic.py, test_prescribed_settlement_no_load",
         beam({{0, 11, {}}, {10, 10, {.settlementVertical = -0.01}}}, {180000}),
         BeamLoads(1),
         {{Q::Force, 0, 5.4, 1e-9},
          {Q::Moment, 0, 54, 1e-9},
          {Q::Force, 1, -5.4, 1e-9},
          {Q::Vertical, 1, -0.01, 1e-9}}},
        // Three spans of 15, pins at the ends, springs of 1e8 at the inner
        // supports, 20 down on every span; the pins carry 120.00175999.
        {"pycba, ccaprani/pycba, tests/test_basic.py, test_3span_diff_settlement",
         beam({{0, 10, {}}, {15, 0, kv}, {30, 0, kv}, {45, 10, {}}}, {1.5e6}),
         {{uniform(-20)}, {uniform(-20)}, {uniform(-20)}},
         {{Q::Force, 0, 120.00175999, 1e-9}, {Q::Force, 3, 120.00175999, 1e-9}}},
        // Spans 6, 8, 6 on supports with rotational springs of 486e9: fixed
        // ends would give 30 and 110, off by the sixth digit.
        {"pycba, ccaprani/pycba, tests/test_basic.py, test_3span_subframe",
         beam({{0, 10, kr}, {6, 10, kr}, {14, 10, kr}, {20, 10, kr}}, {1.5e5}),
         {{uniform(-10)}, {uniform(-20)}, {uniform(-10)}},
         {{Q::Force, 0, 29.99999451, 1e-9},
          {Q::Force, 1, 110.00000549, 1e-9},
          {Q::Force, 2, 110.00000549, 1e-9},
          {Q::Force, 3, 29.99999451, 1e-9}}},
        // Logan, ex. 4.10: fixed ends 4 and 2 from a hinge loaded with 20;
        // rotations -a^2 b^3 P / (2 (a^3 + b^3) EI) and a^3 b^2 P / (...).
        {"pycba, ccaprani/pycba, tests/test_basic.py, test_hinges",
         beam({{0, 11, {}}, {4, 0, hinge}, {6, 11, {}}}, {180000}),
         {{point(-20, 4)}, {}},
         {{Q::Rotation, 1, -16 * 8 * logan, 1e-9}, {Q::RotationRight, 1, 64 * 4 * logan, 1e-9}}},
        // A span of 10 hung between cantilevers of 3 and 7, 100 down at 2:
        // [va, 3 va, vb, -7 vb] with va = 80, vb = 20.
        {"pycba, ccaprani/pycba, tests/test_double_release.py, "
         "test_suspended_span_global_equilibrium[prismatic, a=2]",
         beam({{0, 11, {}}, {3, 0, hinge}, {13, 0, hinge}, {20, 11, {}}}, {2e5, 1e5, 4e5}),
         {{}, {point(-100, 2)}, {}},
         {{Q::Force, 0, 80, 1e-10},
          {Q::Moment, 0, 240, 1e-10},
          {Q::Force, 3, 20, 1e-10},
          {Q::Moment, 3, -140, 1e-10}}},
        // Kassimali, ex. 13.14: three spans of 20 ft, 2 k/ft, the rollers
        // settling 5/8, 1.5 and 0.75 in; kips and inches. The package allows
        // 7.6% for the book's rounding: the exact R_A is -1.18099.
        {"Pynite, JWock82/Pynite, Testing/test_support_settlement.py, test_support_settlement",
         beam({{0, 10, {}},
               {240, 10, {.settlementVertical = -0.625}},
               {480, 10, {.settlementVertical = -1.5}},
               {720, 10, {.settlementVertical = -0.75}}},
              {29000 * 7800}),
         {{uniform(-2.0 / 12)}, {uniform(-2.0 / 12)}, {uniform(-2.0 / 12)}},
         {{Q::Force, 0, -1.098, 0.076},
          {Q::Force, 1, 122.373, 0.076},
          {Q::Force, 2, -61.451, 0.076},
          {Q::Force, 3, 60.176, 0.076}}},
        foundation(),
        // Fixed at 0, pins at 10 and 15, hinges at 7 and 12, 10 down at the
        // first hinge, 2 down from 10 to 15, E = I = 20. The package's M_0 =
        // -140/3 counts clockwise.
        {"sympy, sympy/sympy, sympy/physics/continuum_mechanics/tests/test_beam.py, "
         "test_apply_rotation_hinge",
         beam({{0, 11, {}}, {7, 0, hinge}, {10, 10, {}}, {12, 0, hinge}, {15, 10, {}}}, {400}),
         {{}, {point(-10, 0)}, {uniform(-2)}, {uniform(-2)}},
         {{Q::Force, 0, 20.0 / 3, 1e-9},
          {Q::Moment, 0, 140.0 / 3, 1e-9},
          {Q::Force, 2, 31.0 / 3, 1e-9},
          {Q::Force, 4, 3, 1e-9},
          {Q::Jump, 1, 2281.0 / 2160, 1e-9},
          {Q::Jump, 3, -5137.0 / 5184, 1e-9}}},
        // Two beams of 2l joined by a hinge: fixed at 0, supports at l and
        // 4l, P at 3l. R = 3P/4, -5P/4, -P/2; M_1 = -Pl/4 clockwise;
        // deflections 7Pl^3/(24EI) at 2l, 5Pl^3/(16EI) at 3l; slope there
        // -7Pl^2/(48EI).
        {"sympy, sympy/sympy, sympy/physics/continuum_mechanics/tests/test_beam.py, "
         "test_composite_beam (hinge join)",
         beam({{0, 11, {}}, {l, 10, {}}, {2 * l, 0, hinge}, {3 * l, 0, {}}, {4 * l, 10, {}}}, {EI}),
         {{}, {}, {point(P, l)}, {}},
         {{Q::Force, 0, 3 * P / 4, 1e-9},
          {Q::Force, 1, -5 * P / 4, 1e-9},
          {Q::Force, 4, -P / 2, 1e-9},
          {Q::Moment, 0, P * l / 4, 1e-9},
          {Q::Vertical, 2, 7 * P * l * l * l / (24 * EI), 1e-9},
          {Q::Vertical, 3, 5 * P * l * l * l / (16 * EI), 1e-9},
          {Q::Rotation, 3, -7 * P * l * l / (48 * EI), 1e-9}}},
        // A span of 7 fixed at its start, hinged at its end to a fixed stub
        // of 0.1, one stiffness, 10 down: the propped cantilever's wL^2/8
        // within 1e-3, the stub's give adding 5.4e-4 (the package's Ty =
        // -61.25 is the support's share, the opposite sign).
        {"anaStruct, ritchie46/anaStruct, tests/test_e2e.py, context_example_6_fixed_hinge",
         beam({{0, 11, {}}, {7, 0, hinge}, {7.1, 11, {}}}, {5000}),
         {{uniform(-10)}, {}},
         {{Q::Moment, 0, 61.25, 1e-3}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.source);
        const SupportedResult r = SupportedSystem(c.beam).solve(c.loads);
        for (const Expect& e : c.expect) {
            const double got = e.q == Q::Force           ? r.force[e.i]
                               : e.q == Q::Moment        ? r.moment[e.i]
                               : e.q == Q::Vertical      ? r.vertical[e.i]
                               : e.q == Q::Rotation      ? r.rotation[e.i]
                               : e.q == Q::RotationRight ? r.rotationRight[e.i]
                               : e.q == Q::Jump          ? r.rotationRight[e.i] - r.rotation[e.i]
                                                         : r.curves[e.i].endMoment();
            EXPECT_NEAR(got, e.value, e.tol * std::fabs(e.value))
                << "quantity " << static_cast<int>(e.q) << " at " << e.i;
        }
    }
}

}  // namespace
