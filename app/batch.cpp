#include "batch.h"
#include "batch_ending.h"
#include "batch_supported.h"
#include "batch_trains.h"

#include <memory>
#include <optional>
#include <ostream>

#include "app/version.h"
#include "data/beam_file.h"
#include "data/extended_beam.h"
#include "data/file_names.h"
#include "data/numbers.h"
#include "data/text_file.h"
#include "data/train_file.h"
#include "diagrams/deflection_diagram.h"
#include "diagrams/diagrams.h"
#include "diagrams/general_diagrams.h"
#include "engine/engine.h"
#include "engine/errors.h"
#include "engine/general_road.h"
#include "engine/report.h"
#include "influence/influence.h"
#include "influence/train.h"
#include "influence/train_files.h"
#include "results_json.h"

namespace kalvoro {

namespace {

constexpr const char* Usage =
    "Uso: kalvoro-batch [--svg] [--json] [--train TREM.trem] ARQUIVO.vig\n"
    "     kalvoro-batch [--svg] [--json] [--train TREM.trem] --influence TRECHO POSICAO\n"
    "                   ARQUIVO.vig\n"
    "     kalvoro-batch --check ARQUIVO.vig\n"
    "     kalvoro-batch --help | --version\n"
    "\n"
    "Calcula a viga descrita no arquivo de dados (que não é alterado), grava o\n"
    "relatório de resultados ARQUIVO.sai e os diagramas ARQUIVOM.wmf (momentos),\n"
    "ARQUIVOC.wmf (cortantes) e ARQUIVOD.wmf (deformada) ao lado do arquivo de\n"
    "dados e imprime o relatório.\n"
    "Os nomes gravados são o nome do arquivo cortado no seu primeiro \".\".\n"
    "Um ARQUIVO terminado em .vigx é lido como viga com cargas adicionais (JSON);\n"
    "uma recusa do leitor dá o código da parte do arquivo em que está.\n"
    "\n"
    "  --svg        grava também os diagramas em SVG (ARQUIVOM.svg, ARQUIVOC.svg,\n"
    "               ARQUIVOD.svg)\n"
    "  --json       grava também ARQUIVO.json: o modelo lido e todos os resultados\n"
    "               com todos os dígitos (com --influence, também as ordenadas das\n"
    "               linhas de influência)\n"
    "  --influence TRECHO POSICAO\n"
    "               depois do cálculo, calcula as linhas de influência da seção à\n"
    "               distância POSICAO do nó esquerdo do trecho TRECHO, grava\n"
    "               ARQUIVOLIM.sai e ARQUIVOLIM.wmf e imprime esse relatório\n"
    "  --train TREM.trem\n"
    "               grava também a envoltória do trem-tipo ao longo da viga\n"
    "               (ARQUIVOENV.sai, ARQUIVOENV.wmf); com --influence, também os\n"
    "               extremos do trem-tipo na seção (ARQUIVOTREM.sai), que imprime\n"
    "  --check      apenas lê o arquivo e imprime a mensagem do leitor\n"
    "  --help       mostra este texto\n"
    "  --version    mostra a versão do programa\n"
    "\n"
    "Códigos de saída:\n"
    "  0    sucesso\n"
    "  1-7  erro de leitura do arquivo de dados (a mensagem numerada do leitor)\n"
    "  8    falha do cálculo ou do desenho (por exemplo \"divisao por zero\" numa\n"
    "       viga instável)\n"
    "  9    arquivo que não pode ser lido ou gravado\n"
    "  10   linha de influência não calculada\n"
    "  11   arquivo de trem-tipo inválido (nada é gravado)\n"
    "  64   argumentos inválidos\n";

struct Options {
    bool help = false;
    bool version = false;
    bool check = false;
    bool svg = false;
    bool json = false;
    bool influence = false;
    std::string span, position, file, train;
};

// Parses the arguments; returns false on a usage error.
bool parse(const std::vector<std::string>& args, Options& o)
{
    std::vector<std::string> files;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--help" || a == "-h") {
            o.help = true;
        } else if (a == "--version") {
            o.version = true;
        } else if (a == "--check") {
            o.check = true;
        } else if (a == "--svg") {
            o.svg = true;
        } else if (a == "--json") {
            o.json = true;
        } else if (a == "--influence") {
            if (i + 2 >= args.size()) return false;
            o.influence = true;
            o.span = args[++i];
            o.position = args[++i];
        } else if (a == "--train") {
            if (i + 1 >= args.size()) return false;
            o.train = args[++i];
        } else if (a.size() > 1 && a[0] == '-' && a != "-") {
            return false;
        } else {
            files.push_back(a);
        }
    }
    if (o.help || o.version) return true;
    if (files.size() != 1 || (o.check && (o.influence || o.svg || o.json || !o.train.empty()))) return false;
    o.file = files.front();
    return true;
}

