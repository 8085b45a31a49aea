#pragma once
// Number texts, independent of the locale: "." is the decimal separator
// everywhere (tables, data files, reports), whatever LC_NUMERIC says.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kalvoro {

// An optional sign and decimal digits, nothing else; nullopt when the text is
// not such an integer or does not fit in 32 bits.
std::optional<std::int32_t> parseInt(std::string_view text);
// An optional sign, digits with an optional "." fraction and an optional
// exponent after "E" or "e"; nullopt otherwise. Digits are needed on both sides
// of the point (".5" and "5." are refused); no blanks, "inf", "nan" or
// hexadecimal. A value too large for a double is refused; one too small to
// tell from zero reads as zero.
std::optional<double> parseReal(std::string_view text);

// As above, throwing ConversionError naming the text.
std::int32_t toInt(std::string_view text);
double toReal(std::string_view text);

// General format with `digits` significant digits: rounded, no trailing zeros,
// a point only when needed; fixed while the value has at most `digits` integer
// digits and is at least 0.0001 in magnitude, otherwise scientific
// ("1E-5", "2.5E13"). With 12 digits this is what the program writes into cells.
// Zero of either sign is "0"; infinities and NaN, which the model never holds,
// give "INF", "-INF" and "NAN".
std::string formatGeneral(double v, int digits = 12);

// General format for load magnitudes and titles: `digits` significant digits,
// no trailing zeros, fixed notation ("0.00001", "12345678") unless the rounded
// value is below 0.00001 or has more than `digits` integer digits; then
// scientific with the exponent's sign always written and at least three
// exponent digits ("1E-006", "1.5E+009"). Zero is "0".
std::string formatMagnitude(double v, int digits);

}  // namespace kalvoro
