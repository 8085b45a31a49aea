#pragma once
// Influence lines of one section (span n, abscissa xs from its left node) for a
// downward unit load moved over the beam: shear just left and just right of
// the section and the bending moment at it. Every position is solved from its
// own load vector through the one factor of the matrix a command makes (see
// unit_load_solver.h), the same bits as a complete solution of the beam; the
// user's load rows are put back afterwards and the beam is solved again for
// them, so the model ends as a Calculate left it.
//
// Load row i is taken as the row of span i: the row number is both the row
// that carries the unit load and the span number printed in the report, and
// the section is looked up as load row n (span length, own load) and as
// element n (start shear and moment). Lengths for positions and sections are
// the X extent of the row's element.

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "data/beam_file.h"
#include "diagrams/diagram_settings.h"
#include "diagrams/recording.h"
#include "engine/analysis_model.h"

namespace kalvoro {

// Equivalent nodal loads and the loaded-node list from the load rows as they stand.
void NovaCarga(AnalysisModel& m);

// NovaCarga and a whole solution (ColunasAltura .. EsforcosExtremos) for the
// load rows as they stand: after the unit-load solutions, this puts the user's
// solution back.
void RestoreUserSolution(AnalysisModel& m);

// One unit-load position: the unit load (P = -1) on load row k at distance d,
// forces at abscissa x of row n's span. On any failure returns false and leaves
// M and V as they were. The load-case-1 values of the load rows are restored in
// every case; the model's solution is that of the unit load.
bool Li(AnalysisModel& m, long k, long n, double d, double x, double& M, double& V);

// The moments at one section already computed by an influence-line command,
// by unit-load position (load row k, distance d, bit for bit): the report
// leaves them here and the diagram's points at the same positions take them
// instead of solving the beam again. Good for one section of one model that
// nothing changes in between; each report starts it afresh.
class SolvedPositions {
public:
    void start(long n, double xs);
    // Whether it holds the positions of section (n, xs).
    bool holds(long n, double xs) const;
    // The moment at the section, or nullopt when it could not be evaluated.
    void remember(long k, double d, std::optional<double> moment);
    // What remember left for (k, d); null when nothing.
    const std::optional<double>* find(long k, double d) const;

private:
    long n_ = 0;
    std::uint64_t xs_ = 0;
    std::map<std::pair<long, std::uint64_t>, std::optional<double>> moments_;
};

// The message shown for every failure of the computation.
inline constexpr const char* InfluenceFailureMessage =
    "Linha de Influência não calculada.\rVerifique seu dados e tente novamente.";

// One line of the influence-line report: the unit load on span k at distance
// d from its left node, and the section's shear left and right of it and its
// moment, as the report prints them (with every digit).
struct InfluenceOrdinate {
    long span;
    double d, shearLeft, shearRight, moment;
};

// The compute command's computation: reads the two field texts, writes
// stem + "LIM.sai" atomically and returns the report (UTF-8, CR LF), which is
// also left in m.ReportFile. Throws kalvoro::Error on failure: a text that is
// not a number (ConversionError), a section span n outside 1..LoadRowCount[1]
// (IndexError, before anything is computed or written), a position that cannot
// be solved, a report that cannot be written (IoError). The load rows are
// restored and the user's beam solved again whether it succeeds or fails.
// With solved, the moments at the section of every position are left there
// for the diagram of the same command; with ordinates given, the report's
// lines are also appended there.
std::string ComputeInfluenceReport(AnalysisModel& m, const std::string& trechoText,
                                   const std::string& posText, const std::string& dataFile,
                                   SolvedPositions* solved = nullptr,
                                   std::vector<InfluenceOrdinate>* ordinates = nullptr);

// The moment influence line on the influence page (settings.influenceWidth x
// influenceHeight). Unreadable texts ("Trecho inválido e/ou seção inválida") and
// n < 0 or n > LoadRowCount[1] ("Trecho inválido") go to the sink and return
// false with page unchanged. Other failures throw (n = 0, a zero reference
// ordinate, a file that cannot be written); page is set as soon as the drawing
// is complete, so a failure in saving comes after it. When dataFile is not
// empty the page is saved as stem + "LIM.wmf" (and stem + "LIM.svg" with svg).
// The user's solution is restored afterwards in every case. With solved (as
// the report of the same command left it), the points it holds are not
// solved again.
bool DesenhaLinhaInfluencia(AnalysisModel& m, const DiagramSettings& s, const std::string& trechoText,
                            const std::string& posText, const std::string& dataFile,
                            const MessageSink& messages, Recording& page, bool svg = false,
                            const SolvedPositions* solved = nullptr);

}  // namespace kalvoro
