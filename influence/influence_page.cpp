// The moment influence line's page from its ordinates.

#include "influence/influence_page.h"

#include <algorithm>
#include <cmath>

#include "data/numbers.h"
#include "diagrams/diagrams.h"
#include "engine/errors.h"
#include "engine/text_fields.h"

namespace kalvoro {

namespace {

// Draws lines on the canvas from points given before rounding, as the page
// mapping makes them: column rnd(x) and row H - rnd(y). A line whose ends
// both lie within the 16-bit range of a metafile is drawn exactly as the
// mapping would draw it; one that leaves that range is cut where it crosses
// the range's border, so a scale that sends a curve millions of rows away
// still gives a page with every line it can hold.
class ClippedPath {
public:
    ClippedPath(Canvas& c, int H) : c_(c), H_(H) {}

    void moveTo(Real x, Real y)
    {
        at_ = {x, y};
        penAt_ = fits(at_);
        if (penAt_) c_.moveTo(roundEven(x), subInt(H_, roundEven(y)));
    }

    void lineTo(Real x, Real y)
    {
        const Point a = at_, b{x, y};
        at_ = b;
        if (penAt_ && fits(b)) return put(b, false);
        // Liang-Barsky: the part of a..b inside the range, t from 0 to 1.
        const Point d{b.x - a.x, b.y - a.y};
        Real t0 = 0, t1 = 1;
        const auto cut = [&](Real delta, Real fromLow, Real toHigh) {
            // a + t delta must stay within [low, high]: fromLow = a - low, toHigh = high - a.
            if (delta == 0) return fromLow >= 0 && toHigh >= 0;
            const Real tLow = -fromLow / delta, tHigh = toHigh / delta;
            t0 = std::max(t0, std::min(tLow, tHigh));
            t1 = std::min(t1, std::max(tLow, tHigh));
            return true;
        };
        const Real yLow = H_ - High, yHigh = H_ - Low;  // rows -32768..32767
        if (!cut(d.x, a.x - Low, High - a.x) || !cut(d.y, a.y - yLow, yHigh - a.y) || t0 > t1) {
            penAt_ = false;
            return;
        }
        if (!(penAt_ && t0 == 0)) put({a.x + t0 * d.x, a.y + t0 * d.y}, true);
        const bool whole = t1 == 1 && fits(b);
        put(whole ? b : Point{a.x + t1 * d.x, a.y + t1 * d.y}, false);
        penAt_ = whole;
    }

private:
    struct Point {
        Real x, y;
    };
    static constexpr Real Low = -32768, High = 32767;

    bool fits(const Point& p) const
    {
        return p.x >= Low && p.x <= High && p.y >= H_ - High && p.y <= H_ - Low;
    }
    void put(const Point& p, bool move)
    {
        const int x = roundEven(p.x), y = subInt(H_, roundEven(p.y));
        if (move)
            c_.moveTo(x, y);
        else
            c_.lineTo(x, y);
    }

    Canvas& c_;
    int H_;
    Point at_{0, 0};
    bool penAt_ = false;  // the canvas's pen stands on at_
};

}  // namespace

std::vector<double> InfluenceAbscissae(double X1, double X2)
{
    std::vector<double> X;
    const double step = store((static_cast<Real>(X2) - X1) / 64);
    // A step too small to move x (a tiny span far from the origin) ends the
    // walk rather than repeating x for ever.
    for (double x = X1; x < X2;) {
        X.push_back(x);
        const double next = store(static_cast<Real>(x) + step);
        if (!(next > x)) break;
        x = next;
    }
    X.push_back(X2);
    return X;
}

Recording InfluencePage(const BeamFrame& frame, const DiagramSettings& s,
                        const std::vector<InfluenceSpan>& spans, double Mref, Real beamLength, long n,
                        double xs)
{
    const int W = s.influenceWidth;
    const int H = s.influenceHeight;

    // Rounding leaves a moment that is zero in theory (every load on a pinned
    // end, a load right of a section on an overhang) at some 1e-17 instead of
    // 0: a reference that small is none, and the largest ordinate drawn takes
    // its place; a line with no ordinate above it is no line to draw.
    const Real zero = beamLength * 1e-9L;
    if (std::fabs(static_cast<Real>(Mref)) <= zero) {
        for (const InfluenceSpan& c : spans)
            for (const double v : c.M)
                if (std::fabs(v) > std::fabs(Mref)) Mref = v;
        if (std::fabs(static_cast<Real>(Mref)) <= zero)
            throw ArithmeticError("linha de influência nula em toda a viga");
    }

    const double sx = EscalaHorizontal(frame, s);
    const double sy = store(div(H, std::fabs(static_cast<Real>(Mref)) * 2.5L * 1.2L));
    const int G = roundEven(static_cast<Real>(H) / 2);

    // The moment ordinate is plotted as -M: row H - rnd(G - M sy).
    const PageMapping map{sx, sy, 20, G, H};
    // The mapping's values before rounding, computed as it computes them.
    const auto col = [&](double X) { return static_cast<Real>(X) * sx + map.x0; };
    const auto row = [&](Real v) { return v * sy + map.y0; };

    RecordingCanvas canvas(W, H);
    StartPage(canvas, W, H);
    DrawAxisAndSpanNumbers(canvas, frame, map, s);
    DrawSupports(canvas, frame, map, s);

    for (const InfluenceSpan& c : spans) {
        canvas.setPen(colors::Blue, 1);
        ClippedPath path(canvas, H);
        path.moveTo(col(c.X1), row(c.Y1));
        for (std::size_t i = 0; i < c.X.size(); ++i)
            path.lineTo(col(c.X[i]), row(-static_cast<Real>(c.M[i])));
        path.lineTo(col(c.X2), row(c.Y2));

        canvas.setPen(colors::Green, 2);
        canvas.lineTo(map.px(c.X1), map.py(c.Y1));
    }

    DrawTitle(canvas, "Linha de Influência (trecho:" + fieldInt(n, 0) +
                          " seção:" + formatMagnitude(std::fabs(xs), 7) + ")");
    return canvas.take();
}

}  // namespace kalvoro
