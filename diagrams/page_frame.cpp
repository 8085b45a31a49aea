#include "page_frame.h"

#include <charconv>

#include "data/file_names.h"
#include "diagram_settings.h"
#include "engine/errors.h"
#include "support_symbols.h"
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

double BeamFrame::largestX() const
{
    double largest = 0;
    for (const Node& n : nodes)
        if (n.X > largest) largest = n.X;
    return largest;
}

double BeamFrame::length() const
{
    double total = 0;
    for (const Span& k : spans) {
        const Real dx = static_cast<Real>(nodes[k.end].X) - nodes[k.start].X;
        const Real dy = static_cast<Real>(nodes[k.end].Y) - nodes[k.start].Y;
        total = store(total + root(dx * dx + dy * dy));
    }
    return total;
}

BeamFrame FrameOf(const AnalysisModel& m)
{
    BeamFrame f;
    for (long n = 1; n <= m.NodeCount; ++n) f.nodes.push_back({m.Coord(n, 1), m.Coord(n, 2)});
    for (long j = 1; j <= m.ElementCount; ++j) {
        const long a = m.Incidence(j, 1), b = m.Incidence(j, 2);
        if (a < 1 || a > m.NodeCount || b < 1 || b > m.NodeCount) throw IndexError("elemento sem nó");
        f.spans.push_back({static_cast<std::size_t>(a - 1), static_cast<std::size_t>(b - 1)});
    }
    for (long s = 1; s <= m.SupportCount; ++s) {
        const long node = m.SupportNode[s];
        if (node < 1 || node > m.NodeCount) throw IndexError("apoio sem nó");
        f.supports.push_back({static_cast<std::size_t>(node - 1), static_cast<int>(m.SupportCode[s])});
    }
    return f;
}

BeamFrame FrameOf(const SupportedBeam& beam)
{
    BeamFrame f;
    f.clip = true;
    for (std::size_t n = 0; n < beam.nodes.size(); ++n) {
        const SupportedNode& node = beam.nodes[n];
        f.nodes.push_back({node.x, 0});
        if (node.support != 0) f.supports.push_back({n, node.support});
        f.extras.push_back(node.extra);
    }
    for (std::size_t i = 0; i + 1 < beam.nodes.size() && i < beam.spans.size(); ++i) f.spans.push_back({i, i + 1});
    return f;
}

void DrawAxisAndSpanNumbers(Canvas& c, const BeamFrame& f, const PageMapping& map, const DiagramSettings& s)
{
    for (std::size_t j = 0; j < f.spans.size(); ++j) {
        const BeamFrame::Node& a = f.nodes[f.spans[j].start];
        const BeamFrame::Node& b = f.nodes[f.spans[j].end];
        const int x1 = map.px(a.X);
        const int y1 = map.py(a.Y);
        const int x2 = map.px(b.X);
        const int y2 = map.py(b.Y);
        c.moveTo(x1, y1);
        c.lineTo(x2, y2);
        c.setFont(PageFont, s.UpDown7);
        if (s.CheckBox1) {
            // Integer division truncates towards zero, as the label position requires.
            c.textOut(addInt(x1, x2) / 2, addInt(addInt(y1, y2) / 2, 10), decimal(static_cast<long>(j + 1)));
        }
    }
}

void DrawAxisAndSpanNumbers(Canvas& c, const AnalysisModel& m, const PageMapping& map,
                            const DiagramSettings& s)
{
    DrawAxisAndSpanNumbers(c, FrameOf(m), map, s);
}

namespace {

void drawSupportCodes(Canvas& c, const BeamFrame& f, const PageMapping& map)
{
    c.setPen(colors::Red, 1);
    for (const BeamFrame::Support& support : f.supports) {
        const double X = f.nodes[support.node].X;
        const double Y = f.nodes[support.node].Y;
        auto moveTo = [&](int dx, int dy) { c.moveTo(map.px(X, dx), map.py(Y, dy)); };
        auto lineTo = [&](int dx, int dy) { c.lineTo(map.px(X, dx), map.py(Y, dy)); };
        switch (support.code) {
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

}  // namespace

void DrawSupports(Canvas& c, const BeamFrame& f, const PageMapping& map, const DiagramSettings& s)
{
    drawSupportCodes(c, f, map);
    if (!f.extras.empty()) DrawNodeSupports(c, map, f, s);
}

void DrawSupports(Canvas& c, const AnalysisModel& m, const PageMapping& map)
{
    drawSupportCodes(c, FrameOf(m), map);
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
