// What the speed work on the solution and the influence lines must leave
// exactly as it was: the bits of the solutions, the model a solution leaves
// behind when the model held a larger beam before, and the load rows around
// the unit-load positions. Also the two helpers the fast paths lean on: the
// checked range of an array and the one-comparison checks of the arithmetic.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <map>
#include <string>
#include <vector>

#include <unistd.h>

#include "data/text_file.h"
#include "engine/arithmetic.h"
#include "engine/checked_array.h"
#include "solution_bits.h"

namespace kalvoro {
namespace {

const std::string Examples = KALVORO_EXAMPLES;
const std::string Data = KALVORO_SOLUTION_BITS;

// A folder of its own for the reports written beside a data file name in it,
// removed with everything in it afterwards.
struct TemporaryFolder {
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() / ("kalvoro-speed-guard-" + std::to_string(::getpid()));
    TemporaryFolder() { std::filesystem::create_directories(path); }
    ~TemporaryFolder() { std::filesystem::remove_all(path); }
};

std::unique_ptr<AnalysisModel> readBeam(const std::string& file)
{
    auto m = std::make_unique<AnalysisModel>();
    EXPECT_EQ(Abrir(file, *m, [](const std::string&) {}).status, 0) << file;
    return m;
}

// solution-bits.txt was recorded with the engine as it stood before its
// solution was made faster (every check inline, every array cleared whole);
// the overhang beam's lines were added before the influence lines stopped
// factoring the matrix once per position.
// After a change meant to change results, KALVORO_RECORD_SOLUTION_BITS=1 makes
// this test write the recording again instead of comparing with it.
TEST(SolutionBits, MatchTheRecordingOfTheUnchangedEngine)
{
    const std::map<std::string, std::string> beams = {
        {"vinte-e-quatro-trechos", Examples + "/vinte-e-quatro-trechos.vig"},
        {"tres-trechos", Examples + "/tres-trechos.vig"},
        {"vinte-trechos-misto", Data + "/vinte-trechos-misto.vig"},
        // Overhangs at both ends: free end nodes, negative moments from a load on them.
        {"balancos", Data + "/balancos.vig"},
    };
    const TemporaryFolder folder;
    const std::string beside = (folder.path / "viga.vig").string();
    if (std::getenv("KALVORO_RECORD_SOLUTION_BITS")) {
        std::string recording;
        for (const auto& [name, file] : beams)
            for (const std::string& line : test::solutionBits(file, beside))
                recording += name + " " + line + "\n";
        writeFileAtomically(Data + "/solution-bits.txt", recording);
        GTEST_SKIP() << "recorded " << Data << "/solution-bits.txt";
    }

    std::map<std::string, std::vector<std::string>> recorded;
    const std::string text = readFileBytes(Data + "/solution-bits.txt");
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = text.find('\n', at);
        const std::string line = text.substr(at, end - at);
        const std::size_t blank = line.find(' ');
        recorded[line.substr(0, blank)].push_back(line.substr(blank + 1));
        at = end == std::string::npos ? text.size() : end + 1;
    }
    ASSERT_EQ(recorded.size(), beams.size());

