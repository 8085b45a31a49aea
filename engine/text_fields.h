#pragma once
// Fixed-width fields of the reports: texts and integers right-aligned, reals in
// fixed notation with a given number of decimals. Locale-free: "." always.

#include <string>
#include <string_view>

namespace kalvoro {

// The text right-aligned in w characters (no padding when it is as long or longer).
// Width is counted in characters, so UTF-8 letters count once.
std::string padText(std::string_view text, int w);
// The integer right-aligned in w characters.
std::string fieldInt(long long v, int w);
// v with exactly d decimals, right-aligned in w. The sign comes from v before
// rounding, so -1e-30 with 8 decimals is "-0.00000000". Values too large for
// fixed notation are still written in full fixed notation.
std::string fieldReal(double v, int w, int d);

}  // namespace kalvoro
