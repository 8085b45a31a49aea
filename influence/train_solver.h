#pragma once
// The one place where the load trains get their unit-load solutions: the beam
// solved with a downward unit load at distance d on span k, kept as the start
// shear and moment of every span, from which the moment and shear at any
// section follow exactly as the influence lines take them.
//
// The stiffness matrix is factored once (UnitLoadSolver) and every position
// is substituted through that factor: the same bits as a complete solution.
// While a solver lives it owns the model's load rows; finish() (or the
// destructor) puts the user's rows back and solves the beam for them again,
// so the model ends as a Calculate left it.

#include <optional>
#include <vector>

#include "engine/analysis_model.h"
#include "influence/unit_load_solver.h"

namespace kalvoro {

// One unit-load position and the end forces it gives every span.
struct UnitSolution {
    long k = 0;                  // span (load row) carrying the unit load
    double d = 0;                // its distance from the span's left node
    std::vector<double> V0, M0;  // start shear and moment of spans 1..K (index 0 unused)
};

struct SectionValues {
    double M = 0, V = 0;
};

class TrainSolver {
public:
    explicit TrainSolver(AnalysisModel& m);
    ~TrainSolver();
    TrainSolver(const TrainSolver&) = delete;
    TrainSolver& operator=(const TrainSolver&) = delete;

    // Solves the beam for the unit load alone; throws on a failed solution.
    UnitSolution solve(long k, double d);

    // The user's rows and solution back; throws when the beam cannot be
    // solved for them. Called once; the destructor does it silently otherwise.
    void finish();

private:
    AnalysisModel& m_;
    std::optional<UnitLoadSolver> solver_;
};

// Moment and shear at abscissa x of span n under the solution, as the
// influence lines give them: the unit load counts in the moment from x >= d on
// and in the shear only for x > d (at x = d the shear just left of it).
SectionValues ForcesAt(const AnalysisModel& m, const UnitSolution& s, long n, double x);

// The X extent of load row k's span, which the influence lines use as its length.
double SpanLength(const AnalysisModel& m, long k);

}  // namespace kalvoro
