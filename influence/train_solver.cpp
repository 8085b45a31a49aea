#include "influence/train_solver.h"

#include <cmath>

#include "engine/arithmetic.h"
#include "engine/engine.h"
#include "engine/errors.h"
#include "engine/section_forces.h"
#include "influence/influence.h"
#include "influence/train_beam.h"

namespace kalvoro {

TrainSolver::TrainSolver(AnalysisModel& m) : m_(m)
{
    solver_.emplace(m);
}

TrainSolver::~TrainSolver()
{
    if (!solver_) return;
    try {
        finish();
    } catch (const Error&) {
    }
}

UnitSolution TrainSolver::solve(long k, double d)
{
    solver_->solve(k, d);
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

void TrainSolver::finish()
{
    if (!solver_) return;
    solver_.reset();  // puts the user's rows back
    RestoreUserSolution(m_);
}

double SpanLength(const AnalysisModel& m, long k)
{
    const long e = m.LoadRowElement(k, 1);
    const double x1 = m.Coord(m.Incidence(e, 1), 1);
    const double x2 = m.Coord(m.Incidence(e, 2), 1);
    return store(std::fabs(static_cast<Real>(x2) - static_cast<Real>(x1)));
}

SectionValues ForcesAt(const AnalysisModel& m, const UnitSolution& s, long n, double x)
{
    const auto i = static_cast<std::size_t>(n);
    return UnitLoadForces(SpanLength(m, n), s.k == n, s.d, {s.V0.at(i), s.M0.at(i)}, x);
}

}  // namespace kalvoro
