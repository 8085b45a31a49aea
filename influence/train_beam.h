#pragma once
// What the load trains need of a beam, whichever road solves it: its spans
// along X, the start shear and moment of a span under a downward unit load
// at given positions, and the beam's own moment and shear at a section. The
// analysis model answers through its unit-load solutions (train_solver.h); a
// beam of the supported road through the adjoint solutions of its one
// factor, its own values from its solution (settlements included).

#include <vector>

#include "engine/analysis_model.h"
#include "engine/general_road.h"
#include "engine/supported_road.h"
#include "influence/train_solver.h"

namespace kalvoro {

// A span's start shear and moment from the displacements alone.
struct SpanForces {
    double V0 = 0, M0 = 0;
};

class TrainBeam {
public:
    virtual ~TrainBeam() = default;

    // Spans are numbered from 1.
    virtual long spanCount() const = 0;
    // X of the span's left and right nodes, and its length as the influence lines take it.
    virtual double spanStart(long k) const = 0;
    virtual double spanEnd(long k) const = 0;
    virtual double spanLength(long k) const = 0;
    // The beam under its own loads at x of span n: the moment, and the shear
    // just right of x (just left at the span's end).
    virtual SectionValues permanent(long n, double x) const = 0;
    // The unit load at each distance of positions[k - 1] along span k, once,
    // before any startForces; throws when a position cannot be solved.
    virtual void solveUnitLoads(const std::vector<std::vector<double>>& positions) = 0;
    // Span n's start forces under each of those unit loads: [k - 1][i].
    virtual std::vector<std::vector<SpanForces>> startForces(long n) const = 0;
};

// The analysis model holding the user's analysed beam; it ends holding it again.
class ModelTrainBeam : public TrainBeam {
public:
    explicit ModelTrainBeam(AnalysisModel& m) : m_(m) {}
    long spanCount() const override;
    double spanStart(long k) const override;
    double spanEnd(long k) const override;
    double spanLength(long k) const override;
    SectionValues permanent(long n, double x) const override;
    void solveUnitLoads(const std::vector<std::vector<double>>& positions) override;
    std::vector<std::vector<SpanForces>> startForces(long n) const override;

private:
    AnalysisModel& m_;
    std::vector<std::vector<UnitSolution>> solutions_;
};

// A beam of the supported road: its factored system and the curves of its
// solution under its loads. Each startForces costs two substitutions and a
// few products per position.
class SupportedTrainBeam : public TrainBeam {
public:
    SupportedTrainBeam(const SupportedSystem& system, const SupportedBeam& beam,
                       const std::vector<SpanCurve>& curves)
        : system_(system), beam_(beam), curves_(curves)
    {
    }
    long spanCount() const override;
    double spanStart(long k) const override;
    double spanEnd(long k) const override;
    double spanLength(long k) const override;
    SectionValues permanent(long n, double x) const override;
    void solveUnitLoads(const std::vector<std::vector<double>>& positions) override;
    std::vector<std::vector<SpanForces>> startForces(long n) const override;

private:
    const SupportedSystem& system_;
    const SupportedBeam& beam_;
    const std::vector<SpanCurve>& curves_;
    std::vector<std::size_t> counts_;  // positions per span
    std::vector<std::pair<std::size_t, double>> positions_;
};

// Moment and shear at abscissa x of a span of length L with the start forces
// f, as the influence lines give them: with the unit load on the span
// (loaded) at d, it counts in the moment from x >= d on and in the shear only
// for x > d (at x = d the shear just left of it).
SectionValues UnitLoadForces(double L, bool loaded, double d, const SpanForces& f, double x);
// Each of the two alone.
double UnitLoadMoment(double L, bool loaded, double d, const SpanForces& f, double x);
double UnitLoadShear(double L, bool loaded, double d, const SpanForces& f, double x);

}  // namespace kalvoro
