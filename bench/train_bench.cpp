// Moving load trains on the 24-span example with the example train: the
// envelope along the whole beam (264 sections) and one section's extremes.
// Registered into kalvoro_bench, whose main runs them.

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "data/beam_file.h"
#include "data/train_file.h"
#include "engine/engine.h"
#include "influence/train.h"

namespace kalvoro {
namespace {

struct Example {
    std::unique_ptr<AnalysisModel> model = std::make_unique<AnalysisModel>();
    Train train;

    Example()
    {
        const std::string examples = KALVORO_EXAMPLES;
        Abrir(examples + "/vinte-e-quatro-trechos.vig", *model, {});
        SolveBeam(*model);
        train = LeTrem(examples + "/tb450-simplificado.trem").train;
    }
};

void TrainEnvelopeOf24Spans(benchmark::State& state)
{
    Example e;
    for (auto _ : state) benchmark::DoNotOptimize(TrainEnvelope(*e.model, e.train));
}
BENCHMARK(TrainEnvelopeOf24Spans)->Unit(benchmark::kMillisecond);

void TrainAtOneSection(benchmark::State& state)
{
    Example e;
    for (auto _ : state) benchmark::DoNotOptimize(TrainAtSection(*e.model, e.train, 12, 1.5));
}
BENCHMARK(TrainAtOneSection)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kalvoro
