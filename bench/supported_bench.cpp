// The supported road on a beam of 1000 spans (a .vigx of equal spans on
// pinned supports under a uniform load, one hinge and one spring, so that
// every piece of the road is used): the Calculate road (read, solve, report
// written) and one section's influence lines. Targets (median, 2-core
// machine): 20 ms and 100 ms.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "bench/long_beam.h"
#include "data/extended_beam.h"
#include "data/file_names.h"
#include "data/text_file.h"
#include "engine/supported_road.h"
#include "influence/supported_influence.h"

namespace fs = std::filesystem;
using namespace kalvoro;

namespace {

std::string longBeamFile()
{
    static const std::string path = [] {
        const fs::path dir = fs::temp_directory_path() / "kalvoro-bench";
        fs::create_directories(dir);
        const std::string file = (dir / "mil-trechos.vigx").string();
        SalvarVigx(file, longBeam());
        return file;
    }();
    return path;
}

void CalculateRoad1000Spans(benchmark::State& state)
{
    const std::string file = longBeamFile();
    for (auto _ : state) {
        const ExtendedRead read = AbrirVigx(file);
        const SupportedSystem system(VigaApoiada(read.beam));
        const std::string report = RelatorioApoiado(system.solve(CargasDaViga(read.beam)));
        writeTextFile(derivedName(file, ".sai"), report);
        benchmark::DoNotOptimize(report.data());
    }
}
BENCHMARK(CalculateRoad1000Spans)->Unit(benchmark::kMillisecond);

void InfluenceLines1000Spans(benchmark::State& state)
{
    const ExtendedRead read = AbrirVigx(longBeamFile());
    for (auto _ : state) {
        const SupportedSystem system(VigaApoiada(read.beam));
        const std::string report = RelatorioInfluenciaApoiada(system, "500", "2.5");
        writeTextFile(derivedName(longBeamFile(), "LIM.sai"), report);
        benchmark::DoNotOptimize(report.data());
    }
}
BENCHMARK(InfluenceLines1000Spans)->Unit(benchmark::kMillisecond);

}  // namespace
