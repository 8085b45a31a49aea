// The supported road's influence report against the specified road's on beams
// both can solve: the same lines, the same conventions at the section (a unit
// load exactly at the section counts in the right-hand shear only; one just
// right of it, within the hundredth of the span where the right-hand shear is
// taken, counts there too), the same numbers to the last printed digit but
// for rounding. Its page against the specified road's page, and a train's
// extremes on beams with settlements and hinges against closed forms.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <sstream>

#include "data/extended_beam.h"
#include "diagrams/page_frame.h"
#include "engine/errors.h"
#include "influence/influence.h"
#include "influence/supported_influence.h"
#include "influence/train.h"
#include "influence/train_beam.h"
#include "test_beams.h"

namespace kalvoro {
namespace {

using testing::analysedBeam;
using testing::beamFile;
using testing::simpleSpan;
using testing::twoEqualSpans;

std::vector<std::vector<double>> numbers(const std::string& report)
{
    std::vector<std::vector<double>> rows;
    std::istringstream in(report);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::vector<double> row;
        for (double v; fields >> v;) row.push_back(v);
        if (row.size() == 5) rows.push_back(row);
    }
    return rows;
}

TEST(SupportedInfluence, AgreesWithTheDataFileRoad)
{
    struct Case {
        std::string file, trecho, pos;
    };
    const std::string simple = beamFile({"0", "10"}, {"10", "10"}, {{"-1", "0", "0"}});
    const std::string three =
        beamFile({"0", "4", "10", "13"}, {"11", "10", "10", "00"}, {{"-2", "0", "0"}, {"0", "-3", "1"}, {"0", "0", "0"}});
    const Case cases[] = {
        {simple, "1", "5"},      // on a tenth point: a unit load stands on the section
        {simple, "1", "4.95"},   // a tenth point within the hundredth to its right
        {simple, "1", "9.95"},
        {simple, "1", "0"},
        {three, "2", "3"},
        {three, "2", "2.97"},
        {three, "3", "1.5"},
        {three, "1", "0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.trecho + " " + c.pos);
        auto m = analysedBeam(c.file);
        const auto want = numbers(ComputeInfluenceReport(*m, c.trecho, c.pos, ""));
        const ExtendedBeam beam = VigaDoModelo(*m, "t");
        const auto got = numbers(RelatorioInfluenciaApoiada(SupportedSystem(VigaApoiada(beam)), c.trecho, c.pos));
        ASSERT_EQ(got.size(), want.size());
        for (std::size_t r = 0; r < got.size(); ++r)
            for (std::size_t k = 0; k < 5; ++k) EXPECT_NEAR(got[r][k], want[r][k], 2e-6) << "line " << r << " column " << k;
    }
}

struct PageCase {
    std::string beam;
    long n;
    double xs;
};

// The same ordinates to rounding give the same page, record for record: the
// frame of a beam without springs, settlements or hinges draws as the
// model's, and no ordinate here lies so near half a pixel that the two
// roads' last bits round it apart.
TEST(SupportedInfluence, PageOfTheAnalysisModel)
{
    const PageCase cases[] = {
        {simpleSpan(), 1, 5},
        {twoEqualSpans(), 1, 2},
        {twoEqualSpans(), 2, 4},  // a pinned end: the largest ordinate is the reference
        {beamFile({"0", "4", "6"}, {"10", "10", "00"}, {{"0", "0", "0"}, {"0", "0", "0"}}), 2, 1},
        {beamFile({"0", "5", "12"}, {"11", "10", "11"}, {{"0", "0", "0"}, {"0", "0", "0"}}), 2, 3.5},
        {simpleSpan(), 1, 0},  // zero everywhere: no page on either road
    };
    DiagramSettings s;
    for (const PageCase& c : cases) {
        SCOPED_TRACE(std::to_string(c.n) + " " + std::to_string(c.xs) + "\n" + c.beam);
        auto m = analysedBeam(c.beam);
        const SupportedBeam beam = VigaApoiada(VigaDoModelo(*m, "t"));
        const SupportedSystem system(beam);
        Recording specified;
        bool failed = false;
        try {
            DesenhaLinhaInfluencia(*m, s, std::to_string(c.n), std::to_string(c.xs), "", {}, specified);
        } catch (const ArithmeticError&) {
            failed = true;
        }
        if (failed) {
            EXPECT_THROW(DesenhaLinhaInfluenciaApoiada(system, FrameOf(beam), s, c.n, c.xs, ""),
                         ArithmeticError);
            continue;
        }
        const Recording supported = DesenhaLinhaInfluenciaApoiada(system, FrameOf(beam), s, c.n, c.xs, "");
        EXPECT_EQ(supported, specified);
    }
}

constexpr double Skip = std::numeric_limits<double>::quiet_NaN();

SupportedBeam supportedBeam(std::vector<SupportedNode> nodes)
{
    SupportedBeam b;
    b.nodes = std::move(nodes);
    b.spans.assign(b.nodes.size() - 1, {2.5e7, 0.0054});  // EI = 135000
    return b;
}

struct TrainCase {
    const char* name;
    SupportedBeam beam;
    BeamLoads loads;
    Train train;
    long n;
    double xs;
    double permanent, mMax, mMin, vMax, vMin;  // moment; the train's effects (Skip leaves one out)
};

// A settlement of a determinate span changes nothing; the middle support of
// two spans settling by d gives the sagging moment 3 EI d / L^2 there, and
// one axle the support's hogging line -a (L^2 - a^2) / (4 L^2), least at
// a = L / sqrt 3; a span hung between two hinges is simply supported, its
// own loads q L^2 / 8 + P L / 4 at the middle.
TEST(SupportedInfluence, TrainAgainstClosedForms)
{
    const double d = 0.01, L = 6;
    const TrainCase cases[] = {
        {"settled determinate span",
         supportedBeam({{0, 10, {}}, {10, 10, {0, 0, -d, 0, false}}}),
         {{}},
         {"eixo", 0, {{10, 0}}},
         1,
         5,
         0,
         25,
         0,
         5,
         -5},
        {"settled middle support",
         supportedBeam({{0, 10, {}}, {L, 10, {0, 0, -d, 0, false}}, {2 * L, 10, {}}}),
         {{}, {}},
         {"eixo", 0, {{10, 0}}},
         1,
         L,
         3 * 135000 * d / (L * L),
         0,
         -10 * L / (6 * std::sqrt(3.0)),
         Skip,
         Skip},
        {"suspended span between hinges",
         supportedBeam({{0, 11, {}},
                        {2, 10, {}},
                        {3, 0, {0, 0, 0, 0, true}},
                        {7, 0, {0, 0, 0, 0, true}},
                        {8, 10, {}},
                        {10, 11, {}}}),
         {{}, {}, {{LoadKind::Uniform, -12, 0, 0, 0}, {LoadKind::Point, -30, 0, 2, 0}}, {}, {}},
         {"TB", 5, {{150, 0}, {150, 1.5}, {150, 3}}},
         3,
         2,
         54,
         235,
         0,
         Skip,
         Skip},
    };
    for (const TrainCase& c : cases) {
        SCOPED_TRACE(c.name);
        const SupportedSystem system(c.beam);
        const SupportedResult r = system.solve(c.loads);
        SupportedTrainBeam beam(system, c.beam, r.curves);
        const TrainSection at = TrainAtSection(beam, c.train, c.n, c.xs);
        const auto expect = [](double got, double want) {
            if (!std::isnan(want)) {
                EXPECT_NEAR(got, want, 1e-7 * (1 + std::fabs(want)));
            }
        };
        expect(at.moment.permanent, c.permanent);
        expect(at.moment.largest.effect, c.mMax);
        expect(at.moment.smallest.effect, c.mMin);
        expect(at.moment.largest.total, c.permanent + c.mMax);
        expect(at.shear.largest.effect, c.vMax);
        expect(at.shear.smallest.effect, c.vMin);
        // The envelope holds the same section among its tenths.
        const std::vector<TrainSection> all = TrainEnvelope(beam, c.train);
        ASSERT_EQ(all.size(), 11 * c.beam.spans.size());
        const TrainSection& tenth = all[static_cast<std::size_t>(c.n - 1) * 11 + 5];
        if (c.xs * 2 == system.spanLength(static_cast<std::size_t>(c.n - 1)))
            expect(tenth.moment.smallest.total, at.moment.smallest.total);
    }
}

}  // namespace
}  // namespace kalvoro
