#include "data/file_names.h"

namespace kalvoro {

// Only the last component is searched, and both "/" and "\" end a folder, so
// names typed in either form agree. A file name that begins with "." (".vig")
// has an empty stem: the derived name is then the suffix alone in that folder.
std::string derivedStem(const std::string& dataFile)
{
    const std::size_t lastSeparator = dataFile.find_last_of("/\\");
    const std::size_t nameStart = lastSeparator == std::string::npos ? 0 : lastSeparator + 1;
    const std::size_t dot = dataFile.find('.', nameStart);
    return dot == std::string::npos ? dataFile : dataFile.substr(0, dot);
}

std::string derivedName(const std::string& dataFile, const std::string& suffix)
{
    return derivedStem(dataFile) + suffix;
}

}  // namespace kalvoro
