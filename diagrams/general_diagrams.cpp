#include "general_diagrams.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "data/numbers.h"
#include "diagram_layout.h"
#include "diagrams.h"
#include "engine/engine.h"
#include "engine/general_road.h"
#include "support_symbols.h"

namespace kalvoro {

namespace {

// Samples per span length of a curved piece (a straight piece needs only its ends).
constexpr int SamplesPerSpan = 128;
// The tallest arrow of a distributed load, in pixels.
constexpr Real SpreadHeight = 25;

enum class Kind { Moments, Shear };

struct Page {
    const AnalysisModel& m;
    const DiagramSettings& s;
    PageMapping map;
    std::vector<SpanCurve> curves;
};

double plotted(Kind kind, const Piece& p, Real t)
{
    return store(kind == Kind::Moments ? -p.moment(t) : p.shear(t));
}

void label(Canvas& c, const Page& pg, Real X, int dx, int dy, double value)
{
    c.setFont(PageFont, pg.s.UpDown1);
    c.textOut(pg.map.px(X, dx), pg.map.py(0, dy), formatMagnitude(std::fabs(value), MagnitudeDigits));
}

void drawPoint(Canvas& c, const Page& pg, Real X, const SpanLoad& l)
{
    if (l.v1 == 0) return;
    c.setPen(colors::Black, 2);
    drawStrokes(c, pg.map, X, 0, l.v1 < 0 ? PointDown : PointUp);
    label(c, pg, X, -5, 70, l.v1);
}

// An arc of radius 14 pixels around the point, turning in the moment's sense,
// with its head at the end.
void drawMoment(Canvas& c, const Page& pg, Real X, const SpanLoad& l)
{
    if (l.v1 == 0) return;
    c.setPen(colors::Black, 2);
    constexpr Real r = 14, from = -std::numbers::pi_v<Real> / 6, sweep = 4 * std::numbers::pi_v<Real> / 3;
    const Real sense = l.v1 > 0 ? 1 : -1;  // counter-clockwise when positive
    const Real start = sense > 0 ? from : from + sweep;
    constexpr int steps = 16;
    const auto at = [&](Real angle, Real dx, Real dy) {
        return std::pair{pg.map.px(X, r * std::cos(angle) + dx), pg.map.py(0, r * std::sin(angle) + dy)};
    };
    auto [x, y] = at(start, 0, 0);
    c.moveTo(x, y);
    Real angle = start;
    for (int k = 1; k <= steps; ++k) {
        angle = start + sense * sweep * k / steps;
        const auto [px, py] = at(angle, 0, 0);
        c.lineTo(px, py);
    }
    // Head: two strokes back along the tangent, spread across it.
    const Real tx = -sense * std::sin(angle), ty = sense * std::cos(angle);
    const Real nx = -ty, ny = tx;
    for (const Real side : {-1.0L, 1.0L}) {
        const auto [hx, hy] = at(angle, 0, 0);
        const auto [ex, ey] = at(angle, -6 * tx + side * 4 * nx, -6 * ty + side * 4 * ny);
        c.moveTo(hx, hy);
        c.lineTo(ex, ey);
    }
    label(c, pg, X, -5, 40, l.v1);
}

// Arrows every T/64 of the beam's length from a to b and one at b, their
// lengths in proportion to the load there (the largest distributed load of
// the beam gets 25 pixels), a line over their tails or heads, the end values.
void drawSpread(Canvas& c, const Page& pg, Real X1, Real L, const SpanLoad& l, Real wmax, double T)
{
    const Real a = l.kind == LoadKind::Uniform ? 0 : Real(l.a);
    const Real b = l.kind == LoadKind::Uniform ? L : Real(l.b);
    const Real q1 = l.v1, q2 = l.kind == LoadKind::Uniform ? Real(l.v1) : Real(l.v2);
    if (q1 == 0 && q2 == 0) return;
    const auto w = [&](Real x) { return q1 + (q2 - q1) * (x - a) / (b - a); };
    const auto height = [&](Real x) { return SpreadHeight * std::fabs(w(x)) / wmax; };
    c.setPen(colors::Black, 1);
    const auto arrow = [&](Real x) {
        const Real v = w(x), h = height(x);
        if (v == 0 || h < 1) return;
        const Real X = X1 + x;
        const Stroke down[3] = {{0, 2, -2, 6}, {0, 2, 2, 6}, {0, 0, 0, static_cast<int>(std::lround(h))}};
        const int top = static_cast<int>(std::lround(h));
        const Stroke up[3] = {{0, top, -2, top - 4}, {0, top, 2, top - 4}, {0, 2, 0, top}};
        drawStrokes(c, pg.map, X, 0, v < 0 ? down : up);
    };
    const Real t = T / 64;
    const long count = std::max(1L, std::lround(std::ceil((b - a) / t)));
    for (long k = 0; k < count; ++k) arrow(a + (b - a) * k / count);
    arrow(b);
    // The outline through the zero of a load that changes sign.
    c.moveTo(pg.map.px(X1 + a), pg.map.py(0, height(a)));
    if (q1 * q2 < 0) {
        const Real x0 = a + (b - a) * q1 / (q1 - q2);
        c.lineTo(pg.map.px(X1 + x0), pg.map.py(0, 0));
    }
    c.lineTo(pg.map.px(X1 + b), pg.map.py(0, height(b)));
    if (l.kind == LoadKind::Uniform) {
        label(c, pg, X1, 5, 45, l.v1);
    } else {
        label(c, pg, X1 + a, 2, static_cast<int>(std::lround(height(a))) + 20, l.v1);
        label(c, pg, X1 + b, 2, static_cast<int>(std::lround(height(b))) + 20, l.v2);
    }
}

void drawLoads(Canvas& c, const Page& pg, const BeamLoads& loads)
{
    if (!pg.s.CheckBox2) return;
    Real wmax = 0;
    for (const auto& span : loads)
        for (const SpanLoad& l : span)
            if (l.kind == LoadKind::Uniform || l.kind == LoadKind::Linear)
                wmax = std::max({wmax, std::fabs(Real(l.v1)), std::fabs(Real(l.v2))});
    const double T = ComprimentoTotal(pg.m);
    for (long i = 1; i <= pg.m.ElementCount; ++i) {
        const Real X1 = pg.m.Coord(pg.m.Incidence(i, 1), 1);
        for (const SpanLoad& l : loads.at(static_cast<std::size_t>(i - 1))) {
            if (l.kind == LoadKind::Point) drawPoint(c, pg, X1 + l.a, l);
            if (l.kind == LoadKind::Moment) drawMoment(c, pg, X1 + l.a, l);
            if (l.kind == LoadKind::Uniform || l.kind == LoadKind::Linear)
                drawSpread(c, pg, X1, pg.curves[static_cast<std::size_t>(i - 1)].L, l, wmax, T);
        }
    }
}

// From the axis at the span's start through every piece (its start value,
// samples inside a curved piece, its end value) and back to the axis, so a
// jump is a vertical stroke exactly at its load.
void drawCurve(Canvas& c, const Page& pg, Kind kind, Real X1, const SpanCurve& curve)
{
    c.setPen(colors::Blue, 1);
    c.moveTo(pg.map.px(X1), pg.map.py(0));
    for (const Piece& p : curve.pieces) {
        const Real h = Real(p.x1) - p.x0;
        const bool straight = p.c[3] == 0 && (kind == Kind::Shear || p.c[2] == 0);
        const long steps = straight ? 1 : std::max(2L, std::lround(std::ceil(SamplesPerSpan * h / curve.L)));
        for (long k = 0; k <= steps; ++k) {
            const Real t = h * k / steps;
            c.lineTo(pg.map.px(X1 + p.x0 + t), pg.map.py(plotted(kind, p, t)));
        }
    }
    c.lineTo(pg.map.px(X1 + curve.L), pg.map.py(0));
}

Recording drawPage(const AnalysisModel& m, const BeamLoads& loads, const DiagramSettings& s, Kind kind,
                   const std::vector<NodeSupport>* extras = nullptr)
{
    const bool moments = kind == Kind::Moments;
    const int W = moments ? s.momentWidth : s.shearWidth;
    const int H = moments ? s.momentHeight : s.shearHeight;
    Page pg{m, s, {}, {}};
    double lo = 0, hi = 0;
    for (long i = 1; i <= m.ElementCount; ++i) {
        pg.curves.push_back(CurvaDoTrecho(m, loads, i));
        const SpanCurve& c = pg.curves.back();
        lo = std::min(lo, moments ? c.smallestMoment().value : c.smallestShear().value);
        hi = std::max(hi, moments ? c.largestMoment().value : c.largestShear().value);
    }
    // The part above the axis: the most negative moment (plotted upward) or the largest shear.
    const double U = moments ? lo : hi;
    pg.map.H = H;
    pg.map.sx = store(Real(EscalaHorizontal(m, s)) * s.ZoomDesenho / 100);
    pg.map.sy = store(Real(verticalScale(H, lo, hi)) * s.ZoomDesenho / 100);
    pg.map.x0 = addInt(s.DeslocamentoDesenho, LeftMargin);
    pg.map.y0 = roundEven(Real(H) / Fit - std::fabs(Real(U) * pg.map.sy) / Fit);

    RecordingCanvas canvas(W, H);
    StartPage(canvas, W, H);
    DrawAxisAndSpanNumbers(canvas, m, pg.map, s);
    DrawSupports(canvas, m, pg.map);
    if (extras) {
        std::vector<double> nodeX;
        for (long n = 1; n <= m.NodeCount; ++n) nodeX.push_back(m.Coord(n, 1));
        DrawNodeSupports(canvas, pg.map, nodeX, *extras, s);
    }
    drawLoads(canvas, pg, loads);
    for (long i = 1; i <= m.ElementCount; ++i) {
        const Real X1 = m.Coord(m.Incidence(i, 1), 1);
        drawCurve(canvas, pg, kind, X1, pg.curves[static_cast<std::size_t>(i - 1)]);
        canvas.setPen(colors::Green, 2);
        canvas.lineTo(pg.map.px(X1), pg.map.py(0));
    }
    DrawTitle(canvas, moments ? "Diagrama de Momentos Fletores" : "Diagrama de Cortantes");
    return canvas.take();
}

}  // namespace

Recording DesenhaMomentosGeral(const AnalysisModel& m, const BeamLoads& loads, const DiagramSettings& s,
                               const std::string& dataFile, bool svg)
{
    Recording page = drawPage(m, loads, s, Kind::Moments);
    SavePage(page, dataFile, "M", svg);
    return page;
}

Recording DesenhaCortantesGeral(const AnalysisModel& m, const BeamLoads& loads, const DiagramSettings& s,
                                const std::string& dataFile, bool svg)
{
    Recording page = drawPage(m, loads, s, Kind::Shear);
    SavePage(page, dataFile, "C", svg);
    return page;
}

Recording DesenhaMomentosApoiados(const AnalysisModel& m, const BeamLoads& loads,
                                  const std::vector<NodeSupport>& nodes, const DiagramSettings& s,
                                  const std::string& dataFile, bool svg)
{
    Recording page = drawPage(m, loads, s, Kind::Moments, &nodes);
    SavePage(page, dataFile, "M", svg);
    return page;
}

Recording DesenhaCortantesApoiados(const AnalysisModel& m, const BeamLoads& loads,
                                   const std::vector<NodeSupport>& nodes, const DiagramSettings& s,
                                   const std::string& dataFile, bool svg)
{
    Recording page = drawPage(m, loads, s, Kind::Shear, &nodes);
    SavePage(page, dataFile, "C", svg);
    return page;
}

}  // namespace kalvoro
