#pragma once
// The deflected shape of a general-road span (any number of point loads,
// applied moments, uniform, partial and linear loads) and its extremes.
//
// As for the data file's loads (deflection.h): the element's cubic of the end
// displacements and rotations plus, for each load, its deflection with both
// ends fixed, exact for every load type. Between consecutive load points the
// deflection is a polynomial of degree 5 at most (a linear load), so its
// extremes lie at the pieces' ends or at the real roots of its slope there.

#include <vector>

#include "analysis_model.h"
#include "deflection.h"
#include "general_road.h"
#include "span_loads.h"
#include "supported_road.h"

namespace kalvoro {

struct GeneralDeflection {
    SpanDeflection ends;  // L, E, I and the end values; its q and P are 0
    std::vector<SpanLoad> loads;
};

// Span i after ResolveGeral.
GeneralDeflection DeflectionOf(const AnalysisModel& m, const BeamLoads& loads, long i);
// Every span of a beam on the supported road (span i from node i to i + 1),
// each with its own rotation at a hinge.
std::vector<GeneralDeflection> DeflectionsOf(const SupportedBeam& beam, const SupportedResult& r,
                                             const BeamLoads& loads);

// v(x) and v'(x), positive upward and counter-clockwise as the report's
// "Vertical" and "Rotação". ArithmeticError for L = 0 or E I = 0.
double Deflection(const GeneralDeflection& s, double x);
double DeflectionSlope(const GeneralDeflection& s, double x);

// The smallest and largest v of the span, each at the first position where
// it is reached; the curve (CurvaDoTrecho of the same span) gives E I v''
// piece by piece, from which the slope's polynomial on each piece is built.
DeflectionExtremes ExtremeDeflections(const GeneralDeflection& s, const SpanCurve& curve);

}  // namespace kalvoro
