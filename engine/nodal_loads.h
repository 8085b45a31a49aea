#pragma once
// Equivalent nodal loads of the span loads: the fixed-end forces of q over the
// whole span and of P at distance d, with the opposite sign, accumulated per
// node; then the list of loaded nodes of load case 1. Used by the beam data
// file reader after each load record and by the influence lines for every
// position of the unit load.

#include "analysis_model.h"

namespace kalvoro {

// Clears EquivalentNodalLoad and NodeLoadMark.
void ClearEquivalentLoads(AnalysisModel& m);
// Adds the equivalent nodal loads of load row r (load case 1) and marks both
// nodes of its span. A span of length 0 throws ArithmeticError.
void AddEquivalentLoads(AnalysisModel& m, long r);
// NodalLoadCount[1], NodalLoadNode and NodalLoadValue from the marked nodes,
// in increasing node order (at most 25 entries; a 26th throws IndexError).
void BuildNodalLoadList(AnalysisModel& m);

}  // namespace kalvoro
