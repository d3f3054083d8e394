// view: the 2D view of a project's wires in one plane, written as SVG.
#include <cmath>
#include <ostream>

#include "app/cli/cli.h"
#include "commands/checks.h"
#include "platform/svg_canvas.h"
#include "plots/antenna_view.h"
#include "solver/pulse_points.h"
#include "solver/solver.h"

namespace qw::cli {

namespace {



struct ViewRequest {
    AntennaViewState state;
    int unit = 0;  // 0: the project's own
    int width = 640, height = 640;
};

bool ReadRequest(Run& s, const Arguments& a, ViewRequest& r) {
    const auto plane = a.Value("--plane");
    if (!plane) return Fail(s, "give the plane: --plane xy, yz or xz");
    if (*plane == "xy") r.state.plane = kPlaneXY;
    else if (*plane == "yz") r.state.plane = kPlaneYZ;
    else if (*plane == "xz") r.state.plane = kPlaneXZ;
    else return Fail(s, "--plane takes xy, yz or xz");
    r.state.pulses = a.Flag("--pulses") || a.Flag("--numbers");
    r.state.pulseNumbers = a.Flag("--numbers");
    if (const auto unit = a.Value("--unit")) {
        const char* const names[] = {"meters", "feet", "inches", "cm", "mm", "wavelengths"};
        for (int i = 0; i < 6; ++i)
            if (*unit == names[i]) r.unit = i + 1;
        if (r.unit == 0) return Fail(s, "--unit takes meters, feet, inches, cm, mm or wavelengths");
    }
    if (!SizeOption(s, a, r.width, r.height)) return false;
    if (!a.Value("--svg")) return Fail(s, "give the picture file: --svg OUT");
    return true;
}

}  // namespace

const char* const kViewUsage =
    "Usage: quillwork-cli view FILE --plane xy|yz|xz [--pulses] [--numbers] [--unit UNIT]\n"
    "                  [--size WxH] --svg OUT\n\n"
    "Reads FILE (.qlk or .nec) and draws the 2D view of its wires in one plane as the 2D View\n"
    "window does: the axes through the origin, the wires with their lengths, the sources as\n"
    "filled circles and the loads as squares. Nothing is computed. The vertical coordinate of\n"
    "the yz and xz views is the wires' own Z, without the antenna height.\n\n"
    "  --plane P              xy (seen from above), yz or xz\n"
    "  --pulses               mark every pulse with a dot\n"
    "  --numbers              mark the pulses with their numbers (implies --pulses); the wire\n"
    "                         lengths are then left out\n"
    "  --unit UNIT            the unit of the length labels: meters, feet, inches, cm, mm or\n"
    "                         wavelengths (default: the project's unit); wavelengths need the\n"
    "                         project's frequency\n"
    "  --size WxH             the picture's size in pixels, each 100 to 10000 (default 640x640)\n"
    "  --svg OUT              write the picture to OUT as SVG\n" GLOBAL_OPTIONS_HELP;

int RunView(Run& s, const std::vector<std::string>& args) {
    const Arguments a(args, {"--plane", "--unit", "--size", "--svg"}, {"--pulses", "--numbers"});
    if (!ExpectArguments(s, a, 1, kViewUsage)) return 1;
    ViewRequest request;
    if (!ReadRequest(s, a, request)) return 1;
    s.host.echoMainText = false;
    if (!s.Load(a.Positional()[0])) return 1;
    Project& p = s.ctx.project;
    if (p.WireCount == 0) {
        Fail(s, "Define Geometry First");
        return 1;
    }
    if (request.unit == kWavelengths && !(p.Frequency > 0)) {
        Fail(s, "--unit wavelengths needs the project's frequency, and " + a.Positional()[0] + " gives none");
        return 1;
    }
    if (request.unit != 0) p.Units = request.unit;
    // Reading a height leaves the pulses to be built again for it.
    if (!PulsesCurrent(s.ctx)) {
        RebuildPulses(s.ctx);
        if (s.ctx.AbortFlag) return 1;
    }
    SvgCanvas canvas(request.width, request.height);
    DrawAntennaView(canvas, p, PulsePoints(s.ctx), request.state, s.ctx.options.Colours);
    const std::string out = *a.Value("--svg");
    const std::string why = canvas.Save(out);
    if (!why.empty()) {
        Fail(s, "cannot write " + out + ": " + why);
        return 1;
    }
    return 0;
}

}  // namespace qw::cli
