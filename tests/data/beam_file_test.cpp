#include "data/beam_file.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "data/text_file.h"
#include "engine/engine.h"
#include "engine/errors.h"
#include "engine/report.h"

namespace kalvoro {
namespace {

namespace fs = std::filesystem;
using Rows = std::vector<std::vector<std::string>>;

const std::string DefaultTitle = "digite aqui um título para a sua estrutura...";
const std::string DefaultFile = std::string(KALVORO_TEST_DATA) + "/viga-padrao.vig";

// The tables of a new structure as the window holds them when it writes.
BeamTexts defaultTables()
{
    BeamTexts t;
    t.nodes = {"2", {{"1", "0.00", "0.00"}, {"2", "1", "0.00"}}};
    t.spans = {"1", {{"1", "1.00", "1", "1"}}};
    t.materials = {"1", {{"1", "1.00"}}};
    t.sections = {"1", {{"1", "1.00"}}};
    t.supports = {"1", {{"1", "10"}, {"2", "10"}}};
    t.loads = {"1", {{"1", "-1.00", "0.00", "0.00"}}};
    return t;
}

// The hand-written default file, line by line (Windows-1252, no line ends).
std::vector<std::string> defaultLines()
{
    std::vector<std::string> lines;
    const std::string bytes = readFileBytes(DefaultFile);
    for (std::size_t at = 0, end; (end = bytes.find("\r\n", at)) != std::string::npos; at = end + 2)
        lines.push_back(bytes.substr(at, end - at));
    return lines;
}

// Joins lines with CR LF; an empty line is left out, so "" removes a line.
std::string joined(const std::vector<std::string>& lines)
{
    std::string s;
    for (const auto& line : lines)
        if (!line.empty()) s += line + "\r\n";
    return s;
}

std::string edited(const std::vector<std::pair<int, std::string>>& edits)
{
    auto lines = defaultLines();
    for (const auto& [index, text] : edits) lines.at(static_cast<std::size_t>(index)) = text;
    return joined(lines);
}

// n nodes 1 apart, all pinned, a load on every span; free-format records.
std::string beamOfNodes(int n)
{
    std::string s = "viga\r\nCOORDENADAS = " + std::to_string(n) + "\r\n";
    for (int i = 1; i <= n; ++i) s += std::to_string(i) + " " + std::to_string(i) + " 0\r\n";
    s += "INCID\xCANCIAS = " + std::to_string(n - 1) + "\r\n";
    for (int i = 1; i < n; ++i)
        s += std::to_string(i) + " " + std::to_string(i) + " " + std::to_string(i + 1) + " 1 1\r\n";
    s += "EL\xC1STICAS = 1\r\n1 1\r\nSE\xC7\xD5"
         "ES = 1\r\n1 1\r\nCONDI\xC7\xD5"
         "ES\r\n";
    for (int i = 1; i <= n; ++i) s += std::to_string(i) + " 10\r\n";
    s += "CARREGAMENTO = " + std::to_string(n - 1) + "\r\n";
    for (int i = 1; i < n; ++i) s += std::to_string(i) + " -1 0 0\r\n";
    return s;
}

class BeamFile : public ::testing::Test {
protected:
    ReadResult read(const std::string& bytes)
    {
        messages.clear();
        return AbrirTexto(bytes, *model, [this](const std::string& m) { messages.push_back(m); });
    }
    std::string tempFolder()
    {
        std::string folder = (fs::temp_directory_path() / "kalvoro-beam-XXXXXX").string();
        if (!::mkdtemp(folder.data())) throw std::runtime_error("mkdtemp");
        return folder;
    }

