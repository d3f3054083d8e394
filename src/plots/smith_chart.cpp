#include "plots/smith_chart.h"

#include <cmath>
#include <string>

#include "plots/sweep_axes.h"

namespace qw {

namespace {

constexpr Rgb kGrid{170, 170, 170};
constexpr double kGridValues[] = {0.2, 0.5, 1, 2, 5};

// The normalised impedance r + jx on the chart.
std::complex<double> Normalised(double r, double x) {
    const std::complex<double> z(r, x);
    return (z - 1.0) / (z + 1.0);
}

}  // namespace

std::complex<double> ReflectionOf(double R, double X, double z0) {
    if (!(z0 > 0)) z0 = 50;
    if (!std::isfinite(R) || !std::isfinite(X)) return {1, 0};
    const std::complex<double> z(R, X);
    const std::complex<double> sum = z + z0;
    if (std::abs(sum) == 0) return {1, 0};  // Z = -Z0: no finite coefficient; shown as an open
    return (z - z0) / sum;
}

double SwrCircleRadius(double swr) { return swr > 1 ? (swr - 1) / (swr + 1) : 0; }

void SmithScale(Canvas& canvas) {
    constexpr float kExtent = 1.3f;  // the unit circle and room for its labels
    const float aspect = static_cast<float>(canvas.Width()) / static_cast<float>(canvas.Height());
    float halfW = kExtent, halfH = kExtent;
    if (aspect >= 1)
        halfW = kExtent * aspect;
    else
        halfH = kExtent / aspect;
    canvas.SetScale(-halfW, halfH, halfW, -halfH);
}

void DrawSmithGrid(Canvas& canvas, double z0, double swrLimit) {
    const float h = canvas.TextHeight();
    canvas.SetPenWidth(1);
    canvas.SetLineStyle(LineStyle::Solid);
    canvas.SetForeColour(kGrid);
    for (const double r : kGridValues) {
        canvas.Circle(static_cast<float>(r / (1 + r)), 0, static_cast<float>(1 / (1 + r)));
        // Each arc of constant reactance from the rim (r = 0) towards the
        // open at the right edge, as a polyline.
        for (const double sign : {1.0, -1.0}) {
            const double x = sign * r;
            std::complex<double> from = Normalised(0, x);
            for (int i = 1; i <= 80; ++i) {
                const double t = static_cast<double>(i) / 80;
                const std::complex<double> to = i == 80 ? std::complex<double>(1, 0) : Normalised(t * t / (1 - t * t), x);
                canvas.Line(static_cast<float>(from.real()), static_cast<float>(from.imag()),
                            static_cast<float>(to.real()), static_cast<float>(to.imag()));
                from = to;
            }
        }
    }
    canvas.SetForeColour(kBlack);
    canvas.Circle(0, 0, 1);
    canvas.Line(-1, 0, 1, 0);
    for (const double r : kGridValues) {
        const std::string text = AxisNumber(static_cast<float>(r));
        canvas.PrintAt(static_cast<float>((r - 1) / (r + 1)), -h * 0.1f, text);
        for (const double sign : {1.0, -1.0}) {
            const std::complex<double> g = Normalised(0, sign * r) * 1.04;
            const std::string label = (sign > 0 ? "+j" : "-j") + text;
            const float w = canvas.TextWidth(label);
            const float x = static_cast<float>(g.real()) - (g.real() < 0 ? w : 0) - (std::fabs(g.real()) < 0.05 ? w / 2 : 0);
            const float y = static_cast<float>(g.imag()) + (g.imag() > 0 ? h : 0);
            canvas.PrintAt(x, y, label);
        }
    }
    canvas.PrintAt(-1.0f - canvas.TextWidth("0 "), h / 2, "0 ");
    canvas.PrintAt(1.02f, h / 2, "inf");
    const std::string caption = "Z0 = " + AxisNumber(static_cast<float>(z0)) + " ohms";
    canvas.PrintAt(canvas.ScaleLeft(), -1.3f + h * 1.2f, caption);
    const double radius = SwrCircleRadius(swrLimit);
    if (radius > 0) {
        canvas.SetForeColour(kRed);
        canvas.SetLineStyle(LineStyle::Dotted);
        canvas.Circle(0, 0, static_cast<float>(radius));
        canvas.SetLineStyle(LineStyle::Solid);
        canvas.PrintAt(static_cast<float>(-radius * 0.72) - canvas.TextWidth("SWR 00"), static_cast<float>(radius * 0.72) + h,
                       "SWR " + AxisNumber(static_cast<float>(swrLimit)));
        canvas.SetForeColour(kBlack);
    }
}

}  // namespace qw
