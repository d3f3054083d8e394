// pattern: one azimuth or zenith cut of a project drawn as the pattern
// window draws it, with its captions, stored in the project's pattern file.
#include <cmath>
#include <ostream>

#include "app/cli/cli.h"
#include "app/cli/compute_options.h"
#include "app/cli/field_output.h"
#include "platform/svg_canvas.h"
#include "plots/pattern_compare.h"
#include "plots/pattern_plot.h"

namespace qw::cli {

namespace {



struct PatternRequest {
    int plane = 0;
    float angle = 0;
    int field = kTotalField;
    int width = 640, height = 640;
};

bool ReadRequest(Run& s, const Arguments& a, PatternRequest& r) {
    const auto az = a.Value("--azimuth-cut"), zen = a.Value("--zenith-cut");
    if (az.has_value() == zen.has_value()) return Fail(s, "give exactly one of --azimuth-cut ELEV and --zenith-cut AZ");
    std::vector<double> v;
    if (!NumberList(az ? *az : *zen, 1, v) || std::fabs(v[0]) > 1e6)
        return Fail(s, az ? "--azimuth-cut takes an elevation in degrees" : "--zenith-cut takes an azimuth in degrees");
    r.plane = az ? kAzimuthPlane : kZenithPlane;
    r.angle = static_cast<float>(v[0]);
    if (const auto f = a.Value("--field")) {
        if (*f == "total") r.field = kTotalField;
        else if (*f == "horizontal") r.field = kHorizontalField;
        else if (*f == "vertical") r.field = kVerticalField;
        else return Fail(s, "--field takes total, horizontal or vertical");
    }
    if (!SizeOption(s, a, r.width, r.height)) return false;
    return true;
}

}  // namespace

const char* const kPatternUsage =
    "Usage: quillwork-cli pattern FILE (--azimuth-cut ELEV | --zenith-cut AZ) [--field F] [--step DEG]\n"
    "                     [--size WxH] [--svg OUT] [--compare OTHER.PF] [--yes] [OPTIONS]\n\n"
    "Reads FILE (.qlk or .nec), runs the checks before computing, solves, and draws one cut of\n"
    "the pattern as the pattern window does: it prints the caption lines (also to the log) and\n"
    "stores the cut in the project's pattern file beside FILE (DIPOLE.QLK gives DIPOLE.PF).\n\n"
    "  --azimuth-cut ELEV     the cut over azimuth at ELEV degrees above the horizon\n"
    "  --zenith-cut AZ        the cut over the zenith angle at azimuth AZ degrees\n"
    "  --field F              total (default), horizontal or vertical\n"
    "  --step DEG             degrees between the plotted points, 1 to 360 (default: the\n"
    "                         settings' PlotIncrement, 2)\n"
    "  --size WxH             the picture's size in pixels (default 640x640)\n"
    "  --svg OUT              write the picture to OUT as SVG\n"
    "  --compare OTHER.PF     then draw the stored cut of the same plane from OTHER.PF over the\n"
    "                         project's own stored cut, as the Compare command does\n"
    YES_OPTION_HELP COMPUTE_OPTIONS_HELP GLOBAL_OPTIONS_HELP;

int RunPattern(Run& s, const std::vector<std::string>& args) {
    std::vector<std::string> valueOptions = ComputeValueOptions();
    valueOptions.insert(valueOptions.end(),
                        {"--azimuth-cut", "--zenith-cut", "--field", "--step", "--size", "--svg", "--compare"});
    const Arguments a(args, valueOptions, {"--yes"});
    if (!ExpectArguments(s, a, 1, kPatternUsage)) return 1;
    PatternRequest request;
    if (!ReadRequest(s, a, request)) return 1;
    int step = s.ctx.options.PlotStep;
    if (const auto st = a.Value("--step"); st && !WholeNumber(*st, 1, 360, step)) {
        Fail(s, "--step takes a whole number of degrees from 1 to 360");
        return 1;
    }
    if (!LoadCheckAndSolve(s, a, false)) return 1;
    s.ctx.options.PlotStep = step;

    PatternView view;
    view.FieldType = request.field;
    view.CutAngle = request.angle;
    SvgCanvas canvas(request.width, request.height);
    ReportLines lines(s.ctx, PrintedLines(s));
    const bool drawn = Conclude(s.ctx, request.plane == kAzimuthPlane ? PlotAzimuthCut(s.ctx, view, canvas, lines)
                                                                      : PlotZenithCut(s.ctx, view, canvas, lines));
    if (!drawn) return 1;
    if (const auto other = a.Value("--compare")) {
        if (!Conclude(s.ctx, ComparePatternFile(s.ctx, view, canvas, *other))) return 1;
    }
    if (const auto svg = a.Value("--svg")) {
        const std::string why = canvas.Save(*svg);
        if (!why.empty()) {
            Fail(s, "cannot write " + *svg + ": " + why);
            return 1;
        }
    }
    return 0;
}

}  // namespace qw::cli
