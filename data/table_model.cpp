#include "data/table_model.h"

#include <algorithm>
#include <utility>

#include "data/numbers.h"
#include "data/table_check.h"
#include "engine/arithmetic.h"
#include "engine/errors.h"

namespace kalvoro {

namespace {

std::string str(int v)
{
    return std::to_string(v);
}

// Texts a new row or a new structure receives.
constexpr const char* DefaultLength = "1.00";
constexpr const char* DefaultProperty = "1.00";  // E and I
constexpr const char* DefaultQ = "-1.00";
constexpr const char* Zero = "0.00";  // P, d, and the coordinates the rule sets
constexpr const char* DefaultCode = "10";

std::size_t index(TableId id)
{
    return static_cast<std::size_t>(id);
}

// A count the grids can hold: one data row at least, and room for the extra
// node and support row the span rule adds.
int checkedCount(const std::string& text)
{
    const int n = toInt(text);
    if (n < 1 || n > Grid::RowLimit - 1) throw IndexError("número de linhas fora do intervalo: " + text);
    return n;
}

}  // namespace

// ---------------------------------------------------------------- Grid

Grid::Grid(std::vector<std::string> headings, std::vector<int> widths) : widths_(std::move(widths))
{
    cells_.assign(2, std::vector<std::string>(widths_.size()));
    for (std::size_t c = 0; c < headings.size() && c < widths_.size(); ++c)
        cells_[0][c] = std::move(headings[c]);
}

int Grid::columnWidth(int col) const
{
    checkAddress(0, col);
    return widths_[static_cast<std::size_t>(col)];
}

void Grid::checkAddress(int row, int col) const
{
    if (col < 0 || col >= columnCount()) throw IndexError("coluna fora da grade: " + str(col));
    if (row < 0 || row > RowLimit) throw IndexError("linha fora da grade: " + str(row));
}

const std::string& Grid::cell(int row, int col) const
{
    static const std::string empty;
    checkAddress(row, col);
    const auto r = static_cast<std::size_t>(row);
    if (r >= cells_.size()) return empty;
    return cells_[r][static_cast<std::size_t>(col)];
}

void Grid::setCell(int row, int col, std::string text)
{
    checkAddress(row, col);
    const auto r = static_cast<std::size_t>(row);
    if (r >= cells_.size()) cells_.resize(r + 1, std::vector<std::string>(widths_.size()));
    cells_[r][static_cast<std::size_t>(col)] = std::move(text);
}

void Grid::setRow(int row, const std::vector<std::string>& cells)
{
    for (int c = 0; c < columnCount(); ++c)
        setCell(row, c, static_cast<std::size_t>(c) < cells.size() ? cells[static_cast<std::size_t>(c)] : "");
}

std::vector<std::string> Grid::row(int row) const
{
    std::vector<std::string> out;
    for (int c = 0; c < columnCount(); ++c) out.push_back(cell(row, c));
    return out;
}

void Grid::setRowCount(int rows)
{
    if (rows < 2 || rows > RowLimit + 1) throw IndexError("número de linhas fora do intervalo: " + str(rows));
    rowCount_ = rows;
    const auto need = static_cast<std::size_t>(rows);
    if (cells_.size() < need) cells_.resize(need, std::vector<std::string>(widths_.size()));
}

// ---------------------------------------------------------------- TableModel

TableModel::TableModel()
{
    // In TableId order. Headings and widths are the ones every new structure gets.
    tables_.push_back({Grid({"Trecho", "comprimento", "seção", "Material"}, {50, 90, 70, 70}), "1", true,
                       Spinner{1, 1000, 1}});
    tables_.push_back({Grid({"Nó", "X", "Y"}, {25, 70, 70}), "1", false, {}});
    tables_.push_back({Grid({"Trecho", "q", "P", "d"}, {50, 70, 70, 70}), "1", false, {}});
    // The supports' specified columns, then what a .vigx node adds to its code.
    tables_.push_back({Grid({"Nó", "Restrições", "Mola vertical", "Mola rotação", "Recalque vertical",
                             "Recalque rotação", "Rótula"},
                            {30, 80, 85, 85, 105, 105, 50}),
                       "1",
                       false,
                       {}});
    tables_.push_back({Grid({"N.", "E(Elast.)"}, {25, 80}), "1", true, Spinner{1, 100, 1}});
    tables_.push_back({Grid({"N.", "I(Inércia)"}, {25, 70}), "1", true, Spinner{1, 100, 1}});
    NovaEst();
}

TableModel::Table& TableModel::table(TableId id)
{
    return tables_.at(index(id));
}
const TableModel::Table& TableModel::table(TableId id) const
{
    return tables_.at(index(id));
}

const Grid& TableModel::grid(TableId id) const
{
    return table(id).grid;
}
const std::string& TableModel::countText(TableId id) const
{
    return table(id).count;
}

const Spinner* TableModel::spinner(TableId id) const
{
    const Table& t = table(id);
    return t.hasSpinner ? &t.spin : nullptr;
}

void TableModel::NovaEst()
{
    // Hidden rows are left as they are: a later count change shows them again,
    // as after any other shrink. The hidden load and support count fields are
    // not touched here; only the span count rule sets them.
    Grid& mat = table(TableId::Materials).grid;
    mat.setRowCount(2);
    setSpinner(TableId::Materials, 1);
    mat.setRow(0, {"N.", "E(Elast.)"});
    mat.setRow(1, {"1", DefaultProperty});

    Grid& sec = table(TableId::Sections).grid;
    sec.setRowCount(2);
    setSpinner(TableId::Sections, 1);
    sec.setRow(0, {"N.", "I(Inércia)"});
    sec.setRow(1, {"1", DefaultProperty});

    Grid& nodes = table(TableId::Nodes).grid;
    nodes.setRowCount(3);
    nodes.setRow(0, {"Nó", "X", "Y"});
    nodes.setCell(1, 0, "1");
    nodes.setCell(2, 0, "2");
    nodes.setCell(1, 1, Zero);
    nodes.setCell(1, 2, Zero);

    Grid& spans = table(TableId::Spans).grid;
    spans.setRowCount(2);
    setSpinner(TableId::Spans, 1);
    spans.setRow(0, {"Trecho", "comprimento", "seção", "Material"});
    spans.setRow(1, {"1", DefaultLength, "1", "1"});
    table(TableId::Nodes).count = "2";

    Grid& sup = table(TableId::Supports).grid;
    sup.setRowCount(3);
    sup.setRow(0, {"Nó", "Restrições", "Mola vertical", "Mola rotação", "Recalque vertical",
                   "Recalque rotação", "Rótula"});
    sup.setRow(1, {"1", DefaultCode});
    sup.setRow(2, {"2", DefaultCode});

    Grid& loads = table(TableId::Loads).grid;
    loads.setRowCount(2);
    loads.setRow(0, {"Trecho", "q", "P", "d"});
    loads.setRow(1, {"1", DefaultQ, Zero, Zero});
}

void TableModel::editCell(TableId id, int row, int col, std::string text)
{
    if (row < 1 || col < 1) throw IndexError("célula fixa da grade");
    table(id).grid.setCell(row, col, std::move(text));
}

void TableModel::setCountText(TableId id, std::string text)
{
    Table& t = table(id);
    if (t.count == text) return;
    t.count = std::move(text);
    if (t.hasSpinner) {
        if (auto v = parseInt(t.count)) t.spin.position = std::clamp<int>(*v, t.spin.min, t.spin.max);
    }
    runCountRule(id);
}

void TableModel::setSpinner(TableId id, int value)
{
    Table& t = table(id);
    if (!t.hasSpinner) throw IndexError("tabela sem contador");
    const int v = std::clamp(value, t.spin.min, t.spin.max);
    t.spin.position = v;
    setCountText(id, str(v));
}

void TableModel::stepSpinner(TableId id, int delta)
{
    Table& t = table(id);
    if (!t.hasSpinner) throw IndexError("tabela sem contador");
    // The spinner follows its field: it steps from the number the field shows,
    // or from where it last stood while the field holds no number.
    int base = t.spin.position;
    if (auto v = parseInt(t.count)) base = std::clamp<int>(*v, t.spin.min, t.spin.max);
    setSpinner(id, base + delta);
}

void TableModel::runCountRule(TableId id)
{
    switch (id) {
        case TableId::Spans:
            spanCountRule();
            break;
        case TableId::Materials:
        case TableId::Sections:
        case TableId::Loads:
            simpleCountRule(id);
            break;
        case TableId::Nodes:
        case TableId::Supports:
            break;  // follow the span count, no rule of their own
    }
}

void TableModel::simpleCountRule(TableId id)
{
    Table& t = table(id);
    const int n = checkedCount(t.count);
    t.grid.setRowCount(n + 1);
    t.grid.setCell(n, 0, str(n));
}

// Only the last row of each table receives defaults, whether the count grew or
// shrank; rows in between keep whatever they held.
void TableModel::spanCountRule()
{
    Table& spans = table(TableId::Spans);
    const int n = checkedCount(spans.count);

    spans.grid.setRowCount(n + 1);
    spans.grid.setRow(n, {str(n), DefaultLength, "1", "1"});
    spans.count = str(n);  // "02" becomes "2"; the rule has already run for it

    Table& nodes = table(TableId::Nodes);
    nodes.grid.setRowCount(n + 2);
    nodes.grid.setCell(n + 1, 0, str(n + 1));
    nodes.count = str(n + 1);

    Table& loads = table(TableId::Loads);
    loads.grid.setRowCount(n + 1);
    loads.grid.setRow(n, {str(n), DefaultQ, Zero, Zero});
    setCountText(TableId::Loads, str(n));

    Table& sup = table(TableId::Supports);
    sup.grid.setRowCount(n + 2);
    sup.grid.setRow(n + 1, {str(n + 1), DefaultCode});
    sup.count = str(n + 1);

    AtualizaCoordenadas();
}

void TableModel::AtualizaCoordenadas()
{
    const Grid& spans = table(TableId::Spans).grid;
    Grid& nodes = table(TableId::Nodes).grid;
    const int n = toInt(table(TableId::Spans).count);
    if (n > Grid::RowLimit - 1) throw IndexError("número de trechos fora do intervalo: " + str(n));

    nodes.setCell(1, 1, Zero);
    nodes.setCell(1, 2, Zero);
    for (int r = 1; r <= n; ++r)
        if (spans.cell(r, 1).empty()) return;

    Real sum = 0;
    for (int i = 2; i <= n + 1; ++i) {
        sum += toReal(spans.cell(i - 1, 1));
        nodes.setCell(i, 1, formatGeneral(store(sum), 12));
        nodes.setCell(i, 2, Zero);
    }
}

BeamTexts TableModel::texts() const
{
    auto one = [this](TableId id) {
        const Table& t = table(id);
        TableTexts out;
        out.count = t.count;
        for (int r = 1; r <= t.grid.dataRowCount(); ++r) out.rows.push_back(t.grid.row(r));
        return out;
    };
    // The data file holds the supports' code only; the columns after it go
    // to a .vigx (see supportExtras).
    TableTexts supports = one(TableId::Supports);
    for (auto& row : supports.rows) row.resize(SupportCodeColumns);
    BeamTexts b;
    b.spans = one(TableId::Spans);
    b.nodes = one(TableId::Nodes);
    b.loads = one(TableId::Loads);
    b.supports = std::move(supports);
    b.materials = one(TableId::Materials);
    b.sections = one(TableId::Sections);
    return b;
}

void TableModel::save(const std::string& fileName, const std::string& title)
{
    if (fileName.empty()) return;
    if (const std::string fault = firstTableError(*this); !fault.empty()) throw ConversionError(fault);
    AtualizaCoordenadas();
    Salvar(fileName, title, texts());
}

void TableModel::fillTable(TableId id, const TableTexts& t)
{
    Table& tab = table(id);
    const int rows = static_cast<int>(std::min<std::size_t>(t.rows.size(), Grid::RowLimit));
    tab.grid.setRowCount(rows + 1);
    if (tab.hasSpinner) setSpinner(id, checkedCount(t.count));
    setCountText(id, t.count);
    // The span rule may have changed the row count again; the read decides.
    tab.grid.setRowCount(rows + 1);
    for (int r = 1; r <= rows; ++r) tab.grid.setRow(r, t.rows[static_cast<std::size_t>(r - 1)]);
}

void TableModel::fill(const BeamTexts& read)
{
    TableModel next(*this);
    next.fillTable(TableId::Materials, read.materials);
    next.fillTable(TableId::Sections, read.sections);
    next.fillTable(TableId::Nodes, read.nodes);
    next.fillTable(TableId::Spans, read.spans);
    next.fillTable(TableId::Supports, read.supports);
    next.fillTable(TableId::Loads, read.loads);
    *this = std::move(next);
}

}  // namespace kalvoro
