#include "platform/svg_canvas.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "platform/file_replace.h"
#include "platform/monospace_metrics.h"
#include "platform/text_encoding.h"

namespace qw {

namespace {

// A coordinate with at most two decimals, "." as decimal point.
std::string N(double v) {
    if (!std::isfinite(v)) v = 0;
    v = std::clamp(v, -1e7, 1e7);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.2f", v);
    std::string s = buf;
    while (s.back() == '0') s.pop_back();
    if (s.back() == '.') s.pop_back();
    if (s == "-0") s = "0";
    return s;
}

std::string Colour(Rgb c) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "#%02x%02x%02x", c.r, c.g, c.b);
    return buf;
}

std::string Stroke(const Pen& pen) {
    std::string s = " stroke=\"" + Colour(pen.colour) + "\" stroke-width=\"" + std::to_string(pen.width) + "\"";
    if (pen.style == LineStyle::Dotted) s += " stroke-dasharray=\"1,2\"";
    return s;
}

}  // namespace

std::string SvgText(const std::string& cp1252Text) {
    std::string out;
    for (const char c : Cp1252ToUtf8(cp1252Text)) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 && c != '\t') continue;
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            case '\'': out += "&apos;"; break;
            default: out += c;
        }
    }
    // The C1 controls that undefined Windows-1252 bytes map to are not
    // allowed in XML either.
    std::string clean;
    for (std::size_t i = 0; i < out.size(); ++i) {
        if (static_cast<unsigned char>(out[i]) == 0xC2 && i + 1 < out.size() &&
            static_cast<unsigned char>(out[i + 1]) >= 0x80 && static_cast<unsigned char>(out[i + 1]) < 0xA0) {
            ++i;
            continue;
        }
        clean += out[i];
    }
    return clean;
}

SvgCanvas::SvgCanvas(int width, int height) : Canvas(width, height) { Clear(); }

std::string SvgCanvas::Document() const {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" +
           std::to_string(Width()) + "\" height=\"" + std::to_string(Height()) + "\" viewBox=\"0 0 " +
           std::to_string(Width()) + " " + std::to_string(Height()) +
           "\" font-family=\"DejaVu Sans Mono, monospace\" font-size=\"" + N(kMonospaceFontSize) + "\">\n" + body_ +
           "</svg>\n";
}

std::string SvgCanvas::Save(const std::string& path) const { return WriteFileReplacing(path, Document()); }

void SvgCanvas::DrawClear(Rgb background) {
    body_ = "<rect width=\"100%\" height=\"100%\" fill=\"" + Colour(background) + "\"/>\n";
}

void SvgCanvas::DrawLine(double x1, double y1, double x2, double y2, const Pen& pen) {
    body_ += "<line x1=\"" + N(x1) + "\" y1=\"" + N(y1) + "\" x2=\"" + N(x2) + "\" y2=\"" + N(y2) + "\"" +
             Stroke(pen) + "/>\n";
}

void SvgCanvas::DrawPoint(double x, double y, Rgb colour) {
    body_ += "<rect x=\"" + N(x) + "\" y=\"" + N(y) + "\" width=\"1\" height=\"1\" fill=\"" + Colour(colour) + "\"/>\n";
}

void SvgCanvas::DrawCircle(double x, double y, double radius, const Pen& pen) {
    body_ += "<circle cx=\"" + N(x) + "\" cy=\"" + N(y) + "\" r=\"" + N(radius) + "\" fill=\"none\"" + Stroke(pen) +
             "/>\n";
}

void SvgCanvas::DrawBox(double x1, double y1, double x2, double y2, Rgb fill) {
    body_ += "<rect x=\"" + N(std::min(x1, x2)) + "\" y=\"" + N(std::min(y1, y2)) + "\" width=\"" +
             N(std::fabs(x2 - x1)) + "\" height=\"" + N(std::fabs(y2 - y1)) + "\" fill=\"" + Colour(fill) + "\"/>\n";
}

void SvgCanvas::DrawText(double x, double y, const std::string& text, Rgb colour, bool bold) {
    body_ += "<text x=\"" + N(x) + "\" y=\"" + N(y + kMonospaceAscent) + "\" fill=\"" + Colour(colour) + "\"" +
             (bold ? " font-weight=\"bold\"" : "") + " xml:space=\"preserve\">" + SvgText(text) + "</text>\n";
}

double SvgCanvas::PixelTextWidth(const std::string& text, bool) const { return MonospaceTextWidth(text); }

double SvgCanvas::PixelTextHeight(bool) const { return kMonospaceLineHeight; }

}  // namespace qw
