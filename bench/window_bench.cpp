// What the main window does with a beam of 1000 spans (pinned supports, a
// spring, a hinge, a uniform and a point load on every span) on each pan or
// zoom click and on each open: the moment page recorded from the solution,
// then all three pages with their metafiles written as the window does
// beside a named file, and the six tables filled from the beam. Targets
// (median, 2-core machine): the moment page well under 16 ms (a frame), the
// three pages under 50 ms, the tables under 10 ms.

#include <benchmark/benchmark.h>

#include <filesystem>

#include "bench/long_beam.h"
#include "data/beam_tables.h"
#include "data/table_model.h"

namespace fs = std::filesystem;
using namespace kalvoro;

namespace {

void PanStepMomentPage1000Spans(benchmark::State& state)
{
    DiagramSettings s;
    for (auto _ : state) {
        const Recording page = longBeamMomentPage(s);
        benchmark::DoNotOptimize(page.ops.data());
    }
}
BENCHMARK(PanStepMomentPage1000Spans)->Unit(benchmark::kMillisecond);

void PanStepThreePagesSaved1000Spans(benchmark::State& state)
{
    const fs::path dir = fs::temp_directory_path() / "kalvoro-bench";
    fs::create_directories(dir);
    DiagramSettings s;
    for (auto _ : state) {
        panStep(s);
        const std::vector<Recording> pages = longBeamPages(s, (dir / "pan.vigx").string());
        benchmark::DoNotOptimize(pages.data());
    }
}
BENCHMARK(PanStepThreePagesSaved1000Spans)->Unit(benchmark::kMillisecond);

void TablesFill1000Spans(benchmark::State& state)
{
    const BeamTexts texts = TabelasDaViga(longBeam());
    for (auto _ : state) {
        TableModel tables;
        tables.fill(texts);
        benchmark::DoNotOptimize(&tables);
    }
}
BENCHMARK(TablesFill1000Spans)->Unit(benchmark::kMillisecond);

}  // namespace
