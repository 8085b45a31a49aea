// The batch program end to end: exit codes, outputs beside the data file, and
// the data file left exactly as it was.

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <bit>
#include <cstdint>
#include <memory>
#include <nlohmann/json.hpp>

#include "batch.h"
#include "data/beam_file.h"
#include "data/text_file.h"
#include "engine/deflection.h"
#include "engine/engine.h"
#include "engine/report.h"
#include "engine/section_forces.h"
#include "influence/influence.h"

namespace fs = std::filesystem;
using kalvoro::runBatch;

namespace {

std::string slurp(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void spit(const fs::path& p, const std::string& bytes)
{
    std::ofstream out(p, std::ios::binary);
    out << bytes;
}

class Batch : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir =
            fs::temp_directory_path() /
            ("kalvoro-batch-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    fs::path example(const std::string& name, const fs::path& folder = {})
    {
        const fs::path where = folder.empty() ? dir : folder;
        fs::create_directories(where);
        fs::copy_file(fs::path(KALVORO_EXAMPLES) / name, where / name, fs::copy_options::overwrite_existing);
        return where / name;
    }

    int run(std::vector<std::string> args)
    {
        out.str("");
        err.str("");
        return runBatch(args, out, err);
    }

    fs::path dir;
    std::ostringstream out, err;
};

TEST_F(Batch, AnalysesTheTwoSpanExampleAndWritesItsFilesBesideIt)
{
    const fs::path vig = example("dois-trechos.vig");
    const std::string before = slurp(vig);

    ASSERT_EQ(run({vig.string()}), 0) << err.str();

    // The report on disk is the hand-written expected file, byte for byte.
    EXPECT_EQ(slurp(dir / "dois-trechos.sai"), slurp(fs::path(KALVORO_TEST_DATA) / "dois-trechos.sai"));
    // What is printed is the same report, in UTF-8.
    EXPECT_EQ(out.str(), kalvoro::cp1252ToUtf8(slurp(dir / "dois-trechos.sai")));
    EXPECT_TRUE(fs::exists(dir / "dois-trechosM.wmf"));
    EXPECT_TRUE(fs::exists(dir / "dois-trechosC.wmf"));
    EXPECT_FALSE(fs::exists(dir / "dois-trechosM.svg"));
    EXPECT_NE(err.str().find("Gravado: " + (dir / "dois-trechosC.wmf").string()), std::string::npos);
    // The data file is analysed as stored and never rewritten.
    EXPECT_EQ(slurp(vig), before);
}

TEST_F(Batch, WritesSvgDiagramsOnRequest)
{
    const fs::path vig = example("tres-trechos.vig");
    ASSERT_EQ(run({"--svg", vig.string()}), 0) << err.str();
    EXPECT_NE(slurp(dir / "tres-trechosM.svg").find("<svg"), std::string::npos);
    EXPECT_NE(slurp(dir / "tres-trechosC.svg").find("<svg"), std::string::npos);
}

TEST_F(Batch, DerivedNamesAreCutInTheFileNameNotInTheFolder)
{
    const fs::path vig = example("dois-trechos.vig", dir / "obra.2");
    ASSERT_EQ(run({vig.string()}), 0) << err.str();
    EXPECT_TRUE(fs::exists(dir / "obra.2" / "dois-trechos.sai"));
    EXPECT_FALSE(fs::exists(dir / "obra.sai"));
}

TEST_F(Batch, CheckOnlyReadsAndReportsTheReaderStatus)
{
    const fs::path vig = example("dois-trechos.vig");
    EXPECT_EQ(run({"--check", vig.string()}), 0);
    EXPECT_EQ(out.str(), " Nenhum erro encontrado \n");
    EXPECT_FALSE(fs::exists(dir / "dois-trechos.sai"));

    spit(dir / "vazio.vig", "");
    EXPECT_EQ(run({"--check", (dir / "vazio.vig").string()}), 2);
    EXPECT_EQ(out.str(), " 02- Erro na definição das coordenadas da estrutura \n");

    // Files that read as numbers but are no beam.
    const std::string good = slurp(vig);
    const std::pair<std::string, std::string> spoilt[] = {
        {"  2   10\r\n", "  2  100\r\n"},                                           // no support code
        {"         2         2         3         1         1", "2 2 3 1 2"},        // no material 2
        {"    3         2         0", "    3       0.5         0"},                 // span 2 right to left
        {"         2             -1              0              0", "2 0 -1 1.5"},  // d beyond span 2
    };
    for (const auto& [from, to] : spoilt) {
        std::string bad = good;
        bad.replace(bad.find(from), from.size(), to);
        spit(dir / "ruim.vig", bad);
        EXPECT_NE(run({"--check", (dir / "ruim.vig").string()}), 0) << to;
    }
}

TEST_F(Batch, FailuresEndWithTheirExitCodes)
{
    spit(dir / "vazio.vig", "");
    EXPECT_EQ(run({(dir / "vazio.vig").string()}), 2);
    EXPECT_NE(err.str().find(" 02- Erro na definição das coordenadas da estrutura "), std::string::npos);
    EXPECT_FALSE(fs::exists(dir / "vazio.sai"));

    EXPECT_EQ(run({(dir / "nao-existe.vig").string()}), kalvoro::batch_exit::FileError);
    EXPECT_NE(err.str().find("nao-existe.vig"), std::string::npos);
    EXPECT_EQ(run({dir.string()}), kalvoro::batch_exit::FileError);  // a folder, not a file

    EXPECT_EQ(run({}), kalvoro::batch_exit::Usage);
    EXPECT_EQ(run({"--bogus", "x.vig"}), kalvoro::batch_exit::Usage);
    EXPECT_EQ(run({"--influence", "1"}), kalvoro::batch_exit::Usage);
    EXPECT_EQ(run({"--help"}), 0);
    EXPECT_NE(out.str().find("--influence"), std::string::npos);
}

TEST_F(Batch, AnUnstableBeamIsAFailedCalculationNotAReport)
{
    // One span free at both ends: a mechanism.
    const std::string mechanism =
        "viga solta\r\n"
        "COORDENADAS DOS N\xD3S =     2\r\n"
        "    1      0.00      0.00\r\n"
        "    2         1      0.00\r\n"
        "INCID\xCANCIAS DAS BARRAS =     1\r\n"
        "         1         1         2         1         1\r\n"
        "PROPRIEDADES EL\xC1STICAS =     1\r\n"
        "         1                1.00\r\n"
        "PROPRIEDADES SE\xC7\xD5"
        "ES =     1\r\n"
        "         1                1.00\r\n"
        "CONDI\xC7\xD5"
        "ES DE CONTORNO =     2\r\n"
        "  1   00\r\n"
        "  2   00\r\n"
        "CARREGAMENTO =     1\r\n"
        "         1          -1.00           0.00           0.00\r\n";
    spit(dir / "solta.vig", mechanism);
    EXPECT_EQ(run({(dir / "solta.vig").string()}), kalvoro::batch_exit::EngineFailure);
    EXPECT_NE(err.str().find("divisao por zero"), std::string::npos) << err.str();
    EXPECT_EQ(out.str(), "");
    EXPECT_FALSE(fs::exists(dir / "solta.sai"));
}

TEST_F(Batch, InfluenceLinesOfASection)
{
    const fs::path vig = example("dois-trechos.vig");
    ASSERT_EQ(run({"--influence", "1", "0.5", vig.string()}), 0) << err.str();
    EXPECT_EQ(out.str(), kalvoro::cp1252ToUtf8(slurp(dir / "dois-trechosLIM.sai")));
    EXPECT_EQ(out.str().rfind("Linha de Influência de Esforços Cortantes e Momentos Fletores\r\n", 0), 0u);
    ASSERT_TRUE(fs::exists(dir / "dois-trechosLIM.wmf"));
    // An independent reader (libwmf) accepts the influence-line metafile.
    ASSERT_EQ(std::system("command -v wmf2svg >/dev/null"), 0)
        << "wmf2svg is missing: install the Debian package libwmf-bin";
    const std::string check = "wmf2svg -o '" + (dir / "lim.svg").string() + "' '" +
                              (dir / "dois-trechosLIM.wmf").string() + "' >/dev/null 2>&1";
    EXPECT_EQ(std::system(check.c_str()), 0) << "wmf2svg refused dois-trechosLIM.wmf";

    // At the pinned left end every moment is zero: no diagram can be scaled.
    EXPECT_EQ(run({"--influence", "1", "0", vig.string()}), kalvoro::batch_exit::InfluenceFailure);
    EXPECT_NE(err.str().find("Linha de Influência não calculada.\nVerifique seu dados e tente novamente."),
              std::string::npos);
    EXPECT_EQ(run({"--influence", "x", "0.5", vig.string()}), kalvoro::batch_exit::InfluenceFailure);
    // The pinned right end too, where rounding leaves moments of about 1e-17.
    EXPECT_EQ(run({"--influence", "2", "1", vig.string()}), kalvoro::batch_exit::InfluenceFailure);
}

// The numbers of stem.json against the model that the same file gives in
// memory, bit for bit, and every number of the document among them.
struct JsonCheck {
    void same(const nlohmann::json& value, double expected, const std::string& where)
    {
        ASSERT_TRUE(value.is_number()) << where;
        EXPECT_EQ(std::bit_cast<std::uint64_t>(value.get<double>()), std::bit_cast<std::uint64_t>(expected))
            << where << ": " << value << " against " << expected;
        ++compared;
    }
    void same(const nlohmann::json& value, long expected, const std::string& where)
    {
        ASSERT_TRUE(value.is_number_integer()) << where;
        EXPECT_EQ(value.get<long>(), expected) << where;
        ++compared;
    }
    // Numbers anywhere in the document.
    static long count(const nlohmann::json& j)
    {
        if (j.is_number()) return 1;
        long n = 0;
        if (j.is_structured())
            for (const auto& item : j) n += count(item);
        return n;
    }

    long compared = 0;
};

TEST_F(Batch, JsonHoldsEveryResultBitForBit)
{
    const fs::path vig = example("tres-trechos.vig");
    ASSERT_EQ(run({"--json", "--influence", "2", "1.5", vig.string()}), 0) << err.str();
    EXPECT_NE(err.str().find("Gravado: " + (dir / "tres-trechos.json").string()), std::string::npos);
    const auto doc = nlohmann::json::parse(slurp(dir / "tres-trechos.json"));

    // The same beam solved here.
    auto m = std::make_unique<kalvoro::AnalysisModel>();
    const kalvoro::ReadResult read = kalvoro::Abrir(vig.string(), *m, {});
    ASSERT_EQ(read.status, 0);
    kalvoro::SolveBeam(*m);

    EXPECT_EQ(doc.at("format"), "kalvoro-results");
    EXPECT_EQ(doc.at("version"), 1);
    EXPECT_EQ(doc.at("title"), read.title);
    JsonCheck c;
    c.same(doc.at("version"), 1L, "version");
    ASSERT_EQ(doc.at("nodes").size(), 4u);
    for (long n = 1; n <= m->NodeCount; ++n) {
        const auto& node = doc.at("nodes").at(n - 1);
        const std::string at = "node " + std::to_string(n);
        c.same(node.at("node"), n, at);
        c.same(node.at("x"), m->Coord(n, 1), at + " x");
        c.same(node.at("y"), m->Coord(n, 2), at + " y");
        c.same(node.at("displacement").at("vertical"), m->LoadVector(2 * n - 1, 1), at + " vertical");
        c.same(node.at("displacement").at("rotation"), m->LoadVector(2 * n, 1), at + " rotation");
        c.same(node.at("reactions").at("force"), m->Reaction(n, 1), at + " force");
        c.same(node.at("reactions").at("moment"), m->Reaction(n, 2), at + " moment");
    }
    EXPECT_EQ(doc.at("nodes").at(0).at("support"),
              nlohmann::json::parse(R"({"code": "11", "vertical": true, "rotation": true})"));
    EXPECT_EQ(doc.at("nodes").at(3).at("support"),
              nlohmann::json::parse(R"({"code": "10", "vertical": true, "rotation": false})"));

    ASSERT_EQ(doc.at("spans").size(), 3u);
    for (long i = 1; i <= m->ElementCount; ++i) {
        const auto& span = doc.at("spans").at(i - 1);
        const std::string at = "span " + std::to_string(i);
        const kalvoro::SpanData s = kalvoro::SpanOf(*m, i);
        c.same(span.at("span"), i, at);
        c.same(span.at("start_node"), i, at);
        c.same(span.at("end_node"), i + 1, at);
        c.same(span.at("length"), s.L, at + " length");
        c.same(span.at("E"), m->MaterialProp(m->ElementMaterial[i], 1), at + " E");
        c.same(span.at("I"), m->SectionProp(m->ElementSection[i], 1), at + " I");
        c.same(span.at("loads").at("q"), s.q, at + " q");
        c.same(span.at("loads").at("P"), s.P, at + " P");
        c.same(span.at("loads").at("d"), s.d, at + " d");
        const double end = m->Coord(i + 1, 1) - m->Coord(i, 1);
        for (const auto& [name, x] : {std::pair{"start", 0.0}, std::pair{"end", end}}) {
            const auto& f = span.at("end_forces").at(name);
            c.same(f.at("shear"), kalvoro::CortanteSecao(x, s.q, s.P, s.d, s.L, s.V0, s.M0), at + " shear");
            c.same(f.at("moment"), kalvoro::MomentoSecao(x, s.q, s.P, s.d, s.L, s.V0, s.M0), at + " moment");
        }
        const auto point = [&](const nlohmann::json& p, double value, double position,
                               const std::string& what) {
            c.same(p.at("value"), value, at + " " + what);
            c.same(p.at("position"), position, at + " " + what + " position");
        };
        point(span.at("moment").at("max"), MaxMomentoPositivo(*m, i), PosMaxMomentoPositivo(*m, i), "M+");
        point(span.at("moment").at("min"), MaxMomentoNegativo(*m, i), PosMaxMomentoNegativo(*m, i), "M-");
        point(span.at("shear").at("max"), MaxCortantePositivo(*m, i), PosMaxCortantePositivo(*m, i), "V+");
        point(span.at("shear").at("min"), MaxCortanteNegativo(*m, i), PosMaxCortanteNegativo(*m, i), "V-");
        const auto v = kalvoro::ExtremeDeflections(kalvoro::DeflectionOf(*m, i));
        point(span.at("deflection").at("down"), v.down.value, v.down.position, "down");
        point(span.at("deflection").at("up"), v.up.value, v.up.position, "up");
    }

    std::vector<kalvoro::InfluenceOrdinate> ordinates;
    kalvoro::ComputeInfluenceReport(*m, "2", "1.5", (dir / "aqui.vig").string(), nullptr, &ordinates);
    const auto& influence = doc.at("influence");
    c.same(influence.at("section").at("span"), 2L, "section");
    c.same(influence.at("section").at("position"), 1.5, "section");
    ASSERT_EQ(influence.at("ordinates").size(), ordinates.size());
    EXPECT_EQ(ordinates.size(), 33u);
    for (std::size_t k = 0; k < ordinates.size(); ++k) {
        const auto& o = influence.at("ordinates").at(k);
        const std::string at = "ordinate " + std::to_string(k);
        c.same(o.at("span"), ordinates[k].span, at);
        c.same(o.at("load_position"), ordinates[k].d, at);
        c.same(o.at("shear_left"), ordinates[k].shearLeft, at);
        c.same(o.at("shear_right"), ordinates[k].shearRight, at);
        c.same(o.at("moment"), ordinates[k].moment, at);
    }
    EXPECT_EQ(c.compared, JsonCheck::count(doc));
}

// stem.json is a file of its own: every other output of every example is the
// same, byte for byte, with and without it.
TEST_F(Batch, JsonChangesNoOtherOutput)
{
    for (const char* name : {"dois-trechos.vig", "tres-trechos.vig", "vinte-e-quatro-trechos.vig"}) {
        SCOPED_TRACE(name);
        const fs::path plain = example(name, dir / "sem"), json = example(name, dir / "com");
        ASSERT_EQ(run({"--svg", "--influence", "1", "0.5", plain.string()}), 0) << err.str();
        const std::string printed = out.str();
        ASSERT_EQ(run({"--svg", "--json", "--influence", "1", "0.5", json.string()}), 0) << err.str();
        EXPECT_EQ(out.str(), printed);
        const std::string stem = fs::path(name).stem().string();
        for (const char* suffix : {".sai", "M.wmf", "C.wmf", "D.wmf", "LIM.sai", "LIM.wmf", "M.svg", "C.svg",
                                   "D.svg", "LIM.svg", ".vig"})
            EXPECT_EQ(slurp(dir / "com" / (stem + suffix)), slurp(dir / "sem" / (stem + suffix))) << suffix;
        EXPECT_TRUE(fs::exists(dir / "com" / (stem + ".json")));
        EXPECT_FALSE(fs::exists(dir / "sem" / (stem + ".json")));
    }
}

// The numbers of a line, or none when any word is not one.
std::vector<double> numbersOf(const std::string& line)
{
    std::istringstream words(line);
    std::vector<double> v;
    for (std::string w; words >> w;) {
        double x = 0;
        const auto [end, ec] = std::from_chars(w.data(), w.data() + w.size(), x);
        if (ec != std::errc() || end != w.data() + w.size()) return {};
        v.push_back(x);
    }
    return v;
}

std::vector<std::string> linesOf(const std::string& text)
{
    std::vector<std::string> lines;
    for (std::size_t at = 0, end; (end = text.find("\r\n", at)) != std::string::npos; at = end + 2)
        lines.push_back(text.substr(at, end - at));
    return lines;
}

TEST_F(Batch, TrainEnvelopeAndSectionBesideTheUsualFiles)
{
    const fs::path vig = example("tres-trechos.vig");
    const fs::path trem = example("tb450-simplificado.trem");
    ASSERT_EQ(run({"--influence", "2", "1.5", vig.string()}), 0) << err.str();
    const std::string plainReport = slurp(dir / "tres-trechos.sai"),
                      plainLim = slurp(dir / "tres-trechosLIM.sai");
    const std::string plainM = slurp(dir / "tres-trechosM.wmf"),
                      plainLimWmf = slurp(dir / "tres-trechosLIM.wmf");

    ASSERT_EQ(run({"--train", trem.string(), "--influence", "2", "1.5", vig.string()}), 0) << err.str();
    // The specified outputs stay byte for byte what they were.
    EXPECT_EQ(slurp(dir / "tres-trechos.sai"), plainReport);
    EXPECT_EQ(slurp(dir / "tres-trechosLIM.sai"), plainLim);
    EXPECT_EQ(slurp(dir / "tres-trechosM.wmf"), plainM);
    EXPECT_EQ(slurp(dir / "tres-trechosLIM.wmf"), plainLimWmf);

    // Eleven sections a span, each line eight numbers, no heading line such a line.
    const auto env = linesOf(kalvoro::cp1252ToUtf8(slurp(dir / "tres-trechosENV.sai")));
    std::size_t data = 0;
    for (const std::string& line : env) data += numbersOf(line).size() == 8;
    EXPECT_EQ(data, 33u);
    for (std::size_t i = 0; i < env.size() - data; ++i) EXPECT_NE(numbersOf(env[i]).size(), 8u) << env[i];
    EXPECT_TRUE(fs::exists(dir / "tres-trechosENV.wmf"));

    // The section's four extremes, printed after the influence report.
    const std::string trem2 = kalvoro::cp1252ToUtf8(slurp(dir / "tres-trechosTREM.sai"));
    const auto lines = linesOf(trem2);
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_NE(lines[0].find("TB-450 simplificado"), std::string::npos);
    const char* labels[] = {"Momento máximo", "Momento mínimo", "Cortante máximo", "Cortante mínimo"};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(lines[static_cast<std::size_t>(i) + 1].rfind(labels[i], 0), 0u);
        EXPECT_TRUE(lines[static_cast<std::size_t>(i) + 1].find(" -> ") != std::string::npos ||
                    lines[static_cast<std::size_t>(i) + 1].find(" <- ") != std::string::npos);
    }
    EXPECT_EQ(out.str(), kalvoro::cp1252ToUtf8(plainLim) + trem2);
}

TEST_F(Batch, ABadTrainFileExits11AndWritesNothing)
{
    const fs::path vig = example("dois-trechos.vig");
    spit(dir / "ruim.trem", "trem\r\nCARGA DISTRIBUIDA = 1\r\nEIXOS = 2\r\n 10 0\r\n");
    EXPECT_EQ(run({"--train", (dir / "ruim.trem").string(), vig.string()}),
              kalvoro::batch_exit::TrainFileError);
    EXPECT_NE(err.str().find("linha 5"), std::string::npos) << err.str();
    EXPECT_EQ(run({"--train", (dir / "nao-existe.trem").string(), vig.string()}),
              kalvoro::batch_exit::TrainFileError);
    EXPECT_FALSE(fs::exists(dir / "dois-trechos.sai"));
    EXPECT_EQ(run({"--train"}), kalvoro::batch_exit::Usage);
}

TEST_F(Batch, RunsAsAProcess)
{
    const fs::path vig = example("vinte-e-quatro-trechos.vig");
    const std::string command = std::string(KALVORO_BATCH) + " '" + vig.string() + "' > '" +
                                (dir / "out.txt").string() + "' 2> '" + (dir / "err.txt").string() + "'";
    const int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << slurp(dir / "err.txt");
    EXPECT_EQ(slurp(dir / "out.txt"), kalvoro::cp1252ToUtf8(slurp(dir / "vinte-e-quatro-trechos.sai")));
}

}  // namespace
