// The extended beam file: every refusal of the reader with its status and the
// place it names, and the writer's round trip to the same doubles.

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>
#include <string>

#include "data/extended_beam.h"

namespace {

using namespace kalvoro;

std::string example()
{
    std::ifstream in(std::string(KALVORO_EXAMPLES) + "/cargas-diversas.vigx", std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// The example with the first occurrence of `from` replaced by `to`.
std::string edited(const std::string& from, const std::string& to)
{
    std::string text = example();
    const auto at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos) text.replace(at, from.size(), to);
    return text;
}

struct Refusal {
    const char* what;
    std::string text;
    int status;
    const char* message;
};

TEST(VigxReader, RefusesWithStatusAndPlace)
{
    const Refusal cases[] = {
        {"empty file", "", 1, "não é um texto JSON válido (byte 1)"},
        {"not JSON", edited("\"version\": 1,", "\"version\": 1"), 1, "não é um texto JSON válido"},
        {"not an object", "[1, 2]", 1, "deveria ser um objeto JSON, não uma lista"},
        {"wrong format", edited("kalvoro-beam", "outra-coisa"), 1,
         "format: \"outra-coisa\" não é um arquivo"},
        {"newer version", edited("\"version\": 1", "\"version\": 2"), 1, "version: versão 2, mais nova"},
        {"unknown top-level key", edited("\"title\"", "\"titulo\""), 1, "chave desconhecida \"titulo\""},
        {"repeated key", edited("\"P\": -40, \"a\": 2", "\"P\": -40, \"P\": -4, \"a\": 2"), 7,
         "spans[1].loads[2]: chave repetida \"P\""},
        {"key with a blank", edited("\"P\": -40, \"a\": 2", "\"P \": -40, \"a\": 2"), 7,
         "spans[1].loads[2]: chave desconhecida \"P \""},
        {"missing key", edited("\"P\": -40, \"a\": 4", "\"P\": -40"), 7,
         "spans[1].loads[3]: falta a chave \"a\""},
        {"unknown load type", edited("\"moment\"", "\"torque\""), 7,
         "spans[2].loads[2].type: tipo de carga desconhecido \"torque\""},
        {"position outside the span", edited("\"a\": 0.5", "\"a\": 7.5"), 7,
         "spans[2].loads[1].a: 7.5 fica fora do trecho (0 a 4,5)"},
        {"linear load ending before it starts", edited("\"b\": 4.5", "\"b\": 0.5"), 7,
         "spans[2].loads[1].b: 0.5 deveria ser maior que a (0.5)"},
        {"text for a number", edited("\"q\": -12", "\"q\": \"-12\""), 7,
         "spans[1].loads[1].q: deveria ser um número, não um texto"},
        {"number too large", edited("\"q\": -12", "\"q\": -1e999"), 1, "número fora do intervalo"},
        {"nodes out of order", edited("\"x\": 10.5", "\"x\": 6"), 2,
         "nodes[3].x: 6 deveria ser maior que o x do nó anterior (6)"},
        {"one node",
         edited("{\"x\": 0, \"support\": \"10\"},\n    {\"x\": 6, \"support\": \"10\"},\n    ", ""), 2,
         "nodes: 1 nós; deveriam ser de 2 a 1001"},
        {"support code", edited("\"11\"", "\"12\""), 6, "nodes[3].support: \"12\" não é um código de apoio"},
        {"support as a number", edited("\"support\": \"11\"", "\"support\": 11"), 6,
         "nodes[3].support: deveria ser um texto, não um número"},
        {"spans for the nodes",
         edited("\"x\": 10.5, \"support\": \"11\"}",
                "\"x\": 10.5, \"support\": \"11\"},\n    {\"x\": 12, \"support\": \"00\"}"),
         3, "spans: 2 trechos; deveriam ser de 3 a 3"},
        {"material that does not exist", edited("\"material\": 1", "\"material\": 2"), 3,
         "spans[1].material: 2 não existe (materiais de 1 a 1)"},
        {"section as a real", edited("\"section\": 1", "\"section\": 1.0"), 3,
         "spans[1].section: deveria ser um número inteiro, não um número"},
        {"E not positive", edited("\"E\": 25000000", "\"E\": 0"), 4,
         "materials[1].E: 0 deveria ser maior que zero"},
        {"I not positive", edited("\"I\": 0.0054", "\"I\": -1"), 5,
         "sections[1].I: -1 deveria ser maior que zero"},
    };
    for (const Refusal& c : cases) {
        const ExtendedRead r = LeVigx(c.text);
        EXPECT_EQ(r.status, c.status) << c.what << ": " << r.message;
        EXPECT_NE(r.message.find(c.message), std::string::npos) << c.what << ": " << r.message;
        EXPECT_TRUE(r.beam.nodes.empty()) << c.what;
    }
}

// The example reads, and its text is the writer's own layout; awkward doubles
// come back as the same bits.
TEST(VigxWriter, WritesTheExampleAndKeepsEveryDouble)
{
    const ExtendedRead r = LeVigx(example());
    ASSERT_EQ(r.status, 0) << r.message;
    EXPECT_EQ(VigxText(r.beam), example());
    EXPECT_FALSE(CabeNoVig(r.beam));

    ExtendedBeam b = r.beam;
    b.title = "aspas \" barra \\ acentuação";
    b.materials = {0.1 + 0.2, 1e308};
    b.sections = {4.9e-324};
    b.nodes[2].x = 10.500000000000002;
    b.spans[0].loads.push_back({LoadKind::Uniform, -0.0, 0, 0, 0});
    b.spans[1].loads.push_back({LoadKind::Point, 123456789012345678.0, 0, 1.0 / 3, 0});
    b.spans[0].material = 2;
    const ExtendedRead back = LeVigx(VigxText(b));
    ASSERT_EQ(back.status, 0) << back.message;
    EXPECT_EQ(back.beam, b);
    EXPECT_TRUE(std::signbit(back.beam.spans[0].loads.back().v1));
}

}  // namespace
