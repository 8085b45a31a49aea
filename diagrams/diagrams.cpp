#include "diagrams.h"

#include <cmath>

#include "data/numbers.h"
#include "diagram_layout.h"
#include "engine/arithmetic.h"
#include "engine/engine.h"
#include "engine/section_forces.h"
#include "page_frame.h"

namespace kalvoro {

namespace {

// Row k of load case 1 as a span of the page: its element's end points, and
// the seven values the span functions see (true length, loads, end forces).
struct PageSpan : SpanData {
    double X1, Y1, X2, Y2;
};

PageSpan spanOfRow(const AnalysisModel& m, long k)
{
    const long e = m.LoadRowElement(k, 1);
    const long a = m.Incidence(e, 1);
    const long b = m.Incidence(e, 2);
    PageSpan sp{};
    static_cast<SpanData&>(sp) = SpanOf(m, k);
    sp.X1 = m.Coord(a, 1);
    sp.Y1 = m.Coord(a, 2);
    sp.X2 = m.Coord(b, 1);
    sp.Y2 = m.Coord(b, 2);
    return sp;
}

double momentAt(const PageSpan& sp, Real x)
{
    return MomentoSecao(static_cast<double>(x), sp.q, sp.P, sp.d, sp.L, sp.V0, sp.M0);
}

double shearAt(const PageSpan& sp, Real x)
{
    return CortanteSecao(static_cast<double>(x), sp.q, sp.P, sp.d, sp.L, sp.V0, sp.M0);
}

// Steps a double from `from` while it stays below `to`, by repeated addition,
// so that rounding decides whether the last step lands a hair below `to`. A
// step too small to move the value ends the walk instead of looping forever.
template <class F>
void walk(double from, double to, double step, F&& visit)
{
    double x = from;
    while (x < to) {
        visit(x);
        const double next = static_cast<double>(Real(x) + step);
        if (!(next > x)) break;
        x = next;
    }
}

void drawConcentratedLoad(Canvas& c, const PageMapping& map, const PageSpan& sp, const DiagramSettings& s)
{
    // A load standing on the start node is left out of the picture (it still
    // acts in the analysis).
    if (!s.CheckBox2 || sp.d == 0 || sp.P == 0) return;
    c.setPen(colors::Black, 2);
    const Real X = Real(sp.X1) + sp.d;
    drawStrokes(c, map, X, sp.Y1, sp.P < 0 ? PointDown : PointUp);
    c.setFont(PageFont, s.UpDown1);
    c.textOut(map.px(X, -5), map.py(sp.Y1, 70), formatMagnitude(std::fabs(sp.P), MagnitudeDigits));
}

// Arrows every T/64 of the whole beam's length, so every span's arrows have
// the same spacing, plus one on the span's end; a line joins their tops.
void drawDistributedLoad(Canvas& c, const PageMapping& map, const PageSpan& sp, double T,
                         const DiagramSettings& s)
{
    if (!s.CheckBox2 || sp.q == 0) return;
    c.setPen(colors::Black, 1);
    const Stroke(&arrow)[3] = sp.q < 0 ? SpreadDown : SpreadUp;
    const double t = T / 64;
    walk(sp.X1, sp.X2, t, [&](double xq) { drawStrokes(c, map, xq, sp.Y1, arrow); });
    drawStrokes(c, map, sp.X2, sp.Y1, arrow);
    c.moveTo(map.px(sp.X2, 0), map.py(sp.Y2, 25));
    c.lineTo(map.px(sp.X1, 0), map.py(sp.Y1, 25));
    c.setFont(PageFont, s.UpDown1);
    c.textOut(map.px(sp.X1, 5), map.py(sp.Y1, 45), formatMagnitude(std::fabs(sp.q), MagnitudeDigits));
}

// The moment is plotted as -M: sagging moments hang below the axis. 128 equal
// steps of the span's X extent, then its end, then back to the axis.
void drawMomentCurve(Canvas& c, const PageMapping& map, const PageSpan& sp)
{
    c.setPen(colors::Blue, 1);
    c.moveTo(map.px(sp.X1), map.py(sp.Y1));
    const double h = static_cast<double>((Real(sp.X2) - sp.X1) / 128);
    walk(sp.X1, sp.X2, h,
         [&](double xs) { c.lineTo(map.px(xs), map.py(-Real(momentAt(sp, Real(xs) - sp.X1)))); });
    c.lineTo(map.px(sp.X2), map.py(-Real(momentAt(sp, Real(sp.X2) - sp.X1))));
    c.lineTo(map.px(sp.X2), map.py(sp.Y2));
}

// The shear is plotted as it is: positive above the axis. Being linear with a
// single step just after d, four values draw it exactly; the step is sampled
// one thousandth of the span's X extent past d.
void drawShearCurve(Canvas& c, const PageMapping& map, const PageSpan& sp)
{
    c.setPen(colors::Blue, 1);
    c.moveTo(map.px(sp.X1), map.py(sp.Y1));
    const Real Xd = Real(sp.X1) + sp.d;
    c.lineTo(map.px(sp.X1), map.py(shearAt(sp, 0)));
    c.lineTo(map.px(Xd), map.py(shearAt(sp, sp.d)));
    c.lineTo(map.px(Xd), map.py(shearAt(sp, sp.d + (Real(sp.X2) - sp.X1) / 1000)));
    c.lineTo(map.px(sp.X2), map.py(shearAt(sp, sp.L)));
    c.lineTo(map.px(sp.X2), map.py(sp.Y2));
}

enum class Kind { Moments, Shear };

// U: the extreme that lies above the axis (the most negative moment, which is
// plotted upwards, or the largest shear); 0 when there is none.
double upperExtreme(const AnalysisModel& m, Kind kind)
{
    double u = 0;
    for (long i = 1; i <= m.LoadRowCount[1]; ++i) {
        if (kind == Kind::Moments) {
            const double v = MaxMomentoNegativo(m, i);
            if (v < u) u = v;
        } else {
            const double v = MaxCortantePositivo(m, i);
            if (v > u) u = v;
        }
    }
    return u;
}

Recording drawPage(const AnalysisModel& m, const DiagramSettings& s, Kind kind)
{
    const bool moments = kind == Kind::Moments;
    const int W = moments ? s.momentWidth : s.shearWidth;
    const int H = moments ? s.momentHeight : s.shearHeight;

    PageMapping map;
    map.H = H;
    map.sx = store(Real(EscalaHorizontal(m, s)) * s.ZoomDesenho / 100);
    map.sy = store(Real(moments ? EscalaMomentos(m, s) : EscalaCortantes(m, s)) * s.ZoomDesenho / 100);
    const double U = upperExtreme(m, kind);
    map.x0 = addInt(s.DeslocamentoDesenho, LeftMargin);
    // The axis sits so that the part of the diagram above it reaches H/1.2
    // pixels above the bottom edge.
    map.y0 = roundEven(Real(H) / Fit - std::fabs(Real(U) * map.sy) / Fit);

    RecordingCanvas canvas(W, H);
    StartPage(canvas, W, H);
    DrawAxisAndSpanNumbers(canvas, m, map, s);
    DrawSupports(canvas, m, map);

    const double T = ComprimentoTotal(m);
    for (long k = 1; k <= m.ElementCount; ++k) {
        const PageSpan sp = spanOfRow(m, k);
        drawConcentratedLoad(canvas, map, sp, s);
        drawDistributedLoad(canvas, map, sp, T, s);
        if (moments)
            drawMomentCurve(canvas, map, sp);
        else
            drawShearCurve(canvas, map, sp);
        // The axis again over the curve's ends, closing its outline.
        canvas.setPen(colors::Green, 2);
        canvas.lineTo(map.px(sp.X1), map.py(sp.Y1));
    }

    DrawTitle(canvas, moments ? "Diagrama de Momentos Fletores" : "Diagrama de Cortantes");
    return canvas.take();
}

}  // namespace

double EscalaHorizontal(const AnalysisModel& m, const DiagramSettings& s)
{
    return EscalaHorizontal(FrameOf(m), s);
}

double EscalaHorizontal(const BeamFrame& f, const DiagramSettings& s)
{
    const double largest = f.largestX();
    if (std::fabs(largest) <= Guard) return FallbackScale;
    return store(div(s.momentWidth, largest * Fit));
}

double EscalaMomentos(const AnalysisModel& m, const DiagramSettings& s)
{
    double a = 0;
    double b = 0;
    for (long i = 1; i <= m.LoadRowCount[1]; ++i) {
        const double lo = MaxMomentoNegativo(m, i);
        if (lo < a) a = lo;
        const double hi = MaxMomentoPositivo(m, i);
        if (hi > b) b = hi;
    }
    return verticalScale(s.momentHeight, a, b);
}

double EscalaCortantes(const AnalysisModel& m, const DiagramSettings& s)
{
    double a = 0;
    double b = 0;
    for (long i = 1; i <= m.LoadRowCount[1]; ++i) {
        const double hi = MaxCortantePositivo(m, i);
        if (hi > a) a = hi;
        const double lo = MaxCortanteNegativo(m, i);
        if (lo < b) b = lo;
    }
    return verticalScale(s.shearHeight, a, b);
}

void DrawSpanLoads(Canvas& c, const AnalysisModel& m, const PageMapping& map, long k, double T,
                   const DiagramSettings& s)
{
    const PageSpan sp = spanOfRow(m, k);
    drawConcentratedLoad(c, map, sp, s);
    drawDistributedLoad(c, map, sp, T, s);
}

// The whole page is recorded before anything is written, so a failure while
// drawing leaves no file behind.
Recording DesenhaMomentos(const AnalysisModel& m, const DiagramSettings& s, const std::string& dataFile,
                          bool svg)
{
    Recording page = drawPage(m, s, Kind::Moments);
    SavePage(page, dataFile, "M", svg);
    return page;
}

Recording DesenhaCortantes(const AnalysisModel& m, const DiagramSettings& s, const std::string& dataFile,
                           bool svg)
{
    Recording page = drawPage(m, s, Kind::Shear);
    SavePage(page, dataFile, "C", svg);
    return page;
}

}  // namespace kalvoro
