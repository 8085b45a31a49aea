#pragma once
// The loads of the extended beam file: any number per span of uniform loads
// over the whole span, concentrated loads, applied moments and distributed
// loads varying linearly over part of the span. Positions are measured from
// the span's start node. Forces are positive upward, moments counter-clockwise
// (the sense of the report's rotations).

#include <vector>

namespace kalvoro {

enum class LoadKind { Uniform, Point, Moment, Linear };

struct SpanLoad {
    LoadKind kind = LoadKind::Uniform;
    double v1 = 0;  // q (uniform), P (point), M (moment), q1 at a (linear)
    double v2 = 0;  // q2 at b (linear)
    double a = 0;   // where P or M acts; where the linear load starts
    double b = 0;   // where the linear load ends
    friend bool operator==(const SpanLoad&, const SpanLoad&) = default;
};

// loads[i - 1] holds the loads of span i.
using BeamLoads = std::vector<std::vector<SpanLoad>>;

}  // namespace kalvoro
