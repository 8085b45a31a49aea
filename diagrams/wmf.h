#pragma once
// Placeable Windows metafiles of a recording: a 22-byte placeable header (key,
// bounding box at 96 units per inch, checksum), the metafile header, anisotropic
// mapping, and one record per drawing operation; text in Windows-1252.

#include <string>
#include <string_view>

#include "recording.h"

namespace kalvoro {

// The file's bytes.
std::string wmfBytes(const Recording& rec);
// Writes the file atomically; IoError on failure.
void writeWmf(const std::string& path, const Recording& rec);

// Rebuilds the recording from a file's bytes. Accepts every file wmfBytes
// makes and any well-formed placeable WMF that uses the same records; anything
// else (bad key or checksum, wrong sizes, truncation, unknown records) throws
// kalvoro::Error. Never reads outside the buffer.
Recording readWmf(std::string_view bytes);
// Reads the file from disk; IoError when it cannot be read.
Recording readWmfFile(const std::string& path);

}  // namespace kalvoro