    for (const auto& [name, file] : beams) {
        SCOPED_TRACE(name);
        const std::vector<std::string> now = test::solutionBits(file, beside);
        const std::vector<std::string>& then = recorded[name];
        EXPECT_EQ(now.size(), then.size());
        for (std::size_t i = 0; i < now.size() && i < then.size(); ++i) ASSERT_EQ(now[i], then[i]);
    }
}

// Everything a solution leaves that anyone reads, bit for bit. The skyline is
// compared up to the last term of the beam: the terms above it are not
// cleared, since no routine reads them before clearing them again. Reactions
// are set for the beam's own support entries only, as they always were.
void expectSameSolution(const AnalysisModel& a, const AnalysisModel& b)
{
    const auto same = [](double x, double y) {
        return std::bit_cast<std::uint64_t>(x) == std::bit_cast<std::uint64_t>(y);
    };
    ASSERT_EQ(a.EquationCount, b.EquationCount);
    for (long j = 1; j <= a.EquationCount; ++j) ASSERT_EQ(a.DiagPointer[j], b.DiagPointer[j]);
    for (long p = 1; p <= a.DiagPointer[a.EquationCount]; ++p)
        ASSERT_TRUE(same(a.Skyline[p], b.Skyline[p])) << p;
    for (long g = 1; g <= capacity::Equations; ++g)
        for (long lc = 1; lc <= capacity::VectorLoadCases; ++lc)
            ASSERT_TRUE(same(a.LoadVector(g, lc), b.LoadVector(g, lc))) << g;
    ASSERT_EQ(a.SupportCount, b.SupportCount);
    for (long s = 1; s <= a.SupportCount; ++s)
        for (long d = 1; d <= 3; ++d) ASSERT_TRUE(same(a.Reaction(s, d), b.Reaction(s, d))) << s;
    for (long e = 1; e <= capacity::Elements; ++e) {
        ASSERT_TRUE(same(a.ElementStartShear[e], b.ElementStartShear[e])) << e;
        ASSERT_TRUE(same(a.ElementStartMoment[e], b.ElementStartMoment[e])) << e;
    }
    for (long n = 1; n <= capacity::MarkedNodes; ++n)
        for (long k = 1; k <= 3; ++k)
            ASSERT_TRUE(same(a.EquivalentNodalLoad(n, k), b.EquivalentNodalLoad(n, k)));
}

TEST(RepeatedSolutions, ABeamReadAfterALargerOneSolvesAsInAFreshModel)
{
    struct Case {
        const char* before;
        const char* after;
    };
    const Case cases[] = {
        {"/vinte-e-quatro-trechos.vig", "/dois-trechos.vig"},
        {"/vinte-e-quatro-trechos.vig", "/tres-trechos.vig"},
        {"/tres-trechos.vig", "/dois-trechos.vig"},
        {"/dois-trechos.vig", "/vinte-e-quatro-trechos.vig"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.before) + " then " + c.after);
        auto reused = readBeam(Examples + c.before);
        SolveBeam(*reused);
        double M = 0, V = 0;
        ASSERT_TRUE(Li(*reused, 1, 1, 0.5, 0.5, M, V));
        ASSERT_EQ(Abrir(Examples + c.after, *reused, [](const std::string&) {}).status, 0);
        SolveBeam(*reused);

        auto fresh = readBeam(Examples + c.after);
        SolveBeam(*fresh);
        expectSameSolution(*reused, *fresh);
    }
}

