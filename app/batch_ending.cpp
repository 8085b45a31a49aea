#include "batch_ending.h"

#include <algorithm>
#include <ostream>

#include "batch.h"
#include "data/file_names.h"
#include "data/text_file.h"
#include "influence/influence.h"
#include "results_json.h"

namespace kalvoro {

int InfluenceFailed(const Error& e, std::ostream& err)
{
    std::string text = InfluenceFailureMessage;
    std::replace(text.begin(), text.end(), '\r', '\n');
    err << text << '\n' << e.what() << '\n';
    // A report or diagram that cannot be written is a file error like the
    // main report's; the earlier files of those names are intact.
    return dynamic_cast<const IoError*>(&e) ? batch_exit::FileError : batch_exit::InfluenceFailure;
}

int FinishRun(const std::string& dataFile, const nlohmann::ordered_json* results,
              std::vector<std::string>& written, const std::string& text, std::ostream& out,
              std::ostream& err)
{
    if (results) {
        const std::string name = derivedName(dataFile, ".json");
        try {
            writeFileAtomically(name, JsonText(*results));
        } catch (const IoError& e) {
            err << e.what() << '\n';
            return batch_exit::FileError;
        }
        written.push_back(name);
    }
    out << text;
    for (const std::string& name : written) err << "Gravado: " << name << '\n';
    out.flush();
    if (out) return batch_exit::Ok;
    err << "Não foi possível gravar na saída padrão\n";
    return batch_exit::FileError;
}

}  // namespace kalvoro
