// Report fields and the results report, the latter against a file written by
// hand from the closed-form values.

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "beam_builder.h"
#include "engine/engine.h"
#include "engine/report.h"
#include "engine/text_fields.h"

namespace kalvoro {
namespace {

using test::makeBeam;

TEST(TextFields, Reals)
{
    struct Case {
        double v;
        int w, d;
        const char* text;
    };
    const Case cases[] = {
        {-1e-30, 14, 8, "   -0.00000000"},  // the sign of the value, not of its rounded digits
        {0.0, 14, 8, "    0.00000000"},
        {-0.0, 11, 4, "     0.0000"},
        {1e-30, 11, 4, "     0.0000"},
        {-0.02083333333, 14, 8, "   -0.02083333"},
        {0.375, 11, 4, "     0.3750"},
        {9.99996, 11, 4, "    10.0000"},  // rounding carries into a new digit
        {-2.5, 4, 1, "-2.5"},
        {-12345.678, 6, 2, "-12345.68"},  // too wide: written whole
        {1e20, 11, 4, "100000000000000000000.0000"},
        {3.0, 5, 0, "    3"},
        // Exact binary ties go to the even digit: 9/128 is the two-span
        // beam's largest moment.
        {0.0703125, 11, 4, "     0.0703"},
        {2.5, 3, 0, "  2"},
        {0.375, 5, 2, " 0.38"},
    };
    for (const auto& c : cases) EXPECT_EQ(fieldReal(c.v, c.w, c.d), c.text) << c.v;
}

TEST(TextFields, IntegersAndTexts)
{
    EXPECT_EQ(fieldInt(5, 4), "   5");
    EXPECT_EQ(fieldInt(-12, 2), "-12");
    EXPECT_EQ(fieldInt(123456, 6), "123456");
    EXPECT_EQ(padText("Rotação", 14), "       Rotação");  // 7 characters, 9 bytes
    EXPECT_EQ(padText("Trecho", 6), "Trecho");
    EXPECT_EQ(padText("Trecho", 0), "Trecho");
    EXPECT_EQ(padText("no", 4), "  no");
}

// Windows-1252 as it is on disk to UTF-8. The report uses only the letters of
// Latin-1 (0xA0 to 0xFF), which are the same code points.
std::string fromCp1252(const std::string& bytes)
{
    std::string out;
    for (const char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        if (b < 0x80) {
            out += ch;
        } else {
            EXPECT_GE(b, 0xA0) << "unexpected byte";
            out += static_cast<char>(0xC0 | (b >> 6));
            out += static_cast<char>(0x80 | (b & 0x3F));
        }
    }
    return out;
}

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    EXPECT_TRUE(in) << path;
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(Resultados, TwoSpansMatchTheHandWrittenReport)
{
    auto m = makeBeam({{1, -1}, {1, -1}}, {10, 10, 10});
    ColunasAltura(*m);
    MontaRigidez(*m);
    MontaCargas(*m);
    AplicaApoios(*m);
    ResolveSistema(*m);
    Resultados(*m);
    EXPECT_EQ(m->ReportFile, fromCp1252(readFile(KALVORO_TEST_DATA "/dois-trechos.sai")));
}

TEST(Resultados, OneSpanLayout)
{
    auto m = makeBeam({{1, -1}}, {10, 10});
    SolveBeam(*m);
    m->ReportFile = "before\r\n";
    EscreveRelatorio(*m);
    const std::string& r = m->ReportFile;
    ASSERT_EQ(r.rfind("before\r\n", 0), 0u);  // appended, not replaced

    long lines = 0;
    for (std::size_t p = 0; (p = r.find("\r\n", p)) != std::string::npos; p += 2) ++lines;
    EXPECT_EQ(lines, 1 + (2 + 3) + (1 + 3) + (1 + 3) + (1 + 2));
    EXPECT_EQ(r.find('\n'), r.find("\r\n") + 1);  // no bare line feeds
    // The last row is block 4's, with its line end and no empty line after it.
    ASSERT_GE(r.size(), 4u);
    EXPECT_EQ(r.substr(r.size() - 2), "\r\n");
    EXPECT_NE(r.substr(r.size() - 4), "\r\n\r\n");
    EXPECT_EQ(r.substr(r.rfind("\r\n", r.size() - 3) + 2, 6), "     1");
}

TEST(Resultados, FailuresLeaveTheLinesWrittenSoFar)
{
    auto m = makeBeam({{1, -1}, {1, -1}}, {10, 10, 10});
    SolveBeam(*m);
    m->Coord(3, 1) = m->Coord(2, 1);  // span 2 of length 0
    EXPECT_THROW(EscreveRelatorio(*m), ArithmeticError);
    // Block 1 and the span 1 row of block 2.
    const std::string& r = m->ReportFile;
    EXPECT_EQ(r.substr(r.size() - 2), "\r\n");
    EXPECT_EQ(r.substr(r.rfind("\r\n", r.size() - 3) + 2, 6), "     1");
}

// A uniform load and a concentrated load of opposite senses: the shear changes
// sign on both sides of the load, and the extreme lies at the zero right of it.
// Expected values from statics (one span: V(0) = -7, M = -7x + x^2 left of the
// load, zeros of the shear at 3.5 and 6).
TEST(Resultados, MomentExtremeAtTheZeroOfTheShearRightOfTheLoad)
{
    struct Case {
        const char* name;
        std::vector<test::Span> spans;
        std::vector<int> codes;
        int span;
        bool smallest;            // "Max. M-" and its position, else "Max. M+"
        const char* valueAndPos;  // the two fields of the report
    };
    const Case cases[] = {
        {"uplift with a hanging load", {{10, 2, -5, 4}}, {10, 10}, 1, true, "   -16.0000     6.0000"},
        {"the same reversed", {{10, -2, 5, 4}}, {10, 10}, 1, false, "    16.0000     6.0000"},
        {"propped first of two spans",
         {{8, 3, -20, 3}, {6, -4}},
         {11, 10, 10},
         1,
         true,
         "   -10.4414     6.7324"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto m = makeBeam(c.spans, c.codes);
        SolveBeam(*m);
        EscreveRelatorio(*m);
        const std::string& r = m->ReportFile;
        std::size_t at = r.find("--------Máximos Momentos nos Trechos");
        ASSERT_NE(at, std::string::npos);
        for (int skip = 0; skip < 1 + c.span; ++skip) at = r.find("\r\n", at) + 2;
        const std::string row = r.substr(at, r.find("\r\n", at) - at);
        ASSERT_EQ(row.size(), 50u) << row;
        EXPECT_EQ(row.substr(c.smallest ? 28 : 6, 22), c.valueAndPos) << row;
    }
}

}  // namespace
}  // namespace kalvoro
