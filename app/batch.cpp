#include "batch.h"

#include <algorithm>
#include <memory>
#include <ostream>

#include "data/beam_file.h"
#include "data/file_names.h"
#include "data/numbers.h"
#include "data/text_file.h"
#include "data/train_file.h"
#include "diagrams/diagrams.h"
#include "engine/engine.h"
#include "engine/errors.h"
#include "engine/report.h"
#include "influence/influence.h"
#include "influence/train.h"
#include "influence/train_files.h"

namespace kalvoro {

namespace {

constexpr const char* Usage =
    "Uso: kalvoro-batch [--svg] [--train TREM.trem] ARQUIVO.vig\n"
    "     kalvoro-batch [--svg] [--train TREM.trem] --influence TRECHO POSICAO ARQUIVO.vig\n"
    "     kalvoro-batch --check ARQUIVO.vig\n"
    "     kalvoro-batch --help\n"
    "\n"
    "Calcula a viga descrita no arquivo de dados (que não é alterado), grava o\n"
    "relatório de resultados ARQUIVO.sai e os diagramas ARQUIVOM.wmf (momentos) e\n"
    "ARQUIVOC.wmf (cortantes) ao lado do arquivo de dados e imprime o relatório.\n"
    "Os nomes gravados são o nome do arquivo cortado no seu primeiro \".\".\n"
    "\n"
    "  --svg        grava também os diagramas em SVG (ARQUIVOM.svg, ARQUIVOC.svg)\n"
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
    bool check = false;
    bool svg = false;
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
        } else if (a == "--check") {
            o.check = true;
        } else if (a == "--svg") {
            o.svg = true;
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
    if (o.help) return true;
    if (files.size() != 1 || (o.check && (o.influence || o.svg || !o.train.empty()))) return false;
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
    try {
        read = Abrir(o.file, *model, toStderr);
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

    std::vector<std::string> written;
    const DiagramSettings settings;
    try {
        model->ReportFile.clear();
        ColunasAltura(*model);
        MontaRigidez(*model);
        MontaCargas(*model);
        AplicaApoios(*model);
        ResolveSistema(*model);
        Resultados(*model);
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
        DesenhaMomentos(*model, settings, o.file, o.svg);
        written.push_back(derivedName(o.file, "M.wmf"));
        if (o.svg) written.push_back(derivedName(o.file, "M.svg"));
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

    if (!o.train.empty()) {
        try {
            const auto envelope = TrainEnvelope(*model, train);
            WriteTrainEnvelopeReport(o.file, TrainEnvelopeReport(train, envelope));
            written.push_back(derivedName(o.file, "ENV.sai"));
            DesenhaEnvoltoria(*model, settings, train, envelope, o.file, o.svg);
            written.push_back(derivedName(o.file, "ENV.wmf"));
            if (o.svg) written.push_back(derivedName(o.file, "ENV.svg"));
        } catch (const IoError& e) {
            err << e.what() << '\n';
            return batch_exit::FileError;
        } catch (const Error& e) {
            err << "Envoltória do trem-tipo não calculada\n" << e.what() << '\n';
            return batch_exit::EngineFailure;
        }
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
            if (!o.train.empty()) {
                const TrainSection at = TrainAtSection(*model, train, toInt(o.span), toReal(o.position));
                const std::string trainReport = TrainSectionReport(train, at);
                WriteTrainSectionReport(o.file, trainReport);
                written.push_back(derivedName(o.file, "TREM.sai"));
                out << trainReport;
            }
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
