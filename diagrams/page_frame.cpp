#include "page_frame.h"

#include <charconv>

#include "data/file_names.h"
#include "diagram_settings.h"
#include "svg.h"
#include "wmf.h"

namespace kalvoro {

namespace {

std::string decimal(long v)
{
    char buf[24];
    const auto res = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, res.ptr);
}

}  // namespace

void StartPage(Canvas& c, int W, int H)
{
    c.fillRect(0, 0, addInt(W, 1), addInt(H, 1), colors::White);
    c.setPen(colors::Navy, 1);
}

void DrawAxisAndSpanNumbers(Canvas& c, const AnalysisModel& m, const PageMapping& map,
                            const DiagramSettings& s)
{
    for (long j = 1; j <= m.ElementCount; ++j) {
        const long a = m.Incidence(j, 1);
        const long b = m.Incidence(j, 2);
        const int x1 = map.px(m.Coord(a, 1));
        const int y1 = map.py(m.Coord(a, 2));
        const int x2 = map.px(m.Coord(b, 1));
        const int y2 = map.py(m.Coord(b, 2));
        c.moveTo(x1, y1);
        c.lineTo(x2, y2);
        c.setFont(PageFont, s.UpDown7);
        if (s.CheckBox1) {
            // Integer division truncates towards zero, as the label position requires.
            c.textOut(addInt(x1, x2) / 2, addInt(addInt(y1, y2) / 2, 10), decimal(j));
        }
    }
}

void DrawSupports(Canvas& c, const AnalysisModel& m, const PageMapping& map)
{
    c.setPen(colors::Red, 1);
    for (long s = 1; s <= m.SupportCount; ++s) {
        const long node = m.SupportNode[s];
        const double X = m.Coord(node, 1);
        const double Y = m.Coord(node, 2);
        auto moveTo = [&](int dx, int dy) { c.moveTo(map.px(X, dx), map.py(Y, dy)); };
        auto lineTo = [&](int dx, int dy) { c.lineTo(map.px(X, dx), map.py(Y, dy)); };
        switch (m.SupportCode[s]) {
            case 10:  // pinned: a triangle hanging from the node
                moveTo(0, 0);
                lineTo(-5, -10);
                lineTo(5, -10);
                lineTo(0, 0);
                break;
            case 11:  // fixed: the wall and its hatching
                moveTo(0, 16);
                lineTo(0, -16);
                for (int a = -16; a <= 12; a += 4) {
                    moveTo(-3, a);
                    lineTo(3, a + 4);
                }
                break;
            default:  // free or rotation-only nodes have no symbol
                break;
        }
    }
}

void DrawTitle(Canvas& c, const std::string& title)
{
    c.setFont(PageFont, TitleFontHeight);
    c.textOut(0, 0, title);
}

void SavePage(const Recording& page, const std::string& dataFile, const std::string& tag, bool svg)
{
    if (dataFile.empty()) return;
    writeWmf(derivedName(dataFile, tag + ".wmf"), page);
    if (svg) writeSvg(derivedName(dataFile, tag + ".svg"), page);
}

}  // namespace kalvoro
