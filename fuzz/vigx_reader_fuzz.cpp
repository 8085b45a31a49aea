// Any bytes given to the extended beam file reader end in a status 0..7 with
// a message exactly when refused: no crash, no hang, no leak, no undefined
// behaviour. A beam it accepts fits the model, writes back to a text that
// reads as the same beam, and analyses, reports and draws or fails cleanly.

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "data/extended_beam.h"
#include "diagrams/deflection_diagram.h"
#include "diagrams/diagram_settings.h"
#include "diagrams/general_diagrams.h"
#include "engine/errors.h"
#include "engine/general_road.h"
#include "engine/supported_road.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace kalvoro;
    static auto model = std::make_unique<AnalysisModel>();
    *model = AnalysisModel{};
    const ExtendedRead r = LeVigx(std::string_view(reinterpret_cast<const char*>(data), size));
    if (r.status < 0 || r.status > 7 || (r.status == 0) != r.message.empty()) std::abort();
    if (r.status != 0) return 0;
    if (!(LeVigx(VigxText(r.beam)).beam == r.beam)) std::abort();
    if (PrecisaApoiosEspeciais(r.beam)) {
        try {
            const SupportedSystem system(VigaApoiada(r.beam));
            RelatorioApoiado(system.solve(CargasDaViga(r.beam)));
            system.influence(0, system.spanLength(0) / 2, {{0, 0.0}});
        } catch (const Error&) {
            // a mechanism or an overflow is a valid outcome
        }
        return 0;
    }
    try {
        PreencheModelo(r.beam, *model);
        const BeamLoads loads = CargasDaViga(r.beam);
        model->ReportFile.clear();
        ResolveGeral(*model, loads);
        const auto curves = ResultadosGeral(*model, loads);
        const DiagramSettings settings;
        DesenhaMomentosGeral(*model, loads, curves, settings, "");
        DesenhaCortantesGeral(*model, loads, curves, settings, "");
        DesenhaDeformadaGeral(*model, loads, curves, settings, "");
    } catch (const Error&) {
        // a failed calculation is a valid outcome
    }
    return 0;
}
