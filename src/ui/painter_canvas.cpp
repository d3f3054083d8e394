#include "ui/painter_canvas.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPen>

#include "platform/text_encoding.h"

namespace qw {

namespace {

QColor ToQColor(Rgb c) { return QColor(c.r, c.g, c.b); }

QPen ToQPen(const Pen& pen) {
    QPen p(ToQColor(pen.colour));
    p.setWidthF(pen.width);
    p.setCapStyle(Qt::RoundCap);
    p.setStyle(pen.style == LineStyle::Dotted ? Qt::DotLine : Qt::SolidLine);
    return p;
}

QString ToQString(const std::string& cp1252) { return QString::fromStdString(Cp1252ToUtf8(cp1252)); }

}  // namespace

PainterCanvas::PainterCanvas(QPainter& painter, int width, int height)
    : Canvas(width, height), painter_(painter), font_("DejaVu Sans Mono") {
    font_.setStyleHint(QFont::Monospace);
    font_.setPixelSize(12);
    painter_.setRenderHint(QPainter::Antialiasing, true);
    painter_.setRenderHint(QPainter::TextAntialiasing, true);
}

QFont PainterCanvas::Font(bool bold) const {
    QFont f = font_;
    f.setBold(bold);
    return f;
}

void PainterCanvas::DrawClear(Rgb background) {
    painter_.fillRect(QRectF(0, 0, Width(), Height()), ToQColor(background));
}

void PainterCanvas::DrawLine(double x1, double y1, double x2, double y2, const Pen& pen) {
    painter_.setPen(ToQPen(pen));
    painter_.drawLine(QPointF(x1, y1), QPointF(x2, y2));
}

void PainterCanvas::DrawPoint(double x, double y, Rgb colour) {
    painter_.setPen(ToQColor(colour));
    painter_.drawPoint(QPointF(x, y));
}

void PainterCanvas::DrawCircle(double x, double y, double radius, const Pen& pen) {
    painter_.setPen(ToQPen(pen));
    painter_.setBrush(Qt::NoBrush);
    painter_.drawEllipse(QPointF(x, y), radius, radius);
}

void PainterCanvas::DrawBox(double x1, double y1, double x2, double y2, Rgb fill) {
    painter_.fillRect(QRectF(QPointF(x1, y1), QPointF(x2, y2)).normalized(), ToQColor(fill));
}

void PainterCanvas::DrawText(double x, double y, const std::string& text, Rgb colour, bool bold) {
    painter_.setFont(Font(bold));
    painter_.setPen(ToQColor(colour));
    const QFontMetricsF m(Font(bold));
    painter_.drawText(QPointF(x, y + m.ascent()), ToQString(text));
}

double PainterCanvas::PixelTextWidth(const std::string& text, bool bold) const {
    return QFontMetricsF(Font(bold)).horizontalAdvance(ToQString(text));
}

double PainterCanvas::PixelTextHeight(bool bold) const { return QFontMetricsF(Font(bold)).height(); }

}  // namespace qw