    std::unique_ptr<AnalysisModel> model = std::make_unique<AnalysisModel>();
    std::vector<std::string> messages;
};

TEST_F(BeamFile, DefaultTablesWriteTheHandWrittenFile)
{
    const std::string expected = readFileBytes(DefaultFile);
    EXPECT_EQ(utf8ToCp1252(BeamFileText(DefaultTitle, defaultTables())), expected);

    const std::string folder = tempFolder();
    Salvar(folder + "/viga.vig", DefaultTitle, defaultTables());
    EXPECT_EQ(readFileBytes(folder + "/viga.vig"), expected);
    Salvar("", DefaultTitle, defaultTables());  // an unnamed beam writes nothing
    fs::remove_all(folder);
    EXPECT_THROW(Salvar(folder + "/viga.vig", DefaultTitle, defaultTables()), IoError);
    EXPECT_THROW(Abrir(folder + "/viga.vig", *model, nullptr), IoError);
}

TEST_F(BeamFile, DefaultFileFillsTheModelAndTheTables)
{
    const auto r = read(readFileBytes(DefaultFile));
    ASSERT_EQ(r.status, 0);
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(r.title, DefaultTitle);

    const AnalysisModel& m = *model;
    EXPECT_EQ((std::vector<int>{m.DofPerNode, m.NodesPerElement, m.ElementDofCount, m.MaterialPropCount,
                                m.LoadCaseCount, m.CoordsPerNode, m.NodeCount, m.EquationCount,
                                m.ElementCount, m.SupportCount, m.LoadRowCount[1], m.NodalLoadCount[1]}),
              (std::vector<int>{2, 2, 4, 1, 1, 2, 2, 4, 1, 2, 1,
                                2}));  // SupportCount: one per node, not the header's 1
    // q = -1 over L = 1: qL/2 on each node, qL^2/12 at the start and its opposite at the end.
    EXPECT_NEAR(m.NodalLoadValue(1, 1, 1), -0.5, 1e-15);
    EXPECT_NEAR(m.NodalLoadValue(1, 2, 1), -1.0 / 12, 1e-15);
    EXPECT_NEAR(m.NodalLoadValue(2, 1, 1), -0.5, 1e-15);
    EXPECT_NEAR(m.NodalLoadValue(2, 2, 1), 1.0 / 12, 1e-15);

    EXPECT_EQ(r.tables.materials.rows, (Rows{{"1", "1"}}));
    EXPECT_EQ(r.tables.sections.rows, (Rows{{"1", "1"}}));
    EXPECT_EQ(r.tables.nodes.rows, (Rows{{"1", "0", "0"}, {"2", "1", "0"}}));
    EXPECT_EQ(r.tables.spans.rows, (Rows{{"1", "1", "1", "1"}}));
    EXPECT_EQ(r.tables.supports.rows, (Rows{{"1", "10"}, {"2", "10"}}));
    EXPECT_EQ(r.tables.loads.rows, (Rows{{"1", "-1", "0", "0"}}));
    const auto& t = r.tables;
    EXPECT_EQ((std::vector<std::string>{t.materials.count, t.sections.count, t.nodes.count, t.spans.count,
                                        t.supports.count, t.loads.count}),
              (std::vector<std::string>{"1", "1", "2", "1", "2", "1"}));
}

// Each case edits lines of the default file (0 is the title) and names the status.
TEST_F(BeamFile, StatusOfEdgeCases)
{
    struct Row {
        const char* what;
        std::vector<std::pair<int, std::string>> edits;
        int status;
    };
    const Row rows[] = {
        {"count without blanks, and with a sign",
         {{1, "COORDENADAS DOS N\xD3S =2"}, {4, "INCID\xCANCIAS = +1"}},
         0},
        {"count with a trailing blank", {{1, "COORDENADAS DOS N\xD3S =     2 "}}, 2},
        {"incidence count with a trailing blank", {{4, "INCID\xCANCIAS DAS BARRAS =     1 "}}, 3},
        {"header without =",
         {{8,
           "PROPRIEDADES SE\xC7\xD5"
           "ES 1"}},
         5},
        {"node 181", {{3, "  181         1      0.00"}}, 2},
        {"span 251", {{5, "       251         1         2         1         1"}}, 3},
        {"material 11", {{7, "        11                1.00"}}, 4},
        {"section 6", {{9, "         6                1.00"}}, 5},
        {"a span's material that no record defines", {{5, "1 1 2 99 -3"}}, 4},
        {"loaded span of length 0", {{3, "    2      0.00      0.00"}}, 7},
        {"span whose node is beyond the nodes", {{5, "1 1 181 1 1"}}, 3},
        {"text after the last number", {{7, "1 1.00 a\xE7o CA-50"}, {12, "  2   10 apoio"}}, 0},
        {"a record over several lines", {{5, "1\r\n1\r\n2 1\r\n1"}}, 0},
        {"comma as decimal separator", {{2, "    1      0,00      0.00"}}, 2},
        {"real where an integer is due", {{11, "  1.0 10"}}, 6},
        {"integer of 32 characters", {{11, std::string(31, '0') + "1 10"}}, 0},
        {"integer of 33 characters", {{11, std::string(32, '0') + "1 10"}}, 6},
        {"real of 64 characters", {{7, "1 " + std::string(63, '0') + "1"}}, 0},
        {"real of 65 characters", {{7, "1 " + std::string(64, '0') + "1"}}, 4},
        {"integer beyond 32 bits", {{12, "  2 4294967306"}}, 6},
        {"real that overflows", {{9, "1 1E400"}}, 5},
        {"blank line between sections", {{7, "1 1.00\r\n"}}, 5},
        {"one material record more than the count", {{7, "1 1.00\r\n2 2.00"}}, 5},
        {"supports header count disagrees",
         {{10,
           "CONDI\xC7\xD5"
           "ES DE CONTORNO =     3"}},
         0},
        {"one support record short", {{12, ""}}, 6},
        {"node count overflows the equation count", {{1, "COORDENADAS = 2000000000"}}, 2},
        {"span count 2000000000", {{4, "INCID\xCANCIAS = 2000000000"}}, 3},
        {"load count 2000000000", {{13, "CARREGAMENTO = 2000000000"}}, 7},
        {"no loads", {{13, "CARREGAMENTO = 0"}, {14, ""}}, 0},
        {"last load lacks d", {{14, "         1          -1.00           0.00"}}, 0},
    };
    for (const auto& row : rows) {
        const auto r = read(edited(row.edits));
        EXPECT_EQ(r.status, row.status) << row.what;
        EXPECT_EQ(r.title, DefaultTitle) << row.what;
        EXPECT_EQ(r.tables.nodes.rows.empty(), r.status != 0) << row.what;
    }
    // At the end of the file a missing number reads as zero.
    std::string withoutD = readFileBytes(DefaultFile);
    withoutD.resize(withoutD.size() - 17);  // "           0.00\r\n"
    EXPECT_EQ(read(withoutD).status, 0);
    EXPECT_EQ(model->LoadRowValue(1, 3, 1), 0.0);
    const auto empty = read("");
    EXPECT_EQ(empty.status, 2);
    EXPECT_TRUE(empty.titleRead);
}

// Files that read as numbers but describe no beam: each fails in the step
// where the fault shows, and what is right still reads.
TEST_F(BeamFile, RefusesWhatNoBeamCanBe)
{
    struct Row {
        const char* what;
        std::vector<std::pair<int, std::string>> edits;
        int status;
    };
    const Row rows[] = {
        {"support code 100", {{11, "  1  100"}}, 6},
        {"support code 12", {{12, "  2   12"}}, 6},
        {"support code 111", {{12, "  2  111"}}, 6},
        {"support code -10", {{11, "  1  -10"}}, 6},
        {"support codes 0, 01 and 11", {{11, "  1    0"}, {12, "  2   01"}}, 0},
        {"support code 11", {{12, "  2   11"}}, 0},
        {"material 2 of 1", {{5, "1 1 2 1 2"}}, 4},
        {"material 0", {{5, "1 1 2 1 0"}}, 4},
        {"material record numbered beyond the count", {{5, "1 1 2 1 2"}, {7, "2 1.00"}}, 4},
        {"section 2 of 1", {{5, "1 1 2 2 1"}}, 5},
        {"section 7", {{5, "1 1 2 7 1"}}, 5},
        {"span running right to left", {{3, "    2     -1.00      0.00"}}, 3},
        {"d beyond the span", {{14, "1 0 -40 5"}}, 7},
        {"d before the span", {{14, "1 0 -40 -0.5"}}, 7},
        {"d at the span's end", {{14, "1 0 -40 1"}}, 0},
        {"d a rounding step past the span's end", {{14, "1 0 -40 1.0000000000001"}}, 0},
    };
    for (const auto& row : rows) EXPECT_EQ(read(edited(row.edits)).status, row.status) << row.what;

    // A material or section that only an earlier file defined is gone.
    ASSERT_EQ(read(edited({{5, "1 1 2 2 2"},
                           {6, "EL\xC1STICAS = 2"},
                           {7, "1 1\r\n2 5"},
                           {8,
                            "SE\xC7\xD5"
                            "ES = 2"},
                           {9, "1 1\r\n2 7"}}))
                  .status,
              0);
    EXPECT_EQ(read(edited({{5, "1 1 2 2 2"}})).status, 4);
    EXPECT_EQ(model->MaterialProp(2, 1), 0.0);
    EXPECT_EQ(read(readFileBytes(DefaultFile)).status, 0);
    EXPECT_EQ(model->SectionProp(2, 1), 0.0);
}

TEST_F(BeamFile, KeywordMessagesReachTheSink)
{
    // The counts still convert, so the read goes on after each message.
    const std::vector<std::pair<int, std::string>> edits = {
        {1, "qualquer coisa = 2"},  // the coordinates header is never tested
        {4, "INCIDENCIAS = 1"},    {6, "ELASTICAS = 1"}, {8, "SECOES = 1"},
        {10, "CONDI\xC7OES"},      {13, "Carga = 1"}};
    EXPECT_EQ(read(edited(edits)).status, 0);
    EXPECT_EQ(messages, (std::vector<std::string>{"Erro nas incidências das barras INCIDENCIAS = 1",
                                                  "Erro nas propriedades elásticas ELASTICAS = 1",
                                                  "Erro nas propriedades da seção SECOES = 1",
                                                  "Erro nas condições de contorno CONDIÇOES",
                                                  "Erro no carregamento Carga = 1"}));
    EXPECT_EQ(read(edited({{13, "\r\nCARREGAMENTO = 1"}})).status, 7);  // a blank line taken as the header
    EXPECT_EQ(messages, std::vector<std::string>{"Erro no carregamento "});
    EXPECT_EQ(AbrirTexto(readFileBytes(DefaultFile), *model, nullptr).status, 0);
}

TEST_F(BeamFile, TwentyFiveNodesReadAndTwentySixDoNot)
{
    EXPECT_EQ(read(beamOfNodes(25)).status, 0);
    EXPECT_EQ(model->NodalLoadCount[1], 25);
    EXPECT_EQ(read(beamOfNodes(26)).status, 6);
}

// A file with fewer load records than spans reads every other span unloaded,
// the rows in span order, and the beam can be analysed.
TEST_F(BeamFile, SpansWithoutALoadRecordReadUnloaded)
{
    const std::string threeSpans = beamOfNodes(4);
    const std::string head = threeSpans.substr(0, threeSpans.find("CARREGAMENTO"));
    struct Row {
        const char* loads;
        Rows expected;
    };
    const Row rows[] = {
        {"CARREGAMENTO = 1\r\n1 -1 0 0\r\n",
         {{"1", "-1", "0", "0"}, {"2", "0", "0", "0"}, {"3", "0", "0", "0"}}},
        {"CARREGAMENTO = 2\r\n3 -2 5 0.5\r\n2 -1 0 0\r\n",
         {{"1", "0", "0", "0"}, {"2", "-1", "0", "0"}, {"3", "-2", "5", "0.5"}}},
        {"CARREGAMENTO = 0\r\n", {{"1", "0", "0", "0"}, {"2", "0", "0", "0"}, {"3", "0", "0", "0"}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.loads);
        const ReadResult r = read(head + row.loads);
        ASSERT_EQ(r.status, 0);
        EXPECT_EQ(r.tables.loads.count, "3");
        EXPECT_EQ(r.tables.loads.rows, row.expected);
        EXPECT_EQ(model->NodalLoadCount[1], 4);
        model->ReportFile.clear();
        EXPECT_NO_THROW({
            ColunasAltura(*model);
            MontaRigidez(*model);
            MontaCargas(*model);
            AplicaApoios(*model);
            ResolveSistema(*model);
            Resultados(*model);
        });
    }
}

// Counts beyond what the file can hold are refused before anything is
// written: such a file would not read back, and the beam would be lost.
TEST_F(BeamFile, BeamsTheFileCannotHoldAreRefusedBeforeWriting)
{
    const auto tablesOf = [](int spans, int materials, int sections) {
        BeamTexts t;
        t.spans.count = std::to_string(spans);
        t.loads.count = t.spans.count;
        for (int i = 1; i <= spans; ++i) {
            t.spans.rows.push_back({std::to_string(i), "1", "1", "1"});
            t.loads.rows.push_back({std::to_string(i), "-1", "0", "0"});
        }
        t.nodes.count = t.supports.count = std::to_string(spans + 1);
        for (int i = 1; i <= spans + 1; ++i) {
            t.nodes.rows.push_back({std::to_string(i), std::to_string(i - 1), "0"});
            t.supports.rows.push_back({std::to_string(i), "10"});
        }
        t.materials.count = std::to_string(materials);
        for (int i = 1; i <= materials; ++i) t.materials.rows.push_back({std::to_string(i), "1"});
        t.sections.count = std::to_string(sections);
        for (int i = 1; i <= sections; ++i) t.sections.rows.push_back({std::to_string(i), "1"});
        return t;
    };
    struct Row {
        int spans, materials, sections;
        const char* refusal;  // null: the file holds the beam
    };
    const Row rows[] = {
        {24, 10, 5, nullptr},
        {25, 1, 1, "A viga tem 25 trechos; o arquivo de dados admite no máximo 24."},
        {1, 11, 1, "A viga tem 11 materiais; o arquivo de dados admite no máximo 10."},
        {1, 1, 6, "A viga tem 6 seções; o arquivo de dados admite no máximo 5."},
    };
    const std::string folder = tempFolder();
    const std::string file = folder + "/viga.vig";
    for (const Row& row : rows) {
        SCOPED_TRACE(row.spans);
        const BeamTexts tables = tablesOf(row.spans, row.materials, row.sections);
        writeFileAtomically(file, "antes");
        if (!row.refusal) {
            EXPECT_EQ(BeamFileLimit(tables), std::nullopt);
            Salvar(file, "viga", tables);
            EXPECT_EQ(read(readFileBytes(file)).status, 0);
            continue;
        }
        EXPECT_EQ(BeamFileLimit(tables), std::optional<std::string>(row.refusal));
        try {
            Salvar(file, "viga", tables);
            ADD_FAILURE() << "written";
        } catch (const CapacityError& e) {
            EXPECT_STREQ(e.what(), row.refusal);
        }
        EXPECT_EQ(readFileBytes(file), "antes");
    }
    fs::remove_all(folder);
}

// Fixed-end forces of P at d on a span of length L, b = L - d: start force
// P b^2 (3d + b) / L^3, start moment P d b^2 / L^2, end moment -P d^2 b / L^2.
TEST_F(BeamFile, PointLoadsAndRepeatedSpans)
{
    struct Row {
        const char* what;
        std::string loads;
        double force1, moment1, force2, moment2;
    };
    const Row rows[] = {
        {"P at d = 0", "1\r\n1 0 -10 0", -10, 0, 0, 0},
        {"P at d = L", "1\r\n1 0 -10 3", 0, 0, -10, 0},
        {"P at a third", "1\r\n1 0 -10 1", -200.0 / 27, -40.0 / 9, -70.0 / 27, 20.0 / 9},
        {"two records on one span", "2\r\n1 -2 0 0\r\n1 0 -10 1.5", -3 - 5, -1.5 - 3.75, -3 - 5, 1.5 + 3.75},
    };
    for (const auto& row : rows) {
        ASSERT_EQ(read(edited({{3, "2 3 0"}, {13, "CARREGAMENTO = " + row.loads}, {14, ""}})).status, 0);
        const AnalysisModel& m = *model;
        ASSERT_EQ(m.NodalLoadCount[1], 2) << row.what;  // each node once
        EXPECT_NEAR(m.NodalLoadValue(1, 1, 1), row.force1, 1e-12) << row.what;
        EXPECT_NEAR(m.NodalLoadValue(1, 2, 1), row.moment1, 1e-12) << row.what;
        EXPECT_NEAR(m.NodalLoadValue(2, 1, 1), row.force2, 1e-12) << row.what;
        EXPECT_NEAR(m.NodalLoadValue(2, 2, 1), row.moment2, 1e-12) << row.what;
    }
}

TEST_F(BeamFile, ExamplesSurviveWriterReaderWriter)
{
    for (const char* name : {"dois-trechos.vig", "tres-trechos.vig", "vinte-e-quatro-trechos.vig"}) {
        const std::string path = std::string(KALVORO_EXAMPLES) + "/" + name;
        const auto r = Abrir(path, *model, nullptr);
        ASSERT_EQ(r.status, 0) << name;
        EXPECT_EQ(utf8ToCp1252(BeamFileText(r.title, r.tables)), readFileBytes(path)) << name;
        ASSERT_EQ(model->LoadRowCount[1], model->ElementCount) << name;  // one load row per span
    }
    EXPECT_EQ(model->NodeCount, 25);
}

TEST_F(BeamFile, TextsThatFillTheirFieldsStayApart)
{
    BeamTexts t = defaultTables();
    t.nodes.rows[1][1] = "123.456789";                 // exactly 10
    t.materials.rows[0][1] = "2.10000000000000E+008";  // 21, over 20
    t.loads.rows[0][1] = "-1.000000000000";            // exactly 15
    t.nodes.count = "1234567";                         // a count is written whole, as before
    const std::string text = BeamFileText("t", t);
    for (const char* line : {"\r\n    2 123.456789      0.00\r\n", "\r\n         1 2.10000000000000E+008\r\n",
                             "\r\n         1 -1.000000000000           0.00", "NÓS = 1234567\r\n"})
        EXPECT_NE(text.find(line), std::string::npos) << line;

    t.nodes.count = "2";
    const auto r = read(utf8ToCp1252(BeamFileText("t", t)));
    ASSERT_EQ(r.status, 0);
    EXPECT_EQ(r.tables.spans.rows.at(0).at(1), "123.456789");
    EXPECT_EQ(r.tables.materials.rows.at(0).at(1), "210000000");
}

TEST_F(BeamFile, AccentedTitleSurvivesTheFile)
{
    const std::string folder = tempFolder();
    const std::string title = "Viga contínua — seção, ação e reação: ÇÃÊº € “teste”";
    Salvar(folder + "/viga.vig", title, defaultTables());
    EXPECT_EQ(readFileBytes(folder + "/viga.vig").substr(0, 13), "Viga cont\xEDnua");
    const auto r = Abrir(folder + "/viga.vig", *model, nullptr);
    fs::remove_all(folder);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.title, title);
}

// Whatever the bytes, the read ends with a status; nothing escapes it.
TEST_F(BeamFile, GarbageAndHugeInputs)
{
    std::mt19937 random(2024);
    std::string garbage(10 * 1024 * 1024, '\0');
    for (auto& c : garbage) c = static_cast<char>(random());
    EXPECT_NE(read(garbage).status, 0);

    std::string endless = "t\r\nCOORDENADAS = 1000000000\r\n";  // valid records up to the end, then node 0
    while (endless.size() < 10 * 1024 * 1024) endless += "1 0 0\r\n";
    EXPECT_EQ(read(endless).status, 2);

    const auto r = read(edited({{0, std::string(100000, 'x') + "\xE7"}}));
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.title.size(), 100002u);

    const std::string base = readFileBytes(DefaultFile);
    for (int i = 0; i < 3000; ++i) {
        std::string mutated = base;
        for (int k = 0; k < 3; ++k) {
            const std::size_t at = random() % mutated.size();
            if (random() % 2)
                mutated[at] = "0123456789.-eE =\r\n\x80"[random() % 19];
            else
                mutated.erase(at, 1 + random() % 8);
        }
        const auto status = read(mutated).status;
        ASSERT_TRUE(status >= 0 && status <= 7) << mutated;
    }
}

TEST(ReaderMessagesTable, Texts)
{
    const auto& m = ReaderMessages();
    EXPECT_EQ(m[0], " Nenhum erro encontrado ");
    EXPECT_EQ(m[5], " 05- Erro na definição das propriedades das seções das barras ");
    EXPECT_EQ(m[7], " 07- Erro na definição do carregamento ");
    EXPECT_TRUE(m[8].empty() && m[9].empty() && m[10].empty());
}

}  // namespace
}  // namespace kalvoro
