#pragma once
// Builds the analysis model of a straight horizontal beam by hand, the way the
// data file reader leaves it: fixed dimensions, nodes along X from 0, span i
// joining nodes i and i + 1, one support entry per node, one load row per span,
// then the equivalent nodal loads.

#include <memory>
#include <stdexcept>
#include <vector>

#include "engine/analysis_model.h"
#include "engine/nodal_loads.h"

namespace kalvoro::test {

struct Span {
    double L;
    double q = 0, P = 0, d = 0;
    double E = 1, I = 1;
};

// codes: one support code per node (spans.size() + 1 of them).
inline std::unique_ptr<AnalysisModel> makeBeam(const std::vector<Span>& spans, const std::vector<int>& codes)
{
    if (codes.size() != spans.size() + 1) throw std::logic_error("one support code per node");
    auto m = std::make_unique<AnalysisModel>();
    m->DofPerNode = 2;
    m->NodesPerElement = 2;
    m->ElementDofCount = 4;
    m->CoordsPerNode = 2;
    m->MaterialPropCount = 1;
    m->LoadCaseCount = 1;

    const int spanCount = static_cast<int>(spans.size());
    m->NodeCount = spanCount + 1;
    m->EquationCount = 2 * m->NodeCount;
    m->ElementCount = spanCount;

    double x = 0;
    m->Coord(1, 1) = 0;
    for (int i = 1; i <= spanCount; ++i) {
        const Span& s = spans[i - 1];
        x += s.L;
        m->Coord(i + 1, 1) = x;
        // Material and section i: the tables hold up to 10 and 5 rows, so
        // beams with more spans share the last row, which must then agree.
        const int mat = i <= 10 ? i : 10, sec = i <= 5 ? i : 5;
        if ((mat < i && m->MaterialProp(mat, 1) != s.E) || (sec < i && m->SectionProp(sec, 1) != s.I))
            throw std::logic_error("spans beyond the fifth share E and I");
        m->MaterialProp(mat, 1) = s.E;
        m->SectionProp(sec, 1) = s.I;
        m->Incidence(i, 1) = i;
        m->Incidence(i, 2) = i + 1;
        m->ElementMaterial[i] = mat;
        m->ElementSection[i] = sec;
    }
    m->MaterialCount = spanCount < 10 ? spanCount : 10;
    m->SectionCount = spanCount < 5 ? spanCount : 5;

    m->SupportCount = m->NodeCount;
    for (int n = 1; n <= m->NodeCount; ++n) {
        m->SupportNode[n] = n;
        m->SupportCode[n] = codes[n - 1];
    }

    ClearEquivalentLoads(*m);
    m->LoadRowCount[1] = spanCount;
    for (int i = 1; i <= spanCount; ++i) {
        m->LoadRowElement(i, 1) = i;
        m->LoadRowValue(i, 1, 1) = spans[i - 1].q;
        m->LoadRowValue(i, 2, 1) = spans[i - 1].P;
        m->LoadRowValue(i, 3, 1) = spans[i - 1].d;
        AddEquivalentLoads(*m, i);
    }
    BuildNodalLoadList(*m);
    return m;
}

}  // namespace kalvoro::test
