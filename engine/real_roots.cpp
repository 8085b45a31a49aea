#include "engine/real_roots.h"

#include <cmath>

namespace kalvoro {

namespace {

// Without the zero coefficients of the highest powers.
Polynomial trimmed(Polynomial p)
{
    while (!p.empty() && p.back() == 0) p.pop_back();
    return p;
}

int sign(long double v)
{
    return (v > 0) - (v < 0);
}

// The one root of a monotonic p between a and b, where p(a) and p(b) are of
// opposite signs and neither is zero.
long double bisect(const Polynomial& p, long double a, long double b)
{
    long double fa = Evaluate(p, a);
    long double fb = Evaluate(p, b);
    for (;;) {
        const long double m = a + (b - a) / 2;
        if (!(m > a && m < b)) break;  // a and b are adjacent
        const long double fm = Evaluate(p, m);
        if (fm == 0) return m;
        if (sign(fm) == sign(fa)) {
            a = m;
            fa = fm;
        } else {
            b = m;
            fb = fm;
        }
    }
    return std::fabs(fa) <= std::fabs(fb) ? a : b;
}

}  // namespace

long double Evaluate(const Polynomial& p, long double t)
{
    long double v = 0;
    for (auto c = p.rbegin(); c != p.rend(); ++c) v = v * t + *c;
    return v;
}

Polynomial Derivative(const Polynomial& p)
{
    Polynomial d;
    for (std::size_t k = 1; k < p.size(); ++k) d.push_back(p[k] * static_cast<long double>(k));
    return d;
}

std::vector<long double> RootsIn(const Polynomial& polynomial, long double lo, long double hi)
{
    const Polynomial p = trimmed(polynomial);
    std::vector<long double> roots;
    if (p.size() < 2 || !(lo <= hi)) return roots;
    if (p.size() == 2) {
        const long double t = -p[0] / p[1];
        if (t >= lo && t <= hi) roots.push_back(t);
        return roots;
    }

    // Ends of the monotonic pieces.
    std::vector<long double> ends{lo};
    for (const long double t : RootsIn(Derivative(p), lo, hi))
        if (t > ends.back() && t < hi) ends.push_back(t);
    ends.push_back(hi);

    for (std::size_t k = 0; k + 1 < ends.size(); ++k) {
        const long double a = ends[k], b = ends[k + 1];
        const long double fa = Evaluate(p, a), fb = Evaluate(p, b);
        if (fa == 0) {
            if (roots.empty() || roots.back() < a) roots.push_back(a);
        } else if (fb != 0 && sign(fa) != sign(fb)) {
            roots.push_back(bisect(p, a, b));
        }
    }
    if (Evaluate(p, hi) == 0 && (roots.empty() || roots.back() < hi)) roots.push_back(hi);
    return roots;
}

}  // namespace kalvoro
