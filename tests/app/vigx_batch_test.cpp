// The batch program on extended beam files: a beam the data file can hold
// gives byte for byte the outputs of its .vig, and a refusal is the reader's
// status as the exit code.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "batch.h"
#include "data/beam_file.h"
#include "data/extended_beam.h"
#include "data/text_file.h"
#include "engine/general_deflection.h"
#include "engine/general_road.h"

namespace fs = std::filesystem;
using namespace kalvoro;

namespace {

std::string slurp(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

fs::path freshFolder(const std::string& name)
{
    const fs::path dir = fs::temp_directory_path() / ("kalvoro-vigx-" + name);
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir;
}

int run(std::vector<std::string> args, std::string* report = nullptr)
{
    std::ostringstream out, err;
    const int code = runBatch(args, out, err);
    if (report) *report = out.str();
    return code;
}

TEST(VigxBatch, ABeamTheDataFileHoldsGivesTheSameBytes)
{
    for (const char* name : {"dois-trechos", "tres-trechos", "vinte-e-quatro-trechos"}) {
        const fs::path vigDir = freshFolder(std::string(name) + "-vig"),
                       vigxDir = freshFolder(std::string(name) + "-vigx");
        const fs::path vig = vigDir / "viga.vig", vigx = vigxDir / "viga.vigx";
        fs::copy_file(fs::path(KALVORO_EXAMPLES) / (std::string(name) + ".vig"), vig);
        auto model = std::make_unique<AnalysisModel>();
        const ReadResult read = Abrir(vig.string(), *model, {});
        ASSERT_EQ(read.status, 0) << name;
        const ExtendedBeam beam = VigaDoModelo(*model, read.title);
        ASSERT_TRUE(CabeNoVig(beam)) << name;
        SalvarVigx(vigx.string(), beam);

        std::string fromVig, fromVigx;
        ASSERT_EQ(run({"--influence", "1", "0.5", vig.string()}, &fromVig), 0) << name;
        ASSERT_EQ(run({"--influence", "1", "0.5", vigx.string()}, &fromVigx), 0) << name;
        EXPECT_EQ(fromVig, fromVigx) << name;
        for (const char* out : {"viga.sai", "vigaM.wmf", "vigaC.wmf", "vigaLIM.sai", "vigaLIM.wmf"}) {
            const std::string expected = slurp(vigDir / out);
            EXPECT_FALSE(expected.empty()) << name << " " << out;
            EXPECT_EQ(slurp(vigxDir / out), expected) << name << " " << out;
        }
        fs::remove_all(vigDir);
        fs::remove_all(vigxDir);
    }
}

TEST(VigxBatch, ExitCodesAreTheReadersStatus)
{
    const fs::path dir = freshFolder("exit");
    const fs::path good = dir / "boa.vigx", bad = dir / "ruim.vigx";
    fs::copy_file(fs::path(KALVORO_EXAMPLES) / "cargas-diversas.vigx", good);
    std::string text = slurp(good);
    text.replace(text.find("\"a\": 3"), 6, "\"a\": 9");
    writeFileAtomically(bad.string(), text);

    EXPECT_EQ(run({good.string()}), 0);
    EXPECT_TRUE(fs::exists(dir / "boa.sai") && fs::exists(dir / "boaM.wmf") && fs::exists(dir / "boaC.wmf"));
    EXPECT_EQ(run({"--check", good.string()}), 0);
    EXPECT_EQ(run({"--check", bad.string()}), 7);
    EXPECT_EQ(run({bad.string()}), 7);
    EXPECT_FALSE(fs::exists(dir / "ruim.sai"));
    EXPECT_EQ(run({(dir / "falta.vigx").string()}), batch_exit::FileError);
    fs::remove_all(dir);
}

// --json on a beam of the general road: the deflected shape beside the
// diagrams, and the document's numbers those of the curves in memory, bit for
// bit. A train still refuses such a beam.
TEST(VigxBatch, GeneralBeamsAsJson)
{
    const fs::path dir = freshFolder("json");
    const fs::path file = dir / "viga.vigx";
    fs::copy_file(fs::path(KALVORO_EXAMPLES) / "cargas-diversas.vigx", file);
    ASSERT_EQ(run({"--json", file.string()}), 0);
    EXPECT_TRUE(fs::exists(dir / "vigaD.wmf"));
    const auto doc = nlohmann::json::parse(slurp(dir / "viga.json"));

    const ExtendedRead read = AbrirVigx(file.string());
    auto m = std::make_unique<AnalysisModel>();
    PreencheModelo(read.beam, *m);
    const BeamLoads loads = CargasDaViga(read.beam);
    ResolveGeral(*m, loads);
    const std::vector<SpanCurve> curves = CurvasDaViga(*m, loads);
    ASSERT_EQ(doc["spans"].size(), curves.size());
    for (std::size_t k = 0; k < curves.size(); ++k) {
        const auto& span = doc["spans"][k];
        const SpanCurve& c = curves[k];
        const DeflectionExtremes v = ExtremeDeflections(DeflectionOf(*m, loads, static_cast<long>(k + 1)), c);
        const std::pair<nlohmann::json, double> numbers[] = {
            {span["length"], c.L},
            {span["end_forces"]["end"]["moment"], c.endMoment()},
            {span["moment"]["max"]["value"], c.largestMoment().value},
            {span["moment"]["max"]["position"], c.largestMoment().position},
            {span["shear"]["min"]["value"], c.smallestShear().value},
            {span["deflection"]["down"]["value"], v.down.value},
            {span["deflection"]["down"]["position"], v.down.position},
            {span["deflection"]["up"]["value"], v.up.value},
        };
        for (const auto& [json, expected] : numbers)
            EXPECT_EQ(json.get<double>(), expected) << "span " << k + 1;
        ASSERT_EQ(span["loads"].size(), read.beam.spans[k].loads.size());
    }
    EXPECT_EQ(doc["spans"][1]["loads"][0],
              nlohmann::json::parse(R"({"type": "linear", "q1": -5.0, "q2": -20.0, "a": 0.5, "b": 4.5})"));
    EXPECT_EQ(doc["spans"][1]["loads"][1],
              nlohmann::json::parse(R"({"type": "moment", "M": 15.0, "a": 3.0})"));
    EXPECT_EQ(
        run({"--train", (fs::path(KALVORO_EXAMPLES) / "tb450-simplificado.trem").string(), file.string()}),
        batch_exit::Usage);
    fs::remove_all(dir);
}

}  // namespace
