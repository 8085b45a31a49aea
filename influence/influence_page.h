#pragma once
// The moment influence line's page, whichever road gave its ordinates: the
// frame (axis, span numbers, supports) of the moment and shear pages with
// this page's own vertical scale and origin, no pan or zoom, the curve of
// every span and the title. Private to this folder.
//
// Mapping: an abscissa X goes to column rnd(X sx + 20), a point of the axis at
// height Y to row H - rnd(Y sy + G), and a moment M, plotted as -M like the
// moment diagram, to row H - rnd(G - M sy): a sagging moment lies below the axis.

#include <vector>

#include "diagrams/diagram_settings.h"
#include "diagrams/page_frame.h"
#include "diagrams/recording.h"
#include "engine/arithmetic.h"

namespace kalvoro {

// One span's curve: its end nodes and the moment at every point drawn.
struct InfluenceSpan {
    double X1, Y1, X2, Y2;
    std::vector<double> X;  // the stepped abscissae, then X2
    std::vector<double> M;
};

// The abscissae of a span's curve from its ends: X grows from X1 by repeated
// addition of a 64th of the span (rounding decides whether the last pass
// falls just below X2: 64 or 65 points), then X2 itself.
std::vector<double> InfluenceAbscissae(double X1, double X2);

// The page of section (n, xs): Mref is the larger of the moments for the unit
// load at the section and at the middle of its span, drawn a third of the
// page height from the axis; beamLength the sum of the span lengths. A
// reference that rounding alone leaves off zero gives way to the largest
// ordinate; ArithmeticError when none is above that.
Recording InfluencePage(const BeamFrame& frame, const DiagramSettings& s,
                        const std::vector<InfluenceSpan>& spans, double Mref, Real beamLength, long n,
                        double xs);

}  // namespace kalvoro
