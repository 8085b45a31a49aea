#pragma once
// The command-line batch program: the analysis of a beam data file without a
// window, for scripts and tests. It reads the file as stored and never
// rewrites it.

#include <iosfwd>
#include <string>
#include <vector>

namespace kalvoro {

// Exit codes besides the reader's status 1..7.
namespace batch_exit {
inline constexpr int Ok = 0;
inline constexpr int EngineFailure = 8;
inline constexpr int FileError = 9;
inline constexpr int InfluenceFailure = 10;
inline constexpr int TrainFileError = 11;
inline constexpr int Usage = 64;
}  // namespace batch_exit

// Runs the program with the arguments after the program name; the report goes
// to out, messages and the list of written files to err. Returns the exit code.
int runBatch(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace kalvoro
