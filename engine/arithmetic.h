#pragma once
// Checked real and integer arithmetic. Formulas are evaluated in long double
// (the x86-64 extended format) and rounded to double where a value is stored;
// division by zero, the square root of a negative number and overflow throw
// ArithmeticError, while underflow and inexact results pass silently.

#include <cmath>
#include <cstdint>
#include <limits>

#include "errors.h"

namespace kalvoro {

using Real = long double;

// a / b, refusing a zero divisor (and a quotient that overflows).
inline Real div(Real a, Real b)
{
    if (b == 0) [[unlikely]]
        throw ArithmeticError("divisão por zero");
    const Real r = a / b;
    // One comparison on the usual path; it is false for infinities and NaN only.
    if (std::fabs(r) <= std::numeric_limits<Real>::max()) [[likely]]
        return r;
    if (std::isinf(r) && std::isfinite(a)) throw ArithmeticError("estouro de ponto flutuante");
    return r;
}

// Square root, refusing negative arguments.
inline Real root(Real a)
{
    // False for NaN as well as for negative numbers; -0.0 passes, as sqrt(-0.0) = -0.0.
    if (!(a >= 0)) [[unlikely]]
        throw ArithmeticError("operação de ponto flutuante inválida");
    return std::sqrt(a);
}

// Rounds an extended value to the double the model stores, refusing overflow
// and values that are no longer numbers.
inline double store(Real a)
{
    // One comparison on the usual path: it is false for NaN, infinities and
    // everything beyond the largest double, which are told apart only then.
    if (std::fabs(a) <= static_cast<Real>(std::numeric_limits<double>::max())) [[likely]]
        return static_cast<double>(a);
    if (std::isnan(a)) throw ArithmeticError("operação de ponto flutuante inválida");
    throw ArithmeticError("estouro de ponto flutuante");
}

// Round to the nearest integer, exact halves to the even one, with a range check.
inline std::int32_t roundEven(Real v)
{
    if (std::isnan(v)) throw ArithmeticError("operação de ponto flutuante inválida");
    const Real r = std::rint(v);  // default rounding mode: to nearest, ties to even
    if (r < static_cast<Real>(std::numeric_limits<std::int32_t>::min()) ||
        r > static_cast<Real>(std::numeric_limits<std::int32_t>::max()))
        throw ArithmeticError("valor fora do intervalo de inteiros");
    return static_cast<std::int32_t>(r);
}

// Checked 32-bit integer operations, for the few places where counts are combined.
inline std::int32_t addInt(std::int32_t a, std::int32_t b)
{
    std::int32_t r;
    if (__builtin_add_overflow(a, b, &r)) throw ArithmeticError("estouro de inteiro");
    return r;
}

inline std::int32_t subInt(std::int32_t a, std::int32_t b)
{
    std::int32_t r;
    if (__builtin_sub_overflow(a, b, &r)) throw ArithmeticError("estouro de inteiro");
    return r;
}

inline std::int32_t mulInt(std::int32_t a, std::int32_t b)
{
    std::int32_t r;
    if (__builtin_mul_overflow(a, b, &r)) throw ArithmeticError("estouro de inteiro");
    return r;
}

}  // namespace kalvoro
