// A picture box drawn in user coordinates.
//
// The plots draw through this interface only: lines, points, circles,
// filled boxes and text at a position, in the current colour, pen width and
// line style. By default user coordinates are pixels with (0, 0) at the top
// left; SetScale maps any rectangle of user coordinates onto the picture.
// Text is Windows-1252, as the program keeps it; an implementation that
// shows Unicode converts it (text_encoding.h).
//
// Printing text works like a print statement on a picture box: it starts at
// the cursor (CurrentX, CurrentY), the top left of the text, and leaves the
// cursor at the left edge of the next line.
//
// Implementations draw in pixels: RecordingCanvas (tests), SvgCanvas (the
// core's picture files) and the desktop program's QtCanvas.
#pragma once

#include <cstdint>
#include <string>

namespace qw {

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};

// The 16 colours of the classic palette, indices 0..15 (0 black, 1 blue,
// 2 green, 3 cyan, 4 red, 5 magenta, 6 yellow, 7 white, 8 grey, 9..15 the
// light colours). An index outside 0..15 gives black.
Rgb PaletteColour(int index);

inline constexpr Rgb kBlack{0, 0, 0};
inline constexpr Rgb kWhite{255, 255, 255};
inline constexpr Rgb kBlue{0, 0, 255};
inline constexpr Rgb kRed{255, 0, 0};

enum class LineStyle { Solid, Dotted };

// What a line is drawn with.
struct Pen {
    Rgb colour = kBlack;
    int width = 1;  // pixels
    LineStyle style = LineStyle::Solid;
    bool operator==(const Pen&) const = default;
};

class Canvas {
public:
    Canvas(int width, int height) : width_(width > 0 ? width : 1), height_(height > 0 ? height : 1) {}
    virtual ~Canvas() = default;
    Canvas& operator=(const Canvas&) = delete;

    int Width() const { return width_; }    // pixels
    int Height() const { return height_; }  // pixels

    // User coordinates: (left, top) is the picture's top-left corner and
    // (right, bottom) its bottom-right one. A degenerate rectangle is
    // ignored. ResetScale goes back to pixels.
    void SetScale(float left, float top, float right, float bottom);
    void ResetScale();
    float ScaleLeft() const { return left_; }
    float ScaleTop() const { return top_; }

    void SetForeColour(Rgb colour) { pen_.colour = colour; }
    Rgb ForeColour() const { return pen_.colour; }
    void SetBackColour(Rgb colour) { back_ = colour; }
    Rgb BackColour() const { return back_; }
    void SetPenWidth(int pixels) { pen_.width = pixels > 0 ? pixels : 1; }
    void SetLineStyle(LineStyle style) { pen_.style = style; }
    void SetBold(bool bold) { bold_ = bold; }
    bool Bold() const { return bold_; }

    // Fills the picture with the background colour; the cursor goes to the
    // top left.
    void Clear();
    void Line(float x1, float y1, float x2, float y2);
    void Point(float x, float y);
    // A circle around (x, y); the radius is measured in user x units.
    void Circle(float x, float y, float radius);
    // A box between two corners, filled with `fill` and without outline.
    void FilledBox(float x1, float y1, float x2, float y2, Rgb fill);

    // The text cursor (user coordinates).
    float CurrentX = 0;
    float CurrentY = 0;
    // Writes the text at the cursor in the fore colour; the cursor moves to
    // the left edge of the next line.
    void Print(const std::string& text);
    // The same at (x, y).
    void PrintAt(float x, float y, const std::string& text);
    // Extent of a text in the current font, user units.
    float TextWidth(const std::string& text) const;
    float TextHeight() const;

protected:
    // The primitives in pixels.
    virtual void DrawClear(Rgb background) = 0;
    virtual void DrawLine(double x1, double y1, double x2, double y2, const Pen& pen) = 0;
    virtual void DrawPoint(double x, double y, Rgb colour) = 0;
    virtual void DrawCircle(double x, double y, double radius, const Pen& pen) = 0;
    virtual void DrawBox(double x1, double y1, double x2, double y2, Rgb fill) = 0;
    // (x, y) is the top left of the text.
    virtual void DrawText(double x, double y, const std::string& text, Rgb colour, bool bold) = 0;
    virtual double PixelTextWidth(const std::string& text, bool bold) const = 0;
    virtual double PixelTextHeight(bool bold) const = 0;

private:
    double PixelX(float x) const;
    double PixelY(float y) const;

    int width_, height_;
    float left_ = 0, top_ = 0;
    float scaleX_ = 1, scaleY_ = 1;  // pixels per user unit
    Pen pen_;
    Rgb back_ = kWhite;
    bool bold_ = false;
};

}  // namespace qw
