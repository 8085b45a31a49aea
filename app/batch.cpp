#include "batch.h"
#include "batch_supported.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <ostream>

#include "data/beam_file.h"
#include "data/extended_beam.h"
#include "data/file_names.h"
#include "data/text_file.h"
#include "diagrams/diagrams.h"
#include "diagrams/general_diagrams.h"
#include "engine/engine.h"
#include "engine/errors.h"
#include "engine/general_road.h"
#include "engine/report.h"
#include "influence/influence.h"

namespace kalvoro {

namespace {

constexpr const char* Usage =
    "Uso: kalvoro-batch [--svg] ARQUIVO.vig\n"
    "     kalvoro-batch [--svg] --influence TRECHO POSICAO ARQUIVO.vig\n"
    "     kalvoro-batch --check ARQUIVO.vig\n"
    "     kalvoro-batch --help\n"
    "\n"
    "Calcula a viga descrita no arquivo de dados (que não é alterado), grava o\n"
    "relatório de resultados ARQUIVO.sai e os diagramas ARQUIVOM.wmf (momentos) e\n"
    "ARQUIVOC.wmf (cortantes) ao lado do arquivo de dados e imprime o relatório.\n"
    "Os nomes gravados são o nome do arquivo cortado no seu primeiro \".\".\n"
    "Um ARQUIVO terminado em .vigx é lido como viga com cargas adicionais (JSON);\n"
    "uma recusa do leitor dá o código da parte do arquivo em que está.\n"
    "\n"
    "  --svg        grava também os diagramas em SVG (ARQUIVOM.svg, ARQUIVOC.svg)\n"
    "  --influence TRECHO POSICAO\n"
    "               depois do cálculo, calcula as linhas de influência da seção à\n"
    "               distância POSICAO do nó esquerdo do trecho TRECHO, grava\n"
    "               ARQUIVOLIM.sai e ARQUIVOLIM.wmf e imprime esse relatório\n"
    "  --check      apenas lê o arquivo e imprime a mensagem do leitor\n"
    "  --help       mostra este texto\n"
    "\n"
    "Códigos de saída:\n"
    "  0    sucesso\n"
    "  1-7  erro de leitura do arquivo de dados (a mensagem numerada do leitor)\n"
    "  8    falha do cálculo ou do desenho (por exemplo \"divisao por zero\" numa\n"
    "       viga instável)\n"
    "  9    arquivo que não pode ser lido ou gravado\n"
    "  10   linha de influência não calculada\n"
    "  64   argumentos inválidos\n";

struct Options {
    bool help = false;
    bool check = false;
    bool svg = false;
    bool influence = false;
    std::string span, position, file;
};

// Parses the arguments; returns false on a usage error.
bool parse(const std::vector<std::string>& args, Options& o)
{
    std::vector<std::string> files;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--help" || a == "-h") {
            o.help = true;
        } else if (a == "--check") {
            o.check = true;
        } else if (a == "--svg") {
            o.svg = true;
        } else if (a == "--influence") {
            if (i + 2 >= args.size()) return false;
            o.influence = true;
            o.span = args[++i];
            o.position = args[++i];
        } else if (a.size() > 1 && a[0] == '-' && a != "-") {
            return false;
        } else {
            files.push_back(a);
        }
    }
    if (o.help) return true;
    if (files.size() != 1 || (o.check && (o.influence || o.svg))) return false;
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

// The influence-line message carries a carriage return for the message box.
std::string forTerminal(std::string text)
{
    std::replace(text.begin(), text.end(), '\r', '\n');
    return text;
}

}  // namespace

int runBatch(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    Options o;
    if (!parse(args, o)) {
        err << Usage;
        return batch_exit::Usage;
    }
    if (o.help) {
        out << Usage;
        return batch_exit::Ok;
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
    if (supported)
        return runSupportedBatch(*supported, {o.file, o.svg, o.influence, o.span, o.position}, out, err);

    std::vector<std::string> written;
    const DiagramSettings settings;
    try {
        model->ReportFile.clear();
        if (general) {
            ResolveGeral(*model, *general);
            ResultadosGeral(*model, *general);
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
        if (general)
            DesenhaMomentosGeral(*model, *general, settings, o.file, o.svg);
        else
            DesenhaMomentos(*model, settings, o.file, o.svg);
        written.push_back(derivedName(o.file, "M.wmf"));
        if (o.svg) written.push_back(derivedName(o.file, "M.svg"));
        if (general)
            DesenhaCortantesGeral(*model, *general, settings, o.file, o.svg);
        else
            DesenhaCortantes(*model, settings, o.file, o.svg);
        written.push_back(derivedName(o.file, "C.wmf"));
        if (o.svg) written.push_back(derivedName(o.file, "C.svg"));
    } catch (const IoError& e) {
        err << e.what() << '\n';
        return batch_exit::FileError;
    } catch (const Error& e) {
        err << "Dados incorretos. Estrutura não desenhada\n" << e.what() << '\n';
        return batch_exit::EngineFailure;
    }

    if (!o.influence) {
        out << model->ReportFile;
    } else {
        try {
            const std::string report = ComputeInfluenceReport(*model, o.span, o.position, o.file);
            written.push_back(derivedName(o.file, "LIM.sai"));
            Recording page;
            if (!DesenhaLinhaInfluencia(*model, settings, o.span, o.position, o.file, toStderr, page, o.svg))
                return batch_exit::InfluenceFailure;
            written.push_back(derivedName(o.file, "LIM.wmf"));
            if (o.svg) written.push_back(derivedName(o.file, "LIM.svg"));
            out << report;
        } catch (const Error& e) {
            err << forTerminal(InfluenceFailureMessage) << '\n';
            err << e.what() << '\n';
            // A report or diagram that cannot be written is a file error like
            // the main report's; the earlier files of those names are intact.
            return dynamic_cast<const IoError*>(&e) ? batch_exit::FileError : batch_exit::InfluenceFailure;
        }
    }

    for (const std::string& name : written) err << "Gravado: " << name << '\n';
    return printed(out, err) ? batch_exit::Ok : batch_exit::FileError;
}

}  // namespace kalvoro
