#pragma once
// Text files of the program: Windows-1252 on disk, UTF-8 inside. Every file is
// written atomically (a temporary file in the same folder, then a rename), so a
// failed write never leaves a half-written file behind.

#include <string>
#include <string_view>

namespace kalvoro {

// UTF-8 <-> Windows-1252. A character that Windows-1252 cannot hold is written
// as "?" (so is invalid UTF-8). The five bytes that Windows-1252 leaves
// undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) read as the C1 controls of the same
// code and are written back as those bytes, so every byte survives a round trip.
std::string utf8ToCp1252(std::string_view utf8);
std::string cp1252ToUtf8(std::string_view bytes);
// The characters of utf8 that utf8ToCp1252 writes as "?", each once, in the
// order they first appear (U+FFFD stands for malformed bytes); empty when the
// text converts without loss.
std::string lostInCp1252(std::string_view utf8);

// Writes bytes to path atomically; throws IoError on any failure, leaving an
// earlier file of that name untouched. With durable set the data reach the
// disk (fsync) before the new file replaces the old one.
void writeFileAtomically(const std::string& path, std::string_view bytes, bool durable = false);
// Converts UTF-8 text to Windows-1252 and writes it atomically.
void writeTextFile(const std::string& path, std::string_view utf8, bool durable = false);
// Reads the whole file as bytes; throws IoError when it cannot be read or is
// larger than 64 MiB.
std::string readFileBytes(const std::string& path);

}  // namespace kalvoro
