#include "data/table_model.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "data/support_columns.h"
#include "data/table_check.h"
#include "data/text_file.h"
#include "engine/errors.h"

namespace kalvoro {
namespace {

using Row = std::vector<std::string>;

// The supports' columns after the code are empty in every case here.
Row rowOf(const TableModel& m, TableId id, int r)
{
    Row row = m.grid(id).row(r);
    if (id == TableId::Supports) {
        EXPECT_EQ(Row(row.begin() + SupportCodeColumns, row.end()), Row(5)) << "row " << r;
        row.resize(SupportCodeColumns);
    }
    return row;
}

std::vector<std::string> nodeX(const TableModel& m)
{
    std::vector<std::string> xs;
    for (int r = 1; r <= m.grid(TableId::Nodes).dataRowCount(); ++r)
        xs.push_back(m.grid(TableId::Nodes).cell(r, 1));
    return xs;
}

void setLengths(TableModel& m, const std::vector<std::string>& lengths)
{
    m.setCountText(TableId::Spans, std::to_string(lengths.size()));
    for (std::size_t i = 0; i < lengths.size(); ++i)
        m.editCell(TableId::Spans, static_cast<int>(i + 1), 1, lengths[i]);
}

TEST(TableModel, StartUpTablesHoldTheDefaultBeam)
{
    const TableModel m;
    struct Expect {
        TableId id;
        std::string count;
        Row headings;
        std::vector<int> widths;
        std::vector<Row> rows;
    };
    const std::vector<Expect> table = {
        {TableId::Spans,
         "1",
         {"Trecho", "comprimento", "seção", "Material"},
         {50, 90, 70, 70},
         {{"1", "1.00", "1", "1"}}},
        // Node 2's coordinates wait for the coordinate rule.
        {TableId::Nodes, "2", {"Nó", "X", "Y"}, {25, 70, 70}, {{"1", "0.00", "0.00"}, {"2", "", ""}}},
        {TableId::Loads, "1", {"Trecho", "q", "P", "d"}, {50, 70, 70, 70}, {{"1", "-1.00", "0.00", "0.00"}}},
        // The hidden support count starts at "1" although there are two rows.
        {TableId::Supports,
         "1",
         {"Nó", "Restrições", "Mola vertical", "Mola rotação", "Recalque vertical", "Recalque rotação",
          "Rótula"},
         {30, 80, 85, 85, 105, 105, 50},
         {{"1", "10", "", "", "", "", ""}, {"2", "10", "", "", "", "", ""}}},
        {TableId::Materials, "1", {"N.", "E(Elast.)"}, {25, 80}, {{"1", "1.00"}}},
        {TableId::Sections, "1", {"N.", "I(Inércia)"}, {25, 70}, {{"1", "1.00"}}},
    };
    for (const auto& e : table) {
        SCOPED_TRACE(e.headings[1]);
        const Grid& g = m.grid(e.id);
        EXPECT_EQ(m.countText(e.id), e.count);
        EXPECT_EQ(g.row(0), e.headings);
        for (int c = 0; c < g.columnCount(); ++c)
            EXPECT_EQ(g.columnWidth(c), e.widths[static_cast<std::size_t>(c)]);
        ASSERT_EQ(g.dataRowCount(), static_cast<int>(e.rows.size()));
        for (int r = 1; r <= g.dataRowCount(); ++r)
            EXPECT_EQ(g.row(r), e.rows[static_cast<std::size_t>(r - 1)]);
    }
    EXPECT_EQ(m.spinner(TableId::Spans)->max, 1000);
    EXPECT_EQ(m.spinner(TableId::Materials)->max, 100);
    EXPECT_EQ(m.spinner(TableId::Nodes), nullptr);
}

TEST(TableModel, SpanSpinnerFromOneToTwoAddsARowToEveryTable)
{
    TableModel m;
    m.stepSpinner(TableId::Spans, +1);
    EXPECT_EQ(m.countText(TableId::Spans), "2");
    EXPECT_EQ(m.grid(TableId::Spans).dataRowCount(), 2);
    EXPECT_EQ(rowOf(m, TableId::Spans, 2), (Row{"2", "1.00", "1", "1"}));
    EXPECT_EQ(m.countText(TableId::Nodes), "3");
    EXPECT_EQ(nodeX(m), (std::vector<std::string>{"0.00", "1", "2"}));
    EXPECT_EQ(m.grid(TableId::Nodes).cell(3, 0), "3");
    EXPECT_EQ(m.countText(TableId::Supports), "3");
    EXPECT_EQ(rowOf(m, TableId::Supports, 3), (Row{"3", "10"}));
    EXPECT_EQ(m.countText(TableId::Loads), "2");
    EXPECT_EQ(rowOf(m, TableId::Loads, 2), (Row{"2", "-1.00", "0.00", "0.00"}));

    // The spinner stays within 1..1000 and a step down at 1 leaves the tables.
    m.stepSpinner(TableId::Spans, -1);
    m.stepSpinner(TableId::Spans, -1);
    EXPECT_EQ(m.countText(TableId::Spans), "1");
    EXPECT_EQ(m.grid(TableId::Spans).dataRowCount(), 1);
}

TEST(TableModel, CoordinateRuleSumsTheLengths)
{
    struct Case {
        std::vector<std::string> lengths;
        std::vector<std::string> x;
    };
    const std::vector<Case> cases = {
        {{"2.5", "1.5"}, {"0.00", "2.5", "4"}},
        {{"3"}, {"0.00", "3"}},
        {{"0.1", "0.2"}, {"0.00", "0.1", "0.3"}},  // 12 digits hide the binary error
        {{"1e-5"}, {"0.00", "1E-5"}},
        {{"999999999999", "1"}, {"0.00", "999999999999", "1E12"}},
        {{"-2", "2"}, {"0.00", "-2", "0"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lengths.front());
        TableModel m;
        setLengths(m, c.lengths);
        m.AtualizaCoordenadas();
        EXPECT_EQ(nodeX(m), c.x);
        for (int r = 1; r <= m.grid(TableId::Nodes).dataRowCount(); ++r)
            EXPECT_EQ(m.grid(TableId::Nodes).cell(r, 2), "0.00");
    }
}

TEST(TableModel, CoordinateRuleStopsAtAnEmptyLengthAndRefusesAComma)
{
    TableModel m;
    setLengths(m, {"2.5", "1.5"});
    m.AtualizaCoordenadas();
    m.editCell(TableId::Spans, 2, 1, "");
    m.editCell(TableId::Spans, 1, 1, "7");
    m.AtualizaCoordenadas();
    EXPECT_EQ(nodeX(m), (std::vector<std::string>{"0.00", "2.5", "4"}));

    m.editCell(TableId::Spans, 2, 1, "2,5");
    EXPECT_THROW(m.AtualizaCoordenadas(), ConversionError);
    m.editCell(TableId::Spans, 2, 1, " ");  // a blank is not an empty cell
    EXPECT_THROW(m.AtualizaCoordenadas(), ConversionError);
}

TEST(TableModel, ShrinkingResetsTheLastRowsAndGrowingShowsHiddenTexts)
{
    TableModel m;
    m.setCountText(TableId::Spans, "3");
    m.editCell(TableId::Spans, 2, 1, "7");
    m.editCell(TableId::Spans, 3, 1, "8");
    m.editCell(TableId::Loads, 2, 1, "-5");
    m.editCell(TableId::Supports, 3, 1, "11");
    m.editCell(TableId::Supports, 4, 1, "00");

    m.setCountText(TableId::Spans, "2");
    EXPECT_EQ(rowOf(m, TableId::Spans, 2), (Row{"2", "1.00", "1", "1"}));
    EXPECT_EQ(rowOf(m, TableId::Loads, 2), (Row{"2", "-1.00", "0.00", "0.00"}));
    EXPECT_EQ(rowOf(m, TableId::Supports, 3), (Row{"3", "10"}));
    EXPECT_EQ(m.grid(TableId::Spans).dataRowCount(), 2);
    EXPECT_EQ(m.grid(TableId::Supports).dataRowCount(), 3);
    EXPECT_EQ(m.texts().spans.rows.size(), 2u);

    // Growing by two: the middle row shows what it held, the last gets defaults.
    m.setCountText(TableId::Spans, "4");
    EXPECT_EQ(rowOf(m, TableId::Spans, 3), (Row{"3", "8", "1", "1"}));
    EXPECT_EQ(rowOf(m, TableId::Spans, 4), (Row{"4", "1.00", "1", "1"}));
    EXPECT_EQ(rowOf(m, TableId::Supports, 4), (Row{"4", "00"}));
    EXPECT_EQ(rowOf(m, TableId::Supports, 5), (Row{"5", "10"}));
    EXPECT_EQ(nodeX(m), (std::vector<std::string>{"0.00", "1", "2", "10", "11"}));

    // Rows that never held texts stay empty when skipped over.
    TableModel fresh;
    fresh.setCountText(TableId::Spans, "4");
    EXPECT_EQ(rowOf(fresh, TableId::Spans, 2), (Row{"", "", "", ""}));
    EXPECT_EQ(rowOf(fresh, TableId::Loads, 3), (Row{"", "", "", ""}));
    EXPECT_EQ(rowOf(fresh, TableId::Supports, 5), (Row{"5", "10"}));
    EXPECT_EQ(nodeX(fresh), (std::vector<std::string>{"0.00", "", "", "", ""}));  // empty lengths: rule stops
}

TEST(TableModel, MaterialAndSectionCountsNumberTheLastRowOnly)
{
    for (TableId id : {TableId::Materials, TableId::Sections}) {
        TableModel m;
        m.setCountText(id, "3");
        EXPECT_EQ(m.grid(id).dataRowCount(), 3);
        EXPECT_EQ(rowOf(m, id, 2), (Row{"", ""}));
        EXPECT_EQ(rowOf(m, id, 3), (Row{"3", ""}));
        m.editCell(id, 3, 1, "210000");
        m.stepSpinner(id, -1);
        m.stepSpinner(id, -1);
        m.stepSpinner(id, +1);
        m.stepSpinner(id, +1);
        EXPECT_EQ(rowOf(m, id, 3), (Row{"3", "210000"}));
        EXPECT_EQ(m.countText(id), "3");
    }
}

TEST(TableModel, CountsThatAreNotUsableLeaveTheRows)
{
    struct Case {
        std::string text;
        bool conversion;        // else refused as a row count
        std::string afterStep;  // the spinner steps from where it stood, or from the clamped number
    };
    const std::vector<Case> cases = {
        {"", true, "3"},   {"abc", true, "3"}, {"2.0", true, "3"},         {" 2", true, "3"},
        {"0", false, "2"}, {"-3", false, "2"}, {"99999999", false, "1000"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        TableModel m;
        m.setCountText(TableId::Spans, "2");
        const BeamTexts before = m.texts();
        if (c.conversion)
            EXPECT_THROW(m.setCountText(TableId::Spans, c.text), ConversionError);
        else
            EXPECT_THROW(m.setCountText(TableId::Spans, c.text), IndexError);
        EXPECT_EQ(m.countText(TableId::Spans), c.text);  // the field keeps what was typed
        EXPECT_EQ(m.texts().spans.rows, before.spans.rows);
        EXPECT_EQ(m.texts().nodes.rows, before.nodes.rows);
        EXPECT_EQ(m.texts().loads.rows, before.loads.rows);
        m.stepSpinner(TableId::Spans, +1);
        EXPECT_EQ(m.countText(TableId::Spans), c.afterStep);
        EXPECT_EQ(m.grid(TableId::Spans).dataRowCount(), std::stoi(c.afterStep));
    }
}

TEST(TableModel, NewStructureAfterALargerBeam)
{
    TableModel m;
    m.setCountText(TableId::Spans, "3");
    m.setCountText(TableId::Materials, "2");
    m.editCell(TableId::Spans, 1, 1, "5");
    m.NovaEst();
    const BeamTexts t = m.texts();
    EXPECT_EQ(t.spans.count, "1");
    EXPECT_EQ(t.spans.rows, (std::vector<Row>{{"1", "1.00", "1", "1"}}));
    EXPECT_EQ(t.supports.count, "2");  // set by the span rule that the spinner ran
    EXPECT_EQ(t.supports.rows, (std::vector<Row>{{"1", "10"}, {"2", "10"}}));
    EXPECT_EQ(t.loads.count, "1");
    EXPECT_EQ(t.materials.rows, (std::vector<Row>{{"1", "1.00"}}));
    EXPECT_EQ(nodeX(m), (std::vector<std::string>{"0.00", "1"}));
}

// The file of the default beam, written out by hand (fields right-aligned,
// CR LF). The support header carries the hidden count field's start value.
TEST(TableModel, DefaultTablesWriteTheDefaultBeamFile)
{
    TableModel m;
    m.AtualizaCoordenadas();
    const std::string expected =
        "digite aqui um título para a sua estrutura...\r\n"
        "COORDENADAS DOS NÓS =     2\r\n"
        "    1      0.00      0.00\r\n"
        "    2         1      0.00\r\n"
        "INCIDÊNCIAS DAS BARRAS =     1\r\n"
        "         1         1         2         1         1\r\n"
        "PROPRIEDADES ELÁSTICAS =     1\r\n"
        "         1                1.00\r\n"
        "PROPRIEDADES SEÇÕES =     1\r\n"
        "         1                1.00\r\n"
        "CONDIÇÕES DE CONTORNO =     1\r\n"
        "  1   10\r\n"
        "  2   10\r\n"
        "CARREGAMENTO =     1\r\n"
        "         1          -1.00           0.00           0.00\r\n";
    EXPECT_EQ(BeamFileText(std::string(DefaultTitle), m.texts()), expected);
}

TEST(TableModel, FillingFromAReadShowsTheFileAsTheTablesWriteIt)
{
    // Two spans of lengths 3 and 2, supports 11, 10 and 00 (written "0").
    const std::string file =
        "viga lida\r\n"
        "COORDENADAS DOS NÓS =     3\r\n"
        "    1      0.00      0.00\r\n"
        "    2         3      0.00\r\n"
        "    3         5      0.00\r\n"
        "INCIDÊNCIAS DAS BARRAS =     2\r\n"
        "         1         1         2         1         1\r\n"
        "         2         2         3         1         1\r\n"
        "PROPRIEDADES ELÁSTICAS =     1\r\n"
        "         1             2.1E+08\r\n"
        "PROPRIEDADES SEÇÕES =     1\r\n"
        "         1              0.0004\r\n"
        "CONDIÇÕES DE CONTORNO =     3\r\n"
        "  1   11\r\n"
        "  2   10\r\n"
        "  3    0\r\n"
        "CARREGAMENTO =     2\r\n"
        "         1          -10.0           0.00           0.00\r\n"
        "         2           0.00            -20              1\r\n";
    auto model = std::make_unique<AnalysisModel>();
    std::vector<std::string> messages;
    const ReadResult r =
        AbrirTexto(utf8ToCp1252(file), *model, [&](const std::string& s) { messages.push_back(s); });
    ASSERT_EQ(r.status, 0);
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(r.title, "viga lida");

    TableModel m;
    m.fill(r.tables);
    EXPECT_EQ(m.countText(TableId::Spans), "2");
    EXPECT_EQ(rowOf(m, TableId::Spans, 1), (Row{"1", "3", "1", "1"}));
    EXPECT_EQ(rowOf(m, TableId::Spans, 2), (Row{"2", "2", "1", "1"}));
    EXPECT_EQ(rowOf(m, TableId::Supports, 1), (Row{"1", "11"}));
    EXPECT_EQ(rowOf(m, TableId::Supports, 3), (Row{"3", "00"}));
    EXPECT_EQ(rowOf(m, TableId::Materials, 1), (Row{"1", "210000000"}));
    EXPECT_EQ(rowOf(m, TableId::Sections, 1), (Row{"1", "0.0004"}));
    EXPECT_EQ(rowOf(m, TableId::Loads, 1), (Row{"1", "-10", "0", "0"}));
    EXPECT_EQ(rowOf(m, TableId::Loads, 2), (Row{"2", "0", "-20", "1"}));
    EXPECT_EQ(m.countText(TableId::Loads), "2");
    EXPECT_EQ(m.countText(TableId::Supports), "3");
    m.AtualizaCoordenadas();
    EXPECT_EQ(nodeX(m), (std::vector<std::string>{"0.00", "3", "5"}));
}

TEST(TableModel, FillIsAllOrNothing)
{
    TableModel m;
    m.setCountText(TableId::Spans, "2");
    const BeamTexts before = m.texts();

    BeamTexts read = before;
    read.materials = {"1", {{"1", "5"}}};
    read.loads = {"0", {}};  // a grid cannot show no data row
    EXPECT_THROW(m.fill(read), Error);
    const BeamTexts after = m.texts();
    EXPECT_EQ(after.materials.rows, before.materials.rows);
    EXPECT_EQ(after.spans.rows, before.spans.rows);
    EXPECT_EQ(after.loads.count, before.loads.count);

    // A read whose load count differs from the span count keeps its own rows.
    read.loads = {"1", {{"2", "-3", "0", "0"}}};
    m.fill(read);
    EXPECT_EQ(m.grid(TableId::Loads).dataRowCount(), 1);
    EXPECT_EQ(rowOf(m, TableId::Loads, 1), (Row{"2", "-3", "0", "0"}));
    EXPECT_EQ(rowOf(m, TableId::Materials, 1), (Row{"1", "5"}));
}

// Each row spoils one cell of the default beam (two spans of 2 and 3, two
// materials) and names the message; no row may write the file.
TEST(TableModel, CheckRefusesCellsThatAreNotOneNumberOfTheirKind)
{
    struct Case {
        TableId id;
        int row, col;
        std::string text;
        std::string message;  // "" for a text that passes
    };
    const std::string long100(100, '7');
    const Case cases[] = {
        {TableId::Supports, 2, 1, "100",
         "Aba \"Apoios\", linha 2, coluna \"Restrições\": \"100\" não é um código de apoio do nó 2 (00, 01, "
         "10 ou 11)."},
        {TableId::Supports, 1, 1, "12",
         "Aba \"Apoios\", linha 1, coluna \"Restrições\": \"12\" não é um código de apoio do nó 1 (00, 01, "
         "10 ou 11)."},
        {TableId::Supports, 3, 1, "-10",
         "Aba \"Apoios\", linha 3, coluna \"Restrições\": \"-10\" não é um código de apoio do nó 3 (00, 01, "
         "10 ou 11)."},
        {TableId::Supports, 3, 1, "01", ""},
        {TableId::Materials, 2, 1, "25 000 000",
         "Aba \"Materiais e seções\", linha 2, coluna \"E(Elast.)\": \"25 000 000\" não é um número."},
        {TableId::Loads, 1, 1, "-1 -5", "Aba \"Cargas\", linha 1, coluna \"q\": \"-1 -5\" não é um número."},
        {TableId::Spans, 2, 2, "1 2",
         "Aba \"Trechos\", linha 2, coluna \"seção\": \"1 2\" não é um número inteiro."},
        {TableId::Sections, 1, 1, "",
         "Aba \"Materiais e seções\", linha 1, coluna \"I(Inércia)\": \"\" não é um número."},
        {TableId::Spans, 1, 3, "3",
         "Aba \"Trechos\", linha 1, coluna \"Material\": \"3\" não é um material da tabela (de 1 a 2)."},
        {TableId::Spans, 1, 2, "2",
         "Aba \"Trechos\", linha 1, coluna \"seção\": \"2\" não é uma seção da tabela (de 1 a 1)."},
        {TableId::Spans, 2, 1, "-1E10",
         "Aba \"Trechos\", linha 2, coluna \"comprimento\": \"-1E10\" não é um comprimento maior que zero."},
        {TableId::Spans, 1, 1, "0",
         "Aba \"Trechos\", linha 1, coluna \"comprimento\": \"0\" não é um comprimento maior que zero."},
        {TableId::Loads, 2, 3, "5",
         "Aba \"Cargas\", linha 2, coluna \"d\": \"5\" não está no trecho 2 (de 0 a 3)."},
        {TableId::Loads, 1, 3, "-0.5",
         "Aba \"Cargas\", linha 1, coluna \"d\": \"-0.5\" não está no trecho 1 (de 0 a 2)."},
        {TableId::Loads, 2, 3, "3", ""},
        {TableId::Loads, 2, 2, long100,
         "Aba \"Cargas\", linha 2, coluna \"P\": \"" + long100.substr(0, 80) + "…\" não é um número."},
    };
    const std::string file = (std::filesystem::temp_directory_path() / "kalvoro-check.vig").string();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        TableModel m;
        setLengths(m, {"2", "3"});
        m.setCountText(TableId::Materials, "2");
        m.editCell(TableId::Materials, 2, 1, "2.5");
        m.editCell(c.id, c.row, c.col, c.text);
        EXPECT_EQ(firstTableError(m), c.message);
        std::filesystem::remove(file);
        if (c.message.empty()) continue;
        EXPECT_THROW(m.save(file, "t"), ConversionError);
        EXPECT_FALSE(std::filesystem::exists(file));
    }
    TableModel m;
    EXPECT_THROW(m.setCountText(TableId::Spans, "x"), ConversionError);
    EXPECT_EQ(firstTableError(m),
              "Aba \"Trechos\", campo \"Número de trechos:\": \"x\" não é o número de linhas da tabela.");
}

}  // namespace
}  // namespace kalvoro

namespace kalvoro {
namespace {

// Three spans, nodes coded 11, 10, 00 and 10. Each case types a cell of the
// supports' columns after the code (and maybe a second one) and expects the
// check's message, or "" when the code allows it; an allowed beam keeps the
// data file's text and goes to the .vigx with what the cells say.
TEST(TableModel, CheckRefusesSupportColumnsWhereTheCodeDoesNotAllowThem)
{
    struct Cell {
        int row, col;
        std::string text;
    };
    struct Case {
        std::vector<Cell> cells;
        std::string message;
    };
    const std::string at = "Aba \"Apoios\", linha ";
    const std::vector<Case> cases = {
        {{{3, SpringVerticalColumn, "12000"}, {2, SpringRotationColumn, "500"}}, ""},
        {{{2, SettlementVerticalColumn, "-0.01"}, {1, SettlementRotationColumn, "0.002"}}, ""},
        {{{3, HingeColumn, "sim"}, {2, HingeColumn, "sim"}}, ""},
        {{{2, SpringVerticalColumn, "12000"}},
         at + "2, coluna \"Mola vertical\": \"12000\" não cabe no nó 2 (código 10): a mola vai só onde o "
              "deslocamento vertical é livre."},
        {{{1, SpringRotationColumn, "500"}},
         at +
             "1, coluna \"Mola rotação\": \"500\" não cabe no nó 1 (código 11): a mola vai só onde a rotação "
             "é livre."},
        {{{3, SpringVerticalColumn, "0"}},
         at + "3, coluna \"Mola vertical\": \"0\" não é uma rigidez maior que zero."},
        {{{3, SpringRotationColumn, "-5"}},
         at + "3, coluna \"Mola rotação\": \"-5\" não é uma rigidez maior que zero."},
        {{{3, SpringVerticalColumn, "12 000"}},
         at + "3, coluna \"Mola vertical\": \"12 000\" não é um número."},
        {{{3, SettlementVerticalColumn, "-0.01"}},
         at + "3, coluna \"Recalque vertical\": \"-0.01\" não cabe no nó 3 (código 00): o recalque vai só "
              "onde o "
              "deslocamento vertical é impedido."},
        {{{2, SettlementRotationColumn, "0.002"}},
         at + "2, coluna \"Recalque rotação\": \"0.002\" não cabe no nó 2 (código 10): o recalque vai só "
              "onde a "
              "rotação é impedida."},
        {{{1, HingeColumn, "sim"}},
         at + "1, coluna \"Rótula\": \"sim\" não cabe no nó 1: a rótula vai só num nó interno."},
        {{{4, HingeColumn, "sim"}},
         at + "4, coluna \"Rótula\": \"sim\" não cabe no nó 4: a rótula vai só num nó interno."},
        {{{3, HingeColumn, "1"}}, at + "3, coluna \"Rótula\": \"1\" não é \"sim\" nem vazio."},
        {{{3, SpringRotationColumn, "500"}, {3, HingeColumn, "sim"}},
         at + "3, coluna \"Rótula\": \"sim\" não cabe no nó 3: a rótula não vai com mola de rotação."},
        // Node 2 coded 11 here.
        {{{2, 1, "11"}, {2, HingeColumn, "sim"}},
         at + "2, coluna \"Rótula\": \"sim\" não cabe no nó 2 (código 11): a rótula não vai com a rotação "
              "impedida."},
    };
    TableModel plain;
    plain.stepSpinner(TableId::Spans, +1);
    plain.stepSpinner(TableId::Spans, +1);
    for (const auto& [row, code] : {std::pair{1, "11"}, {2, "10"}, {3, "00"}, {4, "10"}})
        plain.editCell(TableId::Supports, row, 1, code);
    ASSERT_EQ(firstTableError(plain), "");
    EXPECT_FALSE(TemApoiosEspeciais(plain));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.cells.front().text);
        TableModel m = plain;
        for (const Cell& cell : c.cells) m.editCell(TableId::Supports, cell.row, cell.col, cell.text);
        EXPECT_EQ(firstTableError(m), c.message);
        if (!c.message.empty() || c.cells.front().col == 1) continue;
        EXPECT_TRUE(TemApoiosEspeciais(m));
        EXPECT_EQ(BeamFileText("t", m.texts()), BeamFileText("t", plain.texts()));
        const std::vector<NodeSupport> nodes = ApoiosDasTabelas(m);
        ASSERT_EQ(nodes.size(), 4u);
        std::vector<ExtendedNode> back(4);
        for (std::size_t i = 0; i < 4; ++i) back[i].extra = nodes[i];
        TableModel refilled = plain;
        PreencheApoiosEspeciais(refilled, back);
        EXPECT_EQ(refilled.grid(TableId::Supports).row(2), m.grid(TableId::Supports).row(2));
        EXPECT_EQ(refilled.grid(TableId::Supports).row(3), m.grid(TableId::Supports).row(3));
    }
    const std::vector<NodeSupport> first = [&] {
        TableModel m = plain;
        for (const Cell& cell : cases[0].cells) m.editCell(TableId::Supports, cell.row, cell.col, cell.text);
        return ApoiosDasTabelas(m);
    }();
    EXPECT_EQ(first[2].springVertical, 12000);
    EXPECT_EQ(first[1].springRotation, 500);
}

}  // namespace
}  // namespace kalvoro
