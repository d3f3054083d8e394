// plot: the impedance, SWR, gain, F/B or Smith chart plot of a band, its
// read-out lines and its picture as SVG.
#include <algorithm>
#include <cmath>
#include <ostream>
#include <sstream>
#include <thread>

#include "app/cli/cli.h"
#include "app/cli/compute_options.h"
#include "commands/sweep_plot_command.h"
#include "model/number_value.h"
#include "platform/svg_canvas.h"
#include "plots/sweep_plot.h"

namespace qw::cli {

namespace {



// Numbers separated by commas; false when one is not a number.
bool Numbers(const std::string& text, std::vector<double>& out) {
    std::stringstream in(text);
    std::string item;
    while (std::getline(in, item, ',')) {
        bool overflow = false;
        const auto digit = item.find_first_of("0123456789");
        if (digit == std::string::npos || item.find_first_not_of("+-.0123456789eE ") != std::string::npos)
            return false;
        out.push_back(Val(item, &overflow));
        if (overflow) return false;
    }
    return !out.empty();
}

struct PlotRequest {
    SweepPlotKind kind = SweepPlotKind::Impedance;
    int width = 640, height = 480;
    int workers = 1;
};

bool ReadRequest(Run& s, const Arguments& a, PlotRequest& r) {
    const auto kind = a.Value("--kind");
    if (!kind) return Fail(s, "give the plot: --kind impedance, swr, gain, fb or smith");
    const char* const names[] = {"impedance", "swr", "gain", "fb", "smith"};
    int found = -1;
    for (int i = 0; i < 5; ++i)
        if (*kind == names[i]) found = i;
    if (found < 0) return Fail(s, "--kind takes impedance, swr, gain, fb or smith");
    r.kind = static_cast<SweepPlotKind>(found);
    const auto from = a.Value("--from"), to = a.Value("--to"), step = a.Value("--step");
    if (!from || !to || !step) return Fail(s, "give the band with --from F1 --to F2 --step DF (MHz)");
    std::vector<double> band;
    if (!Numbers(*from + "," + *to + "," + *step, band) || band.size() != 3)
        return Fail(s, "--from, --to and --step take numbers (MHz)");
    if (!(band[0] > 0) || !(band[1] > 0) || !(band[2] > 0))
        return Fail(s, "the band needs limits and a step above 0");
    ProgramOptions& o = s.ctx.options;
    o.ResonanceLow = static_cast<float>(band[0]);
    o.ResonanceHi = static_cast<float>(band[1]);
    o.ResonanceStep = static_cast<float>(band[2]);
    if (const auto limits = a.Value("--limits")) {
        std::vector<double> v;
        const bool impedance = r.kind == SweepPlotKind::Impedance || r.kind == SweepPlotKind::Smith;
        const std::size_t want = impedance ? 4 : r.kind == SweepPlotKind::Swr ? 1 : 2;
        if (!Numbers(*limits, v) || v.size() != want)
            return Fail(s, impedance ? "--limits takes RMAX,RMIN,XMAX,XMIN (ohms) for this plot"
                                     : r.kind == SweepPlotKind::Swr ? "--limits takes the SWR maximum for this plot"
                                                                    : "--limits takes MAX,MIN (dB) for this plot");
        if (impedance) {
            auto whole = [](double x) { return static_cast<int>(std::clamp(std::nearbyint(x), -32768.0, 32767.0)); };
            o.RMax = whole(v[0]), o.RMin = whole(v[1]), o.XMax = whole(v[2]), o.XMin = whole(v[3]);
            if (o.RMin > o.RMax) std::swap(o.RMin, o.RMax);
            if (o.XMin > o.XMax) std::swap(o.XMin, o.XMax);
        } else if (r.kind == SweepPlotKind::Swr) {
            o.SwrLimit = static_cast<float>(v[0]);
        } else {
            o.GainHi = static_cast<float>(v[0]), o.GainLow = static_cast<float>(v[1]);
        }
    }
    if (const auto e = a.Value("--elevation")) s.ctx.document().patternDirection.Elevation = static_cast<float>(Val(*e));
    if (const auto az = a.Value("--azimuth")) s.ctx.document().patternDirection.Azimuth = static_cast<float>(Val(*az));
    if (!SizeOption(s, a, r.width, r.height)) return false;
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    r.workers = static_cast<int>(Val(a.Value("--jobs").value_or(std::to_string(cores))));
    if (r.workers < 1 || r.workers > 64)
        return Fail(s, "-j takes a number of workers from 1 to 64 (each holds its own solver, about 60 MB)");
    return true;
}

}  // namespace

const char* const kPlotUsage =
    "Usage: quillwork-cli plot FILE --kind impedance|swr|gain|fb|smith --from F1 --to F2 --step DF\n"
    "                  [--limits A,B[,C,D]] [--elevation E] [--azimuth A] [--size WxH]\n"
    "                  [--svg OUT] [-j N] [--yes] [OPTIONS]\n\n"
    "Steps the antenna through the band as the Plot menu's sweeps do and prints the read-out\n"
    "line of every point (\"F = 14.000 SWR = 1.23\"), then the resonance lines (impedance and\n"
    "smith: points inside the plot with |X| < 10 ohms), and draws the plot. The impedance,\n"
    "SWR and Smith chart sweeps run from F1 to F2 + DF, the gain and F/B sweeps to F2; the\n"
    "frequency accumulates in single precision as in the program.\n\n"
    "  --kind K               impedance (R-X plane), swr, gain, fb (front-to-back ratio) or\n"
    "                         smith (the impedance on a Smith chart against the project's\n"
    "                         feed-line impedance)\n"
    "  --limits L             the plot's limits: RMAX,RMIN,XMAX,XMIN in ohms for impedance\n"
    "                         (points on or outside them are not drawn) and smith; the SWR\n"
    "                         maximum for swr (the Smith chart's SWR circle is 5); MAX,MIN in dB\n"
    "                         for gain and fb. Default: the settings file's\n"
    "  --elevation E          gain and F/B: degrees above the horizon (default 20)\n"
    "  --azimuth A            gain and F/B: the azimuth setting (default 0), used as 360 - A\n"
    "  --size WxH             the picture's size in pixels, each 100 to 10000 (default 640x480)\n"
    "  --svg OUT              write the plot to OUT as SVG\n"
    "  -j N                   spread the points over N workers (default: every core); the output\n"
    "                         is the same for every N\n" YES_OPTION_HELP COMPUTE_OPTIONS_HELP GLOBAL_OPTIONS_HELP;

int RunPlot(Run& s, const std::vector<std::string>& rawArgs) {
    std::vector<std::string> args;
    for (const auto& x : rawArgs) args.push_back(x == "-j" ? "--jobs" : x);
    std::vector<std::string> values = ComputeValueOptions();
    values.insert(values.end(), {"--kind", "--from", "--to", "--step", "--limits", "--elevation", "--azimuth",
                                 "--size", "--svg", "--jobs"});
    const Arguments a(args, values, {"--yes"});
    if (!ExpectArguments(s, a, 1, kPlotUsage)) return 1;
    PlotRequest request;
    if (!ReadRequest(s, a, request)) return 1;
    SweepPlotSetup setup = PlotSetupOf(s.ctx, request.kind);
    if (const Result band = CheckPlotBand(CleanPlotSetup(setup)); !band.completed()) {
        Fail(s, band.fault ? band.fault->text : "the band cannot be swept");
        return 1;
    }
    if (!LoadCheckAndSolve(s, a, false)) return 1;
    setup = PlotSetupOf(s.ctx, request.kind);  // the project's feed line and name
    SvgCanvas canvas(request.width, request.height);
    SweepPlot plot(setup);
    plot.DrawFrame(canvas);
    std::vector<std::string> resonances;
    const Result result = RunSweepPlot(s.ctx, setup, request.workers, [&](const PlotSample& p) {
        const PlotMark mark = plot.Add(canvas, p);
        s.out << mark.readout << "\n";
        s.out.flush();
        if (!mark.resonance.empty()) resonances.push_back(mark.resonance);
    });
    plot.Finish(canvas);
    for (const auto& line : resonances) s.out << line << "\n";
    if (!result.completed()) {
        if (result.fault) s.err << result.fault->text << "\n";
        else if (result.stopped()) s.err << "quillwork-cli: the sweep was stopped\n";
        return 1;
    }
    if (const auto out = a.Value("--svg")) {
        const std::string why = canvas.Save(*out);
        if (!why.empty()) {
            Fail(s, "cannot write " + *out + ": " + why);
            return 1;
        }
    }
    return 0;
}

}  // namespace qw::cli
