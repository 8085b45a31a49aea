#pragma once
// Beams for the influence-line tests, read through the data file reader and
// analysed as the Calculate command would, and a comparison of two models'
// load and solution state.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <unistd.h>

#include "data/beam_file.h"
#include "data/text_file.h"
#include "engine/analysis_model.h"
#include "engine/engine.h"

namespace kalvoro::testing {

struct LoadRow {
    std::string q, P, d;
};

// A beam of E = I = 1 with nodes at the given X texts, span r joining nodes r
// and r + 1, one support code per node and one load row per span.
inline std::string beamFile(const std::vector<std::string>& x, const std::vector<std::string>& codes,
                            const std::vector<LoadRow>& loads)
{
    const std::string nl = "\r\n";
    auto field = [](const std::string& t, std::size_t w) {
        return std::string(w > t.size() ? w - t.size() : 1, ' ') + t;
    };
    std::string f = "viga de teste" + nl;
    f += "COORDENADAS DOS NÓS = " + field(std::to_string(x.size()), 5) + nl;
    for (std::size_t i = 0; i < x.size(); ++i)
        f += field(std::to_string(i + 1), 5) + field(x[i], 10) + field("0", 10) + nl;
    f += "INCIDÊNCIAS DAS BARRAS = " + field(std::to_string(x.size() - 1), 5) + nl;
    for (std::size_t i = 1; i < x.size(); ++i)
        f += field(std::to_string(i), 10) + field(std::to_string(i), 10) + field(std::to_string(i + 1), 10) +
             field("1", 10) + field("1", 10) + nl;
    f += "PROPRIEDADES ELÁSTICAS = " + field("1", 5) + nl + field("1", 10) + field("1.00", 20) + nl;
    f += "PROPRIEDADES SEÇÕES = " + field("1", 5) + nl + field("1", 10) + field("1.00", 20) + nl;
    f += "CONDIÇÕES DE CONTORNO = " + field(std::to_string(codes.size()), 5) + nl;
    for (std::size_t i = 0; i < codes.size(); ++i)
        f += field(std::to_string(i + 1), 3) + field(codes[i], 5) + nl;
    f += "CARREGAMENTO = " + field(std::to_string(loads.size()), 5) + nl;
    for (std::size_t i = 0; i < loads.size(); ++i)
        f += field(std::to_string(i + 1), 10) + field(loads[i].q, 15) + field(loads[i].P, 15) +
             field(loads[i].d, 15) + nl;
    return f;
}

// The beam read and analysed, as a Calculate leaves it.
inline std::unique_ptr<AnalysisModel> analysedBeam(const std::string& utf8Text)
{
    auto m = std::make_unique<AnalysisModel>();
    const ReadResult r = AbrirTexto(utf8ToCp1252(utf8Text), *m, [](const std::string&) {});
    EXPECT_EQ(r.status, 0) << "the test beam does not read";
    SolveBeam(*m);
    return m;
}

// One span of length 10 on two pinned supports, q = -1.
inline std::string simpleSpan()
{
    return beamFile({"0", "10"}, {"10", "10"}, {{"-1", "0", "0"}});
}

// Two equal spans of length 4 on three pinned supports, with loads of their own.
inline std::string twoEqualSpans()
{
    return beamFile({"0", "4", "8"}, {"10", "10", "10"}, {{"-2", "0", "0"}, {"0", "-3", "1"}});
}

// Everything the loads and the solution leave in the model, compared exactly:
// the same computation on the same data gives the same bits.
inline void expectSameLoadsAndSolution(const AnalysisModel& a, const AnalysisModel& b)
{
    for (long r = 1; r <= capacity::LoadRows; ++r)
        for (long c = 1; c <= 3; ++c)
            for (long lc = 1; lc <= capacity::LoadCases; ++lc)
                ASSERT_EQ(a.LoadRowValue(r, c, lc), b.LoadRowValue(r, c, lc)) << "load row " << r;
    for (long n = 1; n <= capacity::MarkedNodes; ++n) {
        ASSERT_EQ(a.NodeLoadMark[n], b.NodeLoadMark[n]) << "node " << n;
        for (long c = 1; c <= 3; ++c) ASSERT_EQ(a.EquivalentNodalLoad(n, c), b.EquivalentNodalLoad(n, c));
    }
    ASSERT_EQ(a.NodalLoadCount[1], b.NodalLoadCount[1]);
    for (long j = 1; j <= capacity::NodalLoadEntries; ++j) {
        ASSERT_EQ(a.NodalLoadNode(j, 1), b.NodalLoadNode(j, 1));
        for (long d = 1; d <= 2; ++d) ASSERT_EQ(a.NodalLoadValue(j, d, 1), b.NodalLoadValue(j, d, 1));
    }
    for (long g = 1; g <= capacity::Equations; ++g)
        for (long lc = 1; lc <= capacity::VectorLoadCases; ++lc)
            ASSERT_EQ(a.LoadVector(g, lc), b.LoadVector(g, lc)) << "equation " << g;
    for (long s = 1; s <= capacity::Reactions; ++s)
        for (long d = 1; d <= 3; ++d) ASSERT_EQ(a.Reaction(s, d), b.Reaction(s, d)) << "support " << s;
    for (long e = 1; e <= capacity::Elements; ++e) {
        ASSERT_EQ(a.ElementStartShear[e], b.ElementStartShear[e]) << "element " << e;
        ASSERT_EQ(a.ElementStartMoment[e], b.ElementStartMoment[e]) << "element " << e;
    }
}

// A fresh folder per test, removed afterwards.
class TempFolder {
public:
    TempFolder()
    {
        const auto base = std::filesystem::temp_directory_path();
        for (int i = 0;; ++i) {
            path_ = base / ("kalvoro-influence-" + std::to_string(::getpid()) + "-" + std::to_string(i));
            if (std::filesystem::create_directory(path_)) break;
        }
    }
    ~TempFolder()
    {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    std::string operator/(const std::string& name) const { return (path_ / name).string(); }
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

// Runs with the current folder set to another one, and puts it back.
class InFolder {
public:
    explicit InFolder(const std::filesystem::path& p) : old_(std::filesystem::current_path())
    {
        std::filesystem::current_path(p);
    }
    ~InFolder() { std::filesystem::current_path(old_); }

private:
    std::filesystem::path old_;
};

}  // namespace kalvoro::testing
