#pragma once
// The batch program's train envelope, the same on every road: the envelope
// of the train along the beam, its report and its page beside the data file.

#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

#include "data/train_file.h"
#include "influence/train.h"
#include "influence/train_beam.h"

namespace kalvoro {

// stem + "ENV.sai", then the page that draw saves (stem + "ENV.wmf", and
// stem + "ENV.svg" with svg); the names written are added to written. A
// failure's message goes to err; returns batch_exit::Ok, FileError or
// EngineFailure.
int WriteTrainEnvelope(TrainBeam& beam, const Train& t, const std::string& file, bool svg,
                       const std::function<void(const std::vector<TrainSection>&)>& draw,
                       std::vector<std::string>& written, std::ostream& err);

}  // namespace kalvoro
