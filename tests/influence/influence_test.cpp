#include "influence/influence.h"

#include <gtest/gtest.h>

#include <charconv>
#include <filesystem>
#include <sstream>
#include <vector>

#include "data/text_file.h"
#include "engine/errors.h"
#include "test_beams.h"

namespace kalvoro {
namespace {

using namespace kalvoro::testing;

std::vector<std::string> linesOf(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find("\r\n", start);
        EXPECT_NE(end, std::string::npos) << "a line without CR LF";
        if (end == std::string::npos) break;
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

struct DataLine {
    long k;
    double d, vEsq, vDir, m;
};

// The data lines of a report, read back locale-free.
std::vector<DataLine> dataLines(const std::string& report)
{
    std::vector<DataLine> rows;
    const auto lines = linesOf(report);
    for (std::size_t i = 2; i < lines.size(); ++i) {
        if (lines[i].starts_with(" Trecho")) continue;
        std::istringstream words(lines[i]);
        std::string w[5];
        for (auto& x : w) words >> x;
        DataLine r{};
        double* reals[] = {&r.d, &r.vEsq, &r.vDir, &r.m};
        std::from_chars(w[0].data(), w[0].data() + w[0].size(), r.k);
        for (int j = 0; j < 4; ++j)
            std::from_chars(w[j + 1].data(), w[j + 1].data() + w[j + 1].size(), *reals[j]);
        rows.push_back(r);
    }
    return rows;
}

// The simply supported span of length 10 with the section at mid-span, against
// a report written out by hand from statics (reaction at A = 1 - d/10).
TEST(InfluenceReport, SimpleSpanMidSectionMatchesHandWrittenReport)
{
    TempFolder dir;
    auto m = analysedBeam(simpleSpan());
    const std::string report = ComputeInfluenceReport(*m, "1", "5", dir / "viga.vig");

    const std::string expectedBytes =
        readFileBytes(KALVORO_TEST_DATA "/influence/vao-simples-secao-5LIM.sai");
    EXPECT_EQ(report, cp1252ToUtf8(expectedBytes));
    EXPECT_EQ(readFileBytes(dir / "vigaLIM.sai"), expectedBytes);
    EXPECT_EQ(m->ReportFile, report);
}

// A unit load at the section counts in the shear just right of it but not in
// the shear at it; a load right of the section counts in neither, however
// close; the moment is continuous. Span of length 10, reaction at A = 1 - d/10;
// two spans of 10, load at 3 of the first: reaction at A = 0.7 - 0.06825.
TEST(InfluenceReport, UnitLoadAtOrJustRightOfTheSection)
{
    const std::string oneSpan = simpleSpan();
    const std::string twoSpans =
        beamFile({"0", "10", "20"}, {"10", "10", "10"}, {{"0", "0", "0"}, {"0", "0", "0"}});
    struct Case {
        const std::string& beam;
        const char* pos;
        int i;  // the position d = i on span 1
        double vEsq, vDir, m;
    };
    const Case cases[] = {
        {oneSpan, "3", 3, 0.7, -0.3, 2.1},      // load exactly at the section
        {oneSpan, "0", 0, 1.0, 0.0, 0.0},       // at the left support: the reaction just left of the load
        {oneSpan, "10", 10, 0.0, -1.0, 0.0},    // at the right support
        {oneSpan, "2.95", 3, 0.7, 0.7, 2.065},  // load less than L/100 right of the section
        {oneSpan, "3.2", 3, -0.3, -0.3, 2.04},  // load left of the section: both count it
        {oneSpan, "9.95", 10, 0.0, 0.0, 0.0},   // load on the support just right: no shear anywhere
        {twoSpans, "2.95", 3, 0.63175, 0.63175, 0.63175 * 2.95},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pos);
        TempFolder dir;
        auto m = analysedBeam(c.beam);
        const auto rows = dataLines(ComputeInfluenceReport(*m, "1", c.pos, dir / "v.vig"));
        ASSERT_GE(rows.size(), 11u);
        const DataLine& r = rows[static_cast<std::size_t>(c.i)];
        EXPECT_EQ(r.d, c.i);
        EXPECT_NEAR(r.vEsq, c.vEsq, 1e-6);
        EXPECT_NEAR(r.vDir, c.vDir, 1e-6);
        EXPECT_NEAR(r.m, c.m, 1e-6);
    }
}

TEST(InfluenceReport, LayoutOfTitlesBlocksAndColumns)
{
    struct Case {
        const char* trecho;
        const char* pos;
        const char* secondLine;
    };
    const Case cases[] = {
        {"1", "2.5", "para a seção à 2.500 m do trecho 1"},
        {"1", "-1.25", "para a seção à -1.250 m do trecho 1"},  // outside the span, reported all the same
        {"+2", "0.0004", "para a seção à 0.000 m do trecho 2"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.secondLine);
        TempFolder dir;
        auto m = analysedBeam(twoEqualSpans());
        const std::string report = ComputeInfluenceReport(*m, c.trecho, c.pos, dir / "dois.vig");
        const auto lines = linesOf(report);
        ASSERT_EQ(lines.size(), 2u + 12u * 2u);
        EXPECT_TRUE(report.ends_with("\r\n"));
        EXPECT_EQ(lines[0], "Linha de Influência de Esforços Cortantes e Momentos Fletores");
        EXPECT_EQ(lines[1], c.secondLine);
        for (int block = 0; block < 2; ++block) {
            const std::size_t h = 2 + 12 * static_cast<std::size_t>(block);
            EXPECT_EQ(lines[h], " Trecho  Posição Cortante esq. Cortante dir.       Momento");
            for (std::size_t i = 1; i <= 11; ++i) {
                const std::string& line = lines[h + i];
                EXPECT_EQ(line.size(), 58u) << line;
                EXPECT_EQ(line.substr(0, 7), "      " + std::to_string(block + 1)) << line;
            }
        }
        // Positions at every tenth of the span of length 4.
        const auto rows = dataLines(report);
        for (std::size_t i = 0; i < rows.size(); ++i)
            EXPECT_DOUBLE_EQ(rows[i].d, 0.4 * static_cast<double>(i % 11));
    }
}

TEST(InfluenceReport, ReportNameFollowsTheDataFile)
{
    TempFolder dir;
    std::filesystem::create_directory(dir.path() / "obra.2");
    std::filesystem::create_directory(dir.path() / ".config");
    struct Case {
        std::string dataFile, report;
    };
    const Case cases[] = {
        {dir / "viga.vig", dir / "vigaLIM.sai"},
        {dir / "viga", dir / "vigaLIM.sai"},
        {dir / "viga.v2.vig", dir / "vigaLIM.sai"},
        // A "." in a folder name does not cut the name: the report stays beside the data file.
        {dir / "obra.2/viga.vig", dir / "obra.2/vigaLIM.sai"},
        {dir / ".config/v.vig", dir / ".config/vLIM.sai"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dataFile);
        auto m = analysedBeam(simpleSpan());
        const std::string report = ComputeInfluenceReport(*m, "1", "5", c.dataFile);
        ASSERT_TRUE(std::filesystem::exists(c.report));
        EXPECT_EQ(cp1252ToUtf8(readFileBytes(c.report)), report);
        std::filesystem::remove(c.report);
    }

    // A beam never saved: "LIM.sai" in the current folder.
    TempFolder work;
    InFolder in(work.path());
    auto m = analysedBeam(simpleSpan());
    const std::string report = ComputeInfluenceReport(*m, "1", "5", "");
    EXPECT_EQ(cp1252ToUtf8(readFileBytes("LIM.sai")), report);
}

// Texts that are not numbers and section spans that are not load rows fail
// before anything is computed or written, and leave the user's beam as it was.
TEST(InfluenceReport, RefusedSectionsWriteNothing)
{
    struct Case {
        const char* trecho;
        const char* pos;
    };
    const Case cases[] = {{"0", "5"}, {"-1", "5"},  {"2", "5"}, {"401", "5"}, {"1x", "5"},
                          {"", "5"},  {"1", "5,0"}, {"1", ""},  {"1.0", "5"}, {"1", "cinco"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.trecho) + " / " + c.pos);
        TempFolder dir;
        auto m = analysedBeam(simpleSpan());
        auto fresh = analysedBeam(simpleSpan());
        EXPECT_THROW(ComputeInfluenceReport(*m, c.trecho, c.pos, dir / "viga.vig"), Error);
        EXPECT_FALSE(std::filesystem::exists(dir / "vigaLIM.sai"));
        expectSameLoadsAndSolution(*m, *fresh);
    }
}

// After the report, whether it was written or not, the model holds the user's
// loads and their solution exactly as a fresh analysis of the same beam.
TEST(InfluenceReport, LeavesTheUsersBeamSolved)
{
    struct Case {
        const char* name;
        bool folderExists;
    };
    for (const Case c : {Case{"written", true}, Case{"report cannot be written", false}}) {
        SCOPED_TRACE(c.name);
        TempFolder dir;
        const std::string dataFile = c.folderExists ? dir / "dois.vig" : dir / "sem-pasta/dois.vig";
        auto m = analysedBeam(twoEqualSpans());
        auto fresh = analysedBeam(twoEqualSpans());
        if (c.folderExists)
            ComputeInfluenceReport(*m, "2", "1", dataFile);
        else
            EXPECT_THROW(ComputeInfluenceReport(*m, "2", "1", dataFile), IoError);
        expectSameLoadsAndSolution(*m, *fresh);
    }
}

// Moment at the middle support of two equal spans L for a unit load at xi = x/L
// of span 1: M_B = -xi (1 - xi^2) L / 4; span 2 is the mirror image. The same
// section seen from span 2 (x = 0) gives the same line.
TEST(InfluenceLine, MiddleSupportOfTwoEqualSpansMatchesClosedForm)
{
    const double L = 4;
    const auto closed = [&](double xi) { return -xi * (1 - xi * xi) * L / 4; };
    struct Section {
        long n;
        double x;
    };
    auto m = analysedBeam(twoEqualSpans());
    for (const Section s : {Section{1, L}, Section{2, 0}}) {
        for (int i = 0; i <= 10; ++i) {
            const double xi = i / 10.0;
            double M1 = 99, M2 = 99, V = 99;
            ASSERT_TRUE(Li(*m, 1, s.n, xi * L, s.x, M1, V));
            ASSERT_TRUE(Li(*m, 2, s.n, xi * L, s.x, M2, V));
            EXPECT_NEAR(M1, closed(xi), 5e-7) << "span 1, xi " << xi << ", section on span " << s.n;
            EXPECT_NEAR(M2, closed(1 - xi), 5e-7) << "span 2, xi " << xi << ", section on span " << s.n;
        }
    }

    // The report walks the same positions, row k carrying the load.
    TempFolder dir;
    const auto rows = dataLines(ComputeInfluenceReport(*m, "1", "4", dir / "dois.vig"));
    ASSERT_EQ(rows.size(), 22u);
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const double xi = static_cast<double>(r % 11) / 10;
        EXPECT_EQ(rows[r].k, r < 11 ? 1 : 2);
        EXPECT_NEAR(rows[r].m, r < 11 ? closed(xi) : closed(1 - xi), 1e-6) << "row " << r;
    }
}

// A position that cannot be solved leaves the outputs untouched and the load
// rows as they were.
TEST(InfluenceLine, FailedPositionKeepsOutputsAndLoadRows)
{
    struct Case {
        const char* name;
        long k, n;
    };
    const Case cases[] = {
        {"section row without a span", 1, 5},
        {"load row beyond the model", 401, 1},
        {"section row beyond the model", 1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto m = analysedBeam(twoEqualSpans());
        auto fresh = analysedBeam(twoEqualSpans());
        double M = 7, V = -7;
        EXPECT_FALSE(Li(*m, c.k, c.n, 1.0, 1.0, M, V));
        EXPECT_EQ(M, 7);
        EXPECT_EQ(V, -7);
        for (long r = 1; r <= capacity::LoadRows; ++r)
            for (long j = 1; j <= 3; ++j)
                for (long lc = 1; lc <= capacity::LoadCases; ++lc)
                    ASSERT_EQ(m->LoadRowValue(r, j, lc), fresh->LoadRowValue(r, j, lc));
    }
}

}  // namespace
}  // namespace kalvoro
