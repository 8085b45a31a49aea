#pragma once
// The "Cargas adicionais" table: the loads of a span beyond the Cargas table's
// one uniform and one concentrated load, as the texts the window shows. With
// the other tables it makes the beam of an extended beam file, and an extended
// beam is split back into the two.

#include <string>
#include <vector>

#include "data/beam_file.h"
#include "data/extended_beam.h"

namespace kalvoro {

// The types as the table's list names them.
inline constexpr const char* ExtraPoint = "Concentrada";
inline constexpr const char* ExtraMoment = "Momento";
inline constexpr const char* ExtraSpread = "Distribuída";

// Trecho, Tipo, Valor (P, M or q at a), Valor final (q at b), a, b.
struct ExtraLoadRow {
    std::string span, type, value, endValue, a, b;
    friend bool operator==(const ExtraLoadRow&, const ExtraLoadRow&) = default;
};

// The beam of the other tables (their texts and the title, read as the data
// file reader reads them) with the extra rows added to their spans. Throws
// ConversionError naming the row and the cell of a text that is not a
// number, a span that does not exist or an unknown type; a read that fails
// throws it with the reader's numbered message. Tables longer than the data
// file holds are read without it (VigaDosTextos). The extended reader's limits
// are checked by writing and reading the result (see LeVigx).
ExtendedBeam VigaDasTabelas(const std::string& title, const BeamTexts& tables,
                            const std::vector<ExtraLoadRow>& extra);

// Splits a beam: the first uniform and the first concentrated load of each
// span stay in the beam for the Cargas table, every other load becomes a row.
std::vector<ExtraLoadRow> SeparaCargasAdicionais(ExtendedBeam& beam);

}  // namespace kalvoro
