#pragma once
// Texts quoted in a message (a cell the user typed, a line of a data file) can
// be megabytes long; a message box that lays out such a line freezes the
// window and grows past the screen, so quotes are cut.

#include <cstddef>
#include <string>
#include <string_view>

namespace kalvoro {

// Characters a quoted text keeps before it is cut.
inline constexpr std::size_t QuoteLength = 80;

// The UTF-8 text as it is when it has at most `keep` characters, otherwise its
// first `keep` characters followed by "…". A multi-byte character is never split.
std::string shortText(std::string_view text, std::size_t keep = QuoteLength);

}  // namespace kalvoro
