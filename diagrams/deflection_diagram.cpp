#include "deflection_diagram.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "data/numbers.h"
#include "clipping_canvas.h"
#include "diagrams.h"
#include "engine/arithmetic.h"
#include "engine/deflection.h"
#include "engine/engine.h"
#include "engine/general_deflection.h"
#include "general_diagrams.h"
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

// The points of a span's curve: a fixed number of steps, every point where
// its load formula changes and both extremes, so that the page shows them
// where they are.
DeflectionCurve curveOf(double X1, double Y1, double L, const std::vector<double>& breaks,
                        const DeflectionExtremes& extremes, const std::function<double(double)>& v)
{
    std::vector<double> xs;
    for (int j = 0; j <= Steps; ++j) xs.push_back(store(static_cast<Real>(L) * j / Steps));
    for (const double b : breaks)
        if (b < L) xs.push_back(b);
    xs.push_back(extremes.down.position);
    xs.push_back(extremes.up.position);
    std::sort(xs.begin(), xs.end());
    xs.erase(std::unique(xs.begin(), xs.end()), xs.end());
    DeflectionCurve c{X1, Y1, L, extremes, {}};
    c.points.reserve(xs.size());
    for (const double x : xs) c.points.emplace_back(x, v(x));
    return c;
}

using Curve = DeflectionCurve;

