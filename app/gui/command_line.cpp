#include "app/gui/command_line.h"

#include <ostream>

#include "app/version.h"

namespace kalvoro {

namespace {

constexpr const char* Help =
    "Uso: kalvoro [--train TREM.trem] [ARQUIVO.vig]\n"
    "     kalvoro --help | --version\n"
    "\n"
    "Análise de vigas contínuas pelo método da rigidez. Com um arquivo de dados,\n"
    "abre-o como o comando Abrir: calcula a viga, mostra o relatório e desenha os\n"
    "diagramas, gravando ARQUIVO.sai, ARQUIVOM.wmf e ARQUIVOC.wmf ao lado dele.\n"
    "\n"
    "  --help       mostra este texto\n"
    "  --version    mostra a versão do programa\n"
    "  --train TREM.trem\n"
    "               usa o trem-tipo do arquivo como o diálogo Trem-tipo: cada\n"
    "               cálculo dá também a envoltória (aba Envoltória)\n"
    "\n"
    "Para o desenvolvimento:\n"
    "  --screenshots PASTA\n"
    "               grava em PASTA uma imagem de cada página e de cada janela e\n"
    "               termina; com um arquivo, imprime também as duas janelas em PDF\n"
    "  --quit-after-first-paint\n"
    "               termina assim que a janela principal for pintada pela primeira\n"
    "               vez (mede o tempo de partida)\n"
    "\n"
    "Códigos de saída: 0 sucesso, 64 argumentos inválidos.\n";

}  // namespace

CommandLine parseCommandLine(const std::vector<std::string>& args)
{
    CommandLine line;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--help" || a == "-h") {
            line.help = true;
        } else if (a == "--version") {
            line.version = true;
        } else if (a == "--quit-after-first-paint") {
            line.quitAfterFirstPaint = true;
        } else if (a == "--train") {
            if (i + 1 == args.size()) {
                line.error = "falta o arquivo depois de --train";
            } else {
                line.train = args[++i];
            }
        } else if (a == "--screenshots") {
            if (i + 1 == args.size()) {
                line.error = "falta a pasta depois de --screenshots";
            } else {
                line.screenshots = args[++i];
            }
        } else if (a.size() > 1 && a[0] == '-') {
            line.error = "opção desconhecida: " + a;
        } else if (!line.file.empty()) {
            line.error = "mais de um arquivo: " + a;
        } else {
            line.file = a;
        }
    }
    return line;
}

void printCommandLineAnswer(const CommandLine& line, std::ostream& out)
{
    if (line.help)
        out << Help;
    else if (line.version)
        out << "kalvoro " << Version << '\n';
}

}  // namespace kalvoro
