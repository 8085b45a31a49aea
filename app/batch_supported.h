#pragma once
// The batch program's road for a .vigx beam with springs, settlements or
// hinges, or longer than the analysis model holds: the report from the
// supported road, its moment, shear and deflection pages, the influence
// lines (report and page) from the adjoint solutions, a load train's
// envelope and its extremes at the section, the results document.

#include <iosfwd>
#include <string>

#include "data/extended_beam.h"
#include "data/train_file.h"

namespace kalvoro {

struct SupportedRun {
    std::string file;
    bool svg = false, json = false, influence = false;
    std::string span, position;
    const Train* train = nullptr;  // the envelope and, with influence, the section's extremes
};

// The exit codes of runBatch.
int runSupportedBatch(const ExtendedBeam& beam, const SupportedRun& run, std::ostream& out,
                      std::ostream& err);

}  // namespace kalvoro