std::vector<Curve> curvesOf(const AnalysisModel& m)
{
    std::vector<Curve> curves;
    for (long k = 1; k <= m.ElementCount; ++k) {
        const SpanDeflection s = DeflectionOf(m, k);
        const long a = m.Incidence(m.LoadRowElement(k, 1), 1);
        std::vector<double> breaks;
        if (s.d > 0 && s.d < s.L) breaks.push_back(s.d);
        curves.push_back(curveOf(m.Coord(a, 1), m.Coord(a, 2), s.L, breaks, ExtremeDeflections(s),
                                 [&s](double x) { return Deflection(s, x); }));
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

// Whether a point on the pixel of the one before is drawn: the data file's
// beams keep their page as it always was; the pages of longer beams leave it
// out, as their moment and shear pages do, so that a thousand spans a pixel
// wide each make a page of a few thousand lines, not of a hundred thousand.
enum class Repeats { Drawn, Skipped };

// The span's curve from its start node to its end node.
void drawCurve(Canvas& c, const PageMapping& map, const Curve& curve, Repeats repeats)
{
    c.setPen(colors::Blue, 1);
    bool first = true;
    int lastX = 0, lastY = 0;
    for (const auto& [x, v] : curve.points) {
        const int px = map.px(static_cast<Real>(curve.X1) + x);
        const int py = map.py(v);
        if (first)
            c.moveTo(px, py);
        else if (repeats == Repeats::Drawn || px != lastX || py != lastY)
            c.lineTo(px, py);
        first = false;
        lastX = px, lastY = py;
    }
}

// A span's value on the page: its text and the box it takes.
struct Label {
    double magnitude;
    int x, y, width, height;
    std::string text;

    bool overlaps(const Label& o) const
    {
        return x < o.x + o.width && o.x < x + width && y < o.y + o.height && o.y < y + height;
    }
};

// The larger extreme of the span: a line from the axis to its point, and the
// label of its value beside the line, below the span numbers (which hang 10
// pixels under the axis) and, for a downward extreme, below the curve: never
// among the loads above the axis. Nothing for a span that does not deflect.
std::optional<Label> drawLargest(Canvas& c, const PageMapping& map, const Curve& curve, double X1, double Y1,
                                 const DiagramSettings& s)
{
    const DeflectionExtremes& e = curve.extremes;
    const DeflectionPoint& p = std::fabs(e.down.value) >= std::fabs(e.up.value) ? e.down : e.up;
    if (std::fabs(p.value) <= Guard) return std::nullopt;
    const Real X = static_cast<Real>(X1) + p.position;
    const int x = map.px(X), axis = map.py(Y1), point = map.py(p.value);
    c.setPen(colors::Black, 1);
    c.moveTo(x, axis);
    c.lineTo(x, point);

    Label label;
    label.magnitude = std::fabs(p.value);
    label.text = (p.value < 0 ? "-" : "") + formatMagnitude(std::fabs(p.value), ValueDigits);
    const int belowNumbers = addInt(axis, addInt(s.UpDown7, 12));
    label.x = addInt(x, 3);
    label.y = p.value < 0 ? std::max(addInt(point, 3), belowNumbers) : belowNumbers;
    label.height = s.UpDown7;
    // The page cannot measure text: digits are half as wide as the font is
    // high, the point and the sign narrower, so this is a little generous.
    label.width = static_cast<int>(label.text.size()) * (s.UpDown7 / 2 + 1);
    return label;
}

// The largest values first; one that would cover a value already written is
// left out (short spans side by side), so the page never shows a smudge.
void writeLabels(Canvas& c, std::vector<Label> labels, const DiagramSettings& s)
{
    std::stable_sort(labels.begin(), labels.end(),
                     [](const Label& a, const Label& b) { return a.magnitude > b.magnitude; });
    std::vector<Label> written;
    c.setFont(PageFont, s.UpDown7);
    for (const Label& l : labels) {
        if (std::any_of(written.begin(), written.end(), [&](const Label& w) { return w.overlaps(l); }))
            continue;
        c.textOut(l.x, l.y, l.text);
        written.push_back(l);
    }
}

}  // namespace

double EscalaDeformada(const AnalysisModel& m, const DiagramSettings& s)
{
    return scaleFor(curvesOf(m), s.momentHeight);
}

namespace {

// The page of these curves; loads(canvas, map, k) draws the loads of span k
// before its curve, and with k = 0 whatever comes before every span.
using LoadDrawer = std::function<void(Canvas&, const PageMapping&, long)>;

Recording drawPage(const BeamFrame& f, const DiagramSettings& s, const std::vector<Curve>& curves,
                   const LoadDrawer& loads, Repeats repeats)
{
    const int W = s.momentWidth;
    const int H = s.momentHeight;

    double lowest = 0, highest = 0;
    for (const Curve& c : curves) {
        lowest = std::min(lowest, c.extremes.down.value);
        highest = std::max(highest, c.extremes.up.value);
    }
    PageMapping map;
    map.H = H;
    map.sx = store(static_cast<Real>(EscalaHorizontal(f, s)) * s.ZoomDesenho / 100);
    map.sy = store(static_cast<Real>(scaleFor(curves, H)) * VerticalZoom(s) / 100);
    map.x0 = addInt(s.DeslocamentoDesenho, LeftMargin);
    // The middle of the curve's range (the axis included) at the middle of the page.
    map.y0 = roundEven(static_cast<Real>(H) / 2 - (static_cast<Real>(lowest) + highest) / 2 * map.sy);

    RecordingCanvas recording(W, H);
    ClippingCanvas clipped(recording, W, H);
    Canvas& canvas = f.clip ? static_cast<Canvas&>(clipped) : recording;
    StartPage(canvas, W, H);
    DrawAxisAndSpanNumbers(canvas, f, map, s);
    DrawSupports(canvas, f, map, s);
    loads(canvas, map, 0);
    std::vector<Label> labels;
    for (std::size_t k = 0; k < curves.size(); ++k) {
        const Curve& curve = curves[k];
        loads(canvas, map, static_cast<long>(k + 1));
        drawCurve(canvas, map, curve, repeats);
        if (auto label = drawLargest(canvas, map, curve, curve.X1, curve.Y1, s)) labels.push_back(*label);
    }
    // Over every curve, so that no later span draws across a value.
    writeLabels(canvas, labels, s);
    DrawTitle(canvas, "Deformada");
    return recording.take();
}

}  // namespace

Recording DesenhaDeformada(const AnalysisModel& m, const DiagramSettings& s, const std::string& dataFile,
                           bool svg)
{
    const double T = ComprimentoTotal(m);
    Recording page = drawPage(
        FrameOf(m), s, curvesOf(m),
        [&](Canvas& c, const PageMapping& map, long k) {
            if (k > 0) DrawSpanLoads(c, m, map, k, T, s);
        },
        Repeats::Drawn);
    SavePage(page, dataFile, "D", svg);
    return page;
}

Recording DesenhaDeformadaGeral(const AnalysisModel& m, const BeamLoads& loads,
                                const std::vector<SpanCurve>& curves, const DiagramSettings& s,
                                const std::string& dataFile, bool svg)
{
    std::vector<GeneralDeflection> spans;
    for (long k = 1; k <= m.ElementCount; ++k) spans.push_back(DeflectionOf(m, loads, k));
    return DesenhaDeformadaGeral(FrameOf(m), loads, spans, curves, s, dataFile, svg);
}

std::vector<DeflectionCurve> CurvasDeformadas(const BeamFrame& f, const std::vector<GeneralDeflection>& spans,
                                              const std::vector<SpanCurve>& forces)
{
    if (spans.size() != f.spans.size() || forces.size() != f.spans.size())
        throw IndexError("curvas de outra viga");
    std::vector<DeflectionCurve> curves;
    curves.reserve(spans.size());
    for (std::size_t k = 0; k < spans.size(); ++k) {
        const GeneralDeflection& s = spans[k];
        const BeamFrame::Node& start = f.nodes[f.spans[k].start];
        std::vector<double> breaks;
        for (const Piece& p : forces[k].pieces)
            if (p.x0 > 0) breaks.push_back(p.x0);
        curves.push_back(curveOf(start.X, start.Y, s.ends.L, breaks, ExtremeDeflections(s, forces[k]),
                                 [&s](double x) { return Deflection(s, x); }));
    }
    return curves;
}

Recording DesenhaDeformadaGeral(const BeamFrame& f, const BeamLoads& loads,
                                const std::vector<GeneralDeflection>& spans,
                                const std::vector<SpanCurve>& curves, const DiagramSettings& s,
                                const std::string& dataFile, bool svg)
{
    return DesenhaDeformadaGeral(f, loads, CurvasDeformadas(f, spans, curves), curves, s, dataFile, svg);
}

Recording DesenhaDeformadaGeral(const BeamFrame& f, const BeamLoads& loads,
                                const std::vector<DeflectionCurve>& shape,
                                const std::vector<SpanCurve>& curves, const DiagramSettings& s,
                                const std::string& dataFile, bool svg)
{
    if (shape.size() != f.spans.size()) throw IndexError("curvas de outra viga");
    Recording page = drawPage(
        f, s, shape,
        [&](Canvas& c, const PageMapping& map, long k) {
            if (k == 0) DrawGeneralLoads(c, f, map, loads, curves, s);
        },
        Repeats::Skipped);
    SavePage(page, dataFile, "D", svg);
    return page;
}

}  // namespace kalvoro
