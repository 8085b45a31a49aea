#pragma once
// The six tables' texts and an extended beam, one into the other, without the
// analysis model: for beams longer than the model holds (a .vigx of up to
// MaxExtendedSpans spans), which the window still shows and edits in its
// tables. For a beam the model holds both give what the road through the
// model gives (TabelasDoModelo after PreencheModelo; VigaDoModelo after a read
// of the data file's text).

#include <string>

#include "data/beam_file.h"
#include "data/extended_beam.h"

namespace kalvoro {

// The tables of the beam: every node with its support code, every span with
// its length (x of its end node minus x of its start node, rounded once to a
// double), section and material, and one load row per span holding q of its
// first uniform load and P and a of its first concentrated load (zeros when
// it has none; the other loads go to "Cargas adicionais", see
// SeparaCargasAdicionais).
BeamTexts TabelasDaViga(const ExtendedBeam& beam);

// The beam the texts describe, read as the data file reader reads the same
// texts: node i + 1 ends span i, materials and sections by their row, load
// rows added to their spans (a q of zero is no uniform load, P and d both zero
// no concentrated one). ConversionError names the first text that is not a
// number, a node off the axis or out of order, a support code other than 00,
// 01, 10 or 11, a material, section or span that does not exist, and a load
// beyond its span.
ExtendedBeam VigaDosTextos(const std::string& title, const BeamTexts& tables);

}  // namespace kalvoro
