#pragma once
// The drawing interface of every page: exactly what the diagrams use. One paint
// routine draws on a Canvas; a recording of it is the page (the "metafile"),
// which is then replayed on the screen or a printer, or written as WMF or SVG.

#include <cstdint>
#include <string>

namespace kalvoro {

struct Color {
    std::uint8_t r = 0, g = 0, b = 0;
    friend bool operator==(const Color&, const Color&) = default;
};

namespace colors {
inline constexpr Color White{255, 255, 255};
inline constexpr Color Black{0, 0, 0};
inline constexpr Color Navy{0, 0, 128};
inline constexpr Color Red{255, 0, 0};
inline constexpr Color Blue{0, 0, 255};
inline constexpr Color Green{0, 128, 0};
}  // namespace colors

class Canvas {
public:
    virtual ~Canvas() = default;
    // Fills left..right-1 x top..bottom-1 with the colour, no outline.
    virtual void fillRect(int left, int top, int right, int bottom, Color color) = 0;
    // A solid pen of the colour and width (in pixels; 0 and 1 are one pixel).
    virtual void setPen(Color color, int width) = 0;
    virtual void moveTo(int x, int y) = 0;
    // A line from the current position to (x, y), which becomes the current position.
    virtual void lineTo(int x, int y) = 0;
    // A font by face name and character cell height in pixels.
    virtual void setFont(const std::string& face, int cellHeight) = 0;
    // UTF-8 text, the top-left corner of its cell at (x, y), black on an opaque white cell.
    virtual void textOut(int x, int y, const std::string& text) = 0;
};

}  // namespace kalvoro
