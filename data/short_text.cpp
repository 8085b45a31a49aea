#include "data/short_text.h"

namespace kalvoro {

std::string shortText(std::string_view text, std::size_t keep)
{
    // Count characters by their first bytes (anything but 10xxxxxx).
    std::size_t chars = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) continue;
        if (chars == keep) return std::string(text.substr(0, i)) + "…";
        ++chars;
    }
    return std::string(text);
}

}  // namespace kalvoro
