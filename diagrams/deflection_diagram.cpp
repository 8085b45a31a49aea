#include "deflection_diagram.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "data/numbers.h"
#include "diagrams.h"
#include "engine/arithmetic.h"
#include "engine/deflection.h"
#include "engine/engine.h"
#include "page_frame.h"

namespace kalvoro {

namespace {

// As on the other pages: below this the beam does not deflect and the scale
// falls back to 100; the beam starts 20 pixels from the left edge.
constexpr Real Guard = 1e-15L;
constexpr double FallbackScale = 100.0;
constexpr int LeftMargin = 20;
// Points of the curve per span, besides the load and the extremes.
constexpr int Steps = 128;
// Significant digits of the deflections written on the page.
constexpr int ValueDigits = 6;

struct Curve {
    SpanDeflection span;
    DeflectionExtremes extremes;
};

std::vector<Curve> curvesOf(const AnalysisModel& m)
{
    std::vector<Curve> curves;
    for (long k = 1; k <= m.ElementCount; ++k) {
        const SpanDeflection s = DeflectionOf(m, k);
        curves.push_back({s, ExtremeDeflections(s)});
    }
    return curves;
}

double largestMagnitude(const std::vector<Curve>& curves)
{
    double v = 0;
    for (const Curve& c : curves)
        v = std::max({v, std::fabs(c.extremes.down.value), std::fabs(c.extremes.up.value)});
    return v;
}

double scaleFor(const std::vector<Curve>& curves, int height)
{
    const double largest = largestMagnitude(curves);
    if (largest <= Guard) return FallbackScale;
    return store(div(height, 3 * static_cast<Real>(largest)));
}

// The span's curve from its start node to its end node, through the load and
// the extremes so that the page shows them where they are.
void drawCurve(Canvas& c, const PageMapping& map, const Curve& curve, double X1)
{
    const SpanDeflection& s = curve.span;
    std::vector<double> xs;
    for (int j = 0; j <= Steps; ++j) xs.push_back(store(static_cast<Real>(s.L) * j / Steps));
    if (s.d > 0 && s.d < s.L) xs.push_back(s.d);
    xs.push_back(curve.extremes.down.position);
    xs.push_back(curve.extremes.up.position);
    std::sort(xs.begin(), xs.end());
    xs.erase(std::unique(xs.begin(), xs.end()), xs.end());

    c.setPen(colors::Blue, 1);
    bool first = true;
    for (const double x : xs) {
        const int px = map.px(static_cast<Real>(X1) + x);
        const int py = map.py(Deflection(s, x));
        if (first)
            c.moveTo(px, py);
        else
            c.lineTo(px, py);
        first = false;
    }
}

// The larger extreme of the span: a line from the axis to its point, and its
// value beside the line, below the span numbers (which hang 10 pixels under
// the axis) and, for a downward extreme, below the curve: never among the
// loads above the axis.
void drawLargest(Canvas& c, const PageMapping& map, const Curve& curve, double X1, double Y1,
                 const DiagramSettings& s)
{
    const DeflectionExtremes& e = curve.extremes;
    const DeflectionPoint& p = std::fabs(e.down.value) >= std::fabs(e.up.value) ? e.down : e.up;
    if (std::fabs(p.value) <= Guard) return;
    const Real X = static_cast<Real>(X1) + p.position;
    const int x = map.px(X), axis = map.py(Y1), point = map.py(p.value);
    c.setPen(colors::Black, 1);
    c.moveTo(x, axis);
    c.lineTo(x, point);
    c.setFont(PageFont, s.UpDown7);
    const int belowNumbers = addInt(axis, addInt(s.UpDown7, 12));
    const int y = p.value < 0 ? std::max(addInt(point, 3), belowNumbers) : belowNumbers;
    const std::string sign = p.value < 0 ? "-" : "";
    c.textOut(addInt(x, 3), y, sign + formatMagnitude(std::fabs(p.value), ValueDigits));
}

}  // namespace

double EscalaDeformada(const AnalysisModel& m, const DiagramSettings& s)
{
    return scaleFor(curvesOf(m), s.momentHeight);
}

Recording DesenhaDeformada(const AnalysisModel& m, const DiagramSettings& s, const std::string& dataFile,
                           bool svg)
{
    const int W = s.momentWidth;
    const int H = s.momentHeight;
    const std::vector<Curve> curves = curvesOf(m);

    double lowest = 0, highest = 0;
    for (const Curve& c : curves) {
        lowest = std::min(lowest, c.extremes.down.value);
        highest = std::max(highest, c.extremes.up.value);
    }
    PageMapping map;
    map.H = H;
    map.sx = store(static_cast<Real>(EscalaHorizontal(m, s)) * s.ZoomDesenho / 100);
    map.sy = store(static_cast<Real>(scaleFor(curves, H)) * s.ZoomDesenho / 100);
    map.x0 = addInt(s.DeslocamentoDesenho, LeftMargin);
    // The middle of the curve's range (the axis included) at the middle of the page.
    map.y0 = roundEven(static_cast<Real>(H) / 2 - (static_cast<Real>(lowest) + highest) / 2 * map.sy);

    RecordingCanvas canvas(W, H);
    StartPage(canvas, W, H);
    DrawAxisAndSpanNumbers(canvas, m, map, s);
    DrawSupports(canvas, m, map);
    const double T = ComprimentoTotal(m);
    for (long k = 1; k <= m.ElementCount; ++k) {
        const Curve& curve = curves[static_cast<std::size_t>(k - 1)];
        const long e = m.LoadRowElement(k, 1);
        const long a = m.Incidence(e, 1);
        DrawSpanLoads(canvas, m, map, k, T, s);
        drawCurve(canvas, map, curve, m.Coord(a, 1));
        drawLargest(canvas, map, curve, m.Coord(a, 1), m.Coord(a, 2), s);
    }
    DrawTitle(canvas, "Deformada");

    Recording page = canvas.take();
    SavePage(page, dataFile, "D", svg);
    return page;
}

}  // namespace kalvoro