// A report that cannot be printed (standard output redirected to a full disk)
// is lost, so the run is not a success.
bool printed(std::ostream& out, std::ostream& err)
{
    out.flush();
    if (out) return true;
    err << "Não foi possível gravar na saída padrão\n";
    return false;
}

// A .vigx read into the model as the data file reader would fill it. A beam
// the data file cannot hold leaves its loads in `general` for the general
// road; a refusal sends its place and reason to the sink.
ReadResult readExtended(const std::string& file, AnalysisModel& m, std::optional<BeamLoads>& general,
                        std::optional<ExtendedBeam>& supported, const MessageSink& messages)
{
    const ExtendedRead x = AbrirVigx(file);
    ReadResult r;
    r.status = x.status;
    if (x.status != 0) {
        messages(x.message);
        return r;
    }
    if (PrecisaApoiosEspeciais(x.beam)) {
        supported = x.beam;
        r.titleRead = true;
        r.title = x.beam.title;
        return r;
    }
    PreencheModelo(x.beam, m);
    if (!CabeNoVig(x.beam)) general = CargasDaViga(x.beam);
    r.titleRead = true;
    r.title = x.beam.title;
    return r;
}

}  // namespace

int runBatch(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    Options o;
    if (!parse(args, o)) {
        err << Usage;
        return batch_exit::Usage;
    }
    if (o.help || o.version) {
        if (o.help)
            out << Usage;
        else
            out << "kalvoro-batch " << Version << '\n';
        return printed(out, err) ? batch_exit::Ok : batch_exit::FileError;
    }

    // The train is read before anything is computed, so a bad one writes nothing.
    Train train;
    if (!o.train.empty()) {
        try {
            const TrainRead t = LeTrem(o.train);
            if (t.status != 0) {
                err << t.message << '\n';
                return batch_exit::TrainFileError;
            }
            train = t.train;
        } catch (const Error& e) {
            err << "Não foi possível ler o arquivo de trem-tipo: " << e.what() << '\n';
            return batch_exit::TrainFileError;
        }
    }

    auto model = std::make_unique<AnalysisModel>();
    const MessageSink toStderr = [&err](const std::string& text) { err << text << '\n'; };

    ReadResult read;
    std::optional<BeamLoads> general;
    std::optional<ExtendedBeam> supported;
    try {
        read = o.file.ends_with(".vigx") ? readExtended(o.file, *model, general, supported, toStderr)
                                         : Abrir(o.file, *model, toStderr);
    } catch (const Error& e) {
        err << "Não foi possível ler o arquivo de dados: " << e.what() << '\n';
        return batch_exit::FileError;
    }
    const std::string& message = ReaderMessages().at(static_cast<std::size_t>(read.status));
    if (o.check) {
        out << message << '\n';
        return printed(out, err) ? read.status : batch_exit::FileError;
    }
    if (read.status != 0) {
        err << message << '\n';
        return read.status;
    }
    // The trains' permanent values on the analysis model know one uniform and
    // one point load per span: beams of the general road get no train rather
    // than wrong numbers.
    if (general && !o.train.empty()) {
        err << "--train ainda não trata vigas com cargas que o arquivo .vig não comporta\n";
        return batch_exit::Usage;
    }
    if (supported)
        return runSupportedBatch(
            *supported,
            {o.file, o.svg, o.json, o.influence, o.span, o.position, o.train.empty() ? nullptr : &train}, out,
            err);

    std::vector<std::string> written;
    const DiagramSettings settings;
    nlohmann::ordered_json results;
    std::vector<SpanCurve> curves;
    try {
        model->ReportFile.clear();
        if (general) {
            ResolveGeral(*model, *general);
            curves = ResultadosGeral(*model, *general);
        } else {
            ColunasAltura(*model);
            MontaRigidez(*model);
            MontaCargas(*model);
            AplicaApoios(*model);
            ResolveSistema(*model);
            Resultados(*model);
        }
    } catch (const IoError& e) {
        err << e.what() << '\n';
        return batch_exit::FileError;
    } catch (const Error& e) {
        err << e.what() << '\n';
        return batch_exit::EngineFailure;
    }

    try {
        const std::string reportName = derivedName(o.file, ".sai");
        writeTextFile(reportName, model->ReportFile);
        written.push_back(reportName);
        // A page's metafile, and its SVG with --svg, under the data file's stem.
        const auto wrotePage = [&](const std::string& suffix) {
            written.push_back(derivedName(o.file, suffix + ".wmf"));
            if (o.svg) written.push_back(derivedName(o.file, suffix + ".svg"));
        };
        if (general)
            DesenhaMomentosGeral(*model, *general, curves, settings, o.file, o.svg);
        else
            DesenhaMomentos(*model, settings, o.file, o.svg);
        wrotePage("M");
        if (general)
            DesenhaCortantesGeral(*model, *general, curves, settings, o.file, o.svg);
        else
            DesenhaCortantes(*model, settings, o.file, o.svg);
        wrotePage("C");
        if (general)
            DesenhaDeformadaGeral(*model, *general, curves, settings, o.file, o.svg);
        else
            DesenhaDeformada(*model, settings, o.file, o.svg);
        wrotePage("D");
        // Taken now: the influence lines solve the beam again for every position.
        if (o.json)
            results = general ? ResultsDocument(*model, read.title, *general, curves)
                              : ResultsDocument(*model, read.title);
    } catch (const IoError& e) {
        err << e.what() << '\n';
        return batch_exit::FileError;
    } catch (const Error& e) {
        err << "Dados incorretos. Estrutura não desenhada\n" << e.what() << '\n';
        return batch_exit::EngineFailure;
    }

    if (!o.train.empty()) {
        ModelTrainBeam beam(*model);
        const int code = WriteTrainEnvelope(
            beam, train, o.file, o.svg,
            [&](const auto& envelope) {
                DesenhaEnvoltoria(*model, settings, train, envelope, o.file, o.svg);
            },
            written, err);
        if (code != batch_exit::Ok) return code;
    }

    // What is printed once every file is written: the results report, or the
    // influence-line report when asked for.
    std::string report = model->ReportFile;
    std::string trainReport;
    if (o.influence) {
        try {
            std::vector<InfluenceOrdinate> ordinates;
            SolvedPositions solved;
            report = ComputeInfluenceReport(*model, o.span, o.position, o.file, &solved,
                                            o.json ? &ordinates : nullptr);
            written.push_back(derivedName(o.file, "LIM.sai"));
            Recording page;
            if (!DesenhaLinhaInfluencia(*model, settings, o.span, o.position, o.file, toStderr, page, o.svg,
                                        &solved))
                return batch_exit::InfluenceFailure;
            written.push_back(derivedName(o.file, "LIM.wmf"));
            if (o.svg) written.push_back(derivedName(o.file, "LIM.svg"));
            if (o.json) AddInfluence(results, toInt(o.span), toReal(o.position), ordinates);
            if (!o.train.empty()) {
                const TrainSection at = TrainAtSection(*model, train, toInt(o.span), toReal(o.position));
                trainReport = TrainSectionReport(train, at);
                WriteTrainSectionReport(o.file, trainReport);
                written.push_back(derivedName(o.file, "TREM.sai"));
            }
        } catch (const Error& e) {
            return InfluenceFailed(e, err);
        }
    }
    return FinishRun(o.file, o.json ? &results : nullptr, written, report + trainReport, out, err);
}

}  // namespace kalvoro
