// Engine failures reach the caller with their own text, and a failed run
// leaves the earlier outputs of the beam as they were. Beams that a data file
// can describe go through the batch program; storage that does not fit cannot
// come from a file (at most 25 nodes, so at most 1275 terms), so that one is a
// model built by hand and goes through the engine and the influence lines.

#include <gtest/gtest.h>

#include <memory>

#include "data/beam_file.h"
#include "engine/engine.h"
#include "engine/errors.h"
#include "fault_helpers.h"
#include "influence/influence.h"

namespace kalvoro::faults {
namespace {

// dois-trechos.vig with some of its lines replaced; an empty text drops the
// line. Lines are counted from 0: 0 title, 2-4 nodes, 6-7 spans, 9 material,
// 11 section, 13-15 supports, 16 loads header, 17-18 loads.
std::string twoSpansWith(const std::vector<std::pair<std::size_t, std::string>>& edits)
{
    const std::string bytes = example("dois-trechos.vig");
    std::vector<std::string> lines;
    for (std::size_t at = 0, end; (end = bytes.find("\r\n", at)) != std::string::npos; at = end + 2)
        lines.push_back(bytes.substr(at, end - at));
    for (const auto& [index, text] : edits) lines.at(index) = text;
    std::string out;
    for (const auto& line : lines)
        if (!line.empty()) out += line + "\r\n";
    return out;
}

TEST(EngineFaults, FailuresReachTheBatchCallerAndLoseNoEarlierOutput)
{
    struct Row {
        const char* beam;
        std::string file;
        const char* text;
    };
    const Row rows[] = {
        // Pinned at the left end only: the beam turns about the pin.
        {"mecanismo", twoSpansWith({{14, "  2   00"}, {15, "  3   00"}}), "divisao por zero"},
        // A negative modulus makes a rotation's pivot negative.
        {"rigidez negativa", twoSpansWith({{9, "         1                  -1"}}),
         "numero negativo na raiz"},
        {"rigidez enorme",
         twoSpansWith({{9, "         1               1E300"}, {11, "         1               1E300"}}),
         "estouro de ponto flutuante"},
        // Node 3 on node 2: span 2 has no length (and no load, so the reader lets it pass).
        {"trecho nulo",
         twoSpansWith({{4, "    3         1         0"}, {16, "CARREGAMENTO =     1"}, {18, ""}}),
         "divisão por zero"},
        // A number that the reader stores as read and the engine's arrays refuse.
        // (Which array meets node 300 first is the engine's business.)
        {"apoio inexistente", twoSpansWith({{15, "300   10"}}), "índice fora dos limites: "},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.beam);
        Scratch s;
        put(s / "viga.vig", row.file);
        for (const char* suffix : {".sai", "M.wmf", "C.wmf", "LIM.sai"})
            put(s / (std::string("viga") + suffix), std::string("anterior ") + suffix);
        const auto before = s.names();

        ASSERT_EQ(batch({"--check", s / "viga.vig"}).code, 0);
        for (const auto& options : {std::vector<std::string>{}, {"--influence", "1", "0.5"}}) {
            auto args = options;
            args.push_back(s / "viga.vig");
            const BatchRun r = batch(args);
            EXPECT_EQ(r.code, batch_exit::EngineFailure);
            EXPECT_EQ(r.err.rfind(row.text, 0), 0u) << r.err;  // its first line
            EXPECT_EQ(r.out, "");
        }
        EXPECT_EQ(s.names(), before);
        for (const char* suffix : {".sai", "M.wmf", "C.wmf", "LIM.sai"})
            EXPECT_EQ(bytesOf(s / (std::string("viga") + suffix)), std::string("anterior ") + suffix);
    }
}

// Every element starts at node 1 and ends at node n = 2 .. N, so column j's
// top row is 1 and its height j: N nodes need N (2N + 1) terms.
std::unique_ptr<AnalysisModel> fanOfElements(int N)
{
    auto m = std::make_unique<AnalysisModel>();
    m->DofPerNode = 2;
    m->NodesPerElement = 2;
    m->ElementDofCount = 4;
    m->CoordsPerNode = 2;
    m->MaterialPropCount = 1;
    m->LoadCaseCount = 1;
    m->NodeCount = N;
    m->EquationCount = 2 * N;
    m->ElementCount = N - 1;
    m->MaterialCount = m->SectionCount = 1;
    m->MaterialProp(1, 1) = m->SectionProp(1, 1) = 1;
    for (int n = 1; n <= N; ++n) m->Coord(n, 1) = n - 1;
    for (int e = 1; e <= N - 1; ++e) {
        m->Incidence(e, 1) = 1;
        m->Incidence(e, 2) = e + 1;
        m->ElementMaterial[e] = m->ElementSection[e] = 1;
    }
    m->SupportCount = 2;
    m->SupportNode[1] = 1;
    m->SupportCode[1] = 11;
    m->SupportNode[2] = 2;
    m->SupportCode[2] = 10;
    m->LoadRowCount[1] = 1;
    m->LoadRowElement(1, 1) = 1;
    m->LoadRowValue(1, 1, 1) = -1;
    return m;
}

TEST(EngineFaults, StorageThatDoesNotFitNamesWhatItNeeds)
{
    // 49 nodes need 4851 terms and fit.
    auto fits = fanOfElements(49);
    ColunasAltura(*fits);
    EXPECT_EQ(fits->DiagPointer[98], 4851);

    // 50 nodes need 5050: the text, then need and capacity right-aligned in six.
    auto m = fanOfElements(50);
    const std::string expected = "memoria insuficiente   5050  5000";
    try {
        ColunasAltura(*m);
        ADD_FAILURE() << "5050 terms were accepted";
    } catch (const EngineError& e) {
        EXPECT_EQ(std::string(e.what()), expected);
    }

    // The influence lines run the engine once per position: the same text
    // reaches their caller, the load rows are put back, an earlier report of
    // that name is kept, and a single position reports failure.
    Scratch s;
    put(s / "vigaLIM.sai", "anterior");
    try {
        ComputeInfluenceReport(*m, "1", "0.5", s / "viga.vig");
        ADD_FAILURE() << "the influence lines of a model that does not fit were computed";
    } catch (const EngineError& e) {
        EXPECT_EQ(std::string(e.what()), expected);
    }
    EXPECT_EQ(m->LoadRowValue(1, 1, 1), -1);
    EXPECT_EQ(m->LoadRowValue(1, 2, 1), 0);
    EXPECT_EQ(bytesOf(s / "vigaLIM.sai"), "anterior");

    double M = 7, V = 8;
    EXPECT_FALSE(Li(*m, 1, 1, 0.5, 0.5, M, V));
    EXPECT_EQ(M, 7);
    EXPECT_EQ(V, 8);
}

}  // namespace
}  // namespace kalvoro::faults
