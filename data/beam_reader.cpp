// The checking reader of the beam data file.
//
// Grammar, as the steps read it:
//   - a line ends at LF; one CR right before the LF (or before the end of the
//     file) belongs to the line end;
//   - a header is one whole line; its count is the text after the first "=",
//     leading blanks allowed, nothing after the last digit;
//   - a record is a run of number tokens: bytes 0..32 separate tokens (so a
//     record may span lines), a token is the run of bytes above 32 that
//     follows, at most 32 bytes for an integer and 64 for a real (a longer run
//     is not a number); after a record's last number the rest of its line is
//     skipped; at the end of the file a number that is due reads as 0.
// Sections are found by position only. Each step stores what it reads under
// the numbers the file gives, so a number outside the model's arrays fails in
// the step that reads it (the arrays refuse the index).
//
// Beyond the grammar, a read refuses what no beam can be, in the step where
// the fault shows: a span running right to left (step 3), a span whose
// material or section the file does not define (steps 4 and 5), a support
// code other than 0, 1, 10 and 11 (step 6), a load on no span of this file
// or whose d lies outside its span (step 7). Materials and sections are
// cleared before they are read, so nothing of a beam read earlier survives
// into this one.

#include <algorithm>
#include <charconv>
#include <string_view>
#include <vector>

#include "data/beam_file.h"
#include "data/numbers.h"
#include "data/short_text.h"
#include "data/text_file.h"
#include "engine/arithmetic.h"
#include "engine/nodal_loads.h"

namespace kalvoro {

namespace {

constexpr std::size_t MaxIntegerToken = 32;
constexpr std::size_t MaxRealToken = 64;

class Reader {
public:
    Reader(std::string_view bytes, AnalysisModel& model, const MessageSink& messages)
        : bytes_(bytes), model_(model), messages_(messages)
    {
    }

    AnalysisModel& model() { return model_; }

    // The rest of the current line, without its line end, as UTF-8.
    std::string line()
    {
        const std::size_t lf = bytes_.find('\n', pos_);
        const std::size_t end = lf == std::string_view::npos ? bytes_.size() : lf;
        std::string_view text = bytes_.substr(pos_, end - pos_);
        if (!text.empty() && text.back() == '\r') text.remove_suffix(1);
        pos_ = lf == std::string_view::npos ? bytes_.size() : lf + 1;
        return cp1252ToUtf8(text);
    }

    void skipRestOfLine()
    {
        const std::size_t lf = bytes_.find('\n', pos_);
        pos_ = lf == std::string_view::npos ? bytes_.size() : lf + 1;
    }

    std::int32_t integer()
    {
        const auto t = token(MaxIntegerToken, "inteiro");
        return t.empty() ? 0 : toInt(t);
    }

    double real()
    {
        const auto t = token(MaxRealToken, "real");
        return t.empty() ? 0.0 : toReal(t);
    }

    // Reads a header line, sends the keyword message when the line lacks
    // `keyword` (an empty keyword tests nothing), and returns the line.
    std::string header(std::string_view keyword, const char* message)
    {
        std::string text = line();
        if (!keyword.empty() && text.find(keyword) == std::string::npos && messages_)
            messages_(message + shortText(text));
        return text;
    }

private:
    // The next token, empty at the end of the file.
    std::string_view token(std::size_t limit, const char* kind)
    {
        while (pos_ < bytes_.size() && static_cast<unsigned char>(bytes_[pos_]) <= 32) ++pos_;
        const std::size_t start = pos_;
        while (pos_ < bytes_.size() && static_cast<unsigned char>(bytes_[pos_]) > 32) {
            ++pos_;
            if (pos_ - start > limit)
                throw ConversionError(std::string("número ") + kind + " longo demais na posição " +
                                      std::to_string(start + 1));
        }
        return bytes_.substr(start, pos_ - start);
    }

