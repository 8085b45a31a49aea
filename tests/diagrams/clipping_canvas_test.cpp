// What a page of a long beam passes on through the clip: inside the box (one
// page beyond each edge) everything as drawn, across its edge the part
// inside, outside it nothing.

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

#include "diagrams/clipping_canvas.h"
#include "diagrams/recording.h"

namespace kalvoro {
namespace {

// The recording as one line of text: M x y, L x y, T x y.
std::string ops(const Recording& r)
{
    std::ostringstream out;
    for (const DrawOp& d : r.ops) {
        if (const auto* m = std::get_if<op::MoveTo>(&d)) out << "M" << m->x << "," << m->y << " ";
        if (const auto* l = std::get_if<op::LineTo>(&d)) out << "L" << l->x << "," << l->y << " ";
        if (const auto* t = std::get_if<op::Text>(&d)) out << "T" << t->x << "," << t->y << " ";
    }
    return out.str();
}

TEST(ClippingCanvas, PassesWhatLiesNearThePage)
{
    struct Point {
        char kind;  // 'M' move, 'L' line, 'T' text
        int x, y;
    };
    struct Case {
        const char* what;
        std::vector<Point> drawn;
        const char* passed;
    };
    // A page of 100 x 50: the box runs from (-100, -50) to (200, 100).
    const Case cases[] = {
        {"inside", {{'M', 0, 0}, {'L', 10, 10}, {'L', 20, 0}, {'T', 5, 5}}, "M0,0 L10,10 L20,0 T5,5 "},
        {"out across the right edge and back",
         {{'M', 150, 0}, {'L', 250, 0}, {'L', 250, 50}, {'L', 150, 50}},
         "M150,0 L200,0 M200,50 L150,50 "},
        {"far off on both sides", {{'M', -1000000, 10}, {'L', 1000000, 10}}, "M-100,10 L200,10 "},
        {"wholly outside", {{'M', 300, 0}, {'L', 400, 0}, {'T', 300, 0}}, ""},
        {"a move that no line follows", {{'M', 5, 5}, {'M', 6, 6}, {'L', 7, 7}}, "M6,6 L7,7 "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RecordingCanvas recording(100, 50);
        ClippingCanvas clipped(recording, 100, 50);
        for (const Point& p : c.drawn) {
            if (p.kind == 'M') clipped.moveTo(p.x, p.y);
            if (p.kind == 'L') clipped.lineTo(p.x, p.y);
            if (p.kind == 'T') clipped.textOut(p.x, p.y, "x");
        }
        EXPECT_EQ(ops(recording.take()), c.passed);
    }
}

}  // namespace
}  // namespace kalvoro
