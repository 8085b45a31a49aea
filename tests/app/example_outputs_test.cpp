// The files the examples give must not change by a byte when the analysis is
// mended for other beams: the report, both diagram metafiles, and the
// influence-line report of every tenth-point section of every span (where a
// unit-load position falls exactly on the section). example-outputs.txt holds
// a 64-bit FNV-1a digest of each file, recorded before those mends; with
// KALVORO_RECORD_EXAMPLE_OUTPUTS=1 the test writes the recording again.
//
// Every influence report solves the whole beam 33 times per span, so of the
// 24-span example only the sections of its first, middle and last span are
// compared (all of them are recorded).

#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <map>
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

// "<example> <what> <digest>" lines for one example, computed in folder; the
// influence reports of the sections of every span, or of the spans listed.
std::vector<std::string> outputsOf(const std::string& example, const fs::path& folder,
                                   const std::vector<long>& spans = {})
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
        if (!spans.empty() && std::find(spans.begin(), spans.end(), n) == spans.end()) continue;
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
    const bool record = std::getenv("KALVORO_RECORD_EXAMPLE_OUTPUTS") != nullptr;
    const fs::path folder = fs::temp_directory_path() / ("kalvoro-examples-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    std::vector<std::string> now = outputsOf("dois-trechos", folder);
    for (std::string& line : outputsOf("tres-trechos", folder)) now.push_back(std::move(line));
    const std::vector<long> someSpans = record ? std::vector<long>{} : std::vector<long>{1, 12, 24};
    for (std::string& line : outputsOf("vinte-e-quatro-trechos", folder, someSpans))
        now.push_back(std::move(line));
    fs::remove_all(folder);

    if (record) {
        std::string text;
        for (const std::string& line : now) text += line + "\n";
        writeFileAtomically(recording, text);
        GTEST_SKIP() << "recorded " << recording;
    }
    // The digest recorded for each "<example> <what>".
    std::map<std::string, std::string> then;
    std::istringstream in(readFileBytes(recording));
    for (std::string line; std::getline(in, line);) then[line.substr(0, line.rfind(' '))] = line;
    // The three files of each example and eleven sections of 2 + 3 + 3 spans.
    ASSERT_EQ(now.size(), 3u * 3 + 11u * 8);
    for (const std::string& line : now) {
        const auto found = then.find(line.substr(0, line.rfind(' ')));
        ASSERT_NE(found, then.end()) << line;
        EXPECT_EQ(line, found->second);
    }
}

}  // namespace
}  // namespace kalvoro
