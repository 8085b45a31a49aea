#pragma once
// What the moment and shear pages share, whether their beam came from the data
// file or from the extended beam file: the fit of the page, the vertical
// scale and the arrows of the loads.

#include <cmath>

#include "canvas.h"
#include "page_frame.h"

namespace kalvoro {

// At zoom 100 the largest node X lies W/1.2 pixels right of the margin and the
// whole range of a diagram takes H/1.2 pixels: the rest is room for the loads.
inline constexpr Real Fit = 1.2L;
// Below this an extreme counts as zero and the scale falls back to 100.
inline constexpr Real Guard = 1e-15L;
inline constexpr double FallbackScale = 100.0;
inline constexpr int LeftMargin = 20;

// Magnitudes are written with 8 significant digits, without their sign: the
// arrow shows the direction.
inline constexpr int MagnitudeDigits = 8;

// Pixels for the range |a| + |b| of a diagram, or the fallback for a diagram
// that is zero everywhere.
inline double verticalScale(int height, double a, double b)
{
    const double c = store(std::fabs(Real(a)) + std::fabs(Real(b)));
    if (std::fabs(c) <= Guard) return FallbackScale;
    return store(div(height, c * Fit));
}

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
