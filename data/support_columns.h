#pragma once
// The supports table's columns after the code ("Mola vertical", "Mola
// rotação", "Recalque vertical", "Recalque rotação", "Rótula"): what a .vigx
// node adds to its support code, as texts. The data file holds none of them,
// so a beam with any filled is written and calculated as a .vigx.

#include <vector>

#include "data/extended_beam.h"
#include "data/table_model.h"

namespace kalvoro {

// Whether any visible row fills one of those columns.
bool TemApoiosEspeciais(const TableModel& tables);

// Per visible support row, what its columns say (firstTableError has let
// them through; a text that is not a number throws ConversionError).
std::vector<NodeSupport> ApoiosDasTabelas(const TableModel& tables);

// Writes every node's springs, settlements and hinge into its row (empty
// cells where it has none); rows beyond the beam's nodes are left alone.
void PreencheApoiosEspeciais(TableModel& tables, const std::vector<ExtendedNode>& nodes);

}  // namespace kalvoro
