// Any bytes given to the beam data file reader end in a status 0..7: no crash,
// no hang, no leak, no undefined behaviour, and the model's counts stay within
// its capacities. A successful read must also analyse or fail cleanly.

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "data/beam_file.h"
#include "engine/engine.h"
#include "engine/errors.h"
#include "engine/report.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static auto model = std::make_unique<kalvoro::AnalysisModel>();
    *model = kalvoro::AnalysisModel{};  // each input starts from an empty model
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const kalvoro::MessageSink ignore = [](const std::string&) {};

    const kalvoro::ReadResult r = kalvoro::AbrirTexto(bytes, *model, ignore);
    if (r.status < 0 || r.status > 7) std::abort();
    if (r.status != 0) return 0;
    if (model->NodeCount > 25 || model->ElementCount > 250 || model->MaterialCount > 10 ||
        model->SectionCount > 5 || model->LoadRowCount[1] > 400 || model->SupportCount > 25)
        std::abort();
    try {
        model->ReportFile.clear();
        kalvoro::ColunasAltura(*model);
        kalvoro::MontaRigidez(*model);
        kalvoro::MontaCargas(*model);
        kalvoro::AplicaApoios(*model);
        kalvoro::ResolveSistema(*model);
        kalvoro::Resultados(*model);
    } catch (const kalvoro::Error&) {
        // a failed calculation is a valid outcome
    }
    return 0;
}
