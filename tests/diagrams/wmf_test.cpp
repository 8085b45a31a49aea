// The placeable WMF writer and reader: exact bytes of a small page written by
// hand, the header fields, writer -> reader round trips, files of other writers,
// and what the writer refuses.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "data/text_file.h"
#include "diagrams/recording.h"
#include "diagrams/wmf.h"
#include "engine/errors.h"
#include "wmf_test_util.h"

namespace kalvoro {
namespace {

using namespace kalvoro::test;

// A 32-byte face name as parameter words.
std::vector<std::uint16_t> face32(const std::string& name)
{
    std::string f = name;
    f.resize(32, '\0');
    return textWords(f);
}

std::vector<std::uint16_t> concat(std::vector<std::uint16_t> a, const std::vector<std::uint16_t>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

Recording smallPage()
{
    RecordingCanvas c(400, 200);
    c.fillRect(0, 0, 401, 201, colors::White);
    c.setPen(colors::Navy, 1);
    c.moveTo(10, 20);
    c.lineTo(30, 40);
    c.setFont("Times New Roman", 18);
    c.textOut(5, 6, "ção");
    c.setPen(colors::Red, 2);
    c.fillRect(1, 2, 3, 4, colors::White);
    c.setFont("Arial", 15);
    c.fillRect(7, 8, 9, 10, colors::Green);
    return c.take();
}

// The small page record by record. Object slots: white brush 0, null pen 1,
// navy pen 2, font 3, red pen 4 (navy freed), Arial reuses 2 (font 3 freed),
// green brush reuses 3 (white brush freed): five slots at the peak.
std::string smallPageBytes()
{
    const std::uint16_t logfont[] = {0, 0, 0, 400, 0, 0, 0, 0};  // width .. pitch, charset 0
    auto font = [&](std::uint16_t h, const std::string& face) {
        std::vector<std::uint16_t> w{h};
        w.insert(w.end(), std::begin(logfont), std::end(logfont));
        return record(0x02FB, concat(w, face32(face)));
    };
    return placeableFile(0, 0, 400, 200, 96, 5,
                         {
                             record(0x0103, {8}),                        // SETMAPMODE anisotropic
                             record(0x020B, {0, 0}),                     // SETWINDOWORG y, x
                             record(0x020C, {200, 400}),                 // SETWINDOWEXT cy, cx
                             record(0x02FC, {0, 0xFFFF, 0x00FF, 0}),     // white brush -> 0
                             record(0x012D, {0}),                        //
                             record(0x02FA, {5, 0, 0, 0, 0}),            // null pen -> 1
                             record(0x012D, {1}),                        //
                             record(0x041B, {201, 401, 0, 0}),           // RECTANGLE b, r, t, l
                             record(0x02FA, {0, 1, 0, 0x0000, 0x0080}),  // navy pen -> 2
                             record(0x012D, {2}),                        //
                             record(0x0214, {20, 10}),                   // MOVETO y, x
                             record(0x0213, {40, 30}),                   // LINETO y, x
                             font(18, "Times New Roman"),                // -> 3
                             record(0x012D, {3}),                        //
                             record(0x0102, {2}),                        // SETBKMODE opaque
                             record(0x0201, {0xFFFF, 0x00FF}),           // SETBKCOLOR white
                             record(0x0209, {0, 0}),                     // SETTEXTCOLOR black
                             record(0x0521, {3, 0xE3E7, 0x006F, 6, 5}),  // TEXTOUT "ção" y, x
                             record(0x02FA, {0, 2, 0, 0x00FF, 0x0000}),  // red pen -> 4
                             record(0x012D, {4}),                        //
                             record(0x01F0, {2}),                        // navy pen deleted
                             record(0x012D, {1}),                        // same brush, null pen
                             record(0x041B, {4, 3, 2, 1}),               //
                             record(0x012D, {4}),                        // red pen again
                             font(15, "Arial"),                          // -> 2
                             record(0x012D, {2}),                        //
                             record(0x01F0, {3}),                        //
                             record(0x02FC, {0, 0x8000, 0x0000, 0}),     // green brush -> 3
                             record(0x012D, {3}),                        //
                             record(0x01F0, {0}),                        //
                             record(0x012D, {1}),                        //
                             record(0x041B, {10, 9, 8, 7}),              //
                             record(0x012D, {4}),                        //
                             record(0x0000),                             // EOF
                         });
}

TEST(WmfWriter, SmallPageMatchesHandWrittenRecords)
{
    const std::string got = wmfBytes(smallPage());
    const std::string want = smallPageBytes();
    ASSERT_EQ(got.size(), want.size());
    const auto at = recordOffsets(want);
    for (std::size_t i = 0; i < want.size(); ++i) {
        if (got[i] == want[i]) continue;
        std::size_t rec = 0;
        while (rec + 1 < at.size() && at[rec + 1] <= i) ++rec;
        FAIL() << "first difference at byte " << i << " (record " << rec << ")";
    }
}

TEST(WmfWriter, HeaderFields)
{
    for (const auto& [w, h] : {std::pair{400, 200}, {501, 278}, {1, 1}, {32767, 32767}}) {
        SCOPED_TRACE(std::to_string(w) + "x" + std::to_string(h));
        RecordingCanvas c(w, h);
        c.fillRect(0, 0, 9, 9, colors::White);
        c.setPen(colors::Blue, 1);
        c.lineTo(1, 1);
        const std::string f = wmfBytes(c.recording());
        EXPECT_EQ(f.substr(0, 10),
                  std::string("\xD7\xCD\xC6\x9A\0\0\0\0\0\0", 10));  // key, handle, left, top
        EXPECT_EQ(get16(f, 10), w);
        EXPECT_EQ(get16(f, 12), h);
        EXPECT_EQ(get16(f, 14), 96);
        EXPECT_EQ(get32(f, 16), 0u);
        EXPECT_EQ(get16(f, 20), 0x5771 ^ w ^ h);
        EXPECT_EQ(f.substr(22, 6), std::string("\1\0\x09\0\0\x03", 6));  // type, header size, version
        EXPECT_EQ(f.size(), 22 + 2 * std::size_t{get32(f, 28)});
        EXPECT_EQ(get16(f, 32), 3);   // brush, null pen, blue pen
        EXPECT_EQ(get32(f, 34), 8u);  // CREATEPENINDIRECT
        EXPECT_EQ(get16(f, 38), 0);
        EXPECT_EQ(f.substr(f.size() - 6), std::string("\3\0\0\0\0\0", 6));
    }
    EXPECT_EQ(get16(wmfBytes(smallPage()), 20), 0x5629);  // the 400 x 200 example worked by hand
}

Recording everyOpPage()
{
    RecordingCanvas c(501, 278);
    c.fillRect(0, 0, 502, 279, colors::White);
    c.setPen(colors::Navy, 1);
    c.moveTo(20, 232);
    c.lineTo(438, 232);
    c.setFont("Times New Roman", 15);
    c.textOut(229, 242, "1");
    c.setPen(colors::Blue, 1);
    for (int x = 20; x <= 438; x += 19) c.lineTo(x, 232 - (x - 20) * (438 - x) / 400);
    c.setPen(colors::Green, 2);
    c.lineTo(20, 232);
    c.fillRect(300, 10, 340, 50, colors::Red);
    c.setFont("Times New Roman", 18);
    c.textOut(0, 0, "Linha de Influência (trecho:1 seção:2.5)");
    c.textOut(0, 30, "Diagrama de Momentos Fletores – “€ º ñ”");
    return c.take();
}

Recording manyPensPage()
{
    RecordingCanvas c(300, 300);
    const Color cs[] = {colors::White, colors::Red, colors::Navy};
    for (int i = 0; i < 60; ++i) {
        c.setPen(Color{static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(2 * i), 7}, i % 6);
        c.moveTo(i, 0);
        c.lineTo(i, 299);
        if (i % 7 == 0) c.fillRect(i, i, i + 9, i + 9, cs[i % 3]);
        if (i % 11 == 0) c.setFont(i % 2 == 0 ? "Times New Roman" : "Courier New", 10 + i / 11);
        if (i % 13 == 0) c.textOut(i, i, std::string(static_cast<std::size_t>(i / 13), 'x'));
    }
    return c.take();
}

Recording oddCornersPage()
{
    Recording r;
    r.width = 32767;
    r.height = 10;
    r.ops = {op::LineTo{-32768, 32767},              // before any pen: the device's pen
             op::Text{32767, -32768, ""},            // before any font, and empty
             op::Text{1, 2, "a"},                    // odd length
             op::Pen{colors::Green, 0},              // zero width
             op::Pen{colors::Green, 0},              // the same pen again is still an operation
             op::FillRect{5, 5, 1, 1, colors::Red},  // inverted corners stay as given
             op::Font{"", 1},
             op::Font{"Fonte çãõ", -12},
             op::Text{0, 0, "ab"}};
    return r;
}

// The device's own pen draws these lines, although a fill comes first.
Recording linesBeforeAnyPenPage()
{
    RecordingCanvas c(50, 50);
    c.fillRect(0, 0, 51, 51, colors::White);
    c.moveTo(1, 1);
    c.lineTo(9, 9);
    c.fillRect(3, 3, 5, 5, colors::Red);
    c.lineTo(20, 9);
    c.setPen(colors::Black, 0);
    c.lineTo(30, 30);
    return c.take();
}

TEST(WmfRoundTrip, ReaderRebuildsTheRecordingAndWriterTheBytes)
{
    const struct {
        const char* name;
        Recording rec;
    } rows[] = {
        {"small page", smallPage()},
        {"every operation, accents", everyOpPage()},
        {"sixty pens, reused slots", manyPensPage()},
        {"corner values", oddCornersPage()},
        {"empty page", RecordingCanvas(7, 9).take()},
        {"lines after a fill, before any pen", linesBeforeAnyPenPage()},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const std::string bytes = wmfBytes(row.rec);
        const Recording back = readWmf(bytes);
        EXPECT_EQ(back, row.rec);
        EXPECT_EQ(wmfBytes(back), bytes);
    }
}

TEST(WmfWriter, ObjectTableStaysSmall)
{
    // Brush, null pen, pen and font, plus one new pen or font before its old
    // one is deleted: never more than five, however many pens a page uses.
    const std::string f = wmfBytes(manyPensPage());
    EXPECT_EQ(get16(f, 32), 5);
    std::uint32_t largest = 0;
    for (std::size_t at : recordOffsets(f)) largest = std::max(largest, get32(f, at));
    EXPECT_EQ(get32(f, 34), largest);
    EXPECT_EQ(largest, 28u);  // a font with its 32-byte face name
}

TEST(WmfWriter, RefusesWhatAMetafileCannotHold)
{
    const struct {
        const char* name;
        int w, h;
        DrawOp op;
    } rows[] = {
        {"zero width", 0, 10, op::MoveTo{0, 0}},
        {"height above 16 bits", 10, 32768, op::MoveTo{0, 0}},
        {"x above 16 bits", 10, 10, op::LineTo{32768, 0}},
        {"fill corner", 10, 10, op::FillRect{0, 0, 40000, 1, colors::Red}},
        {"negative pen width", 10, 10, op::Pen{colors::Red, -1}},
        {"font height", 10, 10, op::Font{"Arial", 40000}},
        {"text length", 10, 10, op::Text{0, 0, std::string(32768, 'a')}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        Recording r;
        r.width = row.w;
        r.height = row.h;
        r.ops = {row.op};
        EXPECT_THROW(wmfBytes(r), Error);
    }
}

// A file as another writer might make it: a rectangle drawn with the device's
// brush and pen, no map mode (MM_TEXT), a PATBLT fill, POLYLINE, plain and
// opaque EXTTEXTOUT with a dx array, a 5-word SETBKMODE, SETTEXTALIGN, a short
// face name, an em-height font, a pen deleted while selected, a null pen, a
// hollow brush and an outlined rectangle.
std::string otherWriterFile()
{
    return placeableFile(
        0, 0, 300, 150, 96, 4,
        {
            record(0x041B, {3, 3, 1, 1}),                     // no brush or pen yet: white, outlined
            record(0x02FC, {0, 0x140A, 0x001E, 0}),           // brush (10,20,30) -> 0
            record(0x02FA, {0, 2, 0, 0x0000, 0x00FF}),        // blue pen, width 2 -> 1
            record(0x012D, {0}),                              // select brush
            record(0x012D, {1}),                              // select pen
            record(0x061D, {0x0021, 0x00F0, 20, 10, 6, 5}),   // PATBLT PATCOPY h, w, y, x
            record(0x0325, {3, 1, 2, 3, 4, 5, 6}),            // POLYLINE keeps the current position,
            record(0x0213, {8, 7}),                           // so this line starts at (0, 0)
            record(0x0102, {2, 0}),                           // SETBKMODE opaque, 5 words
            record(0x012E, {0}),                              // SETTEXTALIGN top left
            record(0x0201, {0xC8C8, 0x00C8}),                 // background (200,200,200)
            record(0x02FB, {0xFFF0, 0, 0, 0, 700, 0, 0x0100,  // em 16, bold, DEFAULT_CHARSET,
                            0, 0, 0x7241, 0x6169, 0x006C}),   // "Arial" -> 2
            record(0x012D, {2}),                              // select font
            record(0x0A32, {50, 40, 3, 0, 0x6C4F, 0x00E1}),   // "Olá", no options
            record(0x0A32, {70, 60, 2, 2, 60, 70, 90, 85,     // "ab", opaque rectangle,
                            0x6261, 7, 7}),                   // dx array
            record(0x01F0, {1}),                              // delete the selected pen
            record(0x02FA, {5, 0, 0, 0, 0}),                  // null pen -> 1
            record(0x012D, {1}),                              // select it
            record(0x041B, {110, 120, 100, 100}),             // fill only
            record(0x0213, {140, 130}),                       // invisible line
            record(0x02FC, {1, 0, 0, 0}),                     // hollow brush -> 3
            record(0x012D, {3}),                              // select it
            record(0x01F0, {0}),                              // delete the solid brush
            record(0x02FA, {0, 1, 0, 0, 0}),                  // black pen -> 0
            record(0x012D, {0}),                              // select it
            record(0x041B, {15, 20, 10, 10}),                 // outline only
            record(0x0213, {60, 50}),                         // from the position before it
            record(0x0521, {1, 0x0078, 1, 1}),                // TEXTOUT "x"
            record(0x0000),
        });
}

TEST(WmfReader, ReadsAnotherWritersFile)
{
    using F = op::FillRect;
    using M = op::MoveTo;
    using L = op::LineTo;
    const Color brush{10, 20, 30}, grey{200, 200, 200};
    Recording want;
    want.width = 300;
    want.height = 150;
    want.ops = {F{1, 1, 3, 3, colors::White},
                M{1, 1},
                L{2, 1},
                L{2, 2},
                L{1, 2},
                L{1, 1},
                op::Pen{colors::Blue, 2},
                F{5, 6, 15, 26, brush},
                M{1, 2},
                L{3, 4},
                L{5, 6},
                M{0, 0},
                L{7, 8},
                op::Font{"Arial", -16},
                op::Text{40, 50, "Olá"},
                F{60, 70, 90, 85, grey},
                op::Text{60, 70, "ab"},
                F{100, 100, 120, 110, brush},
                M{130, 140},
                op::Pen{colors::Black, 1},
                M{10, 10},
                L{19, 10},
                L{19, 14},
                L{10, 14},
                L{10, 10},
                M{130, 140},
                L{50, 60},
                op::Text{1, 1, "x"}};
    const Recording got = readWmf(otherWriterFile());
    EXPECT_EQ(got.width, want.width);
    EXPECT_EQ(got.height, want.height);
    ASSERT_EQ(got.ops.size(), want.ops.size());
    for (std::size_t i = 0; i < want.ops.size(); ++i) EXPECT_TRUE(got.ops[i] == want.ops[i]) << "op " << i;
}

// A twips file (1440 units per inch) whose window starts at (100, 50): 3000 x
// 1500 units are a page of 200 x 100 pixels, 15 units to the pixel.
std::string twipsFile()
{
    std::vector<std::uint16_t> font{270, 0, 0, 0, 400, 0, 0, 0, 0};
    font = concat(font, face32("Times New Roman"));
    return placeableFile(0, 0, 3000, 1500, 1440, 2,
                         {record(0x0103, {8}), record(0x020B, {50, 100}), record(0x020C, {1500, 3000}),
                          record(0x02FA, {0, 30, 0, 0x0000, 0x0080}), record(0x012D, {0}),
                          record(0x0214, {350, 250}), record(0x0213, {800, 1607}), record(0x02FB, font),
                          record(0x012D, {1}), record(0x0521, {2, 0x6948, 65, 175}), record(0x0000)});
}

TEST(WmfReader, MapsTheWindowOntoThePage)
{
    const std::string f = twipsFile();
    Recording want;
    want.width = 200;
    want.height = 100;
    want.ops = {op::Pen{colors::Navy, 2}, op::MoveTo{10, 20}, op::LineTo{100, 50},
                op::Font{"Times New Roman", 18}, op::Text{5, 1, "Hi"}};
    EXPECT_EQ(readWmf(f), want);
}

// The files under data_files/wmf (also the fuzzer's seeds) are these bytes.
TEST(WmfFiles, FixturesAreTheHandBuiltFiles)
{
    const std::string dir = KALVORO_TEST_DATA "/wmf/";
    EXPECT_EQ(readFileBytes(dir + "small-page.wmf"), smallPageBytes());
    EXPECT_EQ(readFileBytes(dir + "other-writer.wmf"), otherWriterFile());
    EXPECT_EQ(readFileBytes(dir + "twips.wmf"), twipsFile());
}

TEST(WmfFiles, WriteReadAndFailures)
{
    TempDir dir;
    const std::string name = dir / "vigaM.wmf";
    const Recording page = everyOpPage();
    writeWmf(name, page);
    EXPECT_EQ(readWmfFile(name), page);
    writeWmf(name, smallPage());  // an existing file is replaced
    EXPECT_EQ(readWmfFile(name), smallPage());
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path), {}), 1);  // no temporary left

    EXPECT_THROW(readWmfFile(dir / "missing.wmf"), IoError);
    EXPECT_THROW(writeWmf(dir / "no/such.wmf", page), IoError);
}

TEST(RecordingCanvas, RecordsInOrderAndReplays)
{
    const Recording page = everyOpPage();
    RecordingCanvas copy(page.width, page.height);
    replay(page, copy);
    EXPECT_EQ(copy.recording(), page);
    EXPECT_EQ(std::get<op::Pen>(page.ops[1]), (op::Pen{colors::Navy, 1}));
    EXPECT_EQ(std::get<op::Text>(page.ops.back()).text, "Diagrama de Momentos Fletores – “€ º ñ”");
}

}  // namespace
}  // namespace kalvoro
