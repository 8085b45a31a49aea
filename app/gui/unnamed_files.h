#pragma once
// Where the files of an unnamed beam go ("Temp.dat" and its report, the
// influence lines' "LIM.sai"): the current folder when it is writable,
// otherwise the system's temporary folder (a desktop launcher may start the
// program in a read-only folder).

#include <string>

namespace kalvoro {

// The folder as a prefix for a file name: "" for the current folder, else the
// temporary folder's path ending in "/". Derived names of the prefix alone
// (derivedName(unnamedFolder(), "LIM.sai")) land in that folder.
std::string unnamedFolder();

// The name an unnamed beam is written to: "Temp.dat" in that folder.
std::string temporaryDataFile();

}  // namespace kalvoro
