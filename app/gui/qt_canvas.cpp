#include "app/gui/qt_canvas.h"

#include <QColor>
#include <QFontMetrics>
#include <QString>
#include <cmath>
#include <cstdlib>

namespace kalvoro {

namespace {

QColor toQColor(Color c)
{
    return QColor(c.r, c.g, c.b);
}

// Design units of Times New Roman: em 2048, ascent 1825 + descent 443 = cell.
constexpr double EmPerCell = 2048.0 / 2268.0;

}  // namespace

QtCanvas::QtCanvas(QPainter& painter) : p_(painter), pen_(Qt::black), font_(QStringLiteral("Times New Roman"))
{
    pen_.setCapStyle(Qt::SquareCap);
    pen_.setJoinStyle(Qt::MiterJoin);
    p_.setPen(pen_);
    p_.setRenderHint(QPainter::Antialiasing, false);
    p_.setRenderHint(QPainter::TextAntialiasing, true);
}

int QtCanvas::emForCell(int cellHeight)
{
    if (cellHeight < 0) return -cellHeight;
    const int em = static_cast<int>(std::lround(cellHeight * EmPerCell));
    return em < 1 ? 1 : em;
}

void QtCanvas::fillRect(int left, int top, int right, int bottom, Color color)
{
    if (right <= left || bottom <= top) return;
    p_.fillRect(QRect(left, top, right - left, bottom - top), toQColor(color));
}

void QtCanvas::setPen(Color color, int width)
{
    // Width 0 is Qt's cosmetic one-pixel pen, like GDI's.
    pen_ = QPen(QBrush(toQColor(color)), width, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin);
    p_.setPen(pen_);
}

void QtCanvas::moveTo(int x, int y)
{
    pos_ = QPoint(x, y);
}

void QtCanvas::lineTo(int x, int y)
{
    const QPoint to(x, y);
    p_.drawLine(pos_, to);
    pos_ = to;
}

void QtCanvas::setFont(const std::string& face, int cellHeight)
{
    font_ = QFont(QString::fromStdString(face));
    font_.setStyleHint(QFont::Serif);
    font_.setPixelSize(emForCell(cellHeight));
}

void QtCanvas::textOut(int x, int y, const std::string& text)
{
    const QString s = QString::fromStdString(text);
    const QFontMetrics fm(font_);
    p_.fillRect(QRect(x, y, fm.horizontalAdvance(s), fm.height()), Qt::white);
    p_.setFont(font_);
    p_.setPen(QPen(Qt::black));
    p_.drawText(QPoint(x, y + fm.ascent()), s);
    p_.setPen(pen_);
}

QImage renderRecording(const Recording& rec)
{
    QImage image(rec.width > 0 ? rec.width : 1, rec.height > 0 ? rec.height : 1, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    QtCanvas canvas(painter);
    replay(rec, canvas);
    painter.end();
    return image;
}

}  // namespace kalvoro
