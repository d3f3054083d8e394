// farfield: the far-field table of a project, as the Far Field command
// writes it.
#include <algorithm>
#include <cmath>
#include <optional>
#include <ostream>

#include "app/cli/cli.h"
#include "app/cli/compute_options.h"
#include "app/cli/field_output.h"
#include "fields/far_field_table.h"

namespace qw::cli {

namespace {

// The console answering the far-field dialog: the request the options
// filled, with the power level of --power in place of the input power the
// dialog is shown with.
class FarFieldConsole : public ConsoleHost {
public:
    FarFieldConsole(std::ostream& out, std::ostream& err, std::optional<float> power)
        : ConsoleHost(out, err), power_(power) {}

    std::optional<FarFieldRequest> RequestFarField(const FarFieldRequest& shown) override {
        FarFieldRequest answer = shown;
        if (power_) answer.PowerLevel = *power_;
        return answer;
    }

private:
    std::optional<float> power_;
};


// `count` numbers that a 32-bit value holds.
bool Numbers(const std::string& text, std::size_t count, std::vector<double>& values) {
    if (!NumberList(text, count, values)) return false;
    return std::all_of(values.begin(), values.end(), [](double v) { return std::fabs(v) <= 1e30; });
}

// Fills the far-field request from the options; false for a value that
// cannot be used.
bool FillRequest(Run& s, const Arguments& a, std::optional<float>& power) {
    FarFieldRequest& r = s.ctx.farField;
    std::vector<double> v;
    if (const auto z = a.Value("--zenith")) {
        if (!Numbers(*z, 3, v)) return Fail(s, "--zenith takes START,STEP,STEPS in degrees");
        r.ZenithStart = static_cast<float>(v[0]);
        r.ZenithStep = static_cast<float>(v[1]);
        r.ZenithSteps = static_cast<float>(v[2]);
    }
    if (const auto az = a.Value("--azimuth")) {
        if (!Numbers(*az, 3, v)) return Fail(s, "--azimuth takes START,STEP,STEPS in degrees");
        r.AzimuthStart = static_cast<float>(v[0]);
        r.AzimuthStep = static_cast<float>(v[1]);
        // The count is rounded and limited to 0..3600 when the table starts.
        r.AzimuthSteps = static_cast<int>(std::nearbyint(std::clamp(v[2], -1.0, 1e6)));
    }
    r.ResultsInDb = !a.Flag("--volts");
    if (const auto w = a.Value("--power")) {
        if (!Numbers(*w, 1, v)) return Fail(s, "--power takes a power in watts");
        power = static_cast<float>(v[0]);
    }
    if (const auto d = a.Value("--distance")) {
        if (!Numbers(*d, 1, v)) return Fail(s, "--distance takes a distance in metres");
        r.RadialDistance = static_cast<float>(v[0]);
    }
    return true;
}

}  // namespace

const char* const kFarFieldUsage =
    "Usage: quillwork-cli farfield FILE [--zenith START,STEP,STEPS] [--azimuth START,STEP,STEPS]\n"
    "                     [--volts] [--power W] [--distance M] [--csv] [--yes] [OPTIONS]\n\n"
    "Reads FILE (.qlk or .nec), runs the checks before computing, solves, and computes the far\n"
    "field over a grid of directions as the Far Field command does: it prints the main window's\n"
    "title lines and then the table that the command writes to the log.\n\n"
    "  --zenith START,STEP,STEPS   zenith angles in degrees from +z (default -90,2,90: STEPS + 1\n"
    "                              angles); STEPS is rounded and kept within 0..3600\n"
    "  --azimuth START,STEP,STEPS  azimuth angles in degrees from +x towards +y (default 0,2,180)\n"
    "  --volts                field strength in V/m (magnitude and phase of E(theta) and\n"
    "                         E(phi)) instead of the gains in dBi\n"
    "  --power W              the power the field strengths are scaled to (default: the input\n"
    "                         power; 0 or less also means the input power)\n"
    "  --distance M           the distance of the field strengths in metres (default 100000;\n"
    "                         0 gives the distance-free value r E in volts)\n"
    "  --csv                  print zenith,azimuth,vertical_db,horizontal_db,total_db (with\n"
    "                         --volts zenith,azimuth,etheta_mag,etheta_phase,ephi_mag,ephi_phase)\n"
    "                         one row per direction instead of the title and the table\n"
    YES_OPTION_HELP COMPUTE_OPTIONS_HELP GLOBAL_OPTIONS_HELP;

int RunFarField(Run& s, const std::vector<std::string>& args) {
    std::vector<std::string> valueOptions = ComputeValueOptions();
    valueOptions.insert(valueOptions.end(), {"--zenith", "--azimuth", "--power", "--distance"});
    const Arguments a(args, valueOptions, {"--volts", "--csv", "--yes"});
    if (!ExpectArguments(s, a, 1, kFarFieldUsage)) return 1;
    std::optional<float> power;
    if (!FillRequest(s, a, power)) return 1;
    const FarFieldRequest request = s.ctx.farField;
    if (!LoadCheckAndSolve(s, a, false)) return 1;
    // Reading the file renews the project and with it the request.
    s.ctx.farField = request;

    const bool csv = a.Flag("--csv");
    const bool volts = !request.ResultsInDb;
    FarFieldConsole console(s.out, s.err, power);
    console.echoMainText = !csv;
    FarFieldOutput output;
    if (csv) {
        s.out << (volts ? "zenith,azimuth,etheta_mag,etheta_phase,ephi_mag,ephi_phase\n"
                        : "zenith,azimuth,vertical_db,horizontal_db,total_db\n");
        output.rows = [&s, volts](const FarFieldRow& r) {
            s.out << CsvNumber(r.zenith) << ',' << CsvNumber(r.azimuth) << ',';
            if (volts)
                s.out << CsvNumber(r.theta.magnitude) << ',' << CsvNumber(r.theta.phase) << ','
                      << CsvNumber(r.phi.magnitude) << ',' << CsvNumber(r.phi.phase) << '\n';
            else
                s.out << CsvNumber(r.gains.vertical) << ',' << CsvNumber(r.gains.horizontal) << ','
                      << CsvNumber(r.gains.total) << '\n';
        };
    } else {
        output.logLines = PrintedLines(s);
    }
    Host* const host = s.ctx.host;
    s.ctx.host = &console;
    const Result result = ComputeFarField(s.ctx, output);
    Conclude(s.ctx, result);
    s.ctx.host = host;
    if (result.stopped()) s.err << "quillwork-cli: the far field was stopped\n";
    return result.completed() ? 0 : 1;
}

}  // namespace qw::cli
