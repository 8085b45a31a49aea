#include "data/file_names.h"

namespace kalvoro {

// Only the last component is searched, and both "/" and "\" end a folder, so
// names typed in either form agree. Leading dots are skipped: cut there, a
// hidden file's outputs would be named by the suffix alone (".sai", "M.wmf")
// and two hidden beams in one folder would overwrite each other's.
std::string derivedStem(const std::string& dataFile)
{
    const std::size_t lastSeparator = dataFile.find_last_of("/\\");
    const std::size_t nameStart = lastSeparator == std::string::npos ? 0 : lastSeparator + 1;
    const std::size_t afterDots = dataFile.find_first_not_of('.', nameStart);
    const std::size_t dot =
        afterDots == std::string::npos ? std::string::npos : dataFile.find('.', afterDots);
    return dot == std::string::npos ? dataFile : dataFile.substr(0, dot);
}

std::string derivedName(const std::string& dataFile, const std::string& suffix)
{
    return derivedStem(dataFile) + suffix;
}

}  // namespace kalvoro
