// nearfield: the near electric or magnetic field on a grid of points, as
// the Near Field command writes it.
#include <array>
#include <cmath>
#include <optional>
#include <ostream>

#include "app/cli/cli.h"
#include "app/cli/compute_options.h"
#include "app/cli/field_output.h"
#include "fields/near_field.h"

namespace qw::cli {

namespace {

// What the options put into the near-field dialog.
struct NearFieldOptions {
    bool magnetic = false;
    std::optional<std::array<float, 3>> start, step;
    std::optional<std::array<int, 3>> count;
    std::optional<float> power;
};

// The console answers the near-field dialog as a user would who typed the
// options into it: the request shown (with its power preset to the input
// power), the fields the options give replaced.
class NearFieldConsole : public ConsoleHost {
public:
    NearFieldConsole(Run& s, const NearFieldOptions& options)
        : ConsoleHost(s.out, s.err), options_(options) {}

    std::optional<NearFieldRequest> RequestNearField(const NearFieldRequest& current) override {
        NearFieldRequest r = current;
        r.ElectricField = !options_.magnetic;
        if (options_.start) {
            r.StartX = (*options_.start)[0];
            r.StartY = (*options_.start)[1];
            r.StartZ = (*options_.start)[2];
        }
        if (options_.step) {
            r.StepX = (*options_.step)[0];
            r.StepY = (*options_.step)[1];
            r.StepZ = (*options_.step)[2];
        }
        if (options_.count) {
            r.CountX = (*options_.count)[0];
            r.CountY = (*options_.count)[1];
            r.CountZ = (*options_.count)[2];
        }
        if (options_.power) r.PowerLevel = *options_.power;
        return r;
    }

private:
    const NearFieldOptions& options_;
};


bool FloatTriple(Run& s, const Arguments& a, const char* option, std::optional<std::array<float, 3>>& to) {
    const auto text = a.Value(option);
    if (!text) return true;
    std::vector<double> v;
    if (!NumberList(*text, 3, v) || std::fabs(v[0]) > 1e9 || std::fabs(v[1]) > 1e9 || std::fabs(v[2]) > 1e9)
        return Fail(s, std::string(option) + " takes three numbers in metres, separated by commas");
    to = std::array<float, 3>{static_cast<float>(v[0]), static_cast<float>(v[1]), static_cast<float>(v[2])};
    return true;
}

bool ReadOptions(Run& s, const Arguments& a, NearFieldOptions& o) {
    o.magnetic = a.Flag("--magnetic");
    if (!FloatTriple(s, a, "--start", o.start) || !FloatTriple(s, a, "--step", o.step)) return false;
    std::vector<double> v;
    if (const auto text = a.Value("--count")) {
        bool whole = NumberList(*text, 3, v);
        for (std::size_t i = 0; whole && i < 3; ++i) whole = v[i] == std::floor(v[i]) && v[i] >= 0 && v[i] <= 32767;
        if (!whole) return Fail(s, "--count takes three whole numbers from 0 to 32767, separated by commas");
        o.count = std::array<int, 3>{static_cast<int>(v[0]), static_cast<int>(v[1]), static_cast<int>(v[2])};
    }
    if (const auto text = a.Value("--power")) {
        if (!NumberList(*text, 1, v) || std::fabs(v[0]) > 1e30) return Fail(s, "--power takes a power in watts");
        o.power = static_cast<float>(v[0]);
    }
    return true;
}

void PrintCsvRow(std::ostream& out, const NearFieldPoint& p) {
    out << CsvNumber(p.x) << ',' << CsvNumber(p.y) << ',' << CsvNumber(p.z);
    for (const FieldRow& r : p.rows) out << ',' << CsvNumber(r.magnitude) << ',' << CsvNumber(r.phase);
    out << ',' << CsvNumber(p.peak) << '\n';
}

}  // namespace

const char* const kNearFieldUsage =
    "Usage: quillwork-cli nearfield FILE [--magnetic] [--start X,Y,Z] [--step DX,DY,DZ]\n"
    "                                    [--count NX,NY,NZ] [--power W] [--csv] [--yes] [OPTIONS]\n\n"
    "Reads FILE (.qlk or .nec), runs the checks before computing, solves, and computes the\n"
    "near electric field (V/m) on a grid of points, printing the report's title and the lines\n"
    "written to the log: for every point the real part, imaginary part, magnitude and phase\n"
    "of its X, Y and Z components and the peak field over one cycle. The grid runs over x\n"
    "first, then y, then z. A point on a wire is skipped, with a message on standard error.\n\n"
    "  --magnetic             the magnetic field (A/m) instead of the electric field\n"
    "  --start X,Y,Z          the first point in metres (default 0,0,0)\n"
    "  --step DX,DY,DZ        the spacing of the points in metres (default 1,1,1)\n"
    "  --count NX,NY,NZ       the number of points along each axis, 0 to 32767 (default 1,1,1;\n"
    "                         0 counts as 1)\n"
    "  --power W              the power in watts to which the fields are scaled (default, and\n"
    "                         for 0 or less: the input power)\n"
    "  --csv                  print x,y,z,x_mag,x_phase,y_mag,y_phase,z_mag,z_phase,peak and one\n"
    "                         row per point instead of the report\n"
    YES_OPTION_HELP COMPUTE_OPTIONS_HELP GLOBAL_OPTIONS_HELP;

int RunNearField(Run& s, const std::vector<std::string>& args) {
    std::vector<std::string> values = ComputeValueOptions();
    values.insert(values.end(), {"--start", "--step", "--count", "--power"});
    const Arguments a(args, values, {"--magnetic", "--csv", "--yes"});
    if (!ExpectArguments(s, a, 1, kNearFieldUsage)) return 1;
    NearFieldOptions options;
    if (!ReadOptions(s, a, options)) return 1;
    if (!LoadCheckAndSolve(s, a, false)) return 1;

    const bool csv = a.Flag("--csv");
    NearFieldConsole console(s, options);
    console.echoMainText = !csv;
    NearFieldOutput output;
    bool header = false;
    auto printHeader = [&] {
        if (csv && !header) s.out << "x,y,z,x_mag,x_phase,y_mag,y_phase,z_mag,z_phase,peak\n";
        header = true;
    };
    if (csv) {
        output.point = [&](const NearFieldPoint& p) {
            printHeader();
            PrintCsvRow(s.out, p);
        };
    } else {
        output.logEcho = PrintedLines(s);
    }

    {
        // The dialog is answered by the options for this run only.
        struct HostSwap {
            Context& ctx;
            Host* before;
            ~HostSwap() { ctx.host = before; }
        } swap{s.ctx, s.ctx.host};
        s.ctx.host = &console;
        Conclude(s.ctx, ComputeNearField(s.ctx, output));
    }
    if (s.ctx.AbortFlag) return 1;
    printHeader();  // also when every point was skipped
    return 0;
}

}  // namespace qw::cli
