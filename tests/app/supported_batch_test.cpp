// The batch program on beams with springs, settlements and hinges and on a
// beam of 1000 spans: what it writes, prints and returns, influence lines
// and load trains included.

#include <gtest/gtest.h>

#include <fstream>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "batch.h"
#include "data/extended_beam.h"
#include "data/text_file.h"

namespace fs = std::filesystem;
using namespace kalvoro;

namespace {

ExtendedBeam longBeam(std::size_t spans)
{
    ExtendedBeam b;
    b.materials = {2.5e7};
    b.sections = {0.0054};
    for (std::size_t i = 0; i <= spans; ++i) b.nodes.push_back({5.0 * static_cast<double>(i), 10});
    for (std::size_t i = 0; i < spans; ++i) b.spans.push_back({1, 1, {{LoadKind::Uniform, -12, 0, 0, 0}}});
    return b;
}

TEST(SupportedBatch, ReportsDiagramsInfluenceAndRefusals)
{
    const fs::path dir = fs::temp_directory_path() / "kalvoro-supported-batch";
    fs::remove_all(dir);
    fs::create_directories(dir);
    fs::copy_file(fs::path(KALVORO_EXAMPLES) / "apoios-especiais.vigx", dir / "gerber.vigx");
    fs::copy_file(fs::path(KALVORO_EXAMPLES) / "tb450-simplificado.trem", dir / "tb.trem");
    writeTextFile((dir / "ruim.trem").string(), "sem eixos\n");
    SalvarVigx((dir / "longa.vigx").string(), longBeam(1000));
    ExtendedBeam swinging = longBeam(2);
    swinging.nodes[2].support = 0;
    swinging.nodes[1].extra.hinge = true;
    swinging.nodes[1].support = 0;
    swinging.nodes[0].support = 11;
    SalvarVigx((dir / "mecanismo.vigx").string(), swinging);

    struct Case {
        std::vector<std::string> args;
        int code;
        const char* printed;  // part of the report, or of the messages when it fails
        std::vector<const char*> files;
    };
    const auto at = [&](const char* name) { return (dir / name).string(); };
    const Case cases[] = {
        // The spring under node 5 carries 20000 x 0.00525.
        {{at("gerber.vigx")},
         0,
         "   5   -0.00525000    0.00114167   105.0000     0.0000",
         {"gerber.sai", "gerberM.wmf", "gerberC.wmf", "gerberD.wmf"}},
        // The suspended span's middle: M = 4/4 under the unit load there,
        // which counts in the right-hand shear only.
        {{"--influence", "3", "2", at("gerber.vigx")},
         0,
         "      3     2.00      0.500000     -0.500000      1.000000",
         {"gerberLIM.sai"}},
        // An interior span of an equal-span beam under q: moment q L^2 / 12 hogging at each support.
        {{at("longa.vigx")}, 0, "   500    30.0000   -25.0000   -30.0000   -25.0000",
         {"longa.sai", "longaM.wmf", "longaC.wmf", "longaD.wmf"}},
        {{"--svg", "--influence", "1000", "2.5", at("longa.vigx")},
         0,
         "   1000     2.50",
         {"longaLIM.sai", "longaLIM.wmf", "longaLIM.svg"}},
        {{"--json", "--influence", "3", "2", at("gerber.vigx")}, 0, "", {"gerber.json"}},
        // The suspended span: 150 (1 + 2 x 0.25) + 5 x 2 by the train, 12 x 16 / 8 + 30 from its own loads.
        {{"--train", at("tb.trem"), "--influence", "3", "2", at("gerber.vigx")},
         0,
         "Momento máximo        235.0000      8.000 ->      289.0000",
         {"gerberLIM.wmf", "gerberENV.sai", "gerberENV.wmf", "gerberTREM.sai"}},
        {{"--influence", "6", "1", at("gerber.vigx")}, 10, "trecho 6 fora de 1..5", {}},
        {{"--influence", "3", "meio", at("gerber.vigx")}, 10, "Linha de Influência não calculada", {}},
        {{"--train", at("ruim.trem"), at("gerber.vigx")}, 11, "", {}},
        {{at("mecanismo.vigx")}, 8, "viga instável: a rótula do nó 2 forma um mecanismo", {}},
        {{"--check", at("mecanismo.vigx")}, 0, "", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.back());
        std::ostringstream out, err;
        EXPECT_EQ(runBatch(c.args, out, err), c.code) << err.str();
        EXPECT_NE((c.code == 0 ? out : err).str().find(c.printed), std::string::npos)
            << out.str().substr(0, 2000) << err.str();
        for (const char* f : c.files) EXPECT_TRUE(fs::exists(dir / f)) << f;
    }
    // The suspended span of 4 under q = 12 and P = 30 at its middle: M = qs^2/8 + Ps/4;
    // the spring's force, its hinge's own rotation, the section's ordinate.
    std::ifstream file(dir / "gerber.json");
    const auto doc = nlohmann::json::parse(file);
    EXPECT_NEAR(doc["spans"][2]["moment"]["max"]["value"].get<double>(), 12 * 16 / 8.0 + 30 * 4 / 4.0, 1e-9);
    EXPECT_NEAR(doc["nodes"][4]["reactions"]["force"].get<double>(), 105, 1e-9);
    EXPECT_TRUE(doc["nodes"][2]["displacement"].contains("rotation_right"));
    EXPECT_EQ(doc["nodes"][4]["support"]["spring"]["vertical"], 20000);
    EXPECT_EQ(doc["influence"]["ordinates"][27]["shear_left"], 0.5);
}

}  // namespace
