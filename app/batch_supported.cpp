#include "batch_supported.h"

#include <memory>
#include <ostream>

#include "batch.h"
#include "batch_ending.h"
#include "batch_trains.h"
#include "data/file_names.h"
#include "data/numbers.h"
#include "data/text_file.h"
#include "diagrams/deflection_diagram.h"
#include "diagrams/general_diagrams.h"
#include "engine/errors.h"
#include "engine/general_deflection.h"
#include "influence/influence.h"
#include "influence/supported_influence.h"
#include "influence/train.h"
#include "influence/train_beam.h"
#include "influence/train_files.h"
#include "results_json.h"

namespace kalvoro {

namespace {

// The moment, shear and deflection pages, whatever the beam's length.
void drawDiagrams(const SupportedBeam& beam, const BeamLoads& loads, const SupportedResult& r,
                  const SupportedRun& run, std::vector<std::string>& written)
{
    const BeamFrame frame = FrameOf(beam);
    const DiagramSettings settings;
    DesenhaMomentosApoiados(frame, loads, r.curves, settings, run.file, run.svg);
    DesenhaCortantesApoiados(frame, loads, r.curves, settings, run.file, run.svg);
    DesenhaDeformadaGeral(frame, loads, DeflectionsOf(beam, r, loads), r.curves, settings, run.file, run.svg);
    for (const char* tag : {"M", "C", "D"}) {
        written.push_back(derivedName(run.file, std::string(tag) + ".wmf"));
        if (run.svg) written.push_back(derivedName(run.file, std::string(tag) + ".svg"));
    }
}

}  // namespace

int runSupportedBatch(const ExtendedBeam& beam, const SupportedRun& run, std::ostream& out, std::ostream& err)
{
    std::unique_ptr<SupportedSystem> system;
    std::string report;
    SupportedResult result;
    nlohmann::ordered_json results;
    const SupportedBeam supported = VigaApoiada(beam);
    const BeamLoads loads = CargasDaViga(beam);
    try {
        system = std::make_unique<SupportedSystem>(supported);
        result = system->solve(loads);
        report = RelatorioApoiado(result);
        if (run.json) results = ResultsDocument(supported, result, beam.title, loads);
    } catch (const Error& e) {
        err << e.what() << '\n';
        return batch_exit::EngineFailure;
    }

    std::vector<std::string> written;
    try {
        const std::string reportName = derivedName(run.file, ".sai");
        writeTextFile(reportName, report);
        written.push_back(reportName);
        drawDiagrams(supported, loads, result, run, written);
    } catch (const IoError& e) {
        err << e.what() << '\n';
        return batch_exit::FileError;
    } catch (const Error& e) {
        err << "Dados incorretos. Estrutura não desenhada\n" << e.what() << '\n';
        return batch_exit::EngineFailure;
    }

    const BeamFrame frame = FrameOf(supported);
    const DiagramSettings settings;
    SupportedTrainBeam trainBeam(*system, supported, result.curves);
    if (run.train) {
        const int code = WriteTrainEnvelope(
            trainBeam, *run.train, run.file, run.svg,
            [&](const auto& envelope) {
                DesenhaEnvoltoria(frame, settings, *run.train, envelope, run.file, run.svg);
            },
            written, err);
        if (code != batch_exit::Ok) return code;
    }

    std::string trainReport;
    if (run.influence) {
        try {
            std::vector<InfluenceOrdinate> ordinates;
            report = RelatorioInfluenciaApoiada(*system, run.span, run.position, &ordinates);
            const long n = toInt(run.span);
            const double xs = toReal(run.position);
            if (run.json) AddInfluence(results, n, xs, ordinates);
            const std::string name = derivedName(run.file, "LIM.sai");
            writeTextFile(name, report);
            written.push_back(name);
            DesenhaLinhaInfluenciaApoiada(*system, frame, settings, n, xs, run.file, run.svg);
            written.push_back(derivedName(run.file, "LIM.wmf"));
            if (run.svg) written.push_back(derivedName(run.file, "LIM.svg"));
            if (run.train) {
                trainReport = TrainSectionReport(*run.train, TrainAtSection(trainBeam, *run.train, n, xs));
                WriteTrainSectionReport(run.file, trainReport);
                written.push_back(derivedName(run.file, "TREM.sai"));
            }
        } catch (const Error& e) {
            return InfluenceFailed(e, err);
        }
    }
    return FinishRun(run.file, run.json ? &results : nullptr, written, report + trainReport, out, err);
}

}  // namespace kalvoro
