// The supported road on a beam of 1000 spans (a .vigx of equal spans on
// pinned supports under a uniform load, one hinge and one spring, so that
// every piece of the road is used): the Calculate road (read, solve, report
// and both metafiles written, as (a)) and one section's influence lines
// (LIM.sai and LIM.wmf, as (c)). Targets (median, 2-core
// machine): 20 ms and 100 ms.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "bench/long_beam.h"
#include "data/extended_beam.h"
#include "data/file_names.h"
#include "data/text_file.h"
#include "diagrams/general_diagrams.h"
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
        const SupportedBeam beam = VigaApoiada(read.beam);
        const SupportedSystem system(beam);
        const BeamLoads loads = CargasDaViga(read.beam);
        const SupportedResult r = system.solve(loads);
        const std::string report = RelatorioApoiado(r);
        writeTextFile(derivedName(file, ".sai"), report);
        const BeamFrame frame = FrameOf(beam);
        const DiagramSettings settings;
        benchmark::DoNotOptimize(DesenhaMomentosApoiados(frame, loads, r.curves, settings, file));
        benchmark::DoNotOptimize(DesenhaCortantesApoiados(frame, loads, r.curves, settings, file));
    }
}
BENCHMARK(CalculateRoad1000Spans)->Unit(benchmark::kMillisecond);

void InfluenceLines1000Spans(benchmark::State& state)
{
    const ExtendedRead read = AbrirVigx(longBeamFile());
    const DiagramSettings settings;
    for (auto _ : state) {
        const SupportedBeam beam = VigaApoiada(read.beam);
        const SupportedSystem system(beam);
        const std::string report = RelatorioInfluenciaApoiada(system, "500", "2.5");
        writeTextFile(derivedName(longBeamFile(), "LIM.sai"), report);
        benchmark::DoNotOptimize(
            DesenhaLinhaInfluenciaApoiada(system, FrameOf(beam), settings, 500, 2.5, longBeamFile()));
    }
}
BENCHMARK(InfluenceLines1000Spans)->Unit(benchmark::kMillisecond);

}  // namespace
