#pragma once
// Real roots of a polynomial on a closed interval, without sampling. The roots
// of its derivative split the interval into pieces on which the polynomial is
// monotonic; a piece whose ends differ in sign holds exactly one root, found
// by bisection down to adjacent long doubles. Any degree.

#include <vector>

namespace kalvoro {

// p[k] is the coefficient of t^k.
using Polynomial = std::vector<long double>;

long double Evaluate(const Polynomial& p, long double t);
Polynomial Derivative(const Polynomial& p);

// The roots of p in [lo, hi], ascending. A polynomial that is identically zero
// or a non-zero constant has none; a root of even multiplicity (where p
// touches zero without changing sign) is found only when p is exactly zero
// there.
std::vector<long double> RootsIn(const Polynomial& p, long double lo, long double hi);

}  // namespace kalvoro
