// The node fields of the extended beam file: each misuse refused with the
// node named and the reason, and the writer's round trip of what it accepts.

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

#include "data/beam_file.h"
#include "data/extended_beam.h"
#include "engine/general_road.h"

namespace {

using namespace kalvoro;

// Three nodes; `first`, `middle` and `last` are added to their objects.
std::string beam(const std::string& first, const std::string& middle, const std::string& last,
                 const char* middleSupport = "00")
{
    return R"({"format": "kalvoro-beam", "version": 1, "materials": [{"E": 2e8}], "sections": [{"I": 1e-4}],
  "nodes": [{"x": 0, "support": "11")" +
           first + R"(}, {"x": 4, "support": ")" + middleSupport + "\"" + middle +
           R"(}, {"x": 8, "support": "10")" + last + R"(}],
  "spans": [{"material": 1, "section": 1}, {"material": 1, "section": 1}]})";
}

TEST(VigxSupports, RefusesEachMisuseNamingTheNode)
{
    struct Case {
        const char* what;
        std::string text;
        const char* message;  // empty: accepted
    };
    const Case cases[] = {
        {"spring where the code holds", beam(R"(, "spring": {"vertical": 100})", "", ""),
         "nodes[1].spring.vertical: mola numa direção que o apoio já impede"},
        {"rotational spring where the code holds",
         beam("", "", R"(, "spring": {"vertical": 5, "rotation": 1})"),
         "nodes[3].spring.vertical: mola numa direção que o apoio já impede"},
        {"spring not positive", beam("", R"(, "spring": {"vertical": 0})", ""),
         "nodes[2].spring.vertical: 0 deveria ser maior que zero"},
        {"empty spring", beam("", R"(, "spring": {})", ""),
         "nodes[2].spring: deveria ter \"vertical\" ou \"rotation\""},
        {"unknown key in a spring", beam("", R"(, "spring": {"vertcal": 5})", ""),
         "nodes[2].spring: chave desconhecida \"vertcal\""},
        {"settlement where the code frees", beam("", R"(, "settlement": {"vertical": -0.01})", ""),
         "nodes[2].settlement.vertical: recalque numa direção que o apoio deixa livre"},
        {"settlement of a free rotation", beam("", "", R"(, "settlement": {"rotation": 0.002})"),
         "nodes[3].settlement.rotation: recalque numa direção que o apoio deixa livre"},
        {"hinge at an end", beam("", "", R"(, "hinge": true)"),
         "nodes[3].hinge: rótula só num nó interno da viga"},
        {"hinge at a held rotation", beam("", R"(, "hinge": true)", "", "01"),
         "nodes[2].hinge: rótula num nó de rotação impedida"},
        {"hinge with a rotational spring", beam("", R"(, "spring": {"rotation": 50}, "hinge": true)", ""),
         "nodes[2].hinge: rótula num nó com mola de rotação"},
        {"hinge not a boolean", beam("", R"(, "hinge": 1)", ""),
         "nodes[2].hinge: deveria ser true ou false, não um número"},
        {"repeated key", beam("", R"(, "spring": {"vertical": 1, "vertical": 2})", ""),
         "nodes[2].spring: chave repetida \"vertical\""},
        {"everything where it belongs",
         beam(R"(, "settlement": {"vertical": -0.01, "rotation": 0.002})",
              R"(, "spring": {"vertical": 12000}, "hinge": true)", R"(, "spring": {"rotation": 300})"),
         ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const ExtendedRead r = LeVigx(c.text);
        if (*c.message == 0) {
            ASSERT_EQ(r.status, 0) << r.message;
            EXPECT_TRUE(PrecisaApoiosEspeciais(r.beam));
            EXPECT_FALSE(CabeNoVig(r.beam));
            const ExtendedRead again = LeVigx(VigxText(r.beam));
            ASSERT_EQ(again.status, 0) << again.message;
            EXPECT_EQ(again.beam, r.beam);
            EXPECT_EQ(r.beam.nodes[1].extra.springVertical, 12000);
            EXPECT_TRUE(r.beam.nodes[1].extra.hinge);
            EXPECT_EQ(r.beam.nodes[0].extra.settlementRotation, 0.002);
        } else {
            EXPECT_EQ(r.status, 6);
            EXPECT_EQ(r.message, c.message);
        }
    }
}

}  // namespace

namespace {

// Without springs, settlements or hinges the supported road is the general
// road by another method (exact elimination instead of penalties, a band
// factor instead of the skyline): the same end forces and extremes to 1e-9.
TEST(VigxSupports, PlainBeamsAgreeWithTheGeneralRoad)
{
    for (const char* name : {"tres-trechos.vig", "vinte-e-quatro-trechos.vig"}) {
        SCOPED_TRACE(name);
        auto m = std::make_unique<AnalysisModel>();
        const ReadResult read = Abrir(std::string(KALVORO_EXAMPLES) + "/" + name, *m, {});
        ASSERT_EQ(read.status, 0);
        ExtendedBeam beam = VigaDoModelo(*m, read.title);
        // A moment and a partial linear load on every span, so the general road is taken.
        for (ExtendedSpan& s : beam.spans) {
            s.loads.push_back({LoadKind::Moment, 7, 0, 0.3, 0});
            s.loads.push_back({LoadKind::Linear, -3, -9, 0.1, 0.9});
        }
        const BeamLoads loads = CargasDaViga(beam);
        PreencheModelo(beam, *m);
        ResolveGeral(*m, loads);
        const SupportedResult r = SupportedSystem(VigaApoiada(beam)).solve(loads);
        for (long i = 1; i <= m->ElementCount; ++i) {
            const SpanCurve want = CurvaDoTrecho(*m, loads, i),
                            &got = r.curves[static_cast<std::size_t>(i - 1)];
            for (const auto& [g, w] : {std::pair{got.startShear(), want.startShear()},
                                       {got.startMoment(), want.startMoment()},
                                       {got.endMoment(), want.endMoment()},
                                       {got.largestMoment().value, want.largestMoment().value},
                                       {got.smallestShear().value, want.smallestShear().value}})
                EXPECT_NEAR(g, w, 1e-9 * std::max(1.0, std::fabs(w))) << "span " << i;
        }
    }
}

}  // namespace
