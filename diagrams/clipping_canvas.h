#pragma once
// A canvas that passes on only what lies near the page: a long beam zoomed
// far in is drawn across hundreds of thousands of pixels, beyond what a
// metafile's 16-bit coordinates hold and far beyond what the page shows.
// Lines are cut at a box of one page beyond each edge, texts whose corner lies
// outside it are left out, fills are cut to it, and a pen or font is passed on
// only when something is drawn with it. What lies inside the box is passed on
// unchanged, so a page that fits it looks as without the clip (a move that no
// line follows, a pen or font that nothing uses, may be dropped).

#include <optional>
#include <string>

#include "canvas.h"

namespace kalvoro {

class ClippingCanvas : public Canvas {
public:
    // The page is width x height; the box reaches one page beyond each edge.
    ClippingCanvas(Canvas& inner, int width, int height);

    void fillRect(int left, int top, int right, int bottom, Color color) override;
    void setPen(Color color, int width) override { pen_ = Pen{color, width}; }
    void moveTo(int x, int y) override;
    void lineTo(int x, int y) override;
    void setFont(const std::string& face, int cellHeight) override { font_ = Font{face, cellHeight}; }
    void textOut(int x, int y, const std::string& text) override;

private:
    struct Pen {
        Color color;
        int width;
    };
    struct Font {
        std::string face;
        int height;
    };
    // Before anything is drawn: the pen, or the font, set since the last.
    void usePen();
    void useFont();
    bool inside(long x, long y) const { return x >= left_ && x <= right_ && y >= top_ && y <= bottom_; }

    Canvas& inner_;
    long left_, top_, right_, bottom_;
    long x_ = 0, y_ = 0;  // the current position as drawn on this canvas
    // Whether the inner canvas's position is not (x_, y_): the next line
    // that shows starts with a move.
    bool moved_ = true;
    std::optional<Pen> pen_;
    std::optional<Font> font_;
};

}  // namespace kalvoro
