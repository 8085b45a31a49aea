#pragma once
// The extended beam file (".vigx"): UTF-8 JSON, "kalvoro-beam" version 1, for
// beams the data file cannot hold: any number of uniform, concentrated,
// moment and linear loads per span. Nodes in order of increasing x, span i
// joining nodes i and i + 1, materials and sections counted from 1.
//
// The reader checks everything before the caller sees anything: a refusal
// names its place in the file ("spans[2].loads[1].a: ...") and carries the
// status of the data file's numbered message for that part (1 general, 2
// nodes, 3 spans, 4 materials, 5 sections, 6 supports, 7 loads), so both files
// answer with the same numbers.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/analysis_model.h"
#include "engine/span_loads.h"
#include "engine/supported_road.h"

namespace kalvoro {

inline constexpr const char* ExtendedFormat = "kalvoro-beam";
inline constexpr int ExtendedVersion = 1;
// Beyond this a span's loads are refused: it keeps the work per span bounded.
inline constexpr std::size_t MaxLoadsPerSpan = 1000;
// Beyond this a beam is refused; the data file's capacities do not apply here.
inline constexpr std::size_t MaxExtendedSpans = 1000;

struct ExtendedNode {
    ExtendedNode() = default;
    ExtendedNode(double x_, std::int32_t support_, NodeSupport extra_ = {})
        : x(x_), support(support_), extra(extra_)
    {
    }
    double x = 0;
    std::int32_t support = 0;  // 0, 1, 10 or 11, as in the data file
    NodeSupport extra;         // "spring", "settlement", "hinge"
    friend bool operator==(const ExtendedNode&, const ExtendedNode&) = default;
};

struct ExtendedSpan {
    std::int32_t material = 1, section = 1;
    std::vector<SpanLoad> loads;
    friend bool operator==(const ExtendedSpan&, const ExtendedSpan&) = default;
};

struct ExtendedBeam {
    std::string title;
    std::vector<double> materials;  // E of material 1, 2, ...
    std::vector<double> sections;   // I of section 1, 2, ...
    std::vector<ExtendedNode> nodes;
    std::vector<ExtendedSpan> spans;
    friend bool operator==(const ExtendedBeam&, const ExtendedBeam&) = default;
};

struct ExtendedRead {
    int status = 0;       // 0, or the numbered message's slot (1..7)
    std::string message;  // where and why, empty on success
    ExtendedBeam beam;    // filled only when status == 0
};

// Reads the file's bytes; never throws for any content.
ExtendedRead LeVigx(std::string_view bytes);
// Reads the file; IoError when it cannot be read.
ExtendedRead AbrirVigx(const std::string& fileName);

// The file's text: a stable layout, every number written so that it reads
// back as the same double.
std::string VigxText(const ExtendedBeam& beam);
// Writes the file atomically; IoError on failure.
void SalvarVigx(const std::string& fileName, const ExtendedBeam& beam);

// Whether the data file can hold the beam: at most one uniform and one
// concentrated load per span, nothing else. Such a beam takes the specified
// road whichever file it came from.
bool CabeNoVig(const ExtendedBeam& beam);

// Whether the analysis model holds the beam: no more nodes than its support
// table (the data file's limit too). PreencheModelo refuses any other.
bool CabeNoModelo(const ExtendedBeam& beam);

// Whether the beam needs the supported road: springs, settlements, hinges,
// or more nodes than the analysis model holds.
bool PrecisaApoiosEspeciais(const ExtendedBeam& beam);
// The beam as that road takes it.
SupportedBeam VigaApoiada(const ExtendedBeam& beam);

// The loads of every span, span 1 first.
BeamLoads CargasDaViga(const ExtendedBeam& beam);

// Fills the model as the data file reader would from the same beam: for a
// beam the data file can hold, one load row per span with its q, P and d and
// their equivalent loads; otherwise empty load rows, for the general road
// (ResolveGeral) to load. Errors of the model's capacities are raised.
void PreencheModelo(const ExtendedBeam& beam, AnalysisModel& m);

// The beam that a model read from a data file holds, for saving it as .vigx.
// Refuses (ConversionError) a model the extended file cannot describe: nodes
// off the axis or out of order, spans that do not join node i to node i + 1.
ExtendedBeam VigaDoModelo(const AnalysisModel& m, const std::string& title);

}  // namespace kalvoro
