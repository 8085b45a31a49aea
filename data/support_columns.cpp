#include "data/support_columns.h"

#include <charconv>

#include "data/numbers.h"

namespace kalvoro {

namespace {

double number(const Grid& g, int row, int col)
{
    const std::string& t = g.cell(row, col);
    return t.empty() ? 0 : toReal(t);
}

// The shortest text that reads back as the same double: a .vigx opened and
// saved keeps its stiffnesses and settlements to the last bit.
std::string text(double v)
{
    if (v == 0) return {};
    char buffer[32];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, v).ptr;
    return std::string(buffer, end);
}

}  // namespace

bool TemApoiosEspeciais(const TableModel& tables)
{
    const Grid& g = tables.grid(TableId::Supports);
    for (int r = 1; r <= g.dataRowCount(); ++r)
        for (int c = SupportCodeColumns; c < g.columnCount(); ++c)
            if (!g.cell(r, c).empty()) return true;
    return false;
}

std::vector<NodeSupport> ApoiosDasTabelas(const TableModel& tables)
{
    const Grid& g = tables.grid(TableId::Supports);
    std::vector<NodeSupport> out;
    for (int r = 1; r <= g.dataRowCount(); ++r) {
        NodeSupport s;
        s.springVertical = number(g, r, SpringVerticalColumn);
        s.springRotation = number(g, r, SpringRotationColumn);
        s.settlementVertical = number(g, r, SettlementVerticalColumn);
        s.settlementRotation = number(g, r, SettlementRotationColumn);
        s.hinge = g.cell(r, HingeColumn) == HingeMark;
        out.push_back(s);
    }
    return out;
}

void PreencheApoiosEspeciais(TableModel& tables, const std::vector<ExtendedNode>& nodes)
{
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        const NodeSupport& s = nodes[i].extra;
        const int r = static_cast<int>(i) + 1;
        tables.editCell(TableId::Supports, r, SpringVerticalColumn, text(s.springVertical));
        tables.editCell(TableId::Supports, r, SpringRotationColumn, text(s.springRotation));
        tables.editCell(TableId::Supports, r, SettlementVerticalColumn, text(s.settlementVertical));
        tables.editCell(TableId::Supports, r, SettlementRotationColumn, text(s.settlementRotation));
        tables.editCell(TableId::Supports, r, HingeColumn, s.hinge ? std::string(HingeMark) : std::string());
    }
}

}  // namespace kalvoro
