#pragma once
// Unit-load solutions of one beam through one factor of its stiffness matrix.
//
// Where a unit load stands changes the loads only, never the matrix: its
// skyline layout, assembly, supports and decomposition are the same bits for
// every position. A solver makes them once, on the model, and then solves each
// position from its own load vector with the very routines a fresh solution
// runs (NovaCarga, MontaCargas, the supports' load terms, the substitutions
// and reactions of ResolveSistema, EsforcosExtremos), so every result is the
// same bits as a complete solution of the beam for that position. The
// matrix side is the engine's FactoredStiffness; this class adds the load
// rows: the unit load placed on them and the user's put back.
//
// The model is the solver's workspace: while a solver lives nothing else may
// change the model, and afterwards its solution is the last unit load's (the
// load rows are the user's again once the solver is gone or restoreUserRows
// has run). Whoever wants the user's solution back solves the beam again.

#include <optional>

#include "engine/analysis_model.h"
#include "engine/engine.h"
#include "influence/unit_load.h"

namespace kalvoro {

class UnitLoadSolver {
public:
    // Takes the user's load rows aside, empties them and decomposes the
    // matrix: NovaCarga (with every row empty), ColunasAltura, MontaRigidez,
    // MontaCargas, AplicaApoios and the decomposition, in that order. Throws
    // kalvoro::Error where every solution of this beam would fail whatever
    // its loads (a load row without a span, more than 25 loaded nodes, a span
    // of length 0, a mechanism, too many stiffness terms); the user's rows are
    // back then.
    explicit UnitLoadSolver(AnalysisModel& m);
    ~UnitLoadSolver() { rows_.restoreUserRows(); }
    UnitLoadSolver(const UnitLoadSolver&) = delete;
    UnitLoadSolver& operator=(const UnitLoadSolver&) = delete;

    // The downward unit load (P = -1, q = 0) alone on load row k at distance d
    // from the left node of the row's span. Afterwards the load rows hold that
    // load and the model holds, bit for bit, what NovaCarga and ColunasAltura
    // .. EsforcosExtremos would leave for them: displacements of load case 1 in
    // LoadVector(g, 1) (g = (node - 1) * 2 + 1 vertical, + 2 rotation),
    // Reaction, and per element e the start shear and moment from the
    // displacements alone (ElementStartShear[e], ElementStartMoment[e]).
    // Throws kalvoro::Error where that solution fails (a row k that does not
    // exist, a value out of range).
    void solve(long k, double d);

    // Moment M and shear V at abscissa x of load row n's span for the
    // solution of the last solve, as Li gives them: the span functions with
    // row n's own load (the unit load when n is the loaded row, nothing
    // otherwise) and the start forces of element n. False, with M and V left
    // as they were, when they cannot be evaluated.
    bool sectionForces(long n, double x, double& M, double& V) const;

    // The user's load rows back; the model keeps the last solution.
    void restoreUserRows() noexcept { rows_.restoreUserRows(); }

    AnalysisModel& model() const { return m_; }

private:
    AnalysisModel& m_;
    UnitLoadSession rows_;
    std::optional<FactoredStiffness> factor_;
};

}  // namespace kalvoro
