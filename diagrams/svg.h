#pragma once
// The same page as an SVG document, for users who cannot open WMF files.

#include <string>

#include "recording.h"

namespace kalvoro {

std::string svgText(const Recording& rec);  // UTF-8
void writeSvg(const std::string& path, const Recording& rec);

}  // namespace kalvoro
