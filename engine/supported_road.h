#pragma once
// Beams supported as they are built: vertical and rotational springs,
// settlements of restrained supports, internal hinges, and any number of
// spans. The analysis model keeps the capacities of the data file, so these
// beams are solved here, on vectors sized to the beam; a beam the data file
// can hold never comes here.
//
// Freedoms: per node its vertical displacement and rotation, and at a hinge a
// second rotation, that of the span on its right (each span's own rotation
// at the node: exact, nothing condensed). Restrained freedoms are prescribed
// (zero or the settlement) and eliminated exactly; springs add to the
// diagonal. The free part is a band matrix (half bandwidth 4) factored once
// as L D L^T, so every further load case (the influence lines' unit loads)
// costs one pair of substitutions.

#include <array>
#include <string>
#include <vector>

#include "general_road.h"
#include "span_loads.h"

namespace kalvoro {

// What a node adds to its support code; zero means none.
struct NodeSupport {
    double springVertical = 0;      // force per length, > 0
    double springRotation = 0;      // moment per radian, > 0
    double settlementVertical = 0;  // signs of the report's "Vertical"
    double settlementRotation = 0;  // signs of the report's "Rotação"
    bool hinge = false;
    bool any() const
    {
        return springVertical != 0 || springRotation != 0 || settlementVertical != 0 ||
               settlementRotation != 0 || hinge;
    }
    friend bool operator==(const NodeSupport&, const NodeSupport&) = default;
};

struct SupportedNode {
    double x = 0;
    int support = 0;  // 0, 1, 10 or 11: vertical and rotation digits
    NodeSupport extra;
};

struct SupportedSpan {
    double E = 0, I = 0;
};

struct SupportedBeam {
    std::vector<SupportedNode> nodes;
    std::vector<SupportedSpan> spans;  // span i joins nodes i and i + 1 (from 0 here)
};

struct SupportedResult {
    // Per node: vertical displacement, rotation (at a hinge, that of the span
    // on the left; rotationRight that of the span on the right), and the
    // force and moment the support carries (a spring's force included).
    std::vector<double> vertical, rotation, rotationRight, force, moment;
    std::vector<SpanCurve> curves;  // per span
    // Per span: shear and moment at its start from the displacements alone
    // (the analysis model's ElementStartShear and ElementStartMoment).
    std::vector<double> startShear, startMoment;
};

class SupportedSystem {
public:
    // Assembles and factors; EngineError for a mechanism, naming the hinge
    // that makes it when one does.
    explicit SupportedSystem(const SupportedBeam& beam);

    // The beam under its loads (loads[i] on span i) and settlements.
    SupportedResult solve(const BeamLoads& loads) const;
    // The same with the settlements left out: the influence lines' unit loads.
    SupportedResult solveLoads(const BeamLoads& loads) const;

    // Influence lines of the section at xs of span n (from 0) for a downward
    // unit load at each position (span, distance from its start): shear just
    // left and just right of xs, moment at xs. A unit load exactly at the
    // section counts in the right-hand shear only. Two substitutions in all:
    // the section's end forces are linear in the loads through the adjoint
    // solutions of the span's two end-force rows, so each position costs a
    // few products.
    struct Ordinate {
        double shearLeft, shearRight, moment;
    };
    std::vector<Ordinate> influence(std::size_t n, double xs,
                                    const std::vector<std::pair<std::size_t, double>>& positions) const;

    // The start shear and moment of span n from the displacements alone (as
    // SupportedResult has them) for a downward unit load at each position,
    // by the same two adjoint solutions: what any section of span n follows
    // from with the span's own load.
    struct StartForces {
        double shear, moment;
    };
    std::vector<StartForces> startForces(std::size_t n,
                                         const std::vector<std::pair<std::size_t, double>>& positions) const;

    std::size_t spanCount() const { return beam_.spans.size(); }
    double spanLength(std::size_t i) const { return lengths_[i]; }

private:
    SupportedResult run(const BeamLoads& loads, bool settle) const;
    std::size_t rotationLeft(std::size_t node) const { return first_[node] + 1; }
    std::size_t rotationRight(std::size_t node) const
    {
        return first_[node] + (beam_.nodes[node].extra.hinge ? 2 : 1);
    }
    void mechanism(std::size_t pivot) const;
    void substitute(std::vector<Real>& u) const;
    std::array<std::size_t, 4> freedoms(std::size_t span) const
    {
        return {first_[span], rotationRight(span), first_[span + 1], rotationLeft(span + 1)};
    }

    SupportedBeam beam_;
    std::vector<double> lengths_;
    std::vector<std::size_t> first_;  // per node: its vertical freedom
    std::vector<bool> prescribed_;    // per freedom
    std::vector<double> value_;       // per freedom: the prescribed value
    std::vector<double> factor_;      // band rows of L (unit diagonal) and D
    std::vector<double> coupling_;    // band rows of K before elimination
    std::size_t count_ = 0;
};

// The results report of these beams, with the blocks and columns of the
// specified one (UTF-8, CR LF line ends).
std::string RelatorioApoiado(const SupportedResult& r);

}  // namespace kalvoro
