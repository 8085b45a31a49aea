// Springs, settlements and hinges against their closed forms, and the
// mechanisms a hinge makes refused with the hinge named.

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>

#include "engine/errors.h"
#include "engine/supported_road.h"

namespace {

using namespace kalvoro;

constexpr double E = 2e8, I = 1e-4, EI = E * I, w = 10;

NodeSupport springV(double k)
{
    NodeSupport s;
    s.springVertical = k;
    return s;
}
NodeSupport springR(double k)
{
    NodeSupport s;
    s.springRotation = k;
    return s;
}
NodeSupport settles(double v)
{
    NodeSupport s;
    s.settlementVertical = v;
    return s;
}
NodeSupport hinge()
{
    NodeSupport s;
    s.hinge = true;
    return s;
}

// Nodes at the given x, one material and section, the same uniform load q on
// every span (none when q is 0). Varied stiffness shows where the result
// must not depend on it.
struct Beam {
    SupportedBeam beam;
    BeamLoads loads;
};
Beam beam(std::vector<SupportedNode> nodes, double q, bool varied = false)
{
    Beam b;
    b.beam.nodes = std::move(nodes);
    for (std::size_t i = 0; i + 1 < b.beam.nodes.size(); ++i) {
        b.beam.spans.push_back({E, I * (varied ? 1.0 + 0.7 * static_cast<double>(i) : 1.0)});
        b.loads.push_back(q != 0 ? std::vector<SpanLoad>{{LoadKind::Uniform, q, 0, 0, 0}}
                                 : std::vector<SpanLoad>{});
    }
    return b;
}

void near(double got, double want, double tol = 1e-9)
{
    EXPECT_NEAR(got, want, tol * std::max(1.0, std::fabs(want)));
}

struct Case {
    const char* what;
    Beam b;
    std::function<void(const SupportedResult&)> check;
    const char* refusal = nullptr;  // a mechanism: part of the message
};

TEST(SupportedRoad, ClosedFormsAndMechanisms)
{
    const double L = 5, D = 0.01;
    // A cantilever on a tip spring: spring force (3wL/8) kL^3 / (kL^3 + 3EI).
    const auto tipSpring = [&](double k) {
        return [=](const SupportedResult& r) {
            near(r.force[1], 3 * w * L / 8 * k * L * L * L / (k * L * L * L + 3 * EI));
            near(r.force[0] + r.force[1], w * L);
        };
    };
    // A propped cantilever whose fixed end is a rotational spring:
    // M_A = (wL^2/8) kL / (kL + 3EI), hogging.
    const auto rotSpring = [&](double k) {
        return [=](const SupportedResult& r) {
            const double MA = w * L * L / 8 * k * L / (k * L + 3 * EI);
            near(r.curves[0].startMoment(), -MA);
            near(r.moment[0], MA);
        };
    };
    const double kv = 3 * EI / (L * L * L), kr = 3 * EI / L;
    const Case cases[] = {
        {"tip spring", beam({{0, 11, {}}, {L, 0, springV(kv)}}, -w), tipSpring(kv)},
        {"stiff tip spring is the propped cantilever", beam({{0, 11, {}}, {L, 0, springV(1e9 * kv)}}, -w),
         [&](const SupportedResult& r) {
             near(r.force[1], 3 * w * L / 8, 1e-8);
             near(r.curves[0].startMoment(), -w * L * L / 8, 1e-8);
         }},
        {"soft tip spring is the bare cantilever", beam({{0, 11, {}}, {L, 0, springV(1e-9 * kv)}}, -w),
         [&](const SupportedResult& r) {
             near(r.vertical[1], -w * L * L * L * L / (8 * EI), 1e-8);
             tipSpring(1e-9 * kv)(r);
         }},
        {"middle support settles", beam({{0, 10, {}}, {L, 10, settles(-D)}, {2 * L, 10, {}}}, 0),
         [&](const SupportedResult& r) {
             near(r.vertical[1], -D);
             near(r.curves[0].endMoment(), 3 * EI * D / (L * L));
             near(r.curves[1].startMoment(), 3 * EI * D / (L * L));
             near(r.force[1], -6 * EI * D / (L * L * L));
             near(r.force[0], 3 * EI * D / (L * L * L));
         }},
        // A fixed end turned by t: end moments 4EIt/L there and 2EIt/L at the
        // far fixed end, both counter-clockwise on the beam as the turn.
        {"fixed end turned", beam({{0, 11, [] { NodeSupport t; t.settlementRotation = 0.002; return t; }()},
                                   {L, 11, {}}}, 0),
         [&](const SupportedResult& r) {
             near(r.rotation[0], 0.002);
             near(r.moment[0], 4 * EI * 0.002 / L);
             near(r.moment[1], 2 * EI * 0.002 / L);
             near(r.force[0], 6 * EI * 0.002 / (L * L));
         }},
        {"rotational spring", beam({{0, 10, springR(kr)}, {L, 10, {}}}, -w), rotSpring(kr)},
        {"soft rotational spring is pinned", beam({{0, 10, springR(1e-9 * kr)}, {L, 10, {}}}, -w),
         [&](const SupportedResult& r) {
             rotSpring(1e-9 * kr)(r);
             EXPECT_NEAR(r.curves[0].startMoment(), 0, 1e-6);
         }},
        {"stiff rotational spring is fixed", beam({{0, 10, springR(1e9 * kr)}, {L, 10, {}}}, -w),
         [&](const SupportedResult& r) { near(r.curves[0].startMoment(), -w * L * L / 8, 1e-8); }},
        // Gerber: spans 6, 7, 6; the middle one holds a suspended span of 4
        // between hinges 1.5 from its supports, whatever the stiffnesses.
        {"Gerber beam",
         beam({{0, 10, {}}, {6, 10, {}}, {7.5, 0, hinge()}, {11.5, 0, hinge()}, {13, 10, {}}, {19, 10, {}}},
              -w, true),
         [&](const SupportedResult& r) {
             const double a = 1.5, s = 4, Ms = -(w * a * a / 2 + w * s / 2 * a);
             near(r.curves[2].largestMoment().value, w * s * s / 8);
             near(r.curves[2].largestMoment().position, s / 2);
             near(r.curves[2].startShear(), w * s / 2);
             EXPECT_NEAR(r.curves[1].endMoment(), 0, 1e-9);
             EXPECT_NEAR(r.curves[3].startMoment(), 0, 1e-9);
             near(r.curves[0].endMoment(), Ms);
             near(r.curves[4].startMoment(), Ms);
             near(r.force[0], w * 6 / 2 + Ms / 6);
             near(r.force[1], w * 7.5 + w * s / 2 - (w * 6 / 2 + Ms / 6));
             near(r.force[5], r.force[0]);
             EXPECT_EQ(r.force[2], 0);
         }},
        {"hinge before a free end", beam({{0, 11, {}}, {5, 0, hinge()}, {8, 0, {}}}, -w), nullptr,
         "viga instável: a rótula do nó 2 forma um mecanismo"},
        {"hinge in a simple span", beam({{0, 10, {}}, {4, 0, hinge()}, {8, 10, {}}}, -w), nullptr,
         "a rótula do nó 2 forma"},
        {"third hinge in the Gerber span",
         beam({{0, 10, {}},
               {6, 10, {}},
               {7.5, 0, hinge()},
               {9, 0, hinge()},
               {11.5, 0, hinge()},
               {13, 10, {}},
               {19, 10, {}}},
              -w),
         nullptr, "rótula"},
        {"no support", beam({{0, 0, {}}, {4, 0, {}}}, -w), nullptr, "divisao por zero"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        try {
            const SupportedSystem system(c.b.beam);
            const SupportedResult r = system.solve(c.b.loads);
            EXPECT_EQ(c.refusal, nullptr);
            if (c.check) c.check(r);
        } catch (const EngineError& e) {
            ASSERT_NE(c.refusal, nullptr) << e.what();
            EXPECT_NE(std::string(e.what()).find(c.refusal), std::string::npos) << e.what();
        }
    }
}

}  // namespace

namespace {

// The adjoint influence lines against a whole solution per unit-load
// position, on a beam with a spring, a settlement (left out of unit loads)
// and a Gerber span; and Müller-Breslau's s/4 at the suspended span's middle.
TEST(SupportedRoad, InfluenceLinesEqualWholeSolutions)
{
    Beam b = beam({{0, 10, {}},
                   {6, 10, settles(-0.01)},
                   {7.5, 0, hinge()},
                   {11.5, 0, hinge()},
                   {13, 0, springV(5e3)},
                   {19, 10, {}}},
                  0, true);
    const SupportedSystem system(b.beam);
    for (std::size_t n : {0u, 2u, 4u}) {
        const double L = system.spanLength(n), xs = L / 2;
        std::vector<std::pair<std::size_t, double>> positions;
        for (std::size_t k = 0; k < system.spanCount(); ++k)
            for (int i = 0; i <= 10; ++i) positions.push_back({k, system.spanLength(k) * i / 10});
        const auto lines = system.influence(n, xs, positions);
        for (std::size_t p = 0; p < positions.size(); ++p) {
            BeamLoads loads(system.spanCount());
            loads[positions[p].first].push_back({LoadKind::Point, -1.0, 0, positions[p].second, 0});
            const SupportedResult r = system.solveLoads(loads);
            const SpanCurve& c = r.curves[n];
            // Left of the section: the piece that ends past it, or at it.
            const Piece* q = &c.pieces.front();
            for (const Piece& piece : c.pieces)
                if (piece.x0 < xs) q = &piece;
            EXPECT_NEAR(lines[p].moment, q->moment(xs - q->x0), 1e-9) << n << " " << p;
            EXPECT_NEAR(lines[p].shearLeft, q->shear(xs - q->x0), 1e-9) << n << " " << p;
        }
    }
    // A unit load at the middle of the suspended span of 4: M = 4/4 there.
    EXPECT_NEAR(system.influence(2, 2, {{2, 2}})[0].moment, 1, 1e-12);
}

}  // namespace
