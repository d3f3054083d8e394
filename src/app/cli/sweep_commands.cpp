// resonance and sweep: the band stepped through.
#include <cmath>
#include <complex>
#include <ostream>
#include <thread>

#include "app/cli/cli.h"
#include "app/cli/compute_options.h"
#include "model/format_mask.h"
#include "model/number_value.h"
#include "solver/source_report.h"
#include "sweeps/parallel_sweep.h"
#include "sweeps/resonance.h"

namespace qw::cli {

namespace {

// --from, --to and --step as typed (double), refused when missing or not numbers.
struct Band {
    double from = 0, to = 0, step = 0;
};

bool ReadBand(Run& s, const Arguments& a, Band& band) {
    const auto from = a.Value("--from"), to = a.Value("--to"), step = a.Value("--step");
    if (!from || !to || !step) {
        s.err << "quillwork-cli: give the band with --from F1 --to F2 --step DF (MHz)\n";
        return false;
    }
    bool overflow = false;
    band.from = Val(*from, &overflow);
    band.to = Val(*to, &overflow);
    band.step = Val(*step, &overflow);
    if (overflow || !(band.step > 0) || !(band.from > 0) || band.to < band.from) {
        s.err << "quillwork-cli: the band needs 0 < F1 <= F2 and a step above 0\n";
        return false;
    }
    return true;
}

// A CSV or table number: the shortest text of the value, without a blank.
std::string Plain(float v) { return Format(v, "General Number"); }

std::string SwrField(float swr) { return swr == -1 ? "Infinite" : swr == -2 ? "Undefined" : Plain(swr); }

std::string Column(const std::string& text, std::size_t width) {
    return text.size() >= width ? " " + text : std::string(width - text.size(), ' ') + text;
}

}  // namespace

const char* const kResonanceUsage =
    "Usage: quillwork-cli resonance FILE --from F1 --to F2 --step DF [--csv] [--yes] [OPTIONS]\n\n"
    "Steps the antenna from F1 to F2 MHz (both included) and prints one line per frequency with\n"
    "the impedance and the SWR, \"  Resonance\" where |X| < 10 ohms, exactly as the resonance\n"
    "command writes them. The frequency accumulates in single precision as in the program.\n\n"
    "  --csv                  frequency_mhz,r_ohm,x_ohm,swr,resonance instead of the lines\n"
    YES_OPTION_HELP COMPUTE_OPTIONS_HELP GLOBAL_OPTIONS_HELP;

int RunResonance(Run& s, const std::vector<std::string>& args) {
    std::vector<std::string> values = ComputeValueOptions();
    values.insert(values.end(), {"--from", "--to", "--step"});
    const Arguments a(args, values, {"--csv", "--yes"});
    if (!ExpectArguments(s, a, 1, kResonanceUsage)) return 1;
    Band band;
    if (!ReadBand(s, a, band)) return 1;
    if (!LoadCheckAndSolve(s, a, false)) return 1;
    const bool csv = a.Flag("--csv");
    s.host.echoMainText = !csv;
    if (csv) s.out << "frequency_mhz,r_ohm,x_ohm,swr,resonance\n";
    const bool done = Conclude(s.ctx, ResonanceScan(s.ctx, static_cast<float>(band.from), static_cast<float>(band.to),
                                                    static_cast<float>(band.step), [&](const ResonancePoint& p) {
                                                        if (csv)
                                                            s.out << Plain(p.frequency) << ',' << Plain(p.R) << ','
                                                                  << Plain(p.X) << ',' << SwrField(p.swr) << ','
                                                                  << (p.resonance ? 1 : 0) << '\n';
                                                    }));
    s.host.echoMainText = true;
    return done ? 0 : 1;
}

const char* const kSweepUsage =
    "Usage: quillwork-cli sweep FILE --from F1 --to F2 --step DF [--elevation E] [--azimuth A]\n"
    "                            [--csv | --touchstone] [-j N] [--yes] [OPTIONS]\n\n"
    "Solves the antenna at F1 + k DF for k = 0 ... K, K = floor((F2 - F1) / DF + 1e-6), and prints\n"
    "the impedance, SWR, gain and front-to-back ratio of every point in frequency order.\n"
    "The gain and F/B are taken at elevation E (degrees above the horizon, default 20) and\n"
    "the azimuth setting A (default 0), which is passed to the gain as 360 - A, as the gain\n"
    "plot does; the gain unit is dBi or dBd as the settings say.\n\n"
    "  --csv                  frequency_mhz,r_ohm,x_ohm,swr,gain_db,fb_db\n"
    "  --touchstone           a Touchstone 1.0 one-port file: # MHZ S RI R <feed-line impedance>\n"
    "  -j N                   spread the points over N workers (default: every core); the output\n"
    "                         is the same for every N\n"
    YES_OPTION_HELP COMPUTE_OPTIONS_HELP GLOBAL_OPTIONS_HELP;

int RunSweep(Run& s, const std::vector<std::string>& rawArgs) {
    // "-j N" is the one short option.
    std::vector<std::string> args;
    for (const auto& x : rawArgs) args.push_back(x == "-j" ? "--jobs" : x);
    std::vector<std::string> values = ComputeValueOptions();
    values.insert(values.end(), {"--from", "--to", "--step", "--elevation", "--azimuth", "--jobs"});
    const Arguments a(args, values, {"--csv", "--touchstone", "--yes"});
    if (!ExpectArguments(s, a, 1, kSweepUsage)) return 1;
    Band band;
    if (!ReadBand(s, a, band)) return 1;
    if (a.Flag("--csv") && a.Flag("--touchstone")) {
        s.err << "quillwork-cli: choose one of --csv and --touchstone\n";
        return 1;
    }
    ParallelSweepRequest request;
    request.withGain = true;
    request.direction.Elevation = static_cast<float>(Val(a.Value("--elevation").value_or("20")));
    request.direction.Azimuth = static_cast<float>(Val(a.Value("--azimuth").value_or("0")));
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    request.workers = static_cast<int>(Val(a.Value("--jobs").value_or(std::to_string(cores))));
    if (request.workers < 1 || request.workers > 64) {
        s.err << "quillwork-cli: -j takes a number of workers from 1 to 64 (each holds its own solver, about 60 MB)\n";
        return 1;
    }
    const long K = static_cast<long>(std::floor((band.to - band.from) / band.step + 1e-6));
    if (K > 100000) {
        s.err << "quillwork-cli: the band has more than 100000 points\n";
        return 1;
    }
    for (long k = 0; k <= K; ++k) request.frequencies.push_back(static_cast<float>(band.from + k * band.step));
    if (!LoadCheckAndSolve(s, a, false)) return 1;

    const float z0 = s.ctx.project.CoaxImpedance;
    std::ostream& out = s.out;
    if (a.Flag("--csv")) {
        out << "frequency_mhz,r_ohm,x_ohm,swr,gain_db,fb_db\n";
    } else if (a.Flag("--touchstone")) {
        out << "! QUILLWORK " << ProjectName(s.ctx.project) << ": S11 from the input impedance\n";
        out << "# MHZ S RI R " << Plain(z0) << "\n";
    } else {
        out << Column("F (MHz)", 10) << Column("R (ohm)", 12) << Column("X (ohm)", 12) << Column("SWR", 10)
            << Column(s.ctx.options.GainInDbi ? "Gain (dBi)" : "Gain (dBd)", 12) << Column("F/B (dB)", 10) << "\n";
    }
    // Each point is printed as soon as it and those before it are solved;
    // the first point not solved ends the table.
    std::size_t finished = 0;
    bool ended = false;
    request.onPoint = [&](const ParallelPoint& p) {
        if (ended) return;
        for (const auto& m : p.messages) s.err << m << "\n";  // a failed point's fault too
        if (!p.done) {
            ended = true;
            return;
        }
        ++finished;
        if (a.Flag("--csv")) {
            out << Plain(p.frequency) << ',' << Plain(p.z.R) << ',' << Plain(p.z.X) << ',' << SwrField(p.swr) << ','
                << Plain(p.gain) << ',' << Plain(p.frontToBack) << '\n';
        } else if (a.Flag("--touchstone")) {
            const std::complex<double> z(p.z.R, p.z.X);
            const std::complex<double> s11 = (z - static_cast<double>(z0)) / (z + static_cast<double>(z0));
            out << Plain(p.frequency) << ' ' << Format(s11.real(), "0.000000E+00") << ' '
                << Format(s11.imag(), "0.000000E+00") << '\n';
        } else {
            out << Column(Format(p.frequency, "###0.000"), 10) << Column(Format(p.z.R, "###0.00"), 12)
                << Column(Format(p.z.X, "###0.00"), 12) << Column(SwrText(p.swr), 10)
                << Column(Format(p.gain, "###0.00"), 12) << Column(Format(p.frontToBack, "###0.00"), 10) << "\n";
        }
        out.flush();
    };
    const std::size_t count = RunParallelSweep(s.ctx, request).size();
    if (finished < count) {
        s.err << "quillwork-cli: the sweep stopped after " << finished << " of " << count << " points\n";
        return 1;
    }
    return 0;
}

}  // namespace qw::cli
