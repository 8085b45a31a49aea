#pragma once
// What the load trains write beside the data file (stem cut at the first "."):
//   stem + "TREM.sai"  the train at one section: a title line and four data
//                      lines (largest and smallest moment, largest and
//                      smallest shear), each with the train's effect, where
//                      the first axle stands with the direction, and the total;
//   stem + "ENV.sai"   the envelope: heading lines, then per section span,
//                      position, M permanent, M largest and smallest total,
//                      V permanent, V largest and smallest total;
//   stem + "ENV.wmf"   the moment envelope on the moment page's frame
//                      (and stem + "ENV.svg" with svg).
// Reports are UTF-8 inside, Windows-1252 with CR LF on disk.

#include <string>
#include <vector>

#include "diagrams/diagram_settings.h"
#include "diagrams/page_frame.h"
#include "diagrams/recording.h"
#include "influence/train.h"

namespace kalvoro {

std::string TrainSectionReport(const Train& t, const TrainSection& s);
std::string TrainEnvelopeReport(const Train& t, const std::vector<TrainSection>& envelope);

// Writes the report atomically as stem + "TREM.sai" / stem + "ENV.sai"
// (for an empty data file name, in the working folder as the influence
// report is); IoError on failure.
void WriteTrainSectionReport(const std::string& dataFile, const std::string& report);
void WriteTrainEnvelopeReport(const std::string& dataFile, const std::string& report);

// The envelope page (settings.momentWidth x momentHeight, with the pan and
// zoom of the main window): the permanent moment in blue, the largest total in
// red and the smallest total in magenta, each plotted as -M like the moment
// diagram, the largest magnitude a third of the page height from the axis at
// zoom 100. Saved as stem + "ENV.wmf" (and ".svg") for a non-empty name.
Recording DesenhaEnvoltoria(const AnalysisModel& m, const DiagramSettings& s, const Train& t,
                            const std::vector<TrainSection>& envelope, const std::string& dataFile,
                            bool svg = false);
// The same page over a beam frame (a beam of the supported road, any length),
// span k of the envelope being the frame's span k - 1.
Recording DesenhaEnvoltoria(const BeamFrame& frame, const DiagramSettings& s, const Train& t,
                            const std::vector<TrainSection>& envelope, const std::string& dataFile,
                            bool svg = false);

}  // namespace kalvoro
