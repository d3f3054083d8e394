#include "ui/qt_canvas.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPen>

#include "platform/text_encoding.h"

namespace qw {

namespace {

QColor ToQColor(Rgb c) { return QColor(c.r, c.g, c.b); }

QPen ToQPen(const Pen& pen) {
    QPen p(ToQColor(pen.colour));
    p.setWidth(pen.width);
    p.setStyle(pen.style == LineStyle::Dotted ? Qt::DotLine : Qt::SolidLine);
    return p;
}

QString ToQString(const std::string& cp1252) { return QString::fromStdString(Cp1252ToUtf8(cp1252)); }

QFont TextFont() {
    QFont font("DejaVu Sans Mono");
    font.setStyleHint(QFont::Monospace);
    font.setPixelSize(12);
    return font;
}

}  // namespace

QtCanvas::QtCanvas(int width, int height)
    : Canvas(width, height), image_(Width(), Height(), QImage::Format_RGB32), font_(TextFont()) {
    Clear();
}

// The pixels are copied here, and the font is a new one: the copy may be
// drawn on by another thread while this one is shown.
QtCanvas::QtCanvas(const QtCanvas& other) : Canvas(other), image_(other.image_.copy()), font_(TextFont()) {}

bool QtCanvas::Save(const QString& path) const { return image_.save(path); }

void QtCanvas::Paste(const QImage& picture) {
    QPainter p(&image_);
    p.drawImage(QPoint(0, 0), picture);
}

QFont QtCanvas::Font(bool bold) const {
    QFont f = font_;
    f.setBold(bold);
    return f;
}

void QtCanvas::DrawClear(Rgb background) { image_.fill(ToQColor(background)); }

void QtCanvas::DrawLine(double x1, double y1, double x2, double y2, const Pen& pen) {
    QPainter p(&image_);
    p.setPen(ToQPen(pen));
    p.drawLine(QPointF(x1, y1), QPointF(x2, y2));
}

void QtCanvas::DrawPoint(double x, double y, Rgb colour) {
    QPainter p(&image_);
    p.setPen(ToQColor(colour));
    p.drawPoint(QPointF(x, y));
}

void QtCanvas::DrawCircle(double x, double y, double radius, const Pen& pen) {
    QPainter p(&image_);
    p.setPen(ToQPen(pen));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(x, y), radius, radius);
}

void QtCanvas::DrawBox(double x1, double y1, double x2, double y2, Rgb fill) {
    QPainter p(&image_);
    p.fillRect(QRectF(QPointF(x1, y1), QPointF(x2, y2)).normalized(), ToQColor(fill));
}

void QtCanvas::DrawText(double x, double y, const std::string& text, Rgb colour, bool bold) {
    QPainter p(&image_);
    const QFont f = Font(bold);
    p.setFont(f);
    p.setPen(ToQColor(colour));
    p.drawText(QPointF(x, y + QFontMetricsF(f).ascent()), ToQString(text));
}

double QtCanvas::PixelTextWidth(const std::string& text, bool bold) const {
    return QFontMetricsF(Font(bold)).horizontalAdvance(ToQString(text));
}

double QtCanvas::PixelTextHeight(bool bold) const { return QFontMetricsF(Font(bold)).height(); }

}  // namespace qw
