#include "clipping_canvas.h"

#include <algorithm>
#include <cmath>

namespace kalvoro {

ClippingCanvas::ClippingCanvas(Canvas& inner, int width, int height)
    : inner_(inner), left_(-long(width)), top_(-long(height)), right_(2L * width), bottom_(2L * height)
{
}

void ClippingCanvas::usePen()
{
    if (pen_) inner_.setPen(pen_->color, pen_->width);
    pen_.reset();
}

void ClippingCanvas::useFont()
{
    if (font_) inner_.setFont(font_->face, font_->height);
    font_.reset();
}

void ClippingCanvas::fillRect(int left, int top, int right, int bottom, Color color)
{
    const long l = std::max<long>(left, left_), t = std::max<long>(top, top_);
    const long r = std::min<long>(right, right_), b = std::min<long>(bottom, bottom_);
    if (l < r && t < b) inner_.fillRect(int(l), int(t), int(r), int(b), color);
}

void ClippingCanvas::moveTo(int x, int y)
{
    x_ = x, y_ = y;
    moved_ = true;
}

// The segment from (x_, y_) to (x, y) cut to the box (Liang and Barsky): the
// part inside, if any, from parameter t0 to t1 along it.
void ClippingCanvas::lineTo(int x, int y)
{
    const long x0 = x_, y0 = y_;
    x_ = x, y_ = y;
    if (inside(x0, y0) && inside(x, y)) {
        usePen();
        if (moved_) inner_.moveTo(int(x0), int(y0));
        inner_.lineTo(x, y);
        moved_ = false;
        return;
    }
    const double dx = double(x) - x0, dy = double(y) - y0;
    double t0 = 0, t1 = 1;
    const auto edge = [&](double p, double q) {
        if (p == 0) return q >= 0;
        const double r = q / p;
        if (p < 0)
            t0 = std::max(t0, r);
        else
            t1 = std::min(t1, r);
        return t0 <= t1;
    };
    if (!(edge(-dx, double(x0) - left_) && edge(dx, double(right_) - x0) && edge(-dy, double(y0) - top_) &&
          edge(dy, double(bottom_) - y0))) {
        moved_ = true;
        return;
    }
    const auto at = [&](double t, long a, double d) { return int(std::lround(double(a) + t * d)); };
    usePen();
    if (moved_ || t0 > 0) inner_.moveTo(at(t0, x0, dx), at(t0, y0, dy));
    inner_.lineTo(at(t1, x0, dx), at(t1, y0, dy));
    moved_ = t1 < 1;
}

void ClippingCanvas::textOut(int x, int y, const std::string& text)
{
    if (!inside(x, y)) return;
    useFont();
    inner_.textOut(x, y, text);
}

}  // namespace kalvoro
