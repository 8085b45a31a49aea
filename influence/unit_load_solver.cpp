// Unit-load solutions through one factor: the steps of a solution that depend
// on the matrix alone run in the constructor, the steps that read the loads in
// every solve, in the order a fresh solution runs them.

#include "influence/unit_load_solver.h"

#include "engine/errors.h"
#include "influence/influence.h"

namespace kalvoro {

UnitLoadSolver::UnitLoadSolver(AnalysisModel& m) : m_(m), rows_(m)
{
    try {
        // The load steps run here too: what they refuse whatever the loads
        // (the rows' spans, the loaded nodes) fails before the matrix, as it
        // does in a fresh solution.
        rows_.clearRows();
        NovaCarga(m_);
        factor_.emplace(m_);
    } catch (...) {
        rows_.restoreUserRows();
        throw;
    }
}

void UnitLoadSolver::solve(long k, double d)
{
    rows_.clearRows();
    rows_.setUnitLoad(k, d);
    NovaCarga(m_);
    factor_->solve(m_);
}

bool UnitLoadSolver::sectionForces(long n, double x, double& M, double& V) const
{
    return SectionForces(m_, n, x, M, V);
}

}  // namespace kalvoro
