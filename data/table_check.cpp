#include "data/table_check.h"

#include <optional>
#include <string_view>

#include "data/numbers.h"
#include "data/short_text.h"

namespace kalvoro {

namespace {

// The reader's longest number tokens: a longer text cannot go through the file.
constexpr std::size_t MaxIntegerText = 32;
constexpr std::size_t MaxRealText = 64;

std::optional<double> real(std::string_view text)
{
    if (text.size() > MaxRealText) return std::nullopt;
    return parseReal(text);
}

std::optional<std::int32_t> integer(std::string_view text)
{
    if (text.size() > MaxIntegerText) return std::nullopt;
    return parseInt(text);
}

const char* tabOf(TableId id)
{
    switch (id) {
        case TableId::Spans:
        case TableId::Nodes:
            return "Trechos";
        case TableId::Loads:
            return "Cargas";
        case TableId::Supports:
            return "Apoios";
        case TableId::Materials:
        case TableId::Sections:
            break;
    }
    return "Materiais e seções";
}

// Finds the first fault; each check returns false once it has set the message.
class Check {
public:
    explicit Check(const TableModel& t) : t_(t) {}

    std::string run()
    {
        (void)(count(TableId::Spans, "Número de trechos:") && spans() && loads() && supports() &&
               count(TableId::Materials, "materiais:") && reals(TableId::Materials) &&
               count(TableId::Sections, "seções:") && reals(TableId::Sections));
        return message_;
    }

private:
    const Grid& grid(TableId id) const { return t_.grid(id); }
    const std::string& text(TableId id, int row, int col) const { return grid(id).cell(row, col); }

    bool fail(TableId id, int row, int col, const std::string& what)
    {
        message_ = std::string("Aba \"") + tabOf(id) + "\", linha " + std::to_string(row) + ", coluna \"" +
                   grid(id).heading(col) + "\": \"" + shortText(text(id, row, col)) + "\" " + what;
        return false;
    }

    bool count(TableId id, const char* field)
    {
        const std::string& c = t_.countText(id);
        const auto n = integer(c);
        if (n && *n == grid(id).dataRowCount()) return true;
        message_ = std::string("Aba \"") + tabOf(id) + "\", campo \"" + field + "\": \"" + shortText(c) +
                   "\" não é o número de linhas da tabela.";
        return false;
    }

    bool realCell(TableId id, int row, int col)
    {
        return real(text(id, row, col)) || fail(id, row, col, "não é um número.");
    }

    bool reals(TableId id)
    {
        for (int r = 1; r <= grid(id).dataRowCount(); ++r)
            if (!realCell(id, r, 1)) return false;
        return true;
    }

    // A section or material number: one of the rows of its table.
    bool reference(int row, int col, TableId table, const char* name)
    {
        const auto k = integer(text(TableId::Spans, row, col));
        if (!k) return fail(TableId::Spans, row, col, "não é um número inteiro.");
        const int count = grid(table).dataRowCount();
        if (*k < 1 || *k > count)
            return fail(TableId::Spans, row, col,
                        std::string("não é ") + name + " da tabela (de 1 a " + std::to_string(count) + ").");
        return true;
    }

    bool spans()
    {
        for (int r = 1; r <= grid(TableId::Spans).dataRowCount(); ++r) {
            const auto length = real(text(TableId::Spans, r, 1));
            if (!length) return fail(TableId::Spans, r, 1, "não é um número.");
            if (!(*length > 0)) return fail(TableId::Spans, r, 1, "não é um comprimento maior que zero.");
            if (!reference(r, 2, TableId::Sections, "uma seção") ||
                !reference(r, 3, TableId::Materials, "um material"))
                return false;
        }
        return true;
    }

