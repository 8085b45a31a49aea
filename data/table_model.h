#pragma once
// The data-entry tables of the main window, without any toolkit: six grids of
// cell texts, their count fields and spinners, and the rules that keep them in
// step (span, material, section and load counts; node coordinates from the
// span lengths). The window mirrors this model: user edits go in, the rules
// run here, and the window repaints from what the model holds.
//
// Storage: every grid keeps a backing store at least as long as the longest it
// has ever been. Row 0 is the heading row, column 0 the numbering column, and
// data row r is row r. Shrinking a grid only lowers its visible row count; the
// rows beyond keep their texts and show them again when the grid grows.
//
// The tables hold texts, not numbers: "." is the decimal separator, and every
// number the model writes into a cell uses the general format of 12 digits.

#include <string>
#include <string_view>
#include <vector>

#include "data/beam_file.h"

namespace kalvoro {

// The title held for the run (the data file's first line), as it starts.
inline constexpr std::string_view DefaultTitle = "digite aqui um título para a sua estrutura...";

class Grid {
public:
    Grid(std::vector<std::string> headings, std::vector<int> widths);

    int columnCount() const { return static_cast<int>(widths_.size()); }
    // Visible rows including the heading row (at least 1).
    int rowCount() const { return rowCount_; }
    int dataRowCount() const { return rowCount_ - 1; }
    int columnWidth(int col) const;
    const std::string& heading(int col) const { return cell(0, col); }

    // Any row from 0 up to the row limit may be read or written, visible or
    // not: a hidden row keeps what is written into it. Reading a row that was
    // never written gives "". Columns are checked against the grid's width.
    const std::string& cell(int row, int col) const;
    void setCell(int row, int col, std::string text);
    // Sets every cell of a row from column 0 on (missing cells become "").
    void setRow(int row, const std::vector<std::string>& cells);
    // The cells of a row, columns 0 .. columnCount - 1.
    std::vector<std::string> row(int row) const;

    // Shows `rows` rows including the heading row; refuses fewer than 2 (a grid
    // always keeps one data row under its fixed heading) and more than the limit.
    void setRowCount(int rows);

    // Largest row index a grid accepts: far beyond what a data file can hold
    // (250 spans), low enough that a mistyped count cannot exhaust memory.
    static constexpr int RowLimit = 20000;

private:
    void checkAddress(int row, int col) const;

    std::vector<int> widths_;
    std::vector<std::vector<std::string>> cells_;  // backing store, row-major
    int rowCount_ = 2;
};

// A spinner attached to a count field: stepping writes the field's text.
struct Spinner {
    int min = 1;
    int max = 1;
    int position = 1;  // the last value it held or read from its field
};

enum class TableId { Spans, Nodes, Loads, Supports, Materials, Sections };

// The supports table: "Nó" and "Restrições" as the data file holds them, then
// the columns that only a .vigx holds, in this order.
inline constexpr int SupportCodeColumns = 2;
enum SupportColumn {
    SpringVerticalColumn = 2,
    SpringRotationColumn,
    SettlementVerticalColumn,
    SettlementRotationColumn,
    HingeColumn
};
// What the "Rótula" column holds at a hinge; empty elsewhere.
inline constexpr std::string_view HingeMark = "sim";

class TableModel {
public:
    // The tables as the window creates them (every count field "1") followed
    // by NovaEst.
    TableModel();

    const Grid& grid(TableId id) const;
    const std::string& countText(TableId id) const;
    const Spinner* spinner(TableId id) const;  // null for the tables without one

    // The default beam: one span of length 1.00, material and section 1 with
    // E = I = 1.00, two nodes coded "10", q = -1.00 on span 1.
    void NovaEst();

    // A cell typed by the user (not the numbering column, not the heading row).
    void editCell(TableId id, int row, int col, std::string text);

    // The count field's text changes (typed by the user or set by the program):
    // the table's count rule runs when the text differs from what it was. A
    // text that is not an integer makes the rule throw ConversionError after
    // the field has taken the text; the tables keep their rows.
    void setCountText(TableId id, std::string text);
    // A click on the spinner: steps its value by +1 or -1 within its range and
    // rewrites the field (running the count rule).
    void stepSpinner(TableId id, int delta);
    // Puts the spinner at a value; a spinner already showing it changes nothing.
    void setSpinner(TableId id, int value);

    // The coordinate rule: node 1 at "0.00"; when no length cell of spans 1..n
    // is empty, node i + 1 at the running sum of the first i lengths. Throws
    // ConversionError for a count or a length that is not a number.
    void AtualizaCoordenadas();

    // The texts the data file writer takes: every count field and the visible
    // data rows of every grid (of the supports, the code columns only).
    BeamTexts texts() const;
    // Refuses tables that firstTableError faults (ConversionError with its
    // message), runs the coordinate rule, then writes the data file (nothing
    // for an empty name). Errors of any step reach the caller.
    void save(const std::string& fileName, const std::string& title);

    // Fills the tables from a successful read, in the order materials,
    // sections, nodes, spans (the span count rule first), supports, loads.
    // All or nothing: on an error the tables stay as they were and the error
    // reaches the caller.
    void fill(const BeamTexts& read);

private:
    struct Table {
        Grid grid;
        std::string count;
        bool hasSpinner = false;
        Spinner spin;
    };

    Table& table(TableId id);
    const Table& table(TableId id) const;
    void runCountRule(TableId id);
    void spanCountRule();
    void simpleCountRule(TableId id);
    void fillTable(TableId id, const TableTexts& t);

    std::vector<Table> tables_;
};

}  // namespace kalvoro
