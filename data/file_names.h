#pragma once
// Names derived from a beam data file name: everything before the first "."
// of the file name (not of the folders: "./viga.vig" and "/home/u/.config/v.vig"
// are common here), followed by a suffix. "viga.v2.vig" gives "viga" + suffix.

#include <string>

namespace kalvoro {

std::string derivedStem(const std::string& dataFile);
std::string derivedName(const std::string& dataFile, const std::string& suffix);

}  // namespace kalvoro
