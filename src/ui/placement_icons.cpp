#include "ui/placement_icons.h"

#include <QPainter>
#include <QPainterPath>

namespace qw {

namespace {

QPixmap Blank() {
    QPixmap pixmap(kPlacementIconSize, kPlacementIconSize);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

}  // namespace

// A generator: a circle with one period of a sine wave in it.
QPixmap SourceIcon() {
    QPixmap pixmap = Blank();
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0, 0, 160), 2));
    p.setBrush(QColor(255, 240, 160));
    p.drawEllipse(QRectF(3, 3, 26, 26));
    QPainterPath wave;
    wave.moveTo(8, 16);
    wave.cubicTo(11, 6, 13, 6, 16, 16);
    wave.cubicTo(19, 26, 21, 26, 24, 16);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(200, 0, 0), 2));
    p.drawPath(wave);
    return pixmap;
}

// A resistor: a zig-zag between two leads.
QPixmap LoadIcon() {
    QPixmap pixmap = Blank();
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0, 110, 0), 2));
    p.setBrush(QColor(210, 245, 210));
    p.drawRoundedRect(QRectF(2, 8, 28, 16), 3, 3);
    const QPointF zigzag[] = {{4, 16}, {8, 16}, {10, 11}, {13, 21}, {16, 11},
                              {19, 21}, {22, 11}, {24, 16}, {28, 16}};
    p.setPen(QPen(Qt::black, 1.6));
    p.drawPolyline(zigzag, 9);
    return pixmap;
}

// A bin with a lid and ribs.
QPixmap TrashIcon() {
    QPixmap pixmap = Blank();
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(60, 60, 60), 1.5));
    p.setBrush(QColor(190, 190, 200));
    QPainterPath bin;
    bin.moveTo(8, 10);
    bin.lineTo(24, 10);
    bin.lineTo(22, 29);
    bin.lineTo(10, 29);
    bin.closeSubpath();
    p.drawPath(bin);
    p.drawRect(QRectF(6, 6, 20, 3));
    p.drawRect(QRectF(13, 3, 6, 3));
    for (double x : {12.5, 16.0, 19.5}) p.drawLine(QPointF(x, 13), QPointF(x, 26));
    return pixmap;
}

}  // namespace qw
