// The solutions through one factor against fresh solutions of the beam: the
// whole model a position leaves, bit for bit, and the diagram drawn with the
// report's positions against the one that solves every point itself.

#include "influence/unit_load_solver.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <memory>
#include <string>
#include <variant>

#include "data/beam_file.h"
#include "engine/errors.h"
#include "influence/influence.h"
#include "test_beams.h"

namespace kalvoro {
namespace {

using namespace kalvoro::testing;

const std::string Examples = KALVORO_EXAMPLES;
const std::string Data = KALVORO_TEST_DATA;

std::unique_ptr<AnalysisModel> calculated(const std::string& file)
{
    auto m = std::make_unique<AnalysisModel>();
    EXPECT_EQ(Abrir(file, *m, [](const std::string&) {}).status, 0) << file;
    SolveBeam(*m);
    return m;
}

bool same(double a, double b)
{
    return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

TEST(UnitLoadSolver, EachPositionLeavesTheModelAsAFreshSolutionWould)
{
    struct Case {
        std::string file;
        long k;
        double d;
        bool solves;
    };
    const std::string balancos = Data + "/solution_bits/balancos.vig";
    const std::string vinte = Examples + "/vinte-e-quatro-trechos.vig";
    // Row 2 at 40 stands beyond its span, as an axle of a train may; row 6 is
    // beyond the beam's rows, which NovaCarga never reads.
    const Case cases[] = {
        {vinte, 1, 0.0, true},       {vinte, 12, 2.7, true},    {vinte, 24, 6.0, true},
        {balancos, 1, 0.0, true},    {balancos, 1, 2.5, true},  {balancos, 5, 1.3, true},
        {balancos, 3, -0.0, true},   {balancos, 2, 40.0, true}, {balancos, 6, 1.0, true},
        {balancos, 401, 1.0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file + " row " + std::to_string(c.k) + " d " + std::to_string(c.d));
        auto m = calculated(c.file);
        auto fresh = std::make_unique<AnalysisModel>(*m);
        UnitLoadSolver solver(*m);
        // Another position first: nothing of it may show in the next one.
        solver.solve(2, 1.0);
        if (!c.solves) {
            EXPECT_THROW(solver.solve(c.k, c.d), Error);
            continue;
        }
        solver.solve(c.k, c.d);

        fresh->LoadRowValue.fill(0.0);
        fresh->LoadRowValue(c.k, 2, 1) = -1.0;
        fresh->LoadRowValue(c.k, 3, 1) = c.d;
        NovaCarga(*fresh);
        SolveBeam(*fresh);
        expectSameLoadsAndSolution(*m, *fresh);
        for (long p = 1; p <= m->DiagPointer[m->EquationCount]; ++p)
            ASSERT_TRUE(same(m->Skyline[p], fresh->Skyline[p])) << "term " << p;
        for (long i = 1; i <= 4; ++i) {
            ASSERT_TRUE(same(m->ElementDisp[i], fresh->ElementDisp[i]));
            ASSERT_TRUE(same(m->ElementForce[i], fresh->ElementForce[i]));
        }

        // The section forces are Li's.
        for (const long n : {1L, 2L}) {
            double M = 0, V = 0, liM = 0, liV = 0;
            ASSERT_TRUE(solver.sectionForces(n, 1.5, M, V));
            auto other = std::make_unique<AnalysisModel>(*fresh);
            ASSERT_TRUE(Li(*other, c.k, n, c.d, 1.5, liM, liV));
            EXPECT_TRUE(same(M, liM) && same(V, liV)) << "section on row " << n;
        }
    }
}

TEST(UnitLoadSolver, ABeamThatCannotBeSolvedFailsAtOnceAndKeepsTheUserRows)
{
    // Two spans on one pinned support: a mechanism whatever the load.
    auto m = std::make_unique<AnalysisModel>();
    ASSERT_EQ(AbrirTexto(utf8ToCp1252(beamFile({"0", "4", "8"}, {"10", "00", "00"},
                                               {{"-2", "0", "0"}, {"0", "-3", "1"}})),
                         *m, [](const std::string&) {})
                  .status,
              0);
    EXPECT_THROW(UnitLoadSolver{*m}, EngineError);
    EXPECT_EQ(m->LoadRowValue(1, 1, 1), -2.0);
    EXPECT_EQ(m->LoadRowValue(2, 2, 1), -3.0);
    EXPECT_EQ(m->LoadRowValue(2, 3, 1), 1.0);
}

// The points of the diagram that the report has solved are the same bits when
// taken from it; so is everything else on the page.
TEST(UnitLoadSolver, TheDiagramDrawsTheSameWithTheReportsPositions)
{
    const TempFolder folder;
    for (const std::string& file :
         {Examples + "/vinte-e-quatro-trechos.vig", Data + "/solution_bits/balancos.vig"}) {
        SCOPED_TRACE(file);
        auto m = calculated(file);
        SolvedPositions solved;
        ComputeInfluenceReport(*m, "2", "1.5", folder / "viga.vig", &solved);
        Recording shared, alone;
        ASSERT_TRUE(
            DesenhaLinhaInfluencia(*m, DiagramSettings{}, "2", "1.5", "", nullptr, shared, false, &solved));
        ASSERT_TRUE(DesenhaLinhaInfluencia(*m, DiagramSettings{}, "2", "1.5", "", nullptr, alone));
        ASSERT_EQ(shared.ops.size(), alone.ops.size());
        for (std::size_t i = 0; i < shared.ops.size(); ++i) {
            const auto* a = std::get_if<op::LineTo>(&shared.ops[i]);
            const auto* b = std::get_if<op::LineTo>(&alone.ops[i]);
            ASSERT_EQ(a == nullptr, b == nullptr) << i;
            if (a) {
                ASSERT_EQ(a->x, b->x) << i;
                ASSERT_EQ(a->y, b->y) << i;
            }
        }
        // Positions of another section are not taken.
        EXPECT_FALSE(solved.holds(2, 1.25));
        EXPECT_FALSE(solved.holds(3, 1.5));
    }
}

}  // namespace
}  // namespace kalvoro
