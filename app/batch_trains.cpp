#include "batch_trains.h"

#include <ostream>

#include "batch.h"
#include "data/file_names.h"
#include "engine/errors.h"
#include "influence/train_files.h"

namespace kalvoro {

int WriteTrainEnvelope(TrainBeam& beam, const Train& t, const std::string& file, bool svg,
                       const std::function<void(const std::vector<TrainSection>&)>& draw,
                       std::vector<std::string>& written, std::ostream& err)
{
    try {
        const std::vector<TrainSection> envelope = TrainEnvelope(beam, t);
        WriteTrainEnvelopeReport(file, TrainEnvelopeReport(t, envelope));
        written.push_back(derivedName(file, "ENV.sai"));
        draw(envelope);
        written.push_back(derivedName(file, "ENV.wmf"));
        if (svg) written.push_back(derivedName(file, "ENV.svg"));
    } catch (const IoError& e) {
        err << e.what() << '\n';
        return batch_exit::FileError;
    } catch (const Error& e) {
        err << "Envoltória do trem-tipo não calculada\n" << e.what() << '\n';
        return batch_exit::EngineFailure;
    }
    return batch_exit::Ok;
}

}  // namespace kalvoro
