#include <algorithm>
#include <charconv>

#include "data/beam_file.h"
#include "data/text_file.h"
#include "engine/errors.h"

namespace kalvoro {

namespace {

// Characters the text will occupy in the file: one per code point, and one
// per byte of a malformed sequence (each becomes "?").
std::size_t fileLength(const std::string& text)
{
    return utf8ToCp1252(text).size();
}

// Header counts: right-aligned in 5, a longer text in full (the "= " before it
// already keeps it apart from the keyword).
std::string countField(const std::string& text)
{
    const std::size_t length = fileLength(text);
    return (length < 5 ? std::string(5 - length, ' ') : std::string()) + text;
}

// Record fields: right-aligned in `width`. A text that fills its field or runs
// over it gets one blank in front, so it never merges with the field before.
std::string field(const std::string& text, std::size_t width)
{
    const std::size_t length = fileLength(text);
    return (length < width ? std::string(width - length, ' ') : std::string(" ")) + text;
}

std::string integerText(std::size_t value)
{
    char buffer[24];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
    return std::string(buffer, end);
}

// Cell k of a row; a row shorter than the table's columns has empty cells.
const std::string& cell(const std::vector<std::string>& row, std::size_t k)
{
    static const std::string empty;
    return k < row.size() ? row[k] : empty;
}

constexpr const char* LineEnd = "\r\n";

}  // namespace

std::string BeamFileText(const std::string& title, const BeamTexts& tables)
{
    // A line feed pasted into the title would end its line early and turn the
    // rest into a header that cannot be read; it is written as a blank.
    std::string out = title;
    std::replace(out.begin(), out.end(), '\n', ' ');
    out += LineEnd;

    out += header::Coordinates + countField(tables.nodes.count) + LineEnd;
    for (std::size_t r = 1; r <= tables.nodes.rows.size(); ++r) {
        const auto& row = tables.nodes.rows[r - 1];
        out += field(integerText(r), 5) + field(cell(row, 1), 10) + field(cell(row, 2), 10) + LineEnd;
    }

    // Span r always joins node r to node r + 1; the length cell is not written,
    // the node coordinates carry it.
    out += header::Incidences + countField(tables.spans.count) + LineEnd;
    for (std::size_t r = 1; r <= tables.spans.rows.size(); ++r) {
        const auto& row = tables.spans.rows[r - 1];
        out += field(cell(row, 0), 10) + field(integerText(r), 10) + field(integerText(r + 1), 10) +
               field(cell(row, 2), 10) + field(cell(row, 3), 10) + LineEnd;
    }

    out += header::Materials + countField(tables.materials.count) + LineEnd;
    for (const auto& row : tables.materials.rows)
        out += field(cell(row, 0), 10) + field(cell(row, 1), 20) + LineEnd;

    out += header::Sections + countField(tables.sections.count) + LineEnd;
    for (const auto& row : tables.sections.rows)
        out += field(cell(row, 0), 10) + field(cell(row, 1), 20) + LineEnd;

    out += header::Supports + countField(tables.supports.count) + LineEnd;
    for (const auto& row : tables.supports.rows)
        out += field(cell(row, 0), 3) + field(cell(row, 1), 5) + LineEnd;

    out += header::Loads + countField(tables.loads.count) + LineEnd;
    for (const auto& row : tables.loads.rows)
        out += field(cell(row, 0), 10) + field(cell(row, 1), 15) + field(cell(row, 2), 15) +
               field(cell(row, 3), 15) + LineEnd;
    return out;
}

std::optional<std::string> BeamFileLimit(const BeamTexts& tables)
{
    // The reader takes one support record per node into a table of 25, which
    // limits the nodes, and so the spans, far below the model's arrays.
    struct Limit {
        const TableTexts& table;
        long most;
        const char* what;
    };
    const Limit limits[] = {
        {tables.spans, capacity::SupportEntries - 1, "trechos"},
        {tables.nodes, capacity::SupportEntries, "nós"},
        {tables.supports, capacity::SupportEntries, "apoios"},
        {tables.materials, capacity::Materials, "materiais"},
        {tables.sections, capacity::Sections, "seções"},
        {tables.loads, capacity::LoadRows, "cargas"},
    };
    for (const Limit& l : limits)
        if (l.table.rows.size() > static_cast<std::size_t>(l.most))
            return "A viga tem " + integerText(l.table.rows.size()) + " " + l.what +
                   "; o arquivo de dados admite no máximo " + integerText(static_cast<std::size_t>(l.most)) +
                   ".";
    return std::nullopt;
}

void Salvar(const std::string& fileName, const std::string& title, const BeamTexts& tables)
{
    if (fileName.empty()) return;
    if (const auto refusal = BeamFileLimit(tables)) throw CapacityError(*refusal);
    writeTextFile(fileName, BeamFileText(title, tables), /*durable=*/true);
}

}  // namespace kalvoro
