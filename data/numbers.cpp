#include "data/numbers.h"

#include <charconv>
#include <cmath>
#include <system_error>

#include "data/short_text.h"
#include "engine/errors.h"

namespace kalvoro {

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Length of the run of decimal digits at text[from..].
std::size_t digitRun(std::string_view text, std::size_t from)
{
    std::size_t n = 0;
    while (from + n < text.size() && isDigit(text[from + n])) ++n;
    return n;
}

// Decimal order of magnitude of a real text already known to be well formed:
// the power of ten of its first significant digit ("0.05" gives -2, "123e4"
// gives 6). The exponent saturates, since the caller only asks whether the
// result is negative. nullopt for a zero mantissa.
std::optional<long long> orderOfMagnitude(std::string_view text)
{
    std::size_t i = (text[0] == '-' || text[0] == '+') ? 1 : 0;
    const std::size_t integerDigits = digitRun(text, i);
    const std::string_view integer = text.substr(i, integerDigits);
    i += integerDigits;
    std::string_view fraction;
    if (i < text.size() && text[i] == '.') {
        fraction = text.substr(i + 1, digitRun(text, i + 1));
        i += 1 + fraction.size();
    }
    long long order = 0;
    if (const auto k = integer.find_first_not_of('0'); k != std::string_view::npos)
        order = static_cast<long long>(integer.size() - 1 - k);
    else if (const auto f = fraction.find_first_not_of('0'); f != std::string_view::npos)
        order = -static_cast<long long>(f + 1);
    else
        return std::nullopt;
    long long exponent = 0;
    if (i < text.size()) {  // at "E" or "e"
        ++i;
        bool negative = false;
        if (text[i] == '-' || text[i] == '+') negative = text[i++] == '-';
        for (; i < text.size(); ++i)
            if (exponent < 1'000'000'000) exponent = exponent * 10 + (text[i] - '0');
        if (negative) exponent = -exponent;
    }
    return order + exponent;
}

// The value rounded to `digits` significant digits: the digit string (exactly
// `digits` characters, no point) and the decimal exponent of its first digit.
struct Decimal {
    bool negative = false;
    std::string digits;
    int exponent = 0;
};

Decimal roundToDigits(double v, int digits)
{
    char buffer[64];
    // to_chars rounds the exact binary value correctly, which printf-style
    // formatting would too, but without consulting the locale.
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::scientific, digits - 1);
    const std::string_view text(buffer, static_cast<std::size_t>(result.ptr - buffer));
    Decimal d;
    std::size_t i = 0;
    if (text[i] == '-') {
        d.negative = true;
        ++i;
    }
    const std::size_t e = text.find('e');
    for (; i < e; ++i)
        if (text[i] != '.') d.digits += text[i];
    int exponent = 0;
    std::from_chars(text.data() + e + (text[e + 1] == '+' ? 2 : 1), text.data() + text.size(), exponent);
    d.exponent = exponent;
    return d;
}

std::string stripTrailingZeros(std::string s)
{
    while (!s.empty() && s.back() == '0') s.pop_back();
    return s;
}

std::string fixedText(const Decimal& d)
{
    std::string out = d.negative ? "-" : "";
    if (d.exponent >= 0) {
        const auto integerDigits = static_cast<std::size_t>(d.exponent) + 1;
        std::string integer = d.digits.substr(0, integerDigits);
        integer.append(integerDigits > d.digits.size() ? integerDigits - d.digits.size() : 0, '0');
        out += integer;
        const std::string fraction =
            integerDigits < d.digits.size() ? stripTrailingZeros(d.digits.substr(integerDigits)) : "";
        if (!fraction.empty()) out += "." + fraction;
    } else {
        out +=
            "0." + std::string(static_cast<std::size_t>(-d.exponent - 1), '0') + stripTrailingZeros(d.digits);
    }
    return out;
}

// Mantissa "d" or "d.ddd" without trailing zeros, then "E" and the exponent;
// `minExponentDigits` > 0 asks for an explicit sign and zero padding.
std::string scientificText(const Decimal& d, int minExponentDigits)
{
    std::string out = d.negative ? "-" : "";
    out += d.digits[0];
    const std::string fraction = stripTrailingZeros(d.digits.substr(1));
    if (!fraction.empty()) out += "." + fraction;
    out += 'E';
    const int magnitude = d.exponent < 0 ? -d.exponent : d.exponent;
    std::string exponent = std::to_string(magnitude);
    if (minExponentDigits > 0) {
        out += d.exponent < 0 ? '-' : '+';
        if (exponent.size() < static_cast<std::size_t>(minExponentDigits))
            exponent.insert(0, static_cast<std::size_t>(minExponentDigits) - exponent.size(), '0');
    } else if (d.exponent < 0) {
        out += '-';
    }
    return out + exponent;
}

std::string nonFiniteText(double v)
{
    if (std::isnan(v)) return "NAN";
    return v < 0 ? "-INF" : "INF";
}

// Shared by both general formats: fixed notation while the rounded value's
// first digit lies between 10^smallestFixedExponent and 10^(digits - 1).
std::string generalText(double v, int digits, int smallestFixedExponent, int minExponentDigits)
{
    if (!std::isfinite(v)) return nonFiniteText(v);
    if (v == 0) return "0";  // also -0: a sign on nothing only confuses
    if (digits < 1) digits = 1;
    if (digits > 17) digits = 17;  // a double holds no more
    const Decimal d = roundToDigits(v, digits);
    if (d.exponent >= smallestFixedExponent && d.exponent <= digits - 1) return fixedText(d);
    return scientificText(d, minExponentDigits);
}

}  // namespace

