#pragma once
// How a batch run ends, whichever road solved the beam: an influence-line
// failure told and coded, and the results document, the printed reports and
// the list of the files written.

#include <iosfwd>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "engine/errors.h"

namespace kalvoro {

// The influence lines' message for a terminal and e's; returns FileError for a
// file that could not be written, InfluenceFailure otherwise.
int InfluenceFailed(const Error& e, std::ostream& err);

// With results, stem + ".json" written (and added to written); then text to
// out and "Gravado: NAME" to err for each name written. Returns Ok, or
// FileError when the document or standard output cannot be written.
int FinishRun(const std::string& dataFile, const nlohmann::ordered_json* results,
              std::vector<std::string>& written, const std::string& text, std::ostream& out,
              std::ostream& err);

}  // namespace kalvoro
