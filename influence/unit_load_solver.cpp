#include "influence/unit_load_solver.h"

#include <cmath>

#include "engine/arithmetic.h"
#include "engine/engine.h"
#include "engine/errors.h"
#include "engine/section_forces.h"
#include "influence/influence.h"
#include "influence/unit_load.h"

namespace kalvoro {

UnitLoadSolver::UnitLoadSolver(AnalysisModel& m) : m_(m), rows_(std::make_unique<UnitLoadSession>(m)) {}

UnitLoadSolver::~UnitLoadSolver()
{
    if (!rows_) return;
    try {
        finish();
    } catch (const Error&) {
    }
}

UnitSolution UnitLoadSolver::solve(long k, double d)
{
    rows_->clearRows();
    rows_->setUnitLoad(k, d);
    NovaCarga(m_);
    SolveBeam(m_);
    UnitSolution s{k, d, {}, {}};
    const long K = m_.LoadRowCount[1];
    s.V0.resize(static_cast<std::size_t>(K) + 1);
    s.M0.resize(static_cast<std::size_t>(K) + 1);
    for (long n = 1; n <= K; ++n) {
        s.V0[static_cast<std::size_t>(n)] = m_.ElementStartShear[n];
        s.M0[static_cast<std::size_t>(n)] = m_.ElementStartMoment[n];
    }
    return s;
}

void UnitLoadSolver::finish()
{
    const std::unique_ptr<UnitLoadSession> rows = std::move(rows_);
    if (!rows) return;
    rows->restoreUserRows();
    RestoreUserSolution(m_);
}

double SpanLength(const AnalysisModel& m, long k)
{
    const long e = m.LoadRowElement(k, 1);
    const double x1 = m.Coord(m.Incidence(e, 1), 1);
    const double x2 = m.Coord(m.Incidence(e, 2), 1);
    return store(std::fabs(static_cast<Real>(x2) - static_cast<Real>(x1)));
}

SectionForces ForcesAt(const AnalysisModel& m, const UnitSolution& s, long n, double x)
{
    const double L = SpanLength(m, n);
    const double P = s.k == n ? -1.0 : 0.0;
    const double d = s.k == n ? s.d : 0.0;
    const auto i = static_cast<std::size_t>(n);
    const double V0 = s.V0.at(i), M0 = s.M0.at(i);
    return {MomentoSecao(x, 0.0, P, d, L, V0, M0), CortanteSecao(x, 0.0, P, d, L, V0, M0)};
}

}  // namespace kalvoro
