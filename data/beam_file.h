#pragma once
// The beam data file: a title line and six keyword sections with a count and
// fixed-width records, Windows-1252, CR LF. Salvar writes it from the table
// texts; Abrir reads it back into the analysis model through the checking
// reader, computing the equivalent nodal loads, and reports a status 0..7.

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "engine/analysis_model.h"

namespace kalvoro {

// One table's texts: its count field and its data rows, each row holding every
// cell from the numbering column on (row[0] is the numbering cell).
struct TableTexts {
    std::string count;
    std::vector<std::vector<std::string>> rows;
};

// The texts of the six tables, as the writer takes them and the read fills them.
struct BeamTexts {
    TableTexts spans;      // "Trecho", comprimento, seção, Material
    TableTexts nodes;      // "Nó", X, Y
    TableTexts loads;      // "Trecho", q, P, d
    TableTexts supports;   // "Nó", "Restrições"
    TableTexts materials;  // "N.", E
    TableTexts sections;   // "N.", I
};

// Where the reader's keyword messages go ("Erro nas incidências das barras "
// followed by the header line, ...): a message box in the windows, standard
// error in the batch program. An empty sink drops them.
using MessageSink = std::function<void(const std::string&)>;

// The reader's numbered messages, slots 0..10 (8 to 10 stay empty).
const std::array<std::string, 11>& ReaderMessages();

// Header texts of the six sections, exactly as written.
namespace header {
inline constexpr const char* Coordinates = "COORDENADAS DOS NÓS = ";
inline constexpr const char* Incidences = "INCIDÊNCIAS DAS BARRAS = ";
inline constexpr const char* Materials = "PROPRIEDADES ELÁSTICAS = ";
inline constexpr const char* Sections = "PROPRIEDADES SEÇÕES = ";
inline constexpr const char* Supports = "CONDIÇÕES DE CONTORNO = ";
inline constexpr const char* Loads = "CARREGAMENTO = ";
}  // namespace header

// The file's contents as UTF-8 text with CR LF line ends. A text as long as or
// longer than its field is written after one blank, so fields never touch; a
// line feed in the title is written as a blank, so the title stays one line.
std::string BeamFileText(const std::string& title, const BeamTexts& tables);

// The first count of the beam that the data file cannot hold, as a message for
// the user ("A viga tem 25 trechos; o arquivo de dados admite no máximo 24."),
// or nothing when the file holds the whole beam. A file written beyond these
// counts would not read back, and the user's beam could no longer be opened.
std::optional<std::string> BeamFileLimit(const BeamTexts& tables);

// Writes the file atomically (nothing at all for an empty name); a beam that
// BeamFileLimit refuses throws CapacityError before anything is written, a
// protected file or folder NotWritableError, any other failure IoError.
// The coordinate rule is the caller's (the table model runs it before writing).
void Salvar(const std::string& fileName, const std::string& title, const BeamTexts& tables);

// What a read gives back besides the model.
struct ReadResult {
    int status = 0;          // 0 on success, else the step (1..7) that failed
    bool titleRead = false;  // step 1 ran: `title` holds the file's first line
    std::string title;
    BeamTexts tables;  // filled only when status == 0
};

// Reads fileName into the model, steps LeTitulo .. LeCarregamento, then fills
// the table texts from the model. Throws IoError when the file cannot be
// opened (no step has run); every other failure becomes the status. Number
// tokens longer than 32 characters (integers) or 64 (reals) are not numbers.
ReadResult Abrir(const std::string& fileName, AnalysisModel& model, const MessageSink& messages);
// The same on bytes already in memory (the file's contents).
ReadResult AbrirTexto(const std::string& bytes, AnalysisModel& model, const MessageSink& messages);

// The table texts of the beam the model holds, as a successful read fills them.
BeamTexts TabelasDoModelo(const AnalysisModel& model);

}  // namespace kalvoro
