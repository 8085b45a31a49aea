#pragma once
// Placeable Windows metafiles of a recording: a 22-byte placeable header (key,
// bounding box at 96 units per inch, checksum), the metafile header, anisotropic
// mapping, and one record per drawing operation; text in Windows-1252.

#include <string>
#include <string_view>

#include "recording.h"

namespace kalvoro {

// The file's bytes. Throws kalvoro::Error when the page is not 1 to 32767
// pixels each way or a coordinate, pen width, font height or text length does
// not fit the metafile's 16-bit fields. Face names are cut to 31 bytes; text and
// face names are converted to Windows-1252 ("?" for what it cannot hold).
std::string wmfBytes(const Recording& rec);
// Writes the file atomically; IoError on failure.
void writeWmf(const std::string& path, const Recording& rec);

// Rebuilds the recording from a file's bytes: readWmf(wmfBytes(r)) == r for
// every recording whose texts Windows-1252 can hold and whose face names fit
// 31 bytes. Accepts any well-formed
// placeable WMF that uses the same records (and POLYLINE, EXTTEXTOUT, PATBLT,
// SETTEXTALIGN); the page is its frame at 96 dpi, so a file of another
// resolution is scaled to it. Anything else (bad key or checksum, wrong sizes,
// truncation, unknown records, bad object indices) throws kalvoro::Error.
// Never reads outside the buffer; every recording it returns can be written.
Recording readWmf(std::string_view bytes);
// Reads the file from disk; IoError when it cannot be read.
Recording readWmfFile(const std::string& path);

}  // namespace kalvoro
