#pragma once
// A Canvas that draws on a QPainter, so that a recorded page (a diagram) is
// shown and printed by replaying it: the diagrams are drawn by one routine only.
//
// GDI conventions kept here: a text's cell has its top-left corner at the
// point and an opaque white background; a font's requested height is the
// character cell height, so the em is smaller (Times New Roman: em = 2048/2268
// of the cell, cell 18 gives em 16); fills cover left..right-1 x top..bottom-1.

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPen>
#include <QPoint>

#include "diagrams/canvas.h"
#include "diagrams/recording.h"

namespace kalvoro {

class QtCanvas : public Canvas {
public:
    explicit QtCanvas(QPainter& painter);

    void fillRect(int left, int top, int right, int bottom, Color color) override;
    void setPen(Color color, int width) override;
    void moveTo(int x, int y) override;
    void lineTo(int x, int y) override;
    void setFont(const std::string& face, int cellHeight) override;
    void textOut(int x, int y, const std::string& text) override;

    // Pixel size of the em for a character cell height (a negative height is
    // already an em, as in GDI).
    static int emForCell(int cellHeight);

private:
    QPainter& p_;
    QPen pen_;
    QFont font_;
    QPoint pos_;
};

// The page as an image of its own size: white, then the recording replayed.
QImage renderRecording(const Recording& rec);

}  // namespace kalvoro
