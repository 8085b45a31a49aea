#pragma once
// The load train file (".trem"): a moving vehicle as axle loads at fixed
// spacings plus a uniform load that may be placed wherever it does harm.
// Windows-1252, CR LF written, LF also read:
//
//   TB-450 simplificado                 free title
//   CARGA DISTRIBUIDA =          5      q >= 0, downward, load per length
//   EIXOS =     3                       axle count, 1 to 20
//            150          0             one line per axle: P > 0 (downward)
//            150        1.5             and its distance a from the first
//            150          3             axle (first 0, then non-decreasing)
//
// Values are in the units of the beam file. The reader checks every line and
// reports the first fault as a numbered status with a message naming the line.

#include <array>
#include <string>
#include <vector>

namespace kalvoro {

struct Axle {
    double P = 0;  // load, downward, > 0
    double a = 0;  // distance from the first axle
};

struct Train {
    std::string title;
    double q = 0;  // uniform load, downward, >= 0
    std::vector<Axle> axles;
};

inline constexpr int MaxAxles = 20;

// The reader's statuses: 0 for a good file, 1..8 for the first fault found.
namespace train_status {
inline constexpr int Ok = 0;
inline constexpr int NoTitle = 1;
inline constexpr int BadUniformLoad = 2;
inline constexpr int BadAxleCount = 3;
inline constexpr int BadAxleLine = 4;
inline constexpr int FirstAxleNotAtZero = 5;
inline constexpr int AxlesOutOfOrder = 6;
inline constexpr int MissingAxles = 7;
inline constexpr int TextAfterAxles = 8;
}  // namespace train_status

// The reader's messages by status (slot 0 is empty).
const std::array<std::string, 9>& TrainMessages();

struct TrainRead {
    int status = train_status::Ok;
    int line = 0;         // 1-based line of the fault (0 on success)
    std::string message;  // "Trem-tipo, linha N: ..." (empty on success)
    Train train;          // complete only on success
};

// Reads a train from the file's bytes (Windows-1252) or from a file; a file
// that cannot be read throws IoError.
TrainRead LeTremTexto(const std::string& bytes);
TrainRead LeTrem(const std::string& fileName);

// The file's contents as UTF-8 with CR LF line ends; numbers in the general
// format with 12 significant digits, never touching the text before them.
std::string TremFileText(const Train& t);
// Writes the file atomically; IoError on failure.
void SalvarTrem(const std::string& fileName, const Train& t);

}  // namespace kalvoro
