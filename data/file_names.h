#pragma once
// Names derived from a beam data file name: everything before the first "."
// of the file name (not of the folders: "./viga.vig" and "/home/u/.config/v.vig"
// are common here), followed by a suffix. "viga.v2.vig" gives "viga" + suffix.
// Both "/" and "\" end a folder name. The dots a file name starts with mark a
// hidden file, not an extension: ".viga.vig" gives ".viga" + suffix, and
// ".vig" keeps its whole name as the stem, so no derived name is a bare suffix.

#include <string>

namespace kalvoro {

std::string derivedStem(const std::string& dataFile);
std::string derivedName(const std::string& dataFile, const std::string& suffix);

}  // namespace kalvoro
