#include "influence/train_beam.h"

#include "engine/arithmetic.h"
#include "engine/errors.h"
#include "engine/section_forces.h"
#include "influence/train.h"

namespace kalvoro {

double UnitLoadMoment(double L, bool loaded, double d, const SpanForces& f, double x)
{
    return MomentoSecao(x, 0.0, loaded ? -1.0 : 0.0, loaded ? d : 0.0, L, f.V0, f.M0);
}

double UnitLoadShear(double L, bool loaded, double d, const SpanForces& f, double x)
{
    return CortanteSecao(x, 0.0, loaded ? -1.0 : 0.0, loaded ? d : 0.0, L, f.V0, f.M0);
}

SectionValues UnitLoadForces(double L, bool loaded, double d, const SpanForces& f, double x)
{
    return {UnitLoadMoment(L, loaded, d, f, x), UnitLoadShear(L, loaded, d, f, x)};
}

// ------------------------------------------------------------ the analysis model

long ModelTrainBeam::spanCount() const
{
    return m_.LoadRowCount[1];
}

double ModelTrainBeam::spanStart(long k) const
{
    return SpanStart(m_, k);
}

double ModelTrainBeam::spanEnd(long k) const
{
    return m_.Coord(m_.Incidence(m_.LoadRowElement(k, 1), 2), 1);
}

double ModelTrainBeam::spanLength(long k) const
{
    return SpanLength(m_, k);
}

// The user's beam at the section, where a concentrated load on it counts in
// the shear just right of it.
SectionValues ModelTrainBeam::permanent(long n, double x) const
{
    const SpanData sp = SpanOf(m_, n);
    SectionValues v{MomentoSecao(x, sp.q, sp.P, sp.d, sp.L, sp.V0, sp.M0),
                    CortanteSecao(x, sp.q, sp.P, sp.d, sp.L, sp.V0, sp.M0)};
    if (sp.d == x && x < SpanLength(m_, n)) v.V = store(Real(v.V) + sp.P);
    return v;
}

void ModelTrainBeam::solveUnitLoads(const std::vector<std::vector<double>>& positions)
{
    solutions_.assign(positions.size(), {});
    TrainSolver solver(m_);
    for (std::size_t k = 0; k < positions.size(); ++k)
        for (const double d : positions[k])
            solutions_[k].push_back(solver.solve(static_cast<long>(k) + 1, d));
    solver.finish();
}

std::vector<std::vector<SpanForces>> ModelTrainBeam::startForces(long n) const
{
    const auto i = static_cast<std::size_t>(n);
    std::vector<std::vector<SpanForces>> out(solutions_.size());
    for (std::size_t k = 0; k < solutions_.size(); ++k)
        for (const UnitSolution& s : solutions_[k]) out[k].push_back({s.V0.at(i), s.M0.at(i)});
    return out;
}

// ------------------------------------------------------------ the supported road

long SupportedTrainBeam::spanCount() const
{
    return static_cast<long>(system_.spanCount());
}

double SupportedTrainBeam::spanStart(long k) const
{
    return beam_.nodes.at(static_cast<std::size_t>(k - 1)).x;
}

double SupportedTrainBeam::spanEnd(long k) const
{
    return beam_.nodes.at(static_cast<std::size_t>(k)).x;
}

double SupportedTrainBeam::spanLength(long k) const
{
    return system_.spanLength(static_cast<std::size_t>(k - 1));
}

SectionValues SupportedTrainBeam::permanent(long n, double x) const
{
    const SpanCurve& c = curves_.at(static_cast<std::size_t>(n - 1));
    // A load on the section belongs to the piece it starts; at the span's end
    // the piece that ends there.
    const bool end = !(x < c.L);
    const Piece* p = &c.pieces.at(0);
    for (const Piece& q : c.pieces)
        if (end ? q.x0 < x : q.x0 <= x) p = &q;
    const Real t = Real(x) - p->x0;
    return {store(p->moment(t)), store(p->shear(t))};
}

void SupportedTrainBeam::solveUnitLoads(const std::vector<std::vector<double>>& positions)
{
    counts_.clear();
    positions_.clear();
    for (std::size_t k = 0; k < positions.size(); ++k) {
        counts_.push_back(positions[k].size());
        for (const double d : positions[k]) positions_.push_back({k, d});
    }
}

std::vector<std::vector<SpanForces>> SupportedTrainBeam::startForces(long n) const
{
    const auto forces = system_.startForces(static_cast<std::size_t>(n - 1), positions_);
    std::vector<std::vector<SpanForces>> out(counts_.size());
    std::size_t p = 0;
    for (std::size_t k = 0; k < counts_.size(); ++k)
        for (std::size_t i = 0; i < counts_[k]; ++i, ++p)
            out[k].push_back({forces[p].shear, forces[p].moment});
    return out;
}

}  // namespace kalvoro
