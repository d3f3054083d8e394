// view3d: the 3D view of a project drawn as SVG, with pulses, currents and
// the 3D pattern; pattern3d: the 3D pattern's data file and its grid.
#include <cmath>
#include <ostream>

#include "app/cli/cli.h"
#include "app/cli/compute_options.h"
#include "app/cli/field_output.h"
#include "commands/checks.h"
#include "fields/currents.h"
#include "model/format_mask.h"
#include "platform/svg_canvas.h"
#include "plots/pattern3d.h"
#include "plots/view3d_plot.h"

namespace qw::cli {

namespace {


bool FieldOption(Run& s, const Arguments& a, int& field) {
    const auto f = a.Value("--field");
    if (!f) return true;
    if (*f == "total") field = kTotalField;
    else if (*f == "horizontal") field = kHorizontalField;
    else if (*f == "vertical") field = kVerticalField;
    else return Fail(s, "--field takes total, horizontal or vertical");
    return true;
}

}  // namespace

const char* const kView3DUsage =
    "Usage: quillwork-cli view3d FILE [--angles A0,A1,A2] [--zoom Z] [--pulses] [--numbers]\n"
    "                     [--currents] [--current-colours] [--marker] [--pattern] [--field F]\n"
    "                     [--wire-info N] [--size WxH] --svg OUT [--yes] [OPTIONS]\n\n"
    "Reads FILE (.qlk or .nec), runs the checks before computing and draws the 3D view of its\n"
    "wires, with the coordinate axes through the antenna's centre and the sources and loads\n"
    "marked, as the 3D View & Currents window draws it.\n\n"
    "  --angles A0,A1,A2      the three view angles in whole degrees (default 0,-60,-60)\n"
    "  --zoom Z               pixels per metre (default 100 over the antenna's size)\n"
    "  --pulses               mark the pulse positions\n"
    "  --numbers              number the pulses\n"
    "  --currents             solve and draw the current along every wire, displaced across\n"
    "                         the wire by its magnitude\n"
    "  --marker               with --currents: displace by magnitude x sin(phase)\n"
    "  --current-colours      with --currents: colour the wires by current magnitude instead\n"
    "  --wire-info N          show the data of wire N in a box and draw the wire thicker\n"
    "  --pattern              solve, compute the 3D pattern, write it to the .PLT file beside\n"
    "                         FILE (DIPOLE.QLK gives DIPOLE.PLT) and draw it as a mesh\n"
    "  --field F              the pattern's gain: total (default), horizontal or vertical\n"
    "  --size WxH             the picture's size in pixels (default 800x600)\n"
    "  --svg OUT              write the picture to OUT as SVG (required)\n"
    YES_OPTION_HELP COMPUTE_OPTIONS_HELP GLOBAL_OPTIONS_HELP;

const char* const kPattern3DUsage =
    "Usage: quillwork-cli pattern3d FILE [--field F] [--csv] [--yes] [OPTIONS]\n\n"
    "Reads FILE (.qlk or .nec), runs the checks before computing, solves, and computes the\n"
    "3D pattern as the 3D view does: the gain at azimuths 0, 5, ... 360 and elevations\n"
    "0, 5, ... 90 degrees, written to the .PLT file beside FILE (73 records of 20 floats:\n"
    "the azimuth, then the 19 gains) and read back. Prints the grid: one line per azimuth,\n"
    "the azimuth and then the gains from the horizon up, in the gain unit of the settings.\n\n"
    "  --field F              total (default), horizontal or vertical gain\n"
    "  --csv                  print azimuth,elevation,gain, one direction per line\n"
    YES_OPTION_HELP COMPUTE_OPTIONS_HELP GLOBAL_OPTIONS_HELP;

int RunView3D(Run& s, const std::vector<std::string>& args) {
    std::vector<std::string> values = ComputeValueOptions();
    values.insert(values.end(), {"--angles", "--zoom", "--field", "--size", "--svg", "--wire-info"});
    const Arguments a(args, values,
                      {"--pulses", "--numbers", "--currents", "--current-colours", "--marker", "--pattern", "--yes"});
    if (!ExpectArguments(s, a, 1, kView3DUsage)) return 1;
    const auto svg = a.Value("--svg");
    if (!svg) return Fail(s, "view3d needs --svg OUT"), 1;
    View3DState view;
    if (const auto angles = a.Value("--angles")) {
        std::vector<double> v;
        if (!NumberList(*angles, 3, v) || std::fabs(v[0]) >= 360 || std::fabs(v[1]) >= 360 || std::fabs(v[2]) >= 360)
            return Fail(s, "--angles takes three angles A0,A1,A2 in degrees, each within -359 to 359"), 1;
        view.ViewAngle0 = WrapViewAngle(static_cast<float>(v[0]));
        view.ViewAngle1 = WrapViewAngle(static_cast<float>(v[1]));
        view.ViewAngle2 = WrapViewAngle(static_cast<float>(v[2]));
    }
    int field = kTotalField;
    if (!FieldOption(s, a, field)) return 1;
    int width = 800, height = 600;
    if (!SizeOption(s, a, width, height)) return 1;
    std::optional<float> zoom;
    if (const auto z = a.Value("--zoom")) {
        std::vector<double> v;
        if (!NumberList(*z, 1, v) || !(v[0] > 0) || v[0] >= kMaxZoom)
            return Fail(s, "--zoom takes pixels per metre, above 0 and below 16000"), 1;
        zoom = static_cast<float>(v[0]);
    }
    view.ShowPulses = a.Flag("--pulses");
    view.ShowPulseNumbers = a.Flag("--numbers");
    view.ShowCurrents = a.Flag("--currents");
    view.CurrentColours = a.Flag("--current-colours");
    view.Marker = a.Flag("--marker");
    view.ShowPattern = a.Flag("--pattern");

    if (const auto info = a.Value("--wire-info")) {
        if (!WholeNumber(*info, 1, s.ctx.Limits().wires, view.InfoWire)) return Fail(s, "--wire-info takes a wire number"), 1;
        view.ShowWireInfo = true;
    }
    const bool solve = view.ShowCurrents || view.ShowPattern;
    if (!(solve ? LoadCheckAndSolve(s, a, false) : LoadAndCheck(s, a))) return 1;

    WireCurrentRows rows;
    if (view.ShowCurrents && !Conclude(s.ctx, GatherCurrentRows(s.ctx, "", rows))) return 1;
    Pattern3DGrid grid;
    if (view.ShowPattern && !Conclude(s.ctx, ComputePattern3D(s.ctx, field, grid))) return 1;

    const Scene3D scene = SceneOf(s.ctx);
    view.Zoom = zoom ? *zoom : DefaultZoom(scene.extent.size);
    View3DInput input;
    input.scene = &scene;
    input.currents = view.ShowCurrents ? &rows : nullptr;
    input.pattern = view.ShowPattern ? &grid : nullptr;
    input.colours = s.ctx.options.Colours;
    input.plotScale = s.ctx.options.PlotScale;
    input.minDb = s.ctx.options.MinDb;
    if (view.ShowWireInfo) {
        if (view.InfoWire > s.ctx.project.WireCount) return Fail(s, "--wire-info: there is no such wire"), 1;
        input.wireInfo = WireInfoLines(s.ctx.project, view.InfoWire);
    }
    SvgCanvas canvas(width, height);
    DrawView3D(canvas, view, input);
    const std::string why = canvas.Save(*svg);
    if (!why.empty()) return Fail(s, "cannot write " + *svg + ": " + why), 1;
    return 0;
}

int RunPattern3D(Run& s, const std::vector<std::string>& args) {
    std::vector<std::string> values = ComputeValueOptions();
    values.push_back("--field");
    const Arguments a(args, values, {"--csv", "--yes"});
    if (!ExpectArguments(s, a, 1, kPattern3DUsage)) return 1;
    int field = kTotalField;
    if (!FieldOption(s, a, field)) return 1;
    if (!LoadCheckAndSolve(s, a, false)) return 1;
    Pattern3DGrid grid;
    if (!Conclude(s.ctx, ComputePattern3D(s.ctx, field, grid))) return 1;
    const bool csv = a.Flag("--csv");
    if (csv) s.out << "azimuth,elevation,gain\n";
    for (int az = 0; az < kPattern3DAzimuths; ++az) {
        const auto& column = grid.gain[static_cast<std::size_t>(az)];
        if (csv) {
            for (int e = 0; e < kPattern3DElevations; ++e)
                s.out << az * kPattern3DStep << ',' << e * kPattern3DStep << ','
                      << CsvNumber(column[static_cast<std::size_t>(e)]) << '\n';
            continue;
        }
        std::string line = Format(static_cast<float>(az * kPattern3DStep), "##0");
        for (float g : column) line += " " + Format(g, " ##0.00;-##0.00");
        s.out << line << '\n';
    }
    return 0;
}

}  // namespace qw::cli
