#pragma once
// The system's reasons for a failed file operation, in Portuguese: the C
// library speaks the system locale's language (English on most machines),
// while every other text of the program is Portuguese.

#include <string>

namespace kalvoro {

// A Portuguese text for the common causes of a failed file operation (not
// found, a folder, permission, read-only file system, disk full, file too
// large, not permitted and a few more); the system's own text for the rest.
std::string systemErrorText(int error);

}  // namespace kalvoro
