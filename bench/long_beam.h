#pragma once
// The beam of 1000 spans the window benchmarks draw, and its supported-road
// solution, made once per run.

#include "data/extended_beam.h"
#include "diagrams/deflection_diagram.h"
#include "diagrams/general_diagrams.h"
#include "diagrams/page_frame.h"
#include "engine/general_deflection.h"
#include "engine/supported_road.h"

namespace kalvoro {

struct LongBeamSolution {
    BeamFrame frame;
    BeamLoads loads;
    std::vector<SpanCurve> curves;
    std::vector<DeflectionCurve> shape;  // as the window keeps it
};

// Nodes every 5 m on pinned supports, a spring at node 501, a hinge at 502;
// each span 12 kN/m and 40 kN at 2 m.
inline const ExtendedBeam& longBeam()
{
    static const ExtendedBeam beam = [] {
        ExtendedBeam b;
        b.title = "Mil trechos";
        b.materials = {2.5e7};
        b.sections = {0.0054};
        for (int i = 0; i <= 1000; ++i) b.nodes.push_back({5.0 * i, 10});
        b.nodes[500].support = 0;
        b.nodes[500].extra.springVertical = 2e4;
        b.nodes[501].support = 0;
        b.nodes[501].extra.hinge = true;
        for (int i = 0; i < 1000; ++i)
            b.spans.push_back({1, 1, {{LoadKind::Uniform, -12, 0, 0, 0}, {LoadKind::Point, -40, 0, 2, 0}}});
        return b;
    }();
    return beam;
}

inline const LongBeamSolution& longBeamSolution()
{
    static const LongBeamSolution solution = [] {
        const SupportedBeam beam = VigaApoiada(longBeam());
        const BeamLoads loads = CargasDaViga(longBeam());
        SupportedResult r = SupportedSystem(beam).solve(loads);
        BeamFrame frame = FrameOf(beam);
        std::vector<DeflectionCurve> shape = CurvasDeformadas(frame, DeflectionsOf(beam, r, loads), r.curves);
        return LongBeamSolution{std::move(frame), loads, std::move(r.curves), std::move(shape)};
    }();
    return solution;
}

// The next pan step, from -500 to 500 pixels and round again.
inline void panStep(DiagramSettings& s)
{
    s.DeslocamentoDesenho = s.DeslocamentoDesenho == 500 ? -500 : s.DeslocamentoDesenho + 10;
}

// The moment page of the next pan step, unsaved.
inline Recording longBeamMomentPage(DiagramSettings& s)
{
    const LongBeamSolution& b = longBeamSolution();
    panStep(s);
    return DesenhaMomentosApoiados(b.frame, b.loads, b.curves, s, "");
}

// The three pages the window draws on each pan or zoom click: moments, shears
// and the deflected shape, saved beside dataFile when it is not empty.
inline std::vector<Recording> longBeamPages(const DiagramSettings& s, const std::string& dataFile)
{
    const LongBeamSolution& b = longBeamSolution();
    return {DesenhaMomentosApoiados(b.frame, b.loads, b.curves, s, dataFile),
            DesenhaCortantesApoiados(b.frame, b.loads, b.curves, s, dataFile),
            DesenhaDeformadaGeral(b.frame, b.loads, b.shape, b.curves, s, dataFile)};
}

}  // namespace kalvoro
