// The supported road's influence report against the specified road's on beams
// both can solve: the same lines, the same conventions at the section (a unit
// load exactly at the section counts in the right-hand shear only; one just
// right of it, within the hundredth of the span where the right-hand shear is
// taken, counts there too), the same numbers to the last printed digit but
// for rounding.

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "data/extended_beam.h"
#include "influence/influence.h"
#include "influence/supported_influence.h"
#include "test_beams.h"

namespace kalvoro {
namespace {

using testing::analysedBeam;
using testing::beamFile;

std::vector<std::vector<double>> numbers(const std::string& report)
{
    std::vector<std::vector<double>> rows;
    std::istringstream in(report);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::vector<double> row;
        for (double v; fields >> v;) row.push_back(v);
        if (row.size() == 5) rows.push_back(row);
    }
    return rows;
}

TEST(SupportedInfluence, AgreesWithTheDataFileRoad)
{
    struct Case {
        std::string file, trecho, pos;
    };
    const std::string simple = beamFile({"0", "10"}, {"10", "10"}, {{"-1", "0", "0"}});
    const std::string three =
        beamFile({"0", "4", "10", "13"}, {"11", "10", "10", "00"}, {{"-2", "0", "0"}, {"0", "-3", "1"}, {"0", "0", "0"}});
    const Case cases[] = {
        {simple, "1", "5"},      // on a tenth point: a unit load stands on the section
        {simple, "1", "4.95"},   // a tenth point within the hundredth to its right
        {simple, "1", "9.95"},
        {simple, "1", "0"},
        {three, "2", "3"},
        {three, "2", "2.97"},
        {three, "3", "1.5"},
        {three, "1", "0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.trecho + " " + c.pos);
        auto m = analysedBeam(c.file);
        const auto want = numbers(ComputeInfluenceReport(*m, c.trecho, c.pos, ""));
        const ExtendedBeam beam = VigaDoModelo(*m, "t");
        const auto got = numbers(RelatorioInfluenciaApoiada(SupportedSystem(VigaApoiada(beam)), c.trecho, c.pos));
        ASSERT_EQ(got.size(), want.size());
        for (std::size_t r = 0; r < got.size(); ++r)
            for (std::size_t k = 0; k < 5; ++k) EXPECT_NEAR(got[r][k], want[r][k], 2e-6) << "line " << r << " column " << k;
    }
}

}  // namespace
}  // namespace kalvoro
