// The files the examples give must not change by a byte when the analysis is
// mended for other beams: the report, both diagram metafiles, and the
// influence-line report of every tenth-point section of every span (where a
// unit-load position falls exactly on the section). example-outputs.txt holds
// a 64-bit FNV-1a digest of each file, recorded before those mends; with
// KALVORO_RECORD_EXAMPLE_OUTPUTS=1 the test writes the recording again.

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "batch.h"
#include "data/beam_file.h"
#include "data/file_names.h"
#include "data/text_file.h"
#include "engine/arithmetic.h"
#include "engine/engine.h"
#include "influence/influence.h"

namespace fs = std::filesystem;

namespace kalvoro {
namespace {

std::string digest(const std::string& bytes)
{
    std::uint64_t h = 0xcbf29ce484222325u;
    for (const unsigned char c : bytes) h = (h ^ c) * 0x100000001b3u;
    char hex[17];
    const auto end = std::to_chars(hex, hex + 16, h, 16).ptr;
    return std::string(16 - static_cast<std::size_t>(end - hex), '0') + std::string(hex, end);
}

// "<example> <what> <digest>" lines for one example, computed in folder.
std::vector<std::string> outputsOf(const std::string& example, const fs::path& folder)
{
    const fs::path vig = folder / (example + ".vig");
    fs::copy_file(fs::path(KALVORO_EXAMPLES) / vig.filename(), vig, fs::copy_options::overwrite_existing);
    std::ostringstream out, err;
    EXPECT_EQ(runBatch({vig.string()}, out, err), 0) << err.str();

    std::vector<std::string> lines;
    for (const char* suffix : {".sai", "M.wmf", "C.wmf"})
        lines.push_back(example + " " + suffix + " " + digest(readFileBytes(derivedName(vig, suffix))));

    auto m = std::make_unique<AnalysisModel>();
    EXPECT_EQ(Abrir(vig, *m, [](const std::string&) {}).status, 0);
    SolveBeam(*m);
    for (long n = 1; n <= m->LoadRowCount[1]; ++n) {
        const long e = m->LoadRowElement(n, 1);
        const Real length = std::fabs(static_cast<Real>(m->Coord(m->Incidence(e, 2), 1)) -
                                      static_cast<Real>(m->Coord(m->Incidence(e, 1), 1)));
        for (int i = 0; i <= 10; ++i) {
            // The same double as the unit-load position of tenth i.
            const double xs = store(length / 10 * i);
            char text[32];
            const std::string pos(text, std::to_chars(text, text + sizeof text, xs).ptr);
            ComputeInfluenceReport(*m, std::to_string(n), pos, vig);
            lines.push_back(example + " LIM-" + std::to_string(n) + "-" + std::to_string(i) + " " +
                            digest(readFileBytes(derivedName(vig, "LIM.sai"))));
        }
    }
    return lines;
}

TEST(ExampleOutputs, MatchTheRecording)
{
    const std::string recording = KALVORO_TEST_DATA "/example-outputs.txt";
    const fs::path folder = fs::temp_directory_path() / ("kalvoro-examples-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    std::vector<std::string> now;
    for (const char* example : {"dois-trechos", "tres-trechos", "vinte-e-quatro-trechos"})
        for (std::string& line : outputsOf(example, folder)) now.push_back(std::move(line));
    fs::remove_all(folder);

    if (std::getenv("KALVORO_RECORD_EXAMPLE_OUTPUTS")) {
        std::string text;
        for (const std::string& line : now) text += line + "\n";
        writeFileAtomically(recording, text);
        GTEST_SKIP() << "recorded " << recording;
    }
    std::vector<std::string> then;
    std::istringstream in(readFileBytes(recording));
    for (std::string line; std::getline(in, line);) then.push_back(line);
    ASSERT_EQ(now.size(), then.size());
    for (std::size_t i = 0; i < now.size(); ++i) EXPECT_EQ(now[i], then[i]);
}

}  // namespace
}  // namespace kalvoro
