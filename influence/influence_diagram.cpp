// The moment influence line of the analysis model drawn over the whole beam.
// Every ordinate is solved as Li solves it, through the one factor of the
// matrix the drawing makes (unit_load_solver.h); the page is influence_page.h's.

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
#include "influence/influence_page.h"
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
    const long e = m.LoadRowElement(n, 1);
    const long I = m.Incidence(e, 1);
    const long J = m.Incidence(e, 2);
    const Real dx = static_cast<Real>(m.Coord(I, 1)) - m.Coord(J, 1);
    const Real dy = static_cast<Real>(m.Coord(I, 2)) - m.Coord(J, 2);
    const double Ln = store(root(dx * dx + dy * dy));

    // Reference ordinates: the unit load at the section and at the middle of
    // its span.
    PointMoments moments(m, n, xs, solved);
    double M1 = 0, M2 = 0;
    moments.at(n, xs, M1);
    moments.at(n, store(static_cast<Real>(Ln) / 2), M2);
    const double Mref = std::fabs(M1) > std::fabs(M2) ? M1 : M2;

    // Every ordinate of the curve. A point whose solution fails keeps the
    // ordinate before it; the first one starts from the reference ordinate.
    std::vector<InfluenceSpan> curves;
    Real beamLength = 0;
    double M = Mref;
    for (long j = 1; j <= m.ElementCount; ++j) {
        const long ej = m.LoadRowElement(j, 1);
        const long a = m.Incidence(ej, 1);
        const long b = m.Incidence(ej, 2);
        InfluenceSpan c{m.Coord(a, 1), m.Coord(a, 2), m.Coord(b, 1), m.Coord(b, 2), {}, {}};
        const Real sdx = static_cast<Real>(c.X2) - c.X1, sdy = static_cast<Real>(c.Y2) - c.Y1;
        beamLength += root(sdx * sdx + sdy * sdy);
        c.X = InfluenceAbscissae(c.X1, c.X2);
        for (const double X : c.X) {
            moments.at(j, store(static_cast<Real>(X) - c.X1), M);
            c.M.push_back(M);
        }
        curves.push_back(std::move(c));
    }
    return InfluencePage(FrameOf(m), s, curves, Mref, beamLength, n, xs);
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
