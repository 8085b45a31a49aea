#include "app/gui/icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygonF>

namespace kalvoro {

namespace {

const QColor Outline(60, 60, 60);
const QColor Steel(70, 110, 170);

void page(QPainter& p)
{
    QPolygonF sheet({{3.5, 1.5}, {10.5, 1.5}, {13.5, 4.5}, {13.5, 14.5}, {3.5, 14.5}});
    p.setPen(QPen(Outline, 1));
    p.setBrush(Qt::white);
    p.drawPolygon(sheet);
    p.drawPolyline(QPolygonF({{10.5, 1.5}, {10.5, 4.5}, {13.5, 4.5}}));
}

void folder(QPainter& p)
{
    p.setPen(QPen(QColor(150, 110, 20), 1));
    p.setBrush(QColor(240, 200, 80));
    p.drawPolygon(QPolygonF({{1.5, 3.5}, {6.5, 3.5}, {7.5, 5.5}, {14.5, 5.5}, {14.5, 13.5}, {1.5, 13.5}}));
    p.setBrush(QColor(250, 220, 120));
    p.drawPolygon(QPolygonF({{1.5, 13.5}, {3.5, 7.5}, {15.5, 7.5}, {14.5, 13.5}}));
}

void disk(QPainter& p)
{
    p.setPen(QPen(QColor(30, 50, 100), 1));
    p.setBrush(QColor(60, 90, 170));
    p.drawRect(QRectF(1.5, 1.5, 13, 13));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(4.5, 1.5, 7, 5));
    p.setBrush(QColor(200, 200, 200));
    p.drawRect(QRectF(4.5, 9.5, 7, 5));
}

void printer(QPainter& p)
{
    p.setPen(QPen(Outline, 1));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(4.5, 1.5, 7, 5));
    p.setBrush(QColor(190, 190, 190));
    p.drawRect(QRectF(1.5, 6.5, 13, 6));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(4.5, 10.5, 7, 4));
    p.setPen(QPen(QColor(0, 160, 0), 1));
    p.drawPoint(QPointF(12.5, 8.5));
}

void sliders(QPainter& p)
{
    p.setPen(QPen(Outline, 1));
    for (int i = 0; i < 3; ++i) p.drawLine(QPointF(2, 3.5 + 4.5 * i), QPointF(14, 3.5 + 4.5 * i));
    p.setBrush(Steel);
    p.drawRect(QRectF(9.5, 1.5, 3, 4));
    p.drawRect(QRectF(3.5, 6, 3, 4));
    p.drawRect(QRectF(7.5, 10.5, 3, 4));
}

void calculator(QPainter& p)
{
    p.setPen(QPen(Outline, 1));
    p.setBrush(QColor(220, 220, 220));
    p.drawRoundedRect(QRectF(2.5, 0.5, 11, 15), 1.5, 1.5);
    p.setBrush(QColor(190, 230, 190));
    p.drawRect(QRectF(4.5, 2.5, 7, 3));
    p.setPen(Qt::NoPen);
    p.setBrush(Outline);
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) p.drawRect(QRectF(4.5 + 2.5 * c, 7.5 + 2.5 * r, 1.6, 1.6));
}

// A span on two supports, and the curve drawn over it.
void beamWithCurve(QPainter& p, bool influence)
{
    p.setPen(QPen(Outline, 1.5));
    p.drawLine(QPointF(1, 10.5), QPointF(15, 10.5));
    p.setPen(QPen(Outline, 1));
    p.setBrush(Qt::white);
    p.drawPolygon(QPolygonF({{2.5, 11}, {0.5, 14.5}, {4.5, 14.5}}));
    p.drawPolygon(QPolygonF({{13.5, 11}, {11.5, 14.5}, {15.5, 14.5}}));
    p.setBrush(Qt::NoBrush);
    if (influence) {
        p.setPen(QPen(QColor(0, 0, 200), 1.5));
        p.drawPolyline(QPolygonF({{2.5, 10.5}, {9.5, 2.5}, {13.5, 10.5}}));
    } else {
        QPainterPath curve;
        curve.moveTo(2.5, 10.5);
        curve.quadTo(8, -2.5, 13.5, 10.5);
        p.setPen(QPen(QColor(200, 0, 0), 1.5));
        p.drawPath(curve);
    }
}

void arrow(QPainter& p, bool left)
{
    p.setPen(Qt::NoPen);
    p.setBrush(Steel);
    QPolygonF a({{2, 8}, {8, 2}, {8, 5.5}, {14, 5.5}, {14, 10.5}, {8, 10.5}, {8, 14}});
    if (!left)
        for (auto& pt : a) pt.setX(16 - pt.x());
    p.drawPolygon(a);
}

void magnifier(QPainter& p, bool plus)
{
    p.setPen(QPen(Outline, 1.5));
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(6.5, 6.5), 5, 5);
    p.setPen(QPen(Outline, 2.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(10.5, 10.5), QPointF(14.5, 14.5));
    p.setPen(QPen(Qt::black, 1.5));
    p.drawLine(QPointF(4, 6.5), QPointF(9, 6.5));
    if (plus) p.drawLine(QPointF(6.5, 4), QPointF(6.5, 9));
}

}  // namespace

QIcon toolIcon(ToolIcon which)
{
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing, true);
    switch (which) {
        case ToolIcon::New:
            page(p);
            break;
        case ToolIcon::Open:
            folder(p);
            break;
        case ToolIcon::Save:
            disk(p);
            break;
        case ToolIcon::Print:
            printer(p);
            break;
        case ToolIcon::Configure:
            sliders(p);
            break;
        case ToolIcon::Calculate:
            calculator(p);
            break;
        case ToolIcon::Influence:
            beamWithCurve(p, true);
            break;
        case ToolIcon::Draw:
            beamWithCurve(p, false);
            break;
        case ToolIcon::PanLeft:
            arrow(p, true);
            break;
        case ToolIcon::PanRight:
            arrow(p, false);
            break;
        case ToolIcon::ZoomOut:
            magnifier(p, false);
            break;
        case ToolIcon::ZoomIn:
            magnifier(p, true);
            break;
    }
    p.end();
    return QIcon(pm);
}

QPixmap beamPicture(int size)
{
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.scale(size / 16.0, size / 16.0);
    beamWithCurve(p, false);
    // A load arrow over the span.
    p.setPen(QPen(QColor(0, 0, 150), 0.8));
    p.drawLine(QPointF(8, 0.5), QPointF(8, 4));
    p.drawLine(QPointF(6.8, 2.8), QPointF(8, 4));
    p.drawLine(QPointF(9.2, 2.8), QPointF(8, 4));
    p.end();
    return pm;
}

}  // namespace kalvoro
