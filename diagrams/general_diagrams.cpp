#include "general_diagrams.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <numbers>

#include "data/numbers.h"
#include "clipping_canvas.h"
#include "diagram_layout.h"
#include "diagrams.h"
#include "engine/engine.h"
#include "engine/general_road.h"
#include "support_symbols.h"

namespace kalvoro {

namespace {

// Samples per span length of a curved piece (a straight piece needs only its
// ends): one per pixel of the span's width on the page, 16 to 128.
constexpr Real FewestSamples = 16, MostSamples = 128;
// The tallest arrow of a distributed load, in pixels.
constexpr Real SpreadHeight = 25;

enum class Kind { Moments, Shear };

struct Label {
    int x, y;
    double value;
};

struct Page {
    const BeamFrame& f;
    const DiagramSettings& s;
    PageMapping map;
    const std::vector<SpanCurve>& curves;
    // The loads' values, written after all the arrows in one font.
    std::vector<Label> labels;
};

double plotted(Kind kind, const Piece& p, Real t)
{
    return store(kind == Kind::Moments ? -p.moment(t) : p.shear(t));
}

void label(Page& pg, Real X, int dx, int dy, double value)
{
    pg.labels.push_back({pg.map.px(X, dx), pg.map.py(0, dy), value});
}

void drawPoint(Canvas& c, Page& pg, Real X, const SpanLoad& l)
{
    if (l.v1 == 0) return;
    drawStrokes(c, pg.map, X, 0, l.v1 < 0 ? PointDown : PointUp);
    label(pg, X, -5, 70, l.v1);
}

// Points of an arc of radius 14 pixels from -30 to 210 degrees,
// counter-clockwise, as pixel offsets.
constexpr int ArcSteps = 8;
struct ArcPoint {
    Real dx, dy;
};
const std::array<ArcPoint, ArcSteps + 1>& arc()
{
    static const auto points = [] {
        std::array<ArcPoint, ArcSteps + 1> p{};
        constexpr Real r = 14, from = -std::numbers::pi_v<Real> / 6, sweep = 4 * std::numbers::pi_v<Real> / 3;
        for (int k = 0; k <= ArcSteps; ++k) {
            const Real angle = from + sweep * k / ArcSteps;
            p[static_cast<std::size_t>(k)] = {r * std::cos(angle), r * std::sin(angle)};
        }
        return p;
    }();
    return points;
}

// The arc around the point, turning in the moment's sense, its head at the end.
void drawMoment(Canvas& c, Page& pg, Real X, const SpanLoad& l)
{
    if (l.v1 == 0) return;
    const bool ccw = l.v1 > 0;
    const auto& points = arc();
    const auto at = [&](int k, Real dx = 0, Real dy = 0) {
        const ArcPoint& p = points[static_cast<std::size_t>(ccw ? k : ArcSteps - k)];
        return std::pair{pg.map.px(X, p.dx + dx), pg.map.py(0, p.dy + dy)};
    };
    const auto [x0, y0] = at(0);
    c.moveTo(x0, y0);
    for (int k = 1; k <= ArcSteps; ++k) {
        const auto [x, y] = at(k);
        c.lineTo(x, y);
    }
    // Head: two strokes back along the last chord, spread across it.
    const ArcPoint& end = points[ccw ? ArcSteps : 0];
    const ArcPoint& before = points[ccw ? ArcSteps - 1 : 1];
    const Real cx = end.dx - before.dx, cy = end.dy - before.dy, n = std::hypot(cx, cy);
    const Real tx = cx / n, ty = cy / n;
    const auto [hx, hy] = at(ArcSteps);
    for (const Real side : {-1.0L, 1.0L}) {
        const auto [ex, ey] = at(ArcSteps, -6 * tx - side * 4 * ty, -6 * ty + side * 4 * tx);
        c.moveTo(hx, hy);
        c.lineTo(ex, ey);
    }
    label(pg, X, -5, 40, l.v1);
}

// The distributed loads of a span summed: between consecutive ends of its
// loads the sum is linear, from w0 at x0 to w1 at x1.
struct Stretch {
    Real x0, x1, w0, w1;
};

std::vector<Stretch> spreadOf(const std::vector<SpanLoad>& loads, Real L)
{
    std::vector<Real> ends{0, L};
    for (const SpanLoad& l : loads)
        if (l.kind == LoadKind::Linear) ends.insert(ends.end(), {Real(l.a), Real(l.b)});
    std::sort(ends.begin(), ends.end());
    ends.erase(std::unique(ends.begin(), ends.end()), ends.end());
    std::vector<Stretch> stretches;
    for (std::size_t k = 0; k + 1 < ends.size(); ++k) {
        Stretch s{ends[k], ends[k + 1], 0, 0};
        for (const SpanLoad& l : loads) {
            if (l.kind == LoadKind::Uniform) {
                s.w0 += l.v1;
                s.w1 += l.v1;
            } else if (l.kind == LoadKind::Linear && l.a <= s.x0 && s.x1 <= l.b) {
                const Real slope = (Real(l.v2) - l.v1) / (Real(l.b) - l.a);
                s.w0 += l.v1 + slope * (s.x0 - l.a);
                s.w1 += l.v1 + slope * (s.x1 - l.a);
            }
        }
        if (s.w0 != 0 || s.w1 != 0) stretches.push_back(s);
    }
    return stretches;
}

// The span's distributed loads as one trapezoid of arrows per stretch: arrows
// every T/64 of the beam's length and at its end, their lengths in proportion
// to the load there (the largest of the beam gets 25 pixels), a line over
// them, the values at the stretch's ends. A single uniform load is drawn and
// labelled as on the data file's page.
void drawSpread(Canvas& c, Page& pg, Real X1, Real L, const std::vector<Stretch>& stretches, Real wmax,
                double T)
{
    const auto w = [](const Stretch& s, Real x) { return s.w0 + (s.w1 - s.w0) * (x - s.x0) / (s.x1 - s.x0); };
    const auto height = [&](Real v) { return SpreadHeight * std::fabs(v) / wmax; };
    // Arrows on one grid for the whole span, as on the data file's page.
    const auto arrow = [&](Real x) {
        for (const Stretch& s : stretches) {
            if (x < s.x0 || x > s.x1) continue;
            const Real v = w(s, x);
            const int h = static_cast<int>(std::lround(height(v)));
            if (v == 0 || h < 1) return;
            const Stroke down[3] = {{0, 2, -2, 6}, {0, 2, 2, 6}, {0, 0, 0, h}};
            const Stroke up[3] = {{0, h, -2, h - 4}, {0, h, 2, h - 4}, {0, 2, 0, h}};
            drawStrokes(c, pg.map, X1 + x, 0, v < 0 ? down : up);
            return;
        }
    };
    const long count = std::max(1L, std::lround(std::ceil(L / (T / 64))));
    for (long k = 0; k < count; ++k) arrow(L * k / count);
    arrow(L);
    for (const Stretch& s : stretches) {
        // The outline, through the zero of a load that changes sign.
        c.moveTo(pg.map.px(X1 + s.x0), pg.map.py(0, height(s.w0)));
        if (s.w0 * s.w1 < 0)
            c.lineTo(pg.map.px(X1 + s.x0 + (s.x1 - s.x0) * s.w0 / (s.w0 - s.w1)), pg.map.py(0));
        c.lineTo(pg.map.px(X1 + s.x1), pg.map.py(0, height(s.w1)));
        if (s.w0 == s.w1 && s.x0 == 0 && s.x1 == L) {
            label(pg, X1, 5, 45, static_cast<double>(s.w0));
            continue;
        }
        const auto above = [&](Real v) { return static_cast<int>(std::lround(height(v))) + 20; };
        if (s.w0 != 0) label(pg, X1 + s.x0, 2, above(s.w0), static_cast<double>(s.w0));
        if (s.w1 != 0 && s.w1 != s.w0) label(pg, X1 + s.x1, 2, above(s.w1), static_cast<double>(s.w1));
    }
}

// The labels kept so far by x: whether a label would cover one of them. A
// crowded value is left out rather than written over another; only those
// within reach in x are looked at, however many loads the beam carries.
class KeptLabels {
public:
    bool crowded(const Label& t) const
    {
        const auto last = byX_.upper_bound(t.x + 39);
        for (auto k = byX_.lower_bound(t.x - 39); k != last; ++k)
            if (std::abs(k->second - t.y) < 16) return true;
        return false;
    }
    void keep(const Label& t) { byX_.emplace(t.x, t.y); }

private:
    std::multimap<int, int> byX_;
};

// Concentrated loads and moments with the wide pen, distributed loads with
// the thin one, then every value in the load font: one pen or font change
// per kind, however many loads.
void drawLoads(Canvas& c, Page& pg, const BeamLoads& loads)
{
    if (!pg.s.CheckBox2) return;
    std::vector<std::vector<Stretch>> spreads;
    Real wmax = 0;
    for (std::size_t k = 0; k < pg.f.spans.size(); ++k) {
        spreads.push_back(spreadOf(loads.at(k), pg.curves[k].L));
        for (const Stretch& s : spreads.back()) wmax = std::max({wmax, std::fabs(s.w0), std::fabs(s.w1)});
    }
    const double T = pg.f.length();
    for (const bool spread : {false, true}) {
        c.setPen(colors::Black, spread ? 1 : 2);
        for (std::size_t k = 0; k < pg.f.spans.size(); ++k) {
            const Real X1 = pg.f.nodes[pg.f.spans[k].start].X;
            if (spread) {
                drawSpread(c, pg, X1, pg.curves[k].L, spreads[k], wmax, T);
                continue;
            }
            for (const SpanLoad& l : loads.at(k)) {
                if (l.kind == LoadKind::Point) drawPoint(c, pg, X1 + l.a, l);
                if (l.kind == LoadKind::Moment) drawMoment(c, pg, X1 + l.a, l);
            }
        }
    }
    if (pg.labels.empty()) return;
    c.setFont(PageFont, pg.s.UpDown1);
    KeptLabels kept;
    for (const Label& t : pg.labels) {
        if (kept.crowded(t)) continue;
        kept.keep(t);
        c.textOut(t.x, t.y, formatMagnitude(std::fabs(t.value), MagnitudeDigits));
    }
}

// From the axis at the span's start through every piece (its start value,
// samples inside a curved piece, its end value) and back to the axis, so a
// jump is a vertical stroke exactly at its load.
void drawCurve(Canvas& c, const Page& pg, Kind kind, Real X1, const SpanCurve& curve)
{
    c.setPen(colors::Blue, 1);
    const Real perSpan = std::clamp(std::fabs(curve.L * Real(pg.map.sx)), FewestSamples, MostSamples);
    int lastX = pg.map.px(X1), lastY = pg.map.py(0);
    c.moveTo(lastX, lastY);
    // A sample on the pixel of the one before adds nothing to the line.
    const auto to = [&](int x, int y) {
        if (x == lastX && y == lastY) return;
        c.lineTo(x, y);
        lastX = x, lastY = y;
    };
    for (const Piece& p : curve.pieces) {
        const Real h = Real(p.x1) - p.x0;
        const bool straight = p.c[3] == 0 && (kind == Kind::Shear || p.c[2] == 0);
        const long steps = straight ? 1 : std::max(2L, std::lround(std::ceil(perSpan * h / curve.L)));
        for (long k = 0; k <= steps; ++k) {
            const Real t = h * k / steps;
            to(pg.map.px(X1 + p.x0 + t), pg.map.py(plotted(kind, p, t)));
        }
    }
    to(pg.map.px(X1 + curve.L), pg.map.py(0));
}

Recording drawPage(const BeamFrame& f, const BeamLoads& loads, const std::vector<SpanCurve>& curves,
                   const DiagramSettings& s, Kind kind)
{
    const bool moments = kind == Kind::Moments;
    const int W = moments ? s.momentWidth : s.shearWidth;
    const int H = moments ? s.momentHeight : s.shearHeight;
    if (curves.size() != f.spans.size()) throw IndexError("curvas de outra viga");
    Page pg{f, s, {}, curves, {}};
    double lo = 0, hi = 0;
    for (const SpanCurve& c : curves) {
        lo = std::min(lo, moments ? c.smallestMoment().value : c.smallestShear().value);
        hi = std::max(hi, moments ? c.largestMoment().value : c.largestShear().value);
    }
    // The part above the axis: the most negative moment (plotted upward) or the largest shear.
    const double U = moments ? lo : hi;
    pg.map.H = H;
    pg.map.sx = store(Real(EscalaHorizontal(f, s)) * s.ZoomDesenho / 100);
    pg.map.sy = store(Real(verticalScale(H, lo, hi)) * VerticalZoom(s) / 100);
    pg.map.x0 = addInt(s.DeslocamentoDesenho, LeftMargin);
    pg.map.y0 = roundEven(Real(H) / Fit - std::fabs(Real(U) * pg.map.sy) / Fit);

    RecordingCanvas recording(W, H);
    ClippingCanvas clipped(recording, W, H);
    Canvas& canvas = f.clip ? static_cast<Canvas&>(clipped) : recording;
    StartPage(canvas, W, H);
    DrawAxisAndSpanNumbers(canvas, f, pg.map, s);
    DrawSupports(canvas, f, pg.map, s);
    drawLoads(canvas, pg, loads);
    for (std::size_t k = 0; k < f.spans.size(); ++k) {
        const Real X1 = f.nodes[f.spans[k].start].X;
        drawCurve(canvas, pg, kind, X1, pg.curves[k]);
        canvas.setPen(colors::Green, 2);
        canvas.lineTo(pg.map.px(X1), pg.map.py(0));
    }
    DrawTitle(canvas, moments ? "Diagrama de Momentos Fletores" : "Diagrama de Cortantes");
    return recording.take();
}

}  // namespace

void DrawGeneralLoads(Canvas& c, const BeamFrame& f, const PageMapping& map, const BeamLoads& loads,
                      const std::vector<SpanCurve>& curves, const DiagramSettings& s)
{
    if (curves.size() != f.spans.size()) throw IndexError("curvas de outra viga");
    Page pg{f, s, map, curves, {}};
    drawLoads(c, pg, loads);
}

Recording DesenhaMomentosGeral(const AnalysisModel& m, const BeamLoads& loads,
                               const std::vector<SpanCurve>& curves, const DiagramSettings& s,
                               const std::string& dataFile, bool svg)
{
    Recording page = drawPage(FrameOf(m), loads, curves, s, Kind::Moments);
    SavePage(page, dataFile, "M", svg);
    return page;
}

Recording DesenhaCortantesGeral(const AnalysisModel& m, const BeamLoads& loads,
                                const std::vector<SpanCurve>& curves, const DiagramSettings& s,
                                const std::string& dataFile, bool svg)
{
    Recording page = drawPage(FrameOf(m), loads, curves, s, Kind::Shear);
    SavePage(page, dataFile, "C", svg);
    return page;
}

Recording DesenhaMomentosApoiados(const BeamFrame& f, const BeamLoads& loads, const std::vector<SpanCurve>& curves,
                                  const DiagramSettings& s, const std::string& dataFile, bool svg)
{
    Recording page = drawPage(f, loads, curves, s, Kind::Moments);
    SavePage(page, dataFile, "M", svg);
    return page;
}

Recording DesenhaCortantesApoiados(const BeamFrame& f, const BeamLoads& loads, const std::vector<SpanCurve>& curves,
                                   const DiagramSettings& s, const std::string& dataFile, bool svg)
{
    Recording page = drawPage(f, loads, curves, s, Kind::Shear);
    SavePage(page, dataFile, "C", svg);
    return page;
}

}  // namespace kalvoro
