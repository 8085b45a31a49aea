#pragma once
// The engine's analysis routines, in the order of one analysis run:
//   ColunasAltura, MontaRigidez, MontaCargas, AplicaApoios, ResolveSistema,
//   then Resultados (results report) or EsforcosExtremos alone (influence lines).
// Each works on the model only. A fatal condition ("memoria insuficiente",
// "divisao por zero", "numero negativo na raiz") throws EngineError with the
// engine's own text; the program is never ended from here.

#include <span>
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

// Many load vectors through one factor (the influence lines): the matrix does
// not depend on the loads, so the steps that build and decompose it can run
// once and the load steps once per load vector. Each piece below is the very
// code of the routine it comes from, so the results are the same bits.

// What the supports add to load vector entry `equation`: the diagonal after its
// penalty times the prescribed displacement.
struct SupportLoadTerm {
    AnalysisModel::Int equation;
    double diagonal, value;
};
// AplicaApoios, listing the load terms it adds, in its order.
void AplicaApoios(AnalysisModel& m, std::vector<SupportLoadTerm>& loadTerms);
// Those load terms added again to every load case of LoadVector.
void ApplySupportLoads(AnalysisModel& m, std::span<const SupportLoadTerm> loadTerms);
// ResolveSistema in two: the decomposition of Skyline (with every check on the
// matrix), then the substitutions of LoadVector through the factor that
// Skyline holds, and the reactions.
void DecomposeStiffness(AnalysisModel& m);
void SubstituteLoads(AnalysisModel& m);

// Direction cosines c, s and stiffness factors a = 12EI/L^3, b = 6EI/L^2,
// f = 4EI/L of an element, in extended precision.
struct ElementTerms {
    long double c, s, a, b, f;
};
// Those of elements 1..ElementCount (entry e - 1), checked as the assembly checks them.
std::vector<ElementTerms> ElementTermsOf(const AnalysisModel& m);
// EsforcosExtremos with the terms of ElementTermsOf taken before.
void EsforcosExtremos(AnalysisModel& m, std::span<const ElementTerms> terms);

// The whole analysis up to the end forces: ColunasAltura ... EsforcosExtremos.
void SolveBeam(AnalysisModel& m);

// Sum of the lengths of the elements named by load rows 1..ElementCount.
double ComprimentoTotal(const AnalysisModel& m);

// Length of element e from its two nodes' coordinates.
long double ElementLength(const AnalysisModel& m, long e);

}  // namespace kalvoro