std::optional<std::int32_t> parseInt(std::string_view text)
{
    std::size_t i = 0;
    bool negative = false;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        negative = text[0] == '-';
        i = 1;
    }
    const std::size_t digits = digitRun(text, i);
    if (digits == 0 || i + digits != text.size()) return std::nullopt;
    // Accumulate as a negative number so that -2147483648 fits.
    std::int64_t value = 0;
    for (std::size_t k = i; k < text.size(); ++k) {
        value = value * 10 - (text[k] - '0');
        if (value < INT32_MIN) return std::nullopt;
    }
    if (!negative) {
        value = -value;
        if (value > INT32_MAX) return std::nullopt;
    }
    return static_cast<std::int32_t>(value);
}

std::optional<double> parseReal(std::string_view text)
{
    // sign? digits ("." digits)? ([Ee] sign? digits)?  -- nothing else: no
    // blanks, no "inf"/"nan", no hexadecimal, no bare "." or ".5".
    std::size_t i = 0;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) i = 1;
    const std::size_t integerDigits = digitRun(text, i);
    if (integerDigits == 0) return std::nullopt;
    i += integerDigits;
    if (i < text.size() && text[i] == '.') {
        const std::size_t fractionDigits = digitRun(text, i + 1);
        if (fractionDigits == 0) return std::nullopt;
        i += 1 + fractionDigits;
    }
    if (i < text.size() && (text[i] == 'E' || text[i] == 'e')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
        const std::size_t exponentDigits = digitRun(text, i);
        if (exponentDigits == 0) return std::nullopt;
        i += exponentDigits;
    }
    if (i != text.size()) return std::nullopt;

    // from_chars does not take a leading "+".
    const std::string_view body = text[0] == '+' ? text.substr(1) : text;
    double value = 0;
    const auto result = std::from_chars(body.data(), body.data() + body.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        // Underflow is not an error: the value is simply zero. Overflow is.
        const auto order = orderOfMagnitude(text);
        if (order && *order < 0) return text[0] == '-' ? -0.0 : 0.0;
        return std::nullopt;
    }
    if (result.ec != std::errc() || result.ptr != body.data() + body.size()) return std::nullopt;
    return value;
}

std::int32_t toInt(std::string_view text)
{
    if (const auto v = parseInt(text)) return *v;
    throw ConversionError("'" + shortText(text) + "' não é um valor inteiro válido");
}

double toReal(std::string_view text)
{
    if (const auto v = parseReal(text)) return *v;
    throw ConversionError("'" + shortText(text) + "' não é um valor real válido");
}

std::string formatGeneral(double v, int digits)
{
    // Fixed from 0.0001 up; exponent written plainly: "1E-5", "2.5E13".
    return generalText(v, digits, -4, 0);
}

std::string formatMagnitude(double v, int digits)
{
    // Fixed from 0.00001 up; exponent with its sign and at least three digits:
    // "1E-006", "1.5E+009".
    return generalText(v, digits, -5, 3);
}

}  // namespace kalvoro
