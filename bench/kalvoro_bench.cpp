// What the user waits for, measured on the largest beam a file can hold (24
// spans): the Calculate road, one engine run, the influence lines of a section,
// a redraw of both diagrams (a pan or zoom click), the deflected-shape page and
// the batch program as a whole process, with process start (/bin/true) as its
// yardstick. Targets (median, 2-core machine): 2 ms, 20 us, 5 ms and
// (c)/(b) <= 700, 5 ms, 20 ms.

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <filesystem>
#include <memory>
#include <string>

#include "data/beam_file.h"
#include "data/extended_beam.h"
#include "data/file_names.h"
#include "data/text_file.h"
#include "diagrams/deflection_diagram.h"
#include "diagrams/diagrams.h"
#include "diagrams/general_diagrams.h"
#include "engine/engine.h"
#include "engine/general_road.h"
#include "engine/report.h"
#include "influence/influence.h"

extern char** environ;

namespace fs = std::filesystem;
using namespace kalvoro;

namespace {

const kalvoro::MessageSink quiet = [](const std::string&) {};

// A private copy of the 24-span example in a temporary folder.
std::string workCopy()
{
    static const std::string path = [] {
        const fs::path dir = fs::temp_directory_path() / "kalvoro-bench";
        fs::create_directories(dir);
        const fs::path file = dir / "vinte-e-quatro-trechos.vig";
        fs::copy_file(fs::path(KALVORO_EXAMPLES) / "vinte-e-quatro-trechos.vig", file,
                      fs::copy_options::overwrite_existing);
        return file.string();
    }();
    return path;
}

void analyse(AnalysisModel& m)
{
    m.ReportFile.clear();
    ColunasAltura(m);
    MontaRigidez(m);
    MontaCargas(m);
    AplicaApoios(m);
    ResolveSistema(m);
    Resultados(m);
}

// (a) read the file, solve, write the report and both metafiles.
void CalculateRoad(benchmark::State& state)
{
    const std::string file = workCopy();
    auto m = std::make_unique<AnalysisModel>();
    const DiagramSettings settings;
    for (auto _ : state) {
        const ReadResult r = Abrir(file, *m, quiet);
        if (r.status != 0) state.SkipWithError("read failed");
        analyse(*m);
        writeTextFile(derivedName(file, ".sai"), m->ReportFile);
        benchmark::DoNotOptimize(DesenhaMomentos(*m, settings, file));
        benchmark::DoNotOptimize(DesenhaCortantes(*m, settings, file));
    }
}
BENCHMARK(CalculateRoad)->Unit(benchmark::kMicrosecond);

// The 24-span example as a .vigx whose spans carry 20 loads each, five of each
// type: uniform, concentrated, applied moment, linear over part of the span.
std::string manyLoadsCopy()
{
    static const std::string path = [] {
        auto m = std::make_unique<AnalysisModel>();
        const ReadResult r = Abrir(workCopy(), *m, quiet);
        ExtendedBeam beam = VigaDoModelo(*m, r.title);
        for (std::size_t i = 0; i < beam.spans.size(); ++i) {
            const double L = beam.nodes[i + 1].x - beam.nodes[i].x;
            auto& loads = beam.spans[i].loads;
            loads.clear();
            for (int k = 0; k < 5; ++k) {
                const double f = (k + 1) / 6.0, v = -1.0 - k;
                loads.push_back({LoadKind::Uniform, v / 5, 0, 0, 0});
                loads.push_back({LoadKind::Point, 3 * v, 0, f * L, 0});
                loads.push_back({LoadKind::Moment, -v, 0, (f + 0.05) * L, 0});
                loads.push_back({LoadKind::Linear, v, -v / 2, f * L / 2, (f + 1) * L / 2});
            }
        }
        const std::string file = (fs::path(workCopy()).parent_path() / "vinte-e-quatro-cargas.vigx").string();
        SalvarVigx(file, beam);
        return file;
    }();
    return path;
}

// (a) for that beam: the same road through the .vigx reader and the general road.
void CalculateRoadManyLoads(benchmark::State& state)
{
    const std::string file = manyLoadsCopy();
    auto m = std::make_unique<AnalysisModel>();
    const DiagramSettings settings;
    for (auto _ : state) {
        const ExtendedRead r = AbrirVigx(file);
        if (r.status != 0) state.SkipWithError("read failed");
        PreencheModelo(r.beam, *m);
        const BeamLoads loads = CargasDaViga(r.beam);
        m->ReportFile.clear();
        ResolveGeral(*m, loads);
        const auto curves = ResultadosGeral(*m, loads);
        writeTextFile(derivedName(file, ".sai"), m->ReportFile);
        benchmark::DoNotOptimize(DesenhaMomentosGeral(*m, loads, curves, settings, file));
        benchmark::DoNotOptimize(DesenhaCortantesGeral(*m, loads, curves, settings, file));
    }
}
BENCHMARK(CalculateRoadManyLoads)->Unit(benchmark::kMicrosecond);

// (b) ColunasAltura ... EsforcosExtremos.
void EngineRun(benchmark::State& state)
{
    auto m = std::make_unique<AnalysisModel>();
    Abrir(workCopy(), *m, quiet);
    for (auto _ : state) {
        SolveBeam(*m);
        benchmark::DoNotOptimize(m->ElementStartMoment[1]);
    }
}
BENCHMARK(EngineRun)->Unit(benchmark::kMicrosecond);

// (c) the influence lines of a section: report and diagram.
void InfluenceLines(benchmark::State& state)
{
    const std::string file = workCopy();
    auto m = std::make_unique<AnalysisModel>();
    Abrir(file, *m, quiet);
    analyse(*m);
    const DiagramSettings settings;
    for (auto _ : state) {
        SolvedPositions solved;
        benchmark::DoNotOptimize(ComputeInfluenceReport(*m, "12", "1.5", file, &solved));
        Recording page;
        if (!DesenhaLinhaInfluencia(*m, settings, "12", "1.5", file, quiet, page, false, &solved))
            state.SkipWithError("drawing refused the section");
    }
}
BENCHMARK(InfluenceLines)->Unit(benchmark::kMillisecond);

// (d) a full redraw of both pages, files included: what a pan or zoom click costs.
void Redraw(benchmark::State& state)
{
    const std::string file = workCopy();
    auto m = std::make_unique<AnalysisModel>();
    Abrir(file, *m, quiet);
    analyse(*m);
    DiagramSettings settings;
    for (auto _ : state) {
        settings.ZoomDesenho = settings.ZoomDesenho == 100 ? 110 : 100;
        benchmark::DoNotOptimize(DesenhaMomentos(*m, settings, file));
        benchmark::DoNotOptimize(DesenhaCortantes(*m, settings, file));
    }
}
BENCHMARK(Redraw)->Unit(benchmark::kMicrosecond);

// The deflected-shape page with its file, which the main window draws after
// the two diagrams: every span's extremes found and its curve evaluated.
void DeflectionPage(benchmark::State& state)
{
    const std::string file = workCopy();
    auto m = std::make_unique<AnalysisModel>();
    Abrir(file, *m, quiet);
    analyse(*m);
    DiagramSettings settings;
    for (auto _ : state) {
        settings.ZoomDesenho = settings.ZoomDesenho == 100 ? 110 : 100;
        benchmark::DoNotOptimize(DesenhaDeformada(*m, settings, file));
    }
}
BENCHMARK(DeflectionPage)->Unit(benchmark::kMicrosecond);

// Starts program with its one argument and waits for it, once per iteration.
void spawnEach(benchmark::State& state, std::string program, std::string arg)
{
    char* argv[] = {program.data(), arg.data(), nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    for (auto _ : state) {
        pid_t pid;
        if (posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, environ) != 0) {
            state.SkipWithError("cannot start the program");
            break;
        }
        int status = 0;
        waitpid(pid, &status, 0);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) state.SkipWithError("the program failed");
    }
    posix_spawn_file_actions_destroy(&actions);
}

// (e) the batch program as a whole process.
void BatchProcess(benchmark::State& state)
{
    spawnEach(state, KALVORO_BATCH, workCopy());
}
BENCHMARK(BatchProcess)->Unit(benchmark::kMillisecond)->UseRealTime();

// What starting any process costs here, the yardstick of (e): /bin/true.
void TrueProcess(benchmark::State& state)
{
    spawnEach(state, "/bin/true", "");
}
BENCHMARK(TrueProcess)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
