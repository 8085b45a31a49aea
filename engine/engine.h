#pragma once
// The engine's analysis routines, in the order of one analysis run:
//   ColunasAltura, MontaRigidez, MontaCargas, AplicaApoios, ResolveSistema,
//   then Resultados (results report) or EsforcosExtremos alone (influence lines).
// Each works on the model only. A fatal condition ("memoria insuficiente",
// "divisao por zero", "numero negativo na raiz") throws EngineError with the
// engine's own text; the program is never ended from here.

#include <array>
#include <vector>

#include "analysis_model.h"

namespace kalvoro {

// Skyline column heights and diagonal pointers; refuses more than 5000 terms.
void ColunasAltura(AnalysisModel& m);
// Clears the whole skyline and assembles every element (MontaElementos).
void MontaRigidez(AnalysisModel& m);
// Adds every element's global stiffness matrix into the skyline.
void MontaElementos(AnalysisModel& m);
// Clears the load vector and adds the nodal load entries of every load case.
void MontaCargas(AnalysisModel& m);
// Springs, penalties and prescribed displacements of the support entries.
void AplicaApoios(AnalysisModel& m);
// Cholesky decomposition in place, forward and back substitution, reactions.
// A mechanism is refused with EngineError("divisao por zero"): a straight
// beam whose supports leave a rigid-body motion free, or any pivot that keeps
// no more than 1e-9 of its column's assembled diagonal.
void ResolveSistema(AnalysisModel& m);
// Start shear and moment of every element from the displacements of load case 1.
void EsforcosExtremos(AnalysisModel& m);

// One decomposed matrix for many load vectors (the influence lines). The
// matrix does not depend on the loads, so the steps that build and decompose
// it run once and the load steps once per load vector, each piece the very
// code of the routine it comes from: the results are the same bits as a whole
// analysis run. The model's Skyline holds the factor between solves; nothing
// else may change the model's structure, supports or skyline meanwhile.
class FactoredStiffness {
public:
    // ColunasAltura, MontaRigidez, MontaCargas, AplicaApoios and the
    // decomposition of ResolveSistema, with every check of theirs.
    explicit FactoredStiffness(AnalysisModel& m);
    // For the nodal load entries as they stand: MontaCargas, the supports'
    // load terms, the substitutions and reactions of ResolveSistema and
    // EsforcosExtremos, every value checked as there.
    void solve(AnalysisModel& m);

    // What the supports add to load vector entry `equation`: the diagonal
    // after its penalty times the prescribed displacement.
    struct SupportLoadTerm {
        AnalysisModel::Int equation;
        double diagonal, value;
    };
    // Freedom `dof` of support entry `support`, equation `equation`.
    struct Freedom {
        AnalysisModel::Int support, dof, equation;
        bool restrained;
    };
    // Per column j: its top row, base[j] = DiagPointer[j] - j so that term
    // (i, j) is Skyline[base[j] + i], and the diagonal as it stood when the
    // profile was taken (before the decomposition: the assembled one, the
    // yardstick of the mechanism test). Entries 1..N.
    struct Profile {
        AnalysisModel::Int N = 0;
        std::array<AnalysisModel::Int, capacity::Equations + 1> top, base;
        std::array<double, capacity::Equations + 1> diagonal;
    };

private:
    // A two-node element's equations and its end-force matrix T = k R.
    struct ElementForces {
        std::array<AnalysisModel::Int, 4> equation;
        long double T[4][4];
    };
    std::vector<SupportLoadTerm> supportLoads_;
    std::vector<Freedom> freedoms_;
    std::vector<ElementForces> elements_;
    bool twoNodeBeam_ = false;
    Profile profile_;
    // Load vector rows 1..loadReach_ of load case 1 hold all that a solve
    // writes; 0 when the load vector must be cleared whole (other load cases).
    AnalysisModel::Int loadReach_ = 0;
    // The last solve went through: what it left beyond its reach is zero.
    bool clean_ = false;
};

// The whole analysis up to the end forces: ColunasAltura ... EsforcosExtremos.
void SolveBeam(AnalysisModel& m);

// Sum of the lengths of the elements named by load rows 1..ElementCount.
double ComprimentoTotal(const AnalysisModel& m);

// Length of element e from its two nodes' coordinates.
long double ElementLength(const AnalysisModel& m, long e);

}  // namespace kalvoro
