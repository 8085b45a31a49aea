#pragma once
// Influence lines of one section (span n, abscissa xs from its left node) for a
// downward unit load moved over the beam: shear just left and just right of
// the section and the bending moment at it. Every position is a complete
// solution of the beam; the user's load rows are put back afterwards and the
// beam is solved again for them, so the model ends as a Calculate left it.

#include <string>

#include "data/beam_file.h"
#include "diagrams/diagram_settings.h"
#include "diagrams/recording.h"
#include "engine/analysis_model.h"

namespace kalvoro {

// Equivalent nodal loads and the loaded-node list from the load rows as they stand.
void NovaCarga(AnalysisModel& m);

// One unit-load position: the unit load on load row k at distance d, forces at
// abscissa x of row n's span. On any failure returns false and leaves M and V as
// they were. The load rows are restored in every case.
bool Li(AnalysisModel& m, long k, long n, double d, double x, double& M, double& V);

// The message shown for every failure of the computation.
inline constexpr const char* InfluenceFailureMessage =
    "Linha de Influência não calculada.\rVerifique seu dados e tente novamente.";

// The compute command's computation: reads the two field texts, writes
// stem + "LIM.sai" and returns the report (UTF-8, CR LF). Throws kalvoro::Error
// on failure. The load rows are restored and the user's beam solved again
// whether it succeeds or fails.
std::string ComputeInfluenceReport(AnalysisModel& m, const std::string& trechoText, const std::string& posText,
                                   const std::string& dataFile);

// The moment influence line on the influence page; saved as stem + "LIM.wmf"
// (and an SVG with svg set) when dataFile is not empty. Unreadable texts and a
// span number out of range go to the sink and give no page (returns false);
// other failures throw.
bool DesenhaLinhaInfluencia(AnalysisModel& m, const DiagramSettings& s, const std::string& trechoText,
                            const std::string& posText, const std::string& dataFile, const MessageSink& messages,
                            Recording& page, bool svg = false);

}  // namespace kalvoro
