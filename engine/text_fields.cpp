// Fixed-width report fields, written without the locale: the decimal
// separator is always ".".

#include "engine/text_fields.h"

#include <charconv>
#include <cmath>

namespace kalvoro {

namespace {

// Characters of a UTF-8 text: every byte that does not continue a sequence.
long characterCount(std::string_view text)
{
    long count = 0;
    for (const char ch : text)
        if ((static_cast<unsigned char>(ch) & 0xC0) != 0x80) ++count;
    return count;
}

std::string padded(std::string text, int w)
{
    const long length = characterCount(text);
    if (length < w) text.insert(0, static_cast<std::size_t>(w - length), ' ');
    return text;
}

}  // namespace

std::string padText(std::string_view text, int w)
{
    return padded(std::string(text), w);
}

std::string fieldInt(long long v, int w)
{
    char buf[24];
    const auto res = std::to_chars(buf, buf + sizeof buf, v);
    return padded(std::string(buf, res.ptr), w);
}

std::string fieldReal(double v, int w, int d)
{
    if (d < 0) d = 0;
    // The sign belongs to the value before rounding: -1e-30 keeps its "-" even
    // though all its printed digits are zero.
    std::string text = v < 0 ? "-" : "";
    // The largest double has 309 integer digits; to_chars writes the exact
    // decimal expansion, rounded to d decimals.
    std::string digits(320 + static_cast<std::size_t>(d), '\0');
    const auto res = std::to_chars(digits.data(), digits.data() + digits.size(), std::fabs(v),
                                   std::chars_format::fixed, d);
    text.append(digits.data(), res.ptr);
    return padded(std::move(text), w);
}

}  // namespace kalvoro
