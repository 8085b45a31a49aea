// The batch program end to end: exit codes, outputs beside the data file, and
// the data file left exactly as it was.

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "batch.h"
#include "data/text_file.h"

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
