// A train's extremes at a section against closed forms of the textbooks.

#include "influence/train.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "engine/errors.h"
#include "influence/train_files.h"
#include "test_beams.h"

namespace kalvoro {
namespace {

using namespace kalvoro::testing;

constexpr double Skip = std::numeric_limits<double>::quiet_NaN();

Train train(double q, std::vector<Axle> axles)
{
    return {"teste", q, std::move(axles)};
}

std::string unloadedSpan(const std::string& L)
{
    return beamFile({"0", L}, {"10", "10"}, {{"0", "0", "0"}});
}

std::string twoSpans(const std::string& L, const std::string& twoL)
{
    return beamFile({"0", L, twoL}, {"10", "10", "10"}, {{"0", "0", "0"}, {"0", "0", "0"}});
}

struct ClosedForm {
    const char* name;
    std::string beam;
    Train train;
    long n;
    double xs;
    double mMax, mMin, vMax, vMin;  // the train's effects; Skip leaves one out
    double mMaxAt = Skip;           // where the first axle stands for mMax ("->")
};

// q L^2 / 8 over both spans of L = 6, q = 2; 49/512 q L^2 with one span
// loaded; a 1e-9 axle stands in for "no axles" (a train has at least one).
const ClosedForm Cases[] = {
    {"single axle P L / 4", unloadedSpan("10"), train(0, {{10, 0}}), 1, 5, 25, 0, 5, -5, 5},
    {"two axles P (L - s/2)^2 / (2 L) under the axle by the resultant", unloadedSpan("10"),
     train(0, {{10, 0}, {10, 2}}), 1, 4.5, 40.5, 0, Skip, Skip, 4.5},
    {"uniform load over both spans: support moment", twoSpans("6", "12"), train(2, {{1e-9, 0}}), 1, 6, 0,
     -2 * 36 / 8.0, Skip, Skip},
    {"uniform load on one span: largest span moment", twoSpans("6", "12"), train(2, {{1e-9, 0}}), 1,
     6 * 7 / 16.0, 2 * 36 * 49 / 512.0, Skip, Skip, Skip},
    {"an axle off the beam counts for nothing", unloadedSpan("10"), train(0, {{10, 0}, {50, 1000}}), 1, 5,
     125, 0, 25, -25},
    {"a cantilever's tip carries the whole axle", beamFile({"0", "4"}, {"11", "00"}, {{"0", "0", "0"}}),
     train(0, {{3, 0}}), 1, 0, 0, -12, 3, 0},
};

TEST(TrainExtremes, ClosedForms)
{
    for (const ClosedForm& c : Cases) {
        SCOPED_TRACE(c.name);
        auto m = analysedBeam(c.beam);
        const TrainSection r = TrainAtSection(*m, c.train, c.n, c.xs);
        const auto expectNear = [](double got, double want) {
            if (!std::isnan(want)) {
                EXPECT_NEAR(got, want, 1e-9 * std::max(1.0, std::fabs(want)));
            }
        };
        expectNear(r.moment.largest.effect, c.mMax);
        expectNear(r.moment.smallest.effect, c.mMin);
        expectNear(r.shear.largest.effect, c.vMax);
        expectNear(r.shear.smallest.effect, c.vMin);
        if (!std::isnan(c.mMaxAt)) {
            EXPECT_NEAR(r.moment.largest.position, c.mMaxAt, 1e-9);
            EXPECT_FALSE(r.moment.largest.reverse);
        }
        EXPECT_GE(r.moment.largest.effect, 0);
        EXPECT_LE(r.moment.smallest.effect, 0);
    }
}

// Three equal spans seen from either end: an uneven train has the same
// extremes at mirrored sections, the shear changing sign, and the totals add
// the user's own loads.
TEST(TrainExtremes, MirroredBeamGivesMirroredExtremes)
{
    auto m = analysedBeam(beamFile({"0", "5", "10", "15"}, {"10", "10", "10", "10"},
                                   {{"-1", "0", "0"}, {"-1", "0", "0"}, {"-1", "0", "0"}}));
    const Train t = train(3, {{20, 0}, {60, 1.2}, {35, 3.1}});
    for (const double x : {0.0, 1.3, 2.5, 5.0}) {
        SCOPED_TRACE(x);
        const TrainSection a = TrainAtSection(*m, t, 1, x);
        const TrainSection b = TrainAtSection(*m, t, 3, 5 - x);
        // Loads of about 100 on spans of 5: effects of about 1000 at most.
        const double tol = 1e-9 * 1000;
        EXPECT_NEAR(a.moment.largest.effect, b.moment.largest.effect, tol);
        EXPECT_NEAR(a.moment.smallest.effect, b.moment.smallest.effect, tol);
        EXPECT_NEAR(a.shear.largest.effect, -b.shear.smallest.effect, tol);
        EXPECT_NEAR(a.shear.smallest.effect, -b.shear.largest.effect, tol);
        if (a.moment.largest.effect > tol) {
            EXPECT_NE(a.moment.largest.reverse, b.moment.largest.reverse);
        }
        EXPECT_DOUBLE_EQ(a.moment.largest.total, a.moment.permanent + a.moment.largest.effect);
    }
}

TEST(TrainExtremes, RefusesSectionsOffTheBeamAndLeavesTheUserSolution)
{
    auto m = analysedBeam(testing::simpleSpan());
    const double M0 = m->ElementStartMoment[1], V0 = m->ElementStartShear[1];
    const Train t = train(1, {{1, 0}});
    EXPECT_THROW(TrainAtSection(*m, t, 2, 1), IndexError);
    EXPECT_THROW(TrainAtSection(*m, t, 1, 10.5), IndexError);
    const TrainSection r = TrainAtSection(*m, t, 1, 5);
    EXPECT_NEAR(r.moment.permanent, 12.5, 1e-12);
    EXPECT_EQ(m->ElementStartMoment[1], M0);
    EXPECT_EQ(m->ElementStartShear[1], V0);
    EXPECT_EQ(m->LoadRowValue(1, 1, 1), -1.0);
}

// The envelope page: the largest magnitude a third of the page from the axis,
// which lies across the middle of the moment page.
TEST(TrainFiles, EnvelopePageScale)
{
    auto m = analysedBeam(testing::simpleSpan());
    const Train t = train(0, {{10, 0}});
    const auto envelope = TrainEnvelope(*m, t);
    const DiagramSettings s;
    const Recording page = DesenhaEnvoltoria(*m, s, t, envelope, "");
    const int axis = s.momentHeight - s.momentHeight / 2;
    int farthest = 0;
    bool curves = false;
    for (const DrawOp& op : page.ops) {
        // The permanent curve (blue) and the largest (red), not the legend's strokes.
        if (const auto* pen = std::get_if<op::Pen>(&op))
            curves = pen->width == 1 && (pen->color == colors::Blue || (curves && pen->color == colors::Red));
        if (const auto* to = std::get_if<op::LineTo>(&op); to && curves)
            farthest = std::max(farthest, std::abs(to->y - axis));
    }
    // 12.5 (own load) + 25 (the axle) at mid-span, drawn below the axis.
    EXPECT_NEAR(farthest, s.momentHeight / 3.0, 1);
    EXPECT_EQ(envelope.size(), 11u);
    EXPECT_NEAR(envelope[5].moment.largest.total, 37.5, 1e-9);
}

}  // namespace
}  // namespace kalvoro
