// The tables of an extended beam without the analysis model: the same texts
// as the road through the model for every beam the model holds, and the same
// beam back from them, for those and for a beam of the extended file's length.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "data/beam_tables.h"
#include "data/extra_loads.h"

namespace {

using namespace kalvoro;

void expectSameTables(const BeamTexts& a, const BeamTexts& b)
{
    const auto same = [](const TableTexts& x, const TableTexts& y, const char* table) {
        EXPECT_EQ(x.count, y.count) << table;
        EXPECT_EQ(x.rows, y.rows) << table;
    };
    same(a.spans, b.spans, "spans");
    same(a.nodes, b.nodes, "nodes");
    same(a.loads, b.loads, "loads");
    same(a.supports, b.supports, "supports");
    same(a.materials, b.materials, "materials");
    same(a.sections, b.sections, "sections");
}

// Nodes every 5 m coded "10", the first "11"; each span a uniform and a point load.
ExtendedBeam evenBeam(std::size_t spans)
{
    ExtendedBeam b;
    b.title = "viga longa";
    b.materials = {2.1e7};
    b.sections = {0.0036};
    for (std::size_t i = 0; i <= spans; ++i) b.nodes.emplace_back(5.0 * static_cast<double>(i), i ? 10 : 11);
    for (std::size_t i = 0; i < spans; ++i)
        b.spans.push_back({1, 1, {{LoadKind::Uniform, -10, 0, 0, 0}, {LoadKind::Point, -25, 0, 1.5, 0}}});
    return b;
}

TEST(BeamTables, AgreeWithTheModelAndGiveTheBeamBack)
{
    const auto example = [](const char* name) {
        const ExtendedRead r = AbrirVigx(std::string(KALVORO_EXAMPLES) + "/" + name);
        EXPECT_EQ(r.status, 0) << name << r.message;
        return r.beam;
    };
    struct Case {
        const char* what;
        ExtendedBeam beam;
        bool modelHolds;
    };
    const Case cases[] = {
        {"apoios-especiais.vigx", example("apoios-especiais.vigx"), true},
        {"cargas-diversas.vigx", example("cargas-diversas.vigx"), true},
        {"a beam the data file holds", evenBeam(3), true},
        {"24 spans", evenBeam(24), true},
        {"1000 spans", evenBeam(MaxExtendedSpans), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        // As the window splits a beam: supports' extras to their columns,
        // loads beyond the first uniform and point load to their page.
        ExtendedBeam base = c.beam;
        for (ExtendedNode& n : base.nodes) n.extra = {};
        SeparaCargasAdicionais(base);
        const BeamTexts tables = TabelasDaViga(base);
        ASSERT_EQ(CabeNoModelo(base), c.modelHolds);
        if (c.modelHolds) {
            auto model = std::make_unique<AnalysisModel>();
            PreencheModelo(base, *model);
            expectSameTables(tables, TabelasDoModelo(*model));
            // Read without the model, the texts give the beam the reader gives.
            EXPECT_EQ(VigaDosTextos(base.title, tables), VigaDasTabelas(base.title, tables, {}));
        } else {
            EXPECT_EQ(tables.spans.count, "1000");
            EXPECT_EQ(tables.nodes.rows.back()[1], "5000");
            EXPECT_EQ(tables.loads.rows.back(), (std::vector<std::string>{"1000", "-10", "-25", "1.5"}));
            EXPECT_EQ(VigaDasTabelas(base.title, tables, {}), base);
        }
    }
}

TEST(BeamTables, RefuseWhatTheReaderRefuses)
{
    const BeamTexts good = TabelasDaViga(evenBeam(30));
    struct Case {
        const char* what;
        void (*spoil)(BeamTexts&);
        const char* message;
    };
    const Case cases[] = {
        {"node out of order", [](BeamTexts& t) { t.nodes.rows[5][1] = "20"; },
         "nó 6 fora do eixo ou fora de ordem"},
        {"node off the axis", [](BeamTexts& t) { t.nodes.rows[2][2] = "1"; },
         "nó 3 fora do eixo ou fora de ordem"},
        {"support code", [](BeamTexts& t) { t.supports.rows[4][1] = "12"; }, "código de apoio 12 inválido"},
        {"material", [](BeamTexts& t) { t.spans.rows[7][3] = "2"; }, "trecho 8: material 2 não definido"},
        {"section", [](BeamTexts& t) { t.spans.rows[7][2] = "0"; }, "trecho 8: seção 0 não definido"},
        {"load beyond its span", [](BeamTexts& t) { t.loads.rows[9][3] = "5.1"; },
         "carga 10 fora do trecho 10"},
        {"load on no span", [](BeamTexts& t) { t.loads.rows[9][0] = "31"; }, "carga 10 sem trecho"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        BeamTexts t = good;
        c.spoil(t);
        try {
            VigaDosTextos("", t);
            ADD_FAILURE() << "accepted";
        } catch (const std::exception& e) {
            EXPECT_STREQ(e.what(), c.message);
        }
    }
}

}  // namespace
