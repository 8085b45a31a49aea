// The screen's part of a pan or zoom click on a beam of 1000 spans: the
// moment page recorded and replayed onto the image the window shows, then
// all three pages recorded and replayed as the window's redraw does (without
// their metafiles; window_bench.cpp times those), and the tables shown.
// Targets (median, 2-core
// machine): 16 ms (a frame) and 50 ms, no visible pause.

#include <benchmark/benchmark.h>

#include <QApplication>

#include "app/gui/grid_view.h"
#include "app/gui/qt_canvas.h"
#include "bench/long_beam.h"
#include "data/beam_tables.h"

using namespace kalvoro;

namespace {

void PanStepMomentImage1000Spans(benchmark::State& state)
{
    DiagramSettings s;
    for (auto _ : state) {
        const QImage image = renderRecording(longBeamMomentPage(s));
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(PanStepMomentImage1000Spans)->Unit(benchmark::kMillisecond);

void PanStepThreeImages1000Spans(benchmark::State& state)
{
    DiagramSettings s;
    for (auto _ : state) {
        panStep(s);
        for (const Recording& page : longBeamPages(s, "")) {
            const QImage image = renderRecording(page);
            benchmark::DoNotOptimize(image.constBits());
        }
    }
}
BENCHMARK(PanStepThreeImages1000Spans)->Unit(benchmark::kMillisecond);

// The six tables of the beam shown, as an open does (every grid filled from
// the table model), and shown again unchanged, as every move between cells of
// the span table does.
void TablesShown1000Spans(benchmark::State& state)
{
    TableModel tables;
    tables.fill(TabelasDaViga(longBeam()));
    for (auto _ : state) {
        for (int id = 0; id < 6; ++id) {
            GridView grid(tables, static_cast<TableId>(id), nullptr);
            if (state.range(0)) grid.refresh();
            benchmark::DoNotOptimize(&grid);
        }
    }
}
BENCHMARK(TablesShown1000Spans)->Arg(0)->Arg(1)->ArgName("again")->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    // Fonts and images need the application object; no window is shown.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
