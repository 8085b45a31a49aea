// Skyline sizing: column heights, diagonal pointers and the 5000-term limit.

#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

#include "engine/engine.h"
#include "engine/errors.h"

namespace kalvoro {
namespace {

using Elements = std::vector<std::pair<int, int>>;

// Only what the sizing reads: counts and incidences, two freedoms per node.
std::unique_ptr<AnalysisModel> frame(int nodes, const Elements& elements)
{
    auto m = std::make_unique<AnalysisModel>();
    m->DofPerNode = 2;
    m->NodesPerElement = 2;
    m->NodeCount = nodes;
    m->EquationCount = 2 * nodes;
    m->ElementCount = static_cast<int>(elements.size());
    for (int e = 1; e <= m->ElementCount; ++e) {
        m->Incidence(e, 1) = elements[e - 1].first;
        m->Incidence(e, 2) = elements[e - 1].second;
    }
    return m;
}

// Nodes 1..n joined in order, plus the extra elements.
Elements chain(int nodes, const Elements& extra = {})
{
    Elements all;
    for (int n = 1; n < nodes; ++n) all.emplace_back(n, n + 1);
    all.insert(all.end(), extra.begin(), extra.end());
    return all;
}

struct PointerCase {
    const char* name;
    int nodes;
    Elements elements;
    std::vector<int> pointers;
};

TEST(ColunasAltura, DiagonalPointers)
{
    const PointerCase cases[] = {
        {"one span", 2, {{1, 2}}, {1, 3, 6, 10}},
        {"two spans", 3, {{1, 2}, {2, 3}}, {1, 3, 6, 10, 13, 17}},
        // Heights come from the lower node whichever end it is.
        {"two spans, both reversed", 3, {{2, 1}, {3, 2}}, {1, 3, 6, 10, 13, 17}},
        // A node on no element takes no storage.
        {"node on no element", 3, {{1, 2}}, {1, 3, 6, 10, 10, 10}},
        // Node 3's columns reach up to equation 1.
        {"element skipping a node", 3, {{3, 1}}, {1, 3, 3, 3, 8, 14}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto m = frame(c.nodes, c.elements);
        m->DiagPointer[1] = 99;  // stale values of an earlier run are cleared
        ColunasAltura(*m);
        for (int j = 1; j <= m->EquationCount; ++j)
            EXPECT_EQ(m->DiagPointer[j], c.pointers[j - 1]) << "j=" << j;
    }
}

TEST(ColunasAltura, TwentyFiveNodesInOrderNeed171Terms)
{
    auto m = frame(25, chain(25));
    ColunasAltura(*m);
    EXPECT_EQ(m->DiagPointer[50], 171);  // 7 * 25 - 4
    // Heights 1, 2 for node 1, then 3, 4 for every later node.
    for (int j = 3; j <= 50; ++j) EXPECT_EQ(m->DiagPointer[j] - m->DiagPointer[j - 1], j % 2 == 1 ? 3 : 4);
}

// A chain of N nodes needs 7N - 4 terms; an extra element from node 1 to node
// k raises node k's two columns from heights 3 and 4 to 2k - 1 and 2k, that is
// 4(k - 2) more terms.
TEST(ColunasAltura, StorageLimit)
{
    // 7 * 200 - 4 + 4 * (198 + 197 + 196 + 195 + 115) = 5000
    auto fits = frame(200, chain(200, {{1, 200}, {1, 199}, {1, 198}, {1, 197}, {1, 117}}));
    ASSERT_NO_THROW(ColunasAltura(*fits));
    EXPECT_EQ(fits->DiagPointer[400], 5000);

    // 7 * 199 - 4 + 4 * (197 + 196 + 195 + 194 + 121) = 5001
    auto tooBig = frame(199, chain(199, {{1, 199}, {1, 198}, {1, 197}, {1, 196}, {1, 123}}));
    try {
        ColunasAltura(*tooBig);
        FAIL() << "5001 terms accepted";
    } catch (const EngineError& e) {
        EXPECT_STREQ(e.what(), "memoria insuficiente   5001  5000");
    }
}

TEST(ColunasAltura, CountsOutsideTheArraysAreIndexErrors)
{
    auto none = frame(0, {});
    EXPECT_THROW(ColunasAltura(*none), IndexError);  // there is no DiagPointer[0]

    auto tooMany = frame(201, chain(3));  // 402 equations
    EXPECT_THROW(ColunasAltura(*tooMany), IndexError);
}

}  // namespace
}  // namespace kalvoro