    bool loads()
    {
        const int spanCount = grid(TableId::Spans).dataRowCount();
        for (int r = 1; r <= grid(TableId::Loads).dataRowCount(); ++r) {
            const auto span = integer(text(TableId::Loads, r, 0));
            if (!span || *span < 1 || *span > spanCount)
                return fail(TableId::Loads, r, 0, "não é um trecho da viga.");
            if (!realCell(TableId::Loads, r, 1) || !realCell(TableId::Loads, r, 2) ||
                !realCell(TableId::Loads, r, 3))
                return false;
            // The span's length has passed its own check already.
            const double L = *real(text(TableId::Spans, *span, 1));
            const double d = *real(text(TableId::Loads, r, 3));
            if (d < 0 || d > L)
                return fail(TableId::Loads, r, 3,
                            "não está no trecho " + std::to_string(*span) + " (de 0 a " +
                                shortText(text(TableId::Spans, *span, 1)) + ").");
        }
        return true;
    }

    bool supports()
    {
        for (int r = 1; r <= grid(TableId::Supports).dataRowCount(); ++r) {
            const std::string& code = text(TableId::Supports, r, 1);
            if (code != "00" && code != "01" && code != "10" && code != "11")
                return fail(TableId::Supports, r, 1,
                            "não é um código de apoio do nó " + shortText(text(TableId::Supports, r, 0)) +
                                " (00, 01, 10 ou 11).");
            if (!supportExtras(r, code)) return false;
        }
        return true;
    }

    // The columns a .vigx node adds to its code: a spring only where the code
    // leaves the node free, a settlement only where it restrains it, a hinge
    // only inside the beam where the node's rotation is free.
    bool supportExtras(int r, const std::string& code)
    {
        const bool verticalFree = code[0] == '0', rotationFree = code[1] == '0';
        const std::string node = "no nó " + shortText(text(TableId::Supports, r, 0));
        const std::string because = node + " (código " + code + "): ";
        const auto spring = [&](int col, bool free, const char* direction) {
            const std::string& t = text(TableId::Supports, r, col);
            if (t.empty()) return true;
            const auto k = real(t);
            if (!k) return fail(TableId::Supports, r, col, "não é um número.");
            if (!(*k > 0)) return fail(TableId::Supports, r, col, "não é uma rigidez maior que zero.");
            if (!free)
                return fail(TableId::Supports, r, col,
                            "não cabe " + because + "a mola vai só onde " + direction + " é livre.");
            return true;
        };
        const auto settlement = [&](int col, bool free, const char* direction) {
            const std::string& t = text(TableId::Supports, r, col);
            if (t.empty()) return true;
            if (!real(t)) return fail(TableId::Supports, r, col, "não é um número.");
            if (free)
                return fail(TableId::Supports, r, col,
                            "não cabe " + because + "o recalque vai só onde " + direction + ".");
            return true;
        };
        if (!spring(SpringVerticalColumn, verticalFree, "o deslocamento vertical") ||
            !spring(SpringRotationColumn, rotationFree, "a rotação") ||
            !settlement(SettlementVerticalColumn, verticalFree, "o deslocamento vertical é impedido") ||
            !settlement(SettlementRotationColumn, rotationFree, "a rotação é impedida"))
            return false;
        const std::string& hinge = text(TableId::Supports, r, HingeColumn);
        if (hinge.empty()) return true;
        if (hinge != HingeMark) return fail(TableId::Supports, r, HingeColumn, "não é \"sim\" nem vazio.");
        if (r == 1 || r == grid(TableId::Supports).dataRowCount())
            return fail(TableId::Supports, r, HingeColumn,
                        "não cabe " + node + ": a rótula vai só num nó interno.");
        if (!rotationFree)
            return fail(TableId::Supports, r, HingeColumn,
                        "não cabe " + because + "a rótula não vai com a rotação impedida.");
        if (!text(TableId::Supports, r, SpringRotationColumn).empty())
            return fail(TableId::Supports, r, HingeColumn,
                        "não cabe " + node + ": a rótula não vai com mola de rotação.");
        return true;
    }

    const TableModel& t_;
    std::string message_;
};

}  // namespace

std::string firstTableError(const TableModel& tables)
{
    return Check(tables).run();
}

}  // namespace kalvoro
