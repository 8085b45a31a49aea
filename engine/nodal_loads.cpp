// Equivalent nodal loads of the span loads (load case 1).
//
// A span A -> B of length L carries a uniform q over its whole length and a
// concentrated P at distance d from A (b = L - d). Fixed at both ends it would
// need, at A, the end force RA = P b^2 (3d + b) / L^3 + qL/2 and the end moment
// MA = P d b^2 / L^2 + qL^2/12; at B, RB = P - RA (+ qL/2) and the moment
// -(P d^2 b / L^2 + qL^2/12). These are the loads the nodes receive; the
// section forces add the fixed-end part back along the span.

#include "engine/nodal_loads.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>

#include "engine/arithmetic.h"

namespace kalvoro {

namespace {

bool finite(Real x)
{
    return std::fabs(x) <= std::numeric_limits<Real>::max();
}

}  // namespace

void ClearEquivalentLoads(AnalysisModel& m)
{
    m.EquivalentNodalLoad.fill(0.0);
    m.NodeLoadMark.fill(0);
}

void AddEquivalentLoads(AnalysisModel& m, long r)
{
    const long e = m.LoadRowElement(r, 1);
    const AnalysisModel::Int A = m.Incidence(e, 1);
    const AnalysisModel::Int B = m.Incidence(e, 2);
    const Real dx = static_cast<Real>(m.Coord(B, 1)) - m.Coord(A, 1);
    const Real dy = static_cast<Real>(m.Coord(B, 2)) - m.Coord(A, 2);
    const Real L2 = dx * dx + dy * dy;
    const double qv = m.LoadRowValue(r, 1, 1);
    const double Pv = m.LoadRowValue(r, 2, 1);
    const double dv = m.LoadRowValue(r, 3, 1);

    // A row whose q, P and d are all +0.0 on a span of non-zero length adds
    // exactly +0.0 to each of its nodes: every term below is +0.0 and no check
    // can fail. x + 0.0 still turns a -0.0 sum into +0.0 and x - 0.0 changes
    // nothing, so only those additions remain. The influence lines solve with
    // every row but one empty, thousands of times, which makes this worth it.
    if (L2 > 0 && (std::bit_cast<std::uint64_t>(qv) | std::bit_cast<std::uint64_t>(Pv) |
                   std::bit_cast<std::uint64_t>(dv)) == 0) {
        m.NodeLoadMark[A] = addInt(m.NodeLoadMark[A], 1);
        m.NodeLoadMark[B] = addInt(m.NodeLoadMark[B], 1);
        m.EquivalentNodalLoad(A, 1) = m.EquivalentNodalLoad(A, 1) + 0.0;
        m.EquivalentNodalLoad(A, 2) = m.EquivalentNodalLoad(A, 2) + 0.0;
        m.EquivalentNodalLoad(B, 1) = m.EquivalentNodalLoad(B, 1) + 0.0;
        return;
    }

    const Real L = root(L2);
    const Real q = qv;
    const Real P = Pv;
    const Real d = dv;
    const Real b = L - d;

    // On a span of positive length the quotients are first taken without the
    // checks of div: there is no zero divisor, and a quotient that overflows
    // leaves an infinity or a NaN in the result. Anything else is taken again
    // with the checks, which fail exactly where they always did.
    Real RA = 0, MA = 0, MB = 0;
    if (L > 0) {
        RA = P * b * b / L / L / L * (3 * d + b);
        MA = P * d * b * b / L / L;
        MB = P * d * d * b / L / L;
    }
    if (!(L > 0 && finite(RA) && finite(MA) && finite(MB))) {
        RA = div(div(div(P * b * b, L), L), L) * (3 * d + b);
        MA = div(div(P * d * b * b, L), L);
        MB = div(div(P * d * d * b, L), L);
    }
    const Real RB = P - RA;
    const Real Mq = q * L * L / 12;
    const Real Vq = q * L / 2;

    m.NodeLoadMark[A] = addInt(m.NodeLoadMark[A], 1);
    m.NodeLoadMark[B] = addInt(m.NodeLoadMark[B], 1);

    m.EquivalentNodalLoad(A, 1) = store(m.EquivalentNodalLoad(A, 1) + (RA + Vq));
    m.EquivalentNodalLoad(A, 2) = store(m.EquivalentNodalLoad(A, 2) + (MA + Mq));
    m.EquivalentNodalLoad(B, 1) = store(m.EquivalentNodalLoad(B, 1) + (RB + Vq));
    m.EquivalentNodalLoad(B, 2) = store(m.EquivalentNodalLoad(B, 2) - (MB + Mq));
}

void BuildNodalLoadList(AnalysisModel& m)
{
    AnalysisModel::Int count = 0;
    for (AnalysisModel::Int n = 1; n <= m.NodeCount; ++n)
        if (m.NodeLoadMark[n] != 0) ++count;
    m.NodalLoadCount[1] = count;

    AnalysisModel::Int j = 0;
    for (AnalysisModel::Int n = 1; n <= m.NodeCount; ++n) {
        if (m.NodeLoadMark[n] == 0) continue;
        ++j;
        m.NodalLoadNode(j, 1) = n;
        m.NodalLoadValue(j, 1, 1) = m.EquivalentNodalLoad(n, 1);
        m.NodalLoadValue(j, 2, 1) = m.EquivalentNodalLoad(n, 2);
    }
}

}  // namespace kalvoro
