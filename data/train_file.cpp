// The load train file: its checking reader and its writer.

#include "data/train_file.h"

#include <optional>
#include <string_view>

#include "data/numbers.h"
#include "data/text_file.h"
#include "engine/text_fields.h"

namespace kalvoro {

namespace {

constexpr const char* UniformKey = "CARGA DISTRIBUIDA";
constexpr const char* AxlesKey = "EIXOS";
constexpr const char* CrLf = "\r\n";

// The file's lines without their ends (LF, or CR LF), as UTF-8. A file that
// ends with a line end has no empty line after it.
std::vector<std::string> linesOf(std::string_view bytes)
{
    std::vector<std::string> lines;
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        const std::size_t lf = bytes.find('\n', pos);
        const std::size_t end = lf == std::string_view::npos ? bytes.size() : lf;
        std::string_view text = bytes.substr(pos, end - pos);
        if (!text.empty() && text.back() == '\r') text.remove_suffix(1);
        lines.push_back(cp1252ToUtf8(text));
        pos = lf == std::string_view::npos ? bytes.size() : lf + 1;
    }
    return lines;
}

bool blank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v';
}

std::string_view trimmed(std::string_view t)
{
    while (!t.empty() && blank(t.front())) t.remove_prefix(1);
    while (!t.empty() && blank(t.back())) t.remove_suffix(1);
    return t;
}

std::vector<std::string_view> tokens(std::string_view t)
{
    std::vector<std::string_view> out;
    std::size_t i = 0;
    while (i < t.size()) {
        while (i < t.size() && blank(t[i])) ++i;
        const std::size_t start = i;
        while (i < t.size() && !blank(t[i])) ++i;
        if (i > start) out.push_back(t.substr(start, i - start));
    }
    return out;
}

// The text after "=" of a "KEY = value" line whose key is `key`; nullopt when
// the line is not such a line.
std::optional<std::string_view> valueOf(std::string_view line, std::string_view key)
{
    const std::size_t eq = line.find('=');
    if (eq == std::string_view::npos || trimmed(line.substr(0, eq)) != key) return std::nullopt;
    return trimmed(line.substr(eq + 1));
}

TrainRead fault(int status, int line)
{
    TrainRead r;
    r.status = status;
    r.line = line;
    r.message =
        "Trem-tipo, linha " + std::to_string(line) + ": " + TrainMessages()[static_cast<std::size_t>(status)];
    return r;
}

// A number written in a field of width w, at least one blank before it.
std::string field(double v, int w)
{
    return " " + padText(formatGeneral(v), w - 1);
}

}  // namespace

const std::array<std::string, 9>& TrainMessages()
{
    static const std::array<std::string, 9> messages = {
        "",
        "arquivo vazio: falta o título",
        "esperado \"CARGA DISTRIBUIDA = q\" com q maior ou igual a 0",
        "esperado \"EIXOS = n\" com n de 1 a 20",
        "esperado um eixo: a carga P (maior que 0) e a posição a (maior ou igual a 0)",
        "a posição do primeiro eixo deve ser 0",
        "a posição de um eixo não pode ser menor que a do eixo anterior",
        "o arquivo acaba antes do último eixo",
        "texto depois do último eixo",
    };
    return messages;
}

TrainRead LeTremTexto(const std::string& bytes)
{
    using namespace train_status;
    const std::vector<std::string> lines = linesOf(bytes);
    TrainRead r;
    if (lines.empty()) return fault(NoTitle, 1);
    r.train.title = lines[0];

    const auto q = lines.size() > 1 ? valueOf(lines[1], UniformKey) : std::nullopt;
    const auto qValue = q ? parseReal(*q) : std::nullopt;
    if (!qValue || !(*qValue >= 0)) return fault(BadUniformLoad, 2);
    r.train.q = *qValue + 0.0;  // -0 reads as 0

    const auto n = lines.size() > 2 ? valueOf(lines[2], AxlesKey) : std::nullopt;
    const auto count = n ? parseInt(*n) : std::nullopt;
    if (!count || *count < 1 || *count > MaxAxles) return fault(BadAxleCount, 3);

    for (int i = 0; i < *count; ++i) {
        const int lineNo = 4 + i;
        if (static_cast<std::size_t>(lineNo) > lines.size()) return fault(MissingAxles, lineNo);
        const auto t = tokens(lines[static_cast<std::size_t>(lineNo - 1)]);
        const auto P = t.size() == 2 ? parseReal(t[0]) : std::nullopt;
        const auto a = t.size() == 2 ? parseReal(t[1]) : std::nullopt;
        if (!P || !a || !(*P > 0) || !(*a >= 0)) return fault(BadAxleLine, lineNo);
        if (i == 0 && *a != 0) return fault(FirstAxleNotAtZero, lineNo);
        if (i > 0 && *a < r.train.axles.back().a) return fault(AxlesOutOfOrder, lineNo);
        r.train.axles.push_back({*P, *a + 0.0});
    }
    for (std::size_t i = 3 + static_cast<std::size_t>(*count); i < lines.size(); ++i)
        if (!trimmed(lines[i]).empty()) return fault(TextAfterAxles, static_cast<int>(i + 1));
    return r;
}

TrainRead LeTrem(const std::string& fileName)
{
    return LeTremTexto(readFileBytes(fileName));
}

std::string TremFileText(const Train& t)
{
    std::string title = t.title;
    for (char& c : title)
        if (c == '\n' || c == '\r') c = ' ';
    std::string out = title + CrLf;
    out += std::string(UniformKey) + " =" + field(t.q, 11) + CrLf;
    out += std::string(AxlesKey) + " =" + field(static_cast<double>(t.axles.size()), 6) + CrLf;
    for (const Axle& x : t.axles) out += field(x.P, 12) + field(x.a, 11) + CrLf;
    return out;
}

void SalvarTrem(const std::string& fileName, const Train& t)
{
    writeTextFile(fileName, TremFileText(t));
}

}  // namespace kalvoro
