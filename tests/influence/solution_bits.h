#pragma once
// The exact bits of a beam's solution and of a grid of influence ordinates,
// one line each ("<what> <i> <j> <16 hex digits>"), for comparing the engine of
// one build with a recording of another. The reports show a few digits only,
// so a change in the last bit of a displacement would pass them unnoticed.

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "data/beam_file.h"
#include "engine/engine.h"
#include "influence/influence.h"

namespace kalvoro::test {

inline std::string bitsLine(const std::string& what, long i, long j, double v)
{
    char hex[17];
    const auto end = std::to_chars(hex, hex + 16, std::bit_cast<std::uint64_t>(v), 16).ptr;
    const std::string digits(hex, end);
    return what + " " + std::to_string(i) + " " + std::to_string(j) + " " +
           std::string(16 - digits.size(), '0') + digits;
}

// X extent of load row k's span, in double arithmetic.
inline double rowLength(const AnalysisModel& m, long k)
{
    const long e = m.LoadRowElement(k, 1);
    return std::fabs(m.Coord(m.Incidence(e, 2), 1) - m.Coord(m.Incidence(e, 1), 1));
}

// Reads the beam, solves it (ColunasAltura .. EsforcosExtremos) and lists the
// displacements, reactions, start forces, the last element's four end forces
// and the decomposed matrix; then the
// moment and shear of Li for the unit load on the first, middle and last row
// at its start, middle and end, seen from the same three rows at their start,
// at 1.5 and at their end; then the influence-line report of span 2 at 1.5,
// line by line, and the points of its diagram. The report is written beside
// reportFile ("LIM.sai" after its stem). An empty list when the beam cannot be
// read.
inline std::vector<std::string> solutionBits(const std::string& beamFile, const std::string& reportFile)
{
    auto m = std::make_unique<AnalysisModel>();
    if (Abrir(beamFile, *m, [](const std::string&) {}).status != 0) return {};
    SolveBeam(*m);

    std::vector<std::string> lines;
    for (long g = 1; g <= m->EquationCount; ++g)
        lines.push_back(bitsLine("displacement", g, 1, m->LoadVector(g, 1)));
    for (long s = 1; s <= m->SupportCount; ++s)
        for (long d = 1; d <= 2; ++d) lines.push_back(bitsLine("reaction", s, d, m->Reaction(s, d)));
    for (long e = 1; e <= m->ElementCount; ++e) {
        lines.push_back(bitsLine("shear", e, 0, m->ElementStartShear[e]));
        lines.push_back(bitsLine("moment", e, 0, m->ElementStartMoment[e]));
    }
    for (long i = 1; i <= 4; ++i) lines.push_back(bitsLine("last-element-force", i, 0, m->ElementForce[i]));
    for (long p = 1; p <= m->DiagPointer[m->EquationCount]; ++p)
        lines.push_back(bitsLine("factor", p, 0, m->Skyline[p]));

    const long K = m->LoadRowCount[1];
    const long rows[] = {1, (K + 1) / 2, K};
    for (const long k : rows) {
        const double Lk = rowLength(*m, k);
        for (const long n : rows) {
            const double Ln = rowLength(*m, n);
            for (const double d : {0.0, Lk / 2, Lk}) {
                for (const double x : {0.0, 1.5, Ln}) {
                    double M = 0, V = 0;
                    const bool solved = Li(*m, k, n, d, x, M, V);
                    const long at = k * 1000 + n;
                    lines.push_back(bitsLine(solved ? "li-moment" : "li-failed", at, 0, M));
                    lines.push_back(bitsLine(solved ? "li-shear" : "li-failed", at, 0, V));
                }
            }
        }
    }

    const std::string report = ComputeInfluenceReport(*m, "2", "1.5", reportFile);
    long number = 0;
    for (std::size_t at = 0; at < report.size(); ++number) {
        const std::size_t end = report.find("\r\n", at);
        lines.push_back("report " + std::to_string(number) + " " + report.substr(at, end - at));
        at = end == std::string::npos ? report.size() : end + 2;
    }
    Recording page;
    DesenhaLinhaInfluencia(*m, DiagramSettings{}, "2", "1.5", "", nullptr, page);
    for (std::size_t i = 0; i < page.ops.size(); ++i)
        if (const auto* to = std::get_if<op::LineTo>(&page.ops[i]))
            lines.push_back("diagram " + std::to_string(i) + " " + std::to_string(to->x) + " " +
                            std::to_string(to->y));
    return lines;
}

}  // namespace kalvoro::test
