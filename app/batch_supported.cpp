#include "batch_supported.h"

#include <memory>
#include <ostream>

#include "batch.h"
#include "data/file_names.h"
#include "data/text_file.h"
#include "diagrams/general_diagrams.h"
#include "engine/errors.h"
#include "influence/influence.h"
#include "influence/supported_influence.h"

namespace kalvoro {

namespace {

// The diagrams through the general road's pages: the model holds the beam's
// structure and, in place of its own solution, the supported road's start
// forces, from which the pages take every span's curve.
void drawDiagrams(const ExtendedBeam& beam, const SupportedResult& r, const SupportedRun& run,
                  std::vector<std::string>& written)
{
    auto m = std::make_unique<AnalysisModel>();
    PreencheModelo(beam, *m);
    for (std::size_t i = 0; i < r.startShear.size(); ++i) {
        m->ElementStartShear[static_cast<long>(i + 1)] = r.startShear[i];
        m->ElementStartMoment[static_cast<long>(i + 1)] = r.startMoment[i];
    }
    const BeamLoads loads = CargasDaViga(beam);
    std::vector<NodeSupport> nodes;
    for (const ExtendedNode& n : beam.nodes) nodes.push_back(n.extra);
    const DiagramSettings settings;
    DesenhaMomentosApoiados(*m, loads, nodes, settings, run.file, run.svg);
    written.push_back(derivedName(run.file, "M.wmf"));
    if (run.svg) written.push_back(derivedName(run.file, "M.svg"));
    DesenhaCortantesApoiados(*m, loads, nodes, settings, run.file, run.svg);
    written.push_back(derivedName(run.file, "C.wmf"));
    if (run.svg) written.push_back(derivedName(run.file, "C.svg"));
}

}  // namespace

int runSupportedBatch(const ExtendedBeam& beam, const SupportedRun& run, std::ostream& out, std::ostream& err)
{
    std::unique_ptr<SupportedSystem> system;
    std::string report;
    SupportedResult result;
    try {
        system = std::make_unique<SupportedSystem>(VigaApoiada(beam));
        result = system->solve(CargasDaViga(beam));
        report = RelatorioApoiado(result);
    } catch (const Error& e) {
        err << e.what() << '\n';
        return batch_exit::EngineFailure;
    }

    std::vector<std::string> written;
    try {
        const std::string reportName = derivedName(run.file, ".sai");
        writeTextFile(reportName, report);
        written.push_back(reportName);
        if (beam.nodes.size() <= static_cast<std::size_t>(capacity::SupportEntries))
            drawDiagrams(beam, result, run, written);
        else
            err << "Diagramas não desenhados: a viga tem " << beam.spans.size()
                << " trechos (o desenho em arquivo vai até " << capacity::SupportEntries - 1 << ")\n";
    } catch (const IoError& e) {
        err << e.what() << '\n';
        return batch_exit::FileError;
    } catch (const Error& e) {
        err << "Dados incorretos. Estrutura não desenhada\n" << e.what() << '\n';
        return batch_exit::EngineFailure;
    }

    if (run.influence) {
        try {
            report = RelatorioInfluenciaApoiada(*system, run.span, run.position);
            const std::string name = derivedName(run.file, "LIM.sai");
            writeTextFile(name, report);
            written.push_back(name);
        } catch (const Error& e) {
            std::string text = InfluenceFailureMessage;
            for (char& c : text)
                if (c == '\r') c = '\n';
            err << text << '\n' << e.what() << '\n';
            return dynamic_cast<const IoError*>(&e) ? batch_exit::FileError : batch_exit::InfluenceFailure;
        }
    }
    out << report;
    for (const std::string& name : written) err << "Gravado: " << name << '\n';
    out.flush();
    if (out) return batch_exit::Ok;
    err << "Não foi possível gravar na saída padrão\n";
    return batch_exit::FileError;
}

}  // namespace kalvoro
