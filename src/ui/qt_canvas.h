// The desktop program's canvas: QPainter on a QImage. The pattern window
// shows the image; printing, the clipboard and the picture files (PNG,
// BMP) take it from here.
#pragma once

#include <QFont>
#include <QImage>
#include <QString>

#include "platform/canvas.h"

namespace qw {

class QtCanvas : public Canvas {
public:
    // The picture starts cleared to white. The text font is a 12-pixel
    // monospace font.
    QtCanvas(int width, int height);

    const QImage& Image() const { return image_; }
    // Writes the picture; the format follows the extension (".png",
    // ".bmp"). False when it could not be written.
    bool Save(const QString& path) const;
    // Paints a picture over this one with its top left at the top left
    // (a picture loaded from a file; the parts outside are cut off).
    void Paste(const QImage& picture);

protected:
    // A copy of the picture (its own pixels) and of the drawing state.
    QtCanvas(const QtCanvas& other);

    void DrawClear(Rgb background) override;
    void DrawLine(double x1, double y1, double x2, double y2, const Pen& pen) override;
    void DrawPoint(double x, double y, Rgb colour) override;
    void DrawCircle(double x, double y, double radius, const Pen& pen) override;
    void DrawBox(double x1, double y1, double x2, double y2, Rgb fill) override;
    void DrawText(double x, double y, const std::string& text, Rgb colour, bool bold) override;
    double PixelTextWidth(const std::string& text, bool bold) const override;
    double PixelTextHeight(bool bold) const override;

private:
    QFont Font(bool bold) const;

    QImage image_;
    QFont font_;
};

}  // namespace qw