// The load rows as a whole clear and a whole copy of load case 1 would leave
// them: the other load cases zero once a position has been solved, load case 1
// back bit for bit (-0.0 included), whether the position is solved or not.
TEST(InfluenceLoadRows, OtherLoadCasesClearedAndLoadCaseOneRestored)
{
    struct Case {
        const char* name;
        long k, n;
        bool solves;
    };
    const Case cases[] = {
        {"a position that is solved", 2, 1, true},
        {"a section row without a span", 1, 40, false},
        {"a load row beyond the model", 401, 1, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto m = readBeam(Examples + "/tres-trechos.vig");
        SolveBeam(*m);
        m->LoadRowValue(2, 1, 1) = -0.0;
        m->LoadRowValue(7, 3, 1) = 2.5;  // a row beyond the beam's own
        m->LoadRowValue(1, 2, 4) = 9.0;  // other load cases: the reader never fills them
        m->LoadRowValue(400, 3, 25) = -1.0;
        std::vector<double> caseOne;
        for (long r = 1; r <= capacity::LoadRows; ++r)
            for (long k = 1; k <= 3; ++k) caseOne.push_back(m->LoadRowValue(r, k, 1));

        double M = 7, V = -7;
        EXPECT_EQ(Li(*m, c.k, c.n, 1.0, 1.0, M, V), c.solves);
        if (!c.solves) {
            EXPECT_EQ(M, 7);
        }

        std::size_t i = 0;
        for (long r = 1; r <= capacity::LoadRows; ++r)
            for (long k = 1; k <= 3; ++k, ++i)
                ASSERT_EQ(std::bit_cast<std::uint64_t>(m->LoadRowValue(r, k, 1)),
                          std::bit_cast<std::uint64_t>(caseOne[i]))
                    << "row " << r;
        EXPECT_EQ(m->LoadRowValue(1, 2, 4), 0.0);
        EXPECT_EQ(m->LoadRowValue(400, 3, 25), 0.0);
    }
}

TEST(CheckedRange, BothEndsAreCheckedOnceAndTheViewIsTheArray)
{
    Array1<int, 10> a{"a"};
    for (long i = 1; i <= 10; ++i) a[i] = static_cast<int>(i);

    struct Case {
        long first, last;
        bool fails;
        long size;
    };
    const Case cases[] = {
        {1, 10, false, 10}, {4, 4, false, 1},  {7, 6, false, 0},   {0, 3, true, 0},
        {3, 11, true, 0},   {11, 11, true, 0}, {-5, -6, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.first) + ".." + std::to_string(c.last));
        if (c.fails) {
            EXPECT_THROW(a.range(c.first, c.last), IndexError);
            continue;
        }
        const auto view = a.range(c.first, c.last);
        ASSERT_EQ(static_cast<long>(view.size()), c.size);
        if (c.size > 0) {
            EXPECT_EQ(view.front(), c.first);
        }
    }
    a.range(2, 3)[1] = 30;
    EXPECT_EQ(a[3], 30);
}

TEST(CheckedArithmetic, OneComparisonKeepsEveryRefusal)
{
    const Real largest = std::numeric_limits<double>::max();
    const Real nan = std::numeric_limits<Real>::quiet_NaN();
    const Real inf = std::numeric_limits<Real>::infinity();
    const std::string overflow = "estouro de ponto flutuante";
    const std::string invalid = "operação de ponto flutuante inválida";

    // store: the largest double passes, a hair above it does not.
    EXPECT_EQ(store(largest), std::numeric_limits<double>::max());
    EXPECT_EQ(store(-largest), -std::numeric_limits<double>::max());
    EXPECT_TRUE(std::signbit(store(-0.0L)));
    struct Refusal {
        Real value;
        const std::string& message;
    };
    for (const Refusal& r : {Refusal{std::nextafter(largest, inf), overflow}, Refusal{-inf, overflow},
                             Refusal{inf, overflow}, Refusal{nan, invalid}}) {
        try {
            store(r.value);
            ADD_FAILURE() << "stored " << static_cast<double>(r.value);
        } catch (const ArithmeticError& e) {
            EXPECT_EQ(e.what(), r.message);
        }
    }

    // div: a zero divisor and an overflowing quotient fail; a quotient of an
    // infinite or NaN dividend is returned as it is.
    EXPECT_THROW(div(1, 0.0L), ArithmeticError);
    EXPECT_THROW(div(1, -0.0L), ArithmeticError);
    EXPECT_THROW(div(std::numeric_limits<Real>::max(), 0.5L), ArithmeticError);
    EXPECT_EQ(div(inf, 2), inf);
    EXPECT_TRUE(std::isnan(div(nan, 2)));
    EXPECT_EQ(div(6, 3), 2);

    // root: -0.0 is its own root; anything below it and NaN fail.
    EXPECT_TRUE(std::signbit(root(-0.0L)));
    EXPECT_EQ(root(0.25L), 0.5L);
    EXPECT_THROW(root(-std::numeric_limits<Real>::denorm_min()), ArithmeticError);
    EXPECT_THROW(root(nan), ArithmeticError);
}

}  // namespace
}  // namespace kalvoro
