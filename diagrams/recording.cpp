#include "recording.h"

#include <type_traits>

namespace kalvoro {

namespace {

// How many operations the last page recorded on this thread held. Pages are
// drawn again and again with much the same contents (each Calculate, pan or
// zoom draws the two diagrams), so room for that many at once saves the
// vector's dozen reallocations, each of which moves every operation so far.
thread_local std::size_t lastPageOps = 0;

}  // namespace

RecordingCanvas::RecordingCanvas(int width, int height)
{
    rec_.width = width;
    rec_.height = height;
    rec_.ops.reserve(lastPageOps);
}

Recording RecordingCanvas::take()
{
    lastPageOps = rec_.ops.size();
    return std::move(rec_);
}

void RecordingCanvas::fillRect(int left, int top, int right, int bottom, Color color)
{
    rec_.ops.emplace_back(op::FillRect{left, top, right, bottom, color});
}

void RecordingCanvas::setPen(Color color, int width)
{
    rec_.ops.emplace_back(op::Pen{color, width});
}

void RecordingCanvas::moveTo(int x, int y)
{
    rec_.ops.emplace_back(op::MoveTo{x, y});
}

void RecordingCanvas::lineTo(int x, int y)
{
    rec_.ops.emplace_back(op::LineTo{x, y});
}

void RecordingCanvas::setFont(const std::string& face, int cellHeight)
{
    rec_.ops.emplace_back(op::Font{face, cellHeight});
}

void RecordingCanvas::textOut(int x, int y, const std::string& text)
{
    rec_.ops.emplace_back(op::Text{x, y, text});
}

void replay(const Recording& rec, Canvas& canvas)
{
    for (const DrawOp& d : rec.ops) {
        std::visit(
            [&canvas](const auto& o) {
                using T = std::decay_t<decltype(o)>;
                if constexpr (std::is_same_v<T, op::FillRect>)
                    canvas.fillRect(o.left, o.top, o.right, o.bottom, o.color);
                else if constexpr (std::is_same_v<T, op::Pen>)
                    canvas.setPen(o.color, o.width);
                else if constexpr (std::is_same_v<T, op::MoveTo>)
                    canvas.moveTo(o.x, o.y);
                else if constexpr (std::is_same_v<T, op::LineTo>)
                    canvas.lineTo(o.x, o.y);
                else if constexpr (std::is_same_v<T, op::Font>)
                    canvas.setFont(o.face, o.height);
                else
                    canvas.textOut(o.x, o.y, o.text);
            },
            d);
    }
}

}  // namespace kalvoro
