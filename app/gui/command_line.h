#pragma once
// The desktop program's command line: `kalvoro [ARQUIVO.vig]`, the two
// options every program answers (--help, --version) and two for development.
// Toolkit-free, so that --help and --version are answered before the toolkit
// starts and work without a display.

#include <iosfwd>
#include <string>
#include <vector>

namespace kalvoro {

struct CommandLine {
    bool help = false;
    bool version = false;
    bool quitAfterFirstPaint = false;
    std::string screenshots;  // the folder for --screenshots, empty without it
    std::string train;        // the load train file for --train, empty without it
    std::string file;         // the beam to open, empty without one
    std::string error;        // what is wrong with the arguments, empty when nothing
};

// The arguments after the program's name (the toolkit's own already removed).
CommandLine parseCommandLine(const std::vector<std::string>& args);

// Prints the --help text or the version line, whichever was asked.
void printCommandLineAnswer(const CommandLine& line, std::ostream& out);

// The exit code of a command line that cannot be carried out.
inline constexpr int CommandLineError = 64;

}  // namespace kalvoro