    std::string_view bytes_;
    std::size_t pos_ = 0;
    AnalysisModel& model_;
    const MessageSink& messages_;
};

// The count of a header line: everything after the first "=", which may start
// with blanks but must end with the last digit. A line without "=" is taken whole.
std::int32_t headerCount(const std::string& headerLine)
{
    const std::size_t equals = headerLine.find('=');
    std::string_view text(headerLine);
    if (equals != std::string::npos) text.remove_prefix(equals + 1);
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    return toInt(text);
}

void LeTitulo(Reader& in, std::string& title)
{
    AnalysisModel& m = in.model();
    m.DofPerNode = 2;
    m.NodesPerElement = 2;
    m.ElementDofCount = mulInt(m.DofPerNode, m.NodesPerElement);
    m.MaterialPropCount = 1;
    m.LoadCaseCount = 1;
    title = in.line();
}

void LeCoordenadas(Reader& in)
{
    AnalysisModel& m = in.model();
    m.NodeCount = headerCount(in.header("", ""));
    m.EquationCount = mulInt(m.NodeCount, m.DofPerNode);
    m.CoordsPerNode = 2;
    for (std::int32_t i = 1; i <= m.NodeCount; ++i) {
        const std::int32_t n = in.integer();
        for (std::int32_t k = 1; k <= m.CoordsPerNode; ++k) m.Coord(n, k) = in.real();
        in.skipRestOfLine();
    }
}

void LeIncidencias(Reader& in)
{
    AnalysisModel& m = in.model();
    const std::string text = in.header("INCIDÊNCIAS", "Erro nas incidências das barras ");
    m.NodesPerElement = 2;
    m.ElementCount = headerCount(text);
    for (std::int32_t i = 1; i <= m.ElementCount; ++i) {
        const std::int32_t e = in.integer();
        for (std::int32_t k = 1; k <= m.NodesPerElement; ++k) m.Incidence(e, k) = in.integer();
        // Section and material numbers are stored as read; the engine meets them.
        m.ElementSection[e] = in.integer();
        m.ElementMaterial[e] = in.integer();
        in.skipRestOfLine();
        if (m.Coord(m.Incidence(e, 2), 1) < m.Coord(m.Incidence(e, 1), 1))
            throw ConversionError("trecho " + std::to_string(e) + " com o nó final à esquerda do inicial");
    }
}

// Every span's number for `what` (its material or its section) names a record
// of this file: a number in 1..count that one of the records carried.
void checkSpanReferences(const AnalysisModel& m,
                         const Array1<AnalysisModel::Int, capacity::Elements>& numbers,
                         const std::vector<bool>& defined, const char* what)
{
    for (std::int32_t e = 1; e <= m.ElementCount; ++e) {
        const auto k = static_cast<std::size_t>(numbers[e]);
        if (numbers[e] < 1 || k >= defined.size() || !defined[k])
            throw ConversionError("trecho " + std::to_string(e) + ": " + what + " " +
                                  std::to_string(numbers[e]) + " não definido");
    }
}

// d lies on its span, 0..L. L comes from node coordinates written with 12
// digits, so a d typed as the span's own length may exceed it by a rounding
// step: up to a part in 1e9 of L is let through.
void checkLoadPosition(const AnalysisModel& m, std::int32_t row)
{
    const long e = m.LoadRowElement(row, 1);
    // A span beyond the count would take its nodes from an earlier file.
    if (e < 1 || e > m.ElementCount) throw ConversionError("carga " + std::to_string(row) + " sem trecho");
    const Real dx = static_cast<Real>(m.Coord(m.Incidence(e, 2), 1)) - m.Coord(m.Incidence(e, 1), 1);
    const Real dy = static_cast<Real>(m.Coord(m.Incidence(e, 2), 2)) - m.Coord(m.Incidence(e, 1), 2);
    const Real L = root(dx * dx + dy * dy);
    const Real d = m.LoadRowValue(row, 3, 1);
    const Real slack = L * 1e-9L;
    if (d < -slack || d > L + slack)
        throw ConversionError("carga " + std::to_string(row) + " fora do trecho " + std::to_string(e));
}

void LeElasticas(Reader& in)
{
    AnalysisModel& m = in.model();
    m.MaterialProp.fill(0.0);
    m.MaterialCount = headerCount(in.header("ELÁSTICAS", "Erro nas propriedades elásticas "));
    std::vector<bool> defined(capacity::Materials + 1, false);
    for (std::int32_t i = 1; i <= m.MaterialCount; ++i) {
        const std::int32_t material = in.integer();
        for (std::int32_t k = 1; k <= m.MaterialPropCount; ++k) m.MaterialProp(material, k) = in.real();
        in.skipRestOfLine();
        if (material <= m.MaterialCount) defined[static_cast<std::size_t>(material)] = true;
    }
    checkSpanReferences(m, m.ElementMaterial, defined, "material");
}

void LeSecoes(Reader& in)
{
    AnalysisModel& m = in.model();
    m.SectionProp.fill(0.0);
    m.SectionCount = headerCount(in.header("SEÇÕES", "Erro nas propriedades da seção "));
    std::vector<bool> defined(capacity::Sections + 1, false);
    for (std::int32_t i = 1; i <= m.SectionCount; ++i) {
        const std::int32_t section = in.integer();
        m.SectionProp(section, 1) = in.real();
        in.skipRestOfLine();
        if (section <= m.SectionCount) defined[static_cast<std::size_t>(section)] = true;
    }
    checkSpanReferences(m, m.ElementSection, defined, "seção");
}

// One support record per node, whatever the header's count says (it is not read).
void LeCondicoes(Reader& in)
{
    AnalysisModel& m = in.model();
    in.header("CONDIÇÕES", "Erro nas condições de contorno ");
    m.SupportCount = m.NodeCount;
    for (std::int32_t i = 1; i <= m.SupportCount; ++i) {
        m.SupportNode[i] = in.integer();
        m.SupportCode[i] = in.integer();
        in.skipRestOfLine();
        // Two restraint flags, vertical and rotation; "100" is no code, and
        // the engine would read it as a fixed node in one place, free in another.
        const std::int32_t code = m.SupportCode[i];
        if (code != 0 && code != 1 && code != 10 && code != 11)
            throw ConversionError("código de apoio " + std::to_string(code) + " inválido");
    }
    m.SupportValue.fill(0.0);
}

// A file with fewer load records than spans ("CARREGAMENTO = 1" on three
// spans) would leave spans without a load row, and everything after the read
// takes load row i as span i. Each span without a record gets an unloaded one
// (q = P = d = 0), and the rows are put in span order; several records of one
// span keep their order. A file with a record for every span is left as read.
void addUnloadedSpans(AnalysisModel& m)
{
    struct Row {
        std::int32_t span;
        double q, P, d;
        bool added;
    };
    std::vector<Row> rows;
    std::vector<bool> loaded(static_cast<std::size_t>(std::max(m.ElementCount, 0)) + 1);
    for (std::int32_t i = 1; i <= m.LoadRowCount[1]; ++i) {
        const std::int32_t e = m.LoadRowElement(i, 1);
        if (e >= 1 && e <= m.ElementCount) loaded[static_cast<std::size_t>(e)] = true;
        rows.push_back({e, m.LoadRowValue(i, 1, 1), m.LoadRowValue(i, 2, 1), m.LoadRowValue(i, 3, 1), false});
    }
    const auto missing = std::count(loaded.begin() + 1, loaded.end(), false);
    if (missing == 0) return;
    if (m.LoadRowCount[1] + missing > capacity::LoadRows) throw IndexError("linhas de carga demais");
    for (std::int32_t e = 1; e <= m.ElementCount; ++e)
        if (!loaded[static_cast<std::size_t>(e)]) rows.push_back({e, 0.0, 0.0, 0.0, true});
    std::stable_sort(rows.begin(), rows.end(), [](const Row& a, const Row& b) { return a.span < b.span; });

    m.LoadRowCount[1] = static_cast<std::int32_t>(rows.size());
    for (std::int32_t i = 1; i <= m.LoadRowCount[1]; ++i) {
        const Row& r = rows[static_cast<std::size_t>(i - 1)];
        m.LoadRowElement(i, 1) = r.span;
        m.LoadRowValue(i, 1, 1) = r.q;
        m.LoadRowValue(i, 2, 1) = r.P;
        m.LoadRowValue(i, 3, 1) = r.d;
        // An added row adds no load, only the marks of its span's nodes, as an
        // unloaded record does; a span of no length is left for the engine to meet.
        if (r.added)
            for (std::int32_t k = 1; k <= 2; ++k) {
                const std::int32_t node = m.Incidence(r.span, k);
                m.NodeLoadMark[node] = addInt(m.NodeLoadMark[node], 1);
            }
    }
}

void LeCarregamento(Reader& in)
{
    AnalysisModel& m = in.model();
    const std::string text = in.header("CARREGAMENTO", "Erro no carregamento ");
    ClearEquivalentLoads(m);
    m.LoadRowValue.fill(0.0);
    m.LoadRowCount[1] = headerCount(text);
    for (std::int32_t i = 1; i <= m.LoadRowCount[1]; ++i) {
        m.LoadRowElement(i, 1) = in.integer();
        m.LoadRowValue(i, 1, 1) = in.real();  // q
        m.LoadRowValue(i, 2, 1) = in.real();  // P
        m.LoadRowValue(i, 3, 1) = in.real();  // d
        in.skipRestOfLine();
        checkLoadPosition(m, i);
        AddEquivalentLoads(m, i);
    }
    addUnloadedSpans(m);
    BuildNodalLoadList(m);
}

std::string decimal(std::int32_t value)
{
    char buffer[16];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
    return std::string(buffer, end);
}

// "00", "01", "10", "11": the code's last two digits, zero-padded to two.
std::string supportCodeText(std::int32_t code)
{
    std::string s = decimal(code % 100);
    if (s.size() < 2) s.insert(0, 2 - s.size(), '0');
    return s;
}

// The tables as the model now holds the beam; numbering follows the row.
BeamTexts fillTables(const AnalysisModel& m)
{
    BeamTexts t;
    t.materials.count = decimal(m.MaterialCount);
    for (std::int32_t r = 1; r <= m.MaterialCount; ++r)
        t.materials.rows.push_back({decimal(r), formatGeneral(m.MaterialProp(r, 1), 12)});

    t.sections.count = decimal(m.SectionCount);
    for (std::int32_t r = 1; r <= m.SectionCount; ++r)
        t.sections.rows.push_back({decimal(r), formatGeneral(m.SectionProp(r, 1), 12)});

    t.nodes.count = decimal(m.NodeCount);
    for (std::int32_t r = 1; r <= m.NodeCount; ++r)
        t.nodes.rows.push_back(
            {decimal(r), formatGeneral(m.Coord(r, 1), 12), formatGeneral(m.Coord(r, 2), 12)});

    t.spans.count = decimal(m.ElementCount);
    for (std::int32_t r = 1; r <= m.ElementCount; ++r) {
        const Real length = static_cast<Real>(m.Coord(m.Incidence(r, 2), 1)) - m.Coord(m.Incidence(r, 1), 1);
        t.spans.rows.push_back({decimal(r), formatGeneral(store(length), 12), decimal(m.ElementSection[r]),
                                decimal(m.ElementMaterial[r])});
    }

    t.supports.count = decimal(m.SupportCount);
    for (std::int32_t i = 1; i <= m.SupportCount; ++i)
        t.supports.rows.push_back({decimal(m.SupportNode[i]), supportCodeText(m.SupportCode[i])});

    t.loads.count = decimal(m.LoadRowCount[1]);
    for (std::int32_t i = 1; i <= m.LoadRowCount[1]; ++i)
        t.loads.rows.push_back({decimal(m.LoadRowElement(i, 1)), formatGeneral(m.LoadRowValue(i, 1, 1), 12),
                                formatGeneral(m.LoadRowValue(i, 2, 1), 12),
                                formatGeneral(m.LoadRowValue(i, 3, 1), 12)});
    return t;
}

}  // namespace

const std::array<std::string, 11>& ReaderMessages()
{
    static const std::array<std::string, 11> messages = {
        " Nenhum erro encontrado ",
        " 01- Erro na definição dos dados gerais da estrutura ",
        " 02- Erro na definição das coordenadas da estrutura ",
        " 03- Erro na definição das barras da estrutura ",
        " 04- Erro na definição das propriedades elásticas das barras ",
        " 05- Erro na definição das propriedades das seções das barras ",
        " 06- Erro na definição dos apoios ",
        " 07- Erro na definição do carregamento ",
        "",
        "",
        "",
    };
    return messages;
}

ReadResult AbrirTexto(const std::string& bytes, AnalysisModel& model, const MessageSink& messages)
{
    ReadResult result;
    Reader in(bytes, model, messages);
    // Every failure, whatever its kind, ends the read with the step it happened
    // in; the tables are filled only after the last step, so a failed read
    // leaves the caller's tables as they were.
    try {
        result.status = 1;
        LeTitulo(in, result.title);
        result.titleRead = true;
        result.status = 2;
        LeCoordenadas(in);
        result.status = 3;
        LeIncidencias(in);
        result.status = 4;
        LeElasticas(in);
        result.status = 5;
        LeSecoes(in);
        result.status = 6;
        LeCondicoes(in);
        result.status = 7;
        LeCarregamento(in);
        result.tables = fillTables(model);
        result.status = 0;
    } catch (...) {
        result.tables = BeamTexts{};
    }
    return result;
}

BeamTexts TabelasDoModelo(const AnalysisModel& model)
{
    return fillTables(model);
}

ReadResult Abrir(const std::string& fileName, AnalysisModel& model, const MessageSink& messages)
{
    return AbrirTexto(readFileBytes(fileName), model, messages);
}

}  // namespace kalvoro
