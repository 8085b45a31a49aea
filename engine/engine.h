#pragma once
// The engine's analysis routines, in the order of one analysis run:
//   ColunasAltura, MontaRigidez, MontaCargas, AplicaApoios, ResolveSistema,
//   then Resultados (results report) or EsforcosExtremos alone (influence lines).
// Each works on the model only. A fatal condition ("memoria insuficiente",
// "divisao por zero", "numero negativo na raiz") throws EngineError with the
// engine's own text; the program is never ended from here.

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

// The whole analysis up to the end forces: ColunasAltura ... EsforcosExtremos.
void SolveBeam(AnalysisModel& m);

// Sum of the lengths of the elements named by load rows 1..ElementCount.
double ComprimentoTotal(const AnalysisModel& m);

// Length of element e from its two nodes' coordinates.
long double ElementLength(const AnalysisModel& m, long e);

}  // namespace kalvoro
