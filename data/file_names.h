#pragma once
// Names derived from a beam data file name: everything before the first "."
// of the file name (not of the folders: "./viga.vig" and "/home/u/.config/v.vig"
// are common here), followed by a suffix. "viga.v2.vig" gives "viga" + suffix.
// Both "/" and "\" end a folder name. A file name that starts with "."
// (".vig") has an empty stem, so its derived names are the bare suffixes in
// the same folder ("/d/.vig" gives "/d/.sai").

#include <string>

namespace kalvoro {

std::string derivedStem(const std::string& dataFile);
std::string derivedName(const std::string& dataFile, const std::string& suffix);

}  // namespace kalvoro
