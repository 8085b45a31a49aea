// The moment influence line drawn over the whole beam. Every ordinate is
// solved as Li solves it, through the one factor of the matrix the drawing
// makes (unit_load_solver.h); the frame (axis, span numbers,
// supports) is the one of the moment and shear pages, with this page's own
// vertical scale and origin and without pan or zoom.
//
// Mapping: an abscissa X goes to column rnd(X sx + 20), a point of the axis at
// height Y to row H - rnd(Y sy + G), and a moment M, plotted as -M like the
// moment diagram, to row H - rnd(G - M sy): a sagging moment lies below the axis.

#include <cmath>
#include <optional>

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
    const double Mref = std::fabs(M1) > std::fabs(M2) ? M1 : M2;

    const double sx = EscalaHorizontal(m, s);
    const double sy = store(div(H, std::fabs(static_cast<Real>(Mref)) * 2.5L * 1.2L));
    const int G = roundEven(static_cast<Real>(H) / 2);

    // The moment ordinate is plotted as -M: row H - rnd(G - M sy).
    const PageMapping map{sx, sy, 20, G, H};

    RecordingCanvas canvas(W, H);
    StartPage(canvas, W, H);
    DrawAxisAndSpanNumbers(canvas, m, map, s);
    DrawSupports(canvas, m, map);

    // A point whose solution fails keeps the ordinate before it; the first
    // one starts from the reference ordinate.
    double M = Mref;
    for (long j = 1; j <= m.ElementCount; ++j) {
        const long ej = m.LoadRowElement(j, 1);
        const long a = m.Incidence(ej, 1);
        const long b = m.Incidence(ej, 2);
        const double X1 = m.Coord(a, 1), Y1 = m.Coord(a, 2);
        const double X2 = m.Coord(b, 1), Y2 = m.Coord(b, 2);

        canvas.setPen(colors::Blue, 1);
        const double step = store((static_cast<Real>(X2) - X1) / 64);
        canvas.moveTo(map.px(X1), map.py(Y1));
        // X grows by repeated addition: rounding decides whether the last pass
        // falls just below X2 (64 or 65 points before the end point).
        for (double X = X1; X < X2; X = store(static_cast<Real>(X) + step)) {
            moments.at(j, store(static_cast<Real>(X) - X1), M);
            canvas.lineTo(map.px(X), map.py(-static_cast<Real>(M)));
        }
        moments.at(j, store(static_cast<Real>(X2) - X1), M);
        canvas.lineTo(map.px(X2), map.py(-static_cast<Real>(M)));
        canvas.lineTo(map.px(X2), map.py(Y2));

        canvas.setPen(colors::Green, 2);
        canvas.lineTo(map.px(X1), map.py(Y1));
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
