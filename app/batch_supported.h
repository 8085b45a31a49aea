#pragma once
// The batch program's road for a .vigx beam with springs, settlements or
// hinges, or longer than the analysis model holds: the report from the
// supported road, its moment, shear and deflection pages, the
// influence-line report from the adjoint solutions, the results document.

#include <iosfwd>
#include <string>

#include "data/extended_beam.h"

namespace kalvoro {

struct SupportedRun {
    std::string file;
    bool svg = false, json = false, influence = false;
    std::string span, position;
};

// The exit codes of runBatch.
int runSupportedBatch(const ExtendedBeam& beam, const SupportedRun& run, std::ostream& out,
                      std::ostream& err);

}  // namespace kalvoro
