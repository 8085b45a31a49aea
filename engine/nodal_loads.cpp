// Equivalent nodal loads of the span loads (load case 1).
//
// A span A -> B of length L carries a uniform q over its whole length and a
// concentrated P at distance d from A (b = L - d). Fixed at both ends it would
// need, at A, the end force RA = P b^2 (3d + b) / L^3 + qL/2 and the end moment
// MA = P d b^2 / L^2 + qL^2/12; at B, RB = P - RA (+ qL/2) and the moment
// -(P d^2 b / L^2 + qL^2/12). These are the loads the nodes receive; the
// section forces add the fixed-end part back along the span.

#include "engine/nodal_loads.h"

#include "engine/arithmetic.h"

namespace kalvoro {

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
    const Real L = root(dx * dx + dy * dy);
    const Real q = m.LoadRowValue(r, 1, 1);
    const Real P = m.LoadRowValue(r, 2, 1);
    const Real d = m.LoadRowValue(r, 3, 1);
    const Real b = L - d;

    const Real RA = div(div(div(P * b * b, L), L), L) * (3 * d + b);
    const Real RB = P - RA;
    const Real Mq = q * L * L / 12;
    const Real Vq = q * L / 2;
    const Real MA = div(div(P * d * b * b, L), L);
    const Real MB = div(div(P * d * d * b, L), L);

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
