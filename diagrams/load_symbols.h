#pragma once
// The arrows of the loads on a diagram page, shared by the specified loads and
// the loads of the extended beam file.

#include "canvas.h"
#include "page_frame.h"

namespace kalvoro {

// Offsets of one stroke of an arrow or symbol: (dx1, dy1) to (dx2, dy2), dy up.
struct Stroke {
    int dx1, dy1, dx2, dy2;
};

inline void drawStrokes(Canvas& c, const PageMapping& map, Real X, Real Y, const Stroke (&strokes)[3])
{
    for (const Stroke& s : strokes) {
        c.moveTo(map.px(X, s.dx1), map.py(Y, s.dy1));
        c.lineTo(map.px(X, s.dx2), map.py(Y, s.dy2));
    }
}

// Head strokes first, then the shaft; the head touches the beam for a
// downward load and tops the shaft for an upward one.
inline constexpr Stroke PointDown[3] = {{0, 2, -4, 12}, {0, 2, 4, 12}, {0, 0, 0, 50}};
inline constexpr Stroke PointUp[3] = {{0, 50, -4, 38}, {0, 50, 4, 38}, {0, 2, 0, 50}};
inline constexpr Stroke SpreadDown[3] = {{0, 2, -2, 6}, {0, 2, 2, 6}, {0, 0, 0, 25}};
inline constexpr Stroke SpreadUp[3] = {{0, 25, -2, 19}, {0, 25, 2, 19}, {0, 2, 0, 25}};

}  // namespace kalvoro
