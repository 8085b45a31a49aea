// The moment influence line drawn over the whole beam. Every ordinate is
// solved as Li solves it, through the one factor of the matrix the drawing
// makes (unit_load_solver.h); the frame (axis, span numbers,
// supports) is the one of the moment and shear pages, with this page's own
// vertical scale and origin and without pan or zoom.
//
// Mapping: an abscissa X goes to column rnd(X sx + 20), a point of the axis at
// height Y to row H - rnd(Y sy + G), and a moment M, plotted as -M like the
// moment diagram, to row H - rnd(G - M sy): a sagging moment lies below the axis.

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

#include "data/numbers.h"
#include "diagrams/diagrams.h"
#include "diagrams/page_frame.h"
#include "engine/arithmetic.h"
#include "engine/errors.h"
#include "engine/text_fields.h"
#include "influence/influence.h"
#include "influence/unit_load_solver.h"

namespace kalvoro {

namespace {

// One span's curve: its end nodes and the moment at every point drawn.
struct SpanCurve {
    double X1, Y1, X2, Y2;
    std::vector<double> X;  // the stepped abscissae, then X2
    std::vector<double> M;
};

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

// The moment at section (n, xs) for the unit load on row k at d, one position
// as Li gives it: a position that cannot be solved or evaluated leaves M as it
// was. Positions the report of the command has solved are taken from it.
class PointMoments {
public:
    PointMoments(AnalysisModel& m, long n, double xs, const SolvedPositions* solved)
        : n_(n), xs_(xs), solved_(solved && solved->holds(n, xs) ? solved : nullptr)
    {
        // A beam no position of which can be solved leaves every point failed.
        try {
            solver_.emplace(m);
        } catch (const Error&) {
        }
    }

    void at(long k, double d, double& M)
    {
        if (solved_) {
            if (const std::optional<double>* known = solved_->find(k, d)) {
                if (*known) M = **known;
                return;
            }
        }
        if (!solver_) return;
        try {
            solver_->solve(k, d);
        } catch (const Error&) {
            return;
        }
        double ignored = 0;
        solver_->sectionForces(n_, xs_, M, ignored);
    }

private:
    long n_;
    double xs_;
    const SolvedPositions* solved_;
    std::optional<UnitLoadSolver> solver_;
};

// The picture itself; the model's load rows come back afterwards, its
// solution is the last unit load's.
Recording drawInfluencePage(AnalysisModel& m, const DiagramSettings& s, long n, double xs,
                            const SolvedPositions* solved)
{
    const int W = s.influenceWidth;
    const int H = s.influenceHeight;

    const long e = m.LoadRowElement(n, 1);
    const long I = m.Incidence(e, 1);
    const long J = m.Incidence(e, 2);
    const Real dx = static_cast<Real>(m.Coord(I, 1)) - m.Coord(J, 1);
    const Real dy = static_cast<Real>(m.Coord(I, 2)) - m.Coord(J, 2);
    const double Ln = store(root(dx * dx + dy * dy));

    // Reference ordinates: the unit load at the section and at the middle of
    // its span; the larger is drawn a third of the page height from the axis.
    PointMoments moments(m, n, xs, solved);
    double M1 = 0, M2 = 0;
    moments.at(n, xs, M1);
    moments.at(n, store(static_cast<Real>(Ln) / 2), M2);
    double Mref = std::fabs(M1) > std::fabs(M2) ? M1 : M2;

    // Every ordinate of the curve. A point whose solution fails keeps the
    // ordinate before it; the first one starts from the reference ordinate.
    std::vector<SpanCurve> curves;
    Real beamLength = 0;
    double M = Mref;
    for (long j = 1; j <= m.ElementCount; ++j) {
        const long ej = m.LoadRowElement(j, 1);
        const long a = m.Incidence(ej, 1);
        const long b = m.Incidence(ej, 2);
        SpanCurve c{m.Coord(a, 1), m.Coord(a, 2), m.Coord(b, 1), m.Coord(b, 2), {}, {}};
        const Real sdx = static_cast<Real>(c.X2) - c.X1, sdy = static_cast<Real>(c.Y2) - c.Y1;
        beamLength += root(sdx * sdx + sdy * sdy);
        const double step = store((static_cast<Real>(c.X2) - c.X1) / 64);
        // X grows by repeated addition: rounding decides whether the last pass
        // falls just below X2 (64 or 65 points before the end point).
        for (double X = c.X1; X < c.X2; X = store(static_cast<Real>(X) + step)) {
            moments.at(j, store(static_cast<Real>(X) - c.X1), M);
            c.X.push_back(X);
            c.M.push_back(M);
        }
        moments.at(j, store(static_cast<Real>(c.X2) - c.X1), M);
        c.X.push_back(c.X2);
        c.M.push_back(M);
        curves.push_back(std::move(c));
    }

    // Rounding leaves a moment that is zero in theory (every load on a pinned
    // end, a load right of a section on an overhang) at some 1e-17 instead of
    // 0: a reference that small is none, and the largest ordinate drawn takes
    // its place; a line with no ordinate above it is no line to draw.
    const Real zero = beamLength * 1e-9L;
    if (std::fabs(static_cast<Real>(Mref)) <= zero) {
        for (const SpanCurve& c : curves)
            for (const double v : c.M)
                if (std::fabs(v) > std::fabs(Mref)) Mref = v;
        if (std::fabs(static_cast<Real>(Mref)) <= zero)
            throw ArithmeticError("linha de influência nula em toda a viga");
    }

    const double sx = EscalaHorizontal(m, s);
    const double sy = store(div(H, std::fabs(static_cast<Real>(Mref)) * 2.5L * 1.2L));
    const int G = roundEven(static_cast<Real>(H) / 2);

    // The moment ordinate is plotted as -M: row H - rnd(G - M sy).
    const PageMapping map{sx, sy, 20, G, H};
    // The mapping's values before rounding, computed as it computes them.
    const auto col = [&](double X) { return static_cast<Real>(X) * sx + map.x0; };
    const auto row = [&](Real v) { return v * sy + map.y0; };

    RecordingCanvas canvas(W, H);
    StartPage(canvas, W, H);
    DrawAxisAndSpanNumbers(canvas, m, map, s);
    DrawSupports(canvas, m, map);

    for (const SpanCurve& c : curves) {
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

}  // namespace

bool DesenhaLinhaInfluencia(AnalysisModel& m, const DiagramSettings& s, const std::string& trechoText,
                            const std::string& posText, const std::string& dataFile,
                            const MessageSink& messages, Recording& page, bool svg,
                            const SolvedPositions* solved)
{
    const auto n = parseInt(trechoText);
    const auto xs = parseReal(posText);
    if (!n || !xs) {
        if (messages) messages("Trecho inválido e/ou seção inválida");
        return false;
    }
    // 0 passes here and fails at the first look-up of its row.
    if (*n < 0 || *n > m.LoadRowCount[1]) {
        if (messages) messages("Trecho inválido");
        return false;
    }

    try {
        page = drawInfluencePage(m, s, *n, *xs, solved);
        SavePage(page, dataFile, "LIM", svg);
    } catch (const Error&) {
        // The drawing's own failure is the one to report.
        try {
            RestoreUserSolution(m);
        } catch (const Error&) {
        }
        throw;
    }
    RestoreUserSolution(m);
    return true;
}

}  // namespace kalvoro
