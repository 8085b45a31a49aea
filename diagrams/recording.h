#pragma once
// A recording canvas: the page of a diagram as a list of drawing operations,
// the "metafile" that is shown, printed and saved as WMF or SVG.

#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "canvas.h"

namespace kalvoro {

namespace op {
struct FillRect {
    int left, top, right, bottom;
    Color color;
    friend bool operator==(const FillRect&, const FillRect&) = default;
};
struct Pen {
    Color color;
    int width;
    friend bool operator==(const Pen&, const Pen&) = default;
};
struct MoveTo {
    int x, y;
    friend bool operator==(const MoveTo&, const MoveTo&) = default;
};
struct LineTo {
    int x, y;
    friend bool operator==(const LineTo&, const LineTo&) = default;
};
struct Font {
    std::string face;
    int height;
    friend bool operator==(const Font&, const Font&) = default;
};
struct Text {
    int x, y;
    std::string text;  // UTF-8
    friend bool operator==(const Text&, const Text&) = default;
};
}  // namespace op

using DrawOp = std::variant<op::FillRect, op::Pen, op::MoveTo, op::LineTo, op::Font, op::Text>;

// A page of W x H pixels and what was drawn on it, in order.
struct Recording {
    int width = 0;
    int height = 0;
    std::vector<DrawOp> ops;
    friend bool operator==(const Recording&, const Recording&) = default;
};

class RecordingCanvas : public Canvas {
public:
    RecordingCanvas(int width, int height);
    void fillRect(int left, int top, int right, int bottom, Color color) override;
    void setPen(Color color, int width) override;
    void moveTo(int x, int y) override;
    void lineTo(int x, int y) override;
    void setFont(const std::string& face, int cellHeight) override;
    void textOut(int x, int y, const std::string& text) override;

    const Recording& recording() const { return rec_; }
    Recording take();

private:
    Recording rec_;
};

// Draws a recording again on another canvas.
void replay(const Recording& rec, Canvas& canvas);

}  // namespace kalvoro
