#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "diagrams/diagram_settings.h"
#include "diagrams/recording.h"
#include "diagrams/wmf.h"
#include "engine/errors.h"
#include "influence/influence.h"
#include "test_beams.h"

namespace kalvoro {
namespace {

using namespace kalvoro::testing;

// The pen moves and lines drawn with one pen colour, in order.
std::vector<DrawOp> opsWithPen(const Recording& r, Color color)
{
    std::vector<DrawOp> out;
    bool on = false;
    for (const DrawOp& op : r.ops) {
        if (const auto* pen = std::get_if<op::Pen>(&op)) on = pen->color == color;
        if (on && (std::holds_alternative<op::MoveTo>(op) || std::holds_alternative<op::LineTo>(op)))
            out.push_back(op);
    }
    return out;
}

Recording drawn(AnalysisModel& m, const char* trecho, const char* pos, const std::string& dataFile = "")
{
    Recording page;
    std::vector<std::string> messages;
    EXPECT_TRUE(DesenhaLinhaInfluencia(
        m, DiagramSettings{}, trecho, pos, dataFile, [&](const std::string& t) { messages.push_back(t); },
        page));
    EXPECT_TRUE(messages.empty());
    return page;
}

// Span of length 10, section at 5, page 534 x 288, moment page 501 wide:
// M_ref = 2.5, s_y = 288 / 7.5 = 38.4, G = 144; s_x = 501 / 12 = 41.75, so the
// span runs from column 20 to 438. The step 10/64 is exact, so there are 64
// points before the end point, and the moment at X, X/2 up to mid-span, is
// drawn 3 j pixels below the axis at point j.
TEST(InfluenceDiagram, SimpleSpanWorkedExample)
{
    auto m = analysedBeam(simpleSpan());
    const Recording page = drawn(*m, "1", "5");
    EXPECT_EQ(page.width, 534);
    EXPECT_EQ(page.height, 288);
    ASSERT_FALSE(page.ops.empty());
    EXPECT_EQ(page.ops.front(), DrawOp(op::FillRect{0, 0, 535, 289, colors::White}));

    // Axis on row 144, from column 20 to column 438.
    const auto navy = opsWithPen(page, colors::Navy);
    ASSERT_GE(navy.size(), 2u);
    EXPECT_EQ(navy[0], DrawOp(op::MoveTo{20, 144}));
    EXPECT_EQ(navy[1], DrawOp(op::LineTo{438, 144}));

    std::vector<DrawOp> curve{op::MoveTo{20, 144}};
    for (int j = 0; j < 64; ++j) {
        const int column = static_cast<int>(std::nearbyint(20 + j * 0.15625 * 41.75));
        curve.push_back(op::LineTo{column, 144 + 3 * std::min(j, 64 - j)});
    }
    curve.push_back(op::LineTo{438, 144});  // the unit load on the right support
    curve.push_back(op::LineTo{438, 144});  // back to the axis
    EXPECT_EQ(opsWithPen(page, colors::Blue), curve);
    EXPECT_EQ(curve[33], DrawOp(op::LineTo{229, 240}));  // the peak, 96 pixels below the axis

    EXPECT_EQ(opsWithPen(page, colors::Green), (std::vector<DrawOp>{op::LineTo{20, 144}}));

    ASSERT_GE(page.ops.size(), 2u);
    EXPECT_EQ(page.ops[page.ops.size() - 2], DrawOp(op::Font{"Times New Roman", 18}));
    EXPECT_EQ(page.ops.back(), DrawOp(op::Text{0, 0, "Linha de Influência (trecho:1 seção:5)"}));
}

TEST(InfluenceDiagram, TitleShowsTheAbscissaWithoutSign)
{
    struct Case {
        const char* trecho;
        const char* pos;
        const char* title;
    };
    const Case cases[] = {
        {"1", "2.5", "Linha de Influência (trecho:1 seção:2.5)"},
        {"1", "-2.5", "Linha de Influência (trecho:1 seção:2.5)"},
        {"1", "2.500", "Linha de Influência (trecho:1 seção:2.5)"},
        {"+1", "1.23456789", "Linha de Influência (trecho:1 seção:1.234568)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pos);
        auto m = analysedBeam(simpleSpan());
        const Recording page = drawn(*m, c.trecho, c.pos);
        ASSERT_FALSE(page.ops.empty());
        EXPECT_EQ(page.ops.back(), DrawOp(op::Text{0, 0, c.title}));
    }
}

// Texts that are not numbers and spans out of range are told to the user and
// draw nothing; the lower bound is 0, which fails later like any other error.
TEST(InfluenceDiagram, RefusedInputsDrawNothing)
{
    struct Case {
        const char* trecho;
        const char* pos;
        const char* message;  // nullptr: an error is thrown instead
    };
    const Case cases[] = {
        {"um", "5", "Trecho inválido e/ou seção inválida"},
        {"1", "5,5", "Trecho inválido e/ou seção inválida"},
        {"", "", "Trecho inválido e/ou seção inválida"},
        {"-1", "5", "Trecho inválido"},
        {"2", "5", "Trecho inválido"},
        {"0", "5", nullptr},
        // A pinned end: the moment there is zero, up to rounding noise, for every
        // position of the load, so the scale is infinite or absurd.
        {"1", "0", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.trecho) + " / " + c.pos);
        TempFolder dir;
        auto m = analysedBeam(simpleSpan());
        auto fresh = analysedBeam(simpleSpan());
        const Recording before{7, 7, {op::MoveTo{1, 2}}};
        Recording page = before;
        std::vector<std::string> messages;
        const auto sink = [&](const std::string& t) { messages.push_back(t); };
        if (c.message) {
            EXPECT_FALSE(
                DesenhaLinhaInfluencia(*m, DiagramSettings{}, c.trecho, c.pos, dir / "viga.vig", sink, page));
            EXPECT_EQ(messages, std::vector<std::string>{c.message});
        } else {
            EXPECT_THROW(
                DesenhaLinhaInfluencia(*m, DiagramSettings{}, c.trecho, c.pos, dir / "viga.vig", sink, page),
                Error);
            EXPECT_TRUE(messages.empty());
        }
        EXPECT_EQ(page, before);
        EXPECT_FALSE(std::filesystem::exists(dir / "vigaLIM.wmf"));
        expectSameLoadsAndSolution(*m, *fresh);
    }
}

// The reference ordinate, when the section's own span gives none or almost
// none: a pinned end (every moment rounding noise) fails; an overhang, whose
// section sees no moment from a load on or right of it, is scaled on its
// largest ordinate; a tiny but true reference sends the stiff span's curve
// millions of rows away, and those lines are cut at the metafile's range.
TEST(InfluenceDiagram, ReferenceOrdinateThatCountsAsZero)
{
    auto pinned = analysedBeam(simpleSpan());
    Recording none;
    EXPECT_THROW(DesenhaLinhaInfluencia(*pinned, DiagramSettings{}, "1", "10", "", nullptr, none), Error);

    // Overhang of 1 on nodes coded 00, 10, 10, section at its middle: the
    // largest ordinate, -0.5 with the load at the free end, a third of the
    // page height (96 rows) above the axis (row 144).
    auto overhang =
        analysedBeam(beamFile({"0", "1", "5"}, {"00", "10", "10"}, {{"-1", "0", "0"}, {"-1", "0", "0"}}));
    const auto over = opsWithPen(drawn(*overhang, "1", "0.5"), colors::Blue);
    ASSERT_GE(over.size(), 2u);
    EXPECT_EQ(over[0], DrawOp(op::MoveTo{20, 144}));
    EXPECT_EQ(over[1], DrawOp(op::LineTo{20, 48}));
    for (const DrawOp& o : over)
        EXPECT_GE(
            std::holds_alternative<op::LineTo>(o) ? std::get<op::LineTo>(o).y : std::get<op::MoveTo>(o).y,
            48);

    // Span 1 of 0.0002 fixed at its left end, section at its middle: M_ref is
    // about 2.5e-5, span 2 of 10 reaches -0.48.
    TempFolder dir;
    auto tiny = analysedBeam(
        beamFile({"0", "0.0002", "10"}, {"11", "10", "10"}, {{"-1", "0", "0"}, {"-1", "0", "0"}}));
    Recording page;
    ASSERT_TRUE(
        DesenhaLinhaInfluencia(*tiny, DiagramSettings{}, "1", "0.0001", dir / "fina.vig", nullptr, page));
    EXPECT_EQ(readWmfFile(dir / "finaLIM.wmf"), page);
    const auto blue = opsWithPen(page, colors::Blue);
    ASSERT_GE(blue.size(), 34u);
    EXPECT_EQ(blue[33],
              DrawOp(op::LineTo{20, 240}));  // the reference itself, a third of the page below the axis
    // Span 2 leaves the axis at column 20, is cut at row -32768 on its way up
    // and comes back down to the axis at its right node, column 438.
    const std::vector<DrawOp> span2(blue.end() - 6, blue.end());
    EXPECT_EQ(span2[0], DrawOp(op::MoveTo{20, 144}));
    EXPECT_EQ(span2[1], DrawOp(op::LineTo{20, 144}));
    EXPECT_EQ(std::get<op::LineTo>(span2[2]).y, -32768);
    EXPECT_EQ(std::get<op::MoveTo>(span2[3]).y, -32768);
    EXPECT_EQ(span2[4], DrawOp(op::LineTo{438, 144}));
    EXPECT_EQ(span2[5], DrawOp(op::LineTo{438, 144}));
}

// After the drawing the model holds the user's loads and solution again, as a
// fresh analysis of the beam would.
TEST(InfluenceDiagram, LeavesTheUsersBeamSolved)
{
    auto m = analysedBeam(twoEqualSpans());
    auto fresh = analysedBeam(twoEqualSpans());
    drawn(*m, "2", "1");
    expectSameLoadsAndSolution(*m, *fresh);
}

TEST(InfluenceDiagram, SavedBesideTheDataFileOnlyWhenNamed)
{
    TempFolder dir;
    auto m = analysedBeam(twoEqualSpans());
    Recording page;
    ASSERT_TRUE(
        DesenhaLinhaInfluencia(*m, DiagramSettings{}, "1", "2", dir / "dois.vig", nullptr, page, true));
    EXPECT_EQ(readWmfFile(dir / "doisLIM.wmf"), page);
    EXPECT_TRUE(std::filesystem::exists(dir / "doisLIM.svg"));

    // An unnamed beam is drawn but not saved.
    TempFolder work;
    InFolder in(work.path());
    Recording unnamed;
    ASSERT_TRUE(DesenhaLinhaInfluencia(*m, DiagramSettings{}, "1", "2", "", nullptr, unnamed, true));
    EXPECT_EQ(unnamed, page);
    EXPECT_TRUE(std::filesystem::is_empty(work.path()));

    // A folder that does not exist: the page is complete, only the file fails.
    Recording unsaved;
    EXPECT_THROW(
        DesenhaLinhaInfluencia(*m, DiagramSettings{}, "1", "2", dir / "falta/dois.vig", nullptr, unsaved),
        IoError);
    EXPECT_EQ(unsaved, page);
}

// An independent reader opens the metafile.
TEST(InfluenceDiagram, MetafileOpensInWmf2svg)
{
    if (std::system("command -v wmf2svg > /dev/null 2>&1") != 0)
        FAIL() << "wmf2svg not found: install the Debian package libwmf-bin to check the metafiles";
    TempFolder dir;
    auto m = analysedBeam(beamFile({"0", "3", "7.5", "10"}, {"11", "10", "10", "10"},
                                   {{"-1", "0", "0"}, {"0", "-2", "1"}, {"0", "0", "0"}}));
    Recording page;
    ASSERT_TRUE(DesenhaLinhaInfluencia(*m, DiagramSettings{}, "2", "2.25", dir / "tres.vig", nullptr, page));
    const std::string command = "wmf2svg -o '" + (dir / "out.svg") + "' '" + (dir / "tresLIM.wmf") + "' 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    EXPECT_GT(std::filesystem::file_size(dir / "out.svg"), 0u);
}

}  // namespace
}  // namespace kalvoro
