#pragma once
// Span loads for the general road's tests, written as the .vigx names them.

#include <algorithm>
#include <random>

#include "data/extended_beam.h"
#include "engine/span_loads.h"

namespace kalvoro::testing {

inline SpanLoad point(double P, double a)
{
    return {LoadKind::Point, P, 0, a, 0};
}
inline SpanLoad moment(double M, double a)
{
    return {LoadKind::Moment, M, 0, a, 0};
}
inline SpanLoad linear(double q1, double q2, double a, double b)
{
    return {LoadKind::Linear, q1, q2, a, b};
}

// One span of length L, E = I = 1, with the given supports and loads.
inline ExtendedBeam span(double L, std::int32_t left, std::int32_t right, std::vector<SpanLoad> loads)
{
    ExtendedBeam b;
    b.materials = {1};
    b.sections = {1};
    b.nodes = {{0, left}, {L, right}};
    b.spans = {{1, 1, std::move(loads)}};
    return b;
}

// Five spans (an overhang, simple and fixed supports, two materials and
// sections), each with `count` loads drawn from `seed`, cycling through
// uniform, point, moment and two linear loads.
inline ExtendedBeam MixedLoadBeam(unsigned seed, int count)
{
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> unit(0, 1);
    ExtendedBeam all;
    all.materials = {2e5, 3e4};
    all.sections = {1e-3, 5e-4};
    all.nodes = {{-2, 0}, {0, 10}, {5, 10}, {9.5, 1}, {12, 11}, {14, 0}};
    for (std::size_t i = 0; i + 1 < all.nodes.size(); ++i) {
        const double L = all.nodes[i + 1].x - all.nodes[i].x;
        ExtendedSpan s{static_cast<std::int32_t>(1 + i % 2), static_cast<std::int32_t>(1 + (i / 2) % 2), {}};
        for (int k = 0; k < count; ++k) {
            const double x = L * unit(random), y = L * unit(random), v = 20 * unit(random) - 10;
            switch (k % 5) {
                case 0:
                    s.loads.push_back({LoadKind::Uniform, v, 0, 0, 0});
                    break;
                case 1:
                    s.loads.push_back(point(v, x));
                    break;
                case 2:
                    s.loads.push_back(moment(v, x));
                    break;
                default:
                    s.loads.push_back(linear(v, 10 * unit(random) - 5, std::min(x, y), std::max(x, y)));
                    break;
            }
        }
        all.spans.push_back(s);
    }
    return all;
}

}  // namespace kalvoro::testing
