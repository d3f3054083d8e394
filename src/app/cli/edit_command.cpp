// edit: the geometry editor's operations applied to a project file.
#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <ostream>

#include "app/cli/cli.h"
#include "app/cli/edit_placement.h"
#include "commands/geometry_check.h"
#include "commands/geometry_table.h"
#include "commands/geometry_taper.h"
#include "model/card_tokens.h"
#include "model/project_writer.h"

namespace qw::cli {

const char* const kEditUsage =
    "Usage: quillwork-cli edit IN OUT [OPERATION]...\n\n"
    "Reads IN (.qlk or .nec), applies the operations of the geometry editor and of the\n"
    "source and load window in the order given and writes the project file OUT. Lengths\n"
    "are in the project's unit; wires are numbered from 1 as in the geometry table, and\n"
    "a LIST names wires as 2,4-6. Before writing, the geometry is checked (no wires,\n"
    "zero length, below or on the ground, identical wires) together with the limits of\n"
    "50 wires and 300 segments: a failure, like a refused operation, prints the message,\n"
    "exits 1 and writes nothing. Without operations OUT is what `save` writes.\n\n"
    "  --add-wire X1,Y1,Z1,X2,Y2,Z2,DIAM,SEG\n"
    "                         append a wire\n"
    "  --insert-wire ROW:X1,Y1,Z1,X2,Y2,Z2,DIAM,SEG\n"
    "                         insert a wire before wire ROW\n"
    "  --delete-wires LIST    delete wires\n"
    "  --rotate AXIS,DEGREES[:LIST]\n"
    "                         rotate about the x, y or z axis through the origin (all\n"
    "                         wires without LIST); a positive angle turns clockwise seen\n"
    "                         from the axis's positive end: y towards x about z, z\n"
    "                         towards y about x, z towards x about y\n"
    "  --scale FACTOR[:LIST]  multiply the coordinates\n"
    "  --shift DX,DY,DZ[:LIST]\n"
    "                         move the wires\n"
    "  --taper WIRE,LARGE_DIAM,SMALL_DIAM,LARGE_SEG,SMALL_SEG[,both|end1|end2][,wavelength]\n"
    "                         replace a wire by a tapered chain (segment lengths in\n"
    "                         wavelengths with `wavelength`; both ends by default)\n"
    "  --connect              later added or inserted wires start at the end of the wire\n"
    "                         before them (their X1,Y1,Z1 are ignored)\n"
    "  --comment TEXT         the comment of the header of a project without one\n" EDIT_PLACEMENT_HELP
        GLOBAL_OPTIONS_HELP;

namespace {

std::optional<double> Number(const std::string& text) {
    std::string t = text;
    if (!t.empty() && t.front() == '+') t.erase(0, 1);
    double v = 0;
    const auto [end, error] = std::from_chars(t.data(), t.data() + t.size(), v);
    if (t.empty() || error != std::errc() || end != t.data() + t.size() || !std::isfinite(v)) return std::nullopt;
    return v;
}

std::optional<std::vector<double>> Numbers(const std::string& text, std::size_t count) {
    const auto parts = SplitAt(text, ',');
    if (parts.size() != count) return std::nullopt;
    std::vector<double> values;
    for (const auto& p : parts) {
        const auto v = Number(p);
        if (!v) return std::nullopt;
        values.push_back(*v);
    }
    return values;
}

// "VALUES[:LIST]": the values and the wires (all when LIST is omitted).
bool WithList(const std::string& text, const GeometryTable& table, std::string* values, std::vector<int>* rows) {
    const auto colon = text.find(':');
    *values = text.substr(0, colon);
    if (colon == std::string::npos) {
        rows->clear();
        for (int r = 1; r <= table.Rows(); ++r) rows->push_back(r);
        return true;
    }
    const auto list = ParseWireList(text.substr(colon + 1), table.Rows());
    if (!list) return false;
    *rows = *list;
    return true;
}

// Fills a new row with eight values; false (after the message) when a
// value is refused.
bool FillWire(GeometryTable& table, int row, const std::vector<double>& v, bool keepEnd1) {
    for (int c = kColX1; c <= kColSeg; ++c) {
        if (keepEnd1 && c <= kColZ1) continue;
        char buffer[64];
        const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, v[c - 1]);
        if (error != std::errc() || !table.SetCell(row, c, std::string(buffer, end))) return false;
    }
    return true;
}

// Applies one operation; the message on stderr when it cannot be done.
bool Apply(Run& s, GeometryTable& table, const std::string& option, const std::string& value) {
    auto bad = [&](const std::string& why) {
        s.err << "quillwork-cli edit: " << option << " " << value << ": " << why << "\n";
        return false;
    };
    if (option == "--add-wire" || option == "--insert-wire") {
        std::string values = value;
        int at = table.Rows() + 1;
        if (option == "--insert-wire") {
            const auto colon = value.find(':');
            const auto row = colon == std::string::npos ? std::nullopt : Number(value.substr(0, colon));
            if (!row || *row != std::floor(*row) || *row < 1 || *row > table.Rows() + 1)
                return bad("ROW must be a wire number from 1 to " + std::to_string(table.Rows() + 1));
            at = static_cast<int>(*row);
            values = value.substr(colon + 1);
        }
        const auto v = Numbers(values, 8);
        if (!v) return bad("eight numbers are needed: X1,Y1,Z1,X2,Y2,Z2,DIAM,SEG");
        const int row = table.InsertWire(at);
        if (row == 0) return false;
        return FillWire(table, row, *v, table.connectNewWires && row > 1);
    }
    if (option == "--delete-wires") {
        const auto rows = ParseWireList(value, table.Rows());
        if (!rows) return bad("not a list of wires 1 to " + std::to_string(table.Rows()));
        std::vector<int> sorted = *rows;
        std::sort(sorted.rbegin(), sorted.rend());
        for (int r : sorted) table.DeleteRows(r, r);
        return true;
    }
    std::string values;
    std::vector<int> rows;
    if (option == "--rotate") {
        if (!WithList(value, table, &values, &rows)) return bad("not a list of wires");
        const auto parts = SplitAt(values, ',');
        const std::string axes = "xyz";
        const auto axis = parts.size() == 2 && parts[0].size() == 1 ? axes.find(std::tolower(parts[0][0]))
                                                                     : std::string::npos;
        const auto degrees = parts.size() == 2 ? Number(parts[1]) : std::nullopt;
        if (axis == std::string::npos || !degrees) return bad("AXIS,DEGREES is needed, AXIS x, y or z");
        table.Rotate(rows, static_cast<int>(axis) + 1, static_cast<float>(*degrees));
        return true;
    }
    if (option == "--scale") {
        if (!WithList(value, table, &values, &rows)) return bad("not a list of wires");
        const auto factor = Number(values);
        if (!factor) return bad("FACTOR must be a number");
        for (int r : rows)
            if (!table.Scale({r, kColX1, r, kColZ2}, *factor)) return false;
        return true;
    }
    if (option == "--shift") {
        if (!WithList(value, table, &values, &rows)) return bad("not a list of wires");
        const auto d = Numbers(values, 3);
        if (!d) return bad("DX,DY,DZ are needed");
        return table.Move(rows, (*d)[0], (*d)[1], (*d)[2]);
    }
    if (option == "--taper") {
        auto parts = SplitAt(value, ',');
        TaperRequest request;
        while (parts.size() > 5) {
            const std::string word = parts.back();
            parts.pop_back();
            if (word == "wavelength")
                request.wavelengths = true;
            else if (word == "both")
                request.ends = TaperEnds::Both;
            else if (word == "end1")
                request.ends = TaperEnds::End1;
            else if (word == "end2")
                request.ends = TaperEnds::End2;
            else
                return bad("unknown word " + word);
        }
        std::vector<double> v;
        for (const auto& p : parts)
            if (const auto n = Number(p)) v.push_back(*n);
        if (v.size() != 5 || v[0] != std::floor(v[0]) || v[0] < 1 || v[0] > table.Rows())
            return bad("WIRE,LARGE_DIAM,SMALL_DIAM,LARGE_SEG,SMALL_SEG are needed, WIRE from 1 to " +
                       std::to_string(table.Rows()));
        const int wire = static_cast<int>(v[0]);
        request.largeDiameter = v[1];
        request.smallDiameter = v[2];
        request.largeSegment = v[3];
        request.smallSegment = v[4];
        const Project& p = s.ctx.project;
        int otherSegments = 0;
        for (int w = 1; w <= p.WireCount; ++w)
            if (w != wire) otherSegments += p.Wires[w].Segments;
        const TaperPlan plan =
            PlanTaper(p.Wires[wire], request, table.Unit(), p.Frequency, p.WireCount - 1, otherSegments, s.ctx.Limits());
        if (!plan.error.empty()) {
            s.ctx.host->Notify(plan.error, plan.errorTitle, MessageIcon::Exclamation);
            return false;
        }
        return table.ReplaceByChain(wire, plan.chain);
    }
    if (option == "--connect") {
        table.connectNewWires = true;
        return true;
    }
    return bad("unknown operation");
}

}  // namespace

int RunEdit(Run& s, const std::vector<std::string>& args) {
    const std::vector<std::string> operations = {"--add-wire", "--insert-wire", "--delete-wires", "--rotate",
                                                 "--scale",    "--shift",       "--taper"};
    std::vector<std::string> valueOptions = operations;
    valueOptions.insert(valueOptions.end(), kPlacementOptions.begin(), kPlacementOptions.end());
    valueOptions.push_back("--comment");
    const Arguments a(args, valueOptions, {"--connect"});
    if (!ExpectArguments(s, a, 2, kEditUsage)) return 1;
    s.host.echoMainText = false;
    if (!s.Load(a.Positional()[0])) return 1;
    GeometryTable table(s.ctx);
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& option = args[i];
        const bool isOperation = std::find(operations.begin(), operations.end(), option) != operations.end();
        if (option == "--connect") {
            table.connectNewWires = true;
        } else if (isOperation) {
            if (!Apply(s, table, option, args[i + 1])) return 1;
            ++i;
        } else if (std::find(kPlacementOptions.begin(), kPlacementOptions.end(), option) != kPlacementOptions.end()) {
            if (!ApplyPlacement(s, option, args[i + 1])) return 1;
            ++i;
        } else if (option == "--comment" || option == "--settings" || option == "--log") {
            ++i;
        }
    }
    Project& p = s.ctx.project;
    if (p.WireCount == 0) {
        s.err << "No wires defined\n";
        return 1;
    }
    if (CheckGeometry(s.ctx) != GeometryCheck::Passed || CheckPulseWireMax(s.ctx)) return 1;
    if (!HasHeaderComments(p.ProjectText)) {
        p.ProjectText.clear();
        s.host.inputAnswers.push_back(a.Value("--comment").value_or(""));
    }
    return SaveProject(s.ctx, a.Positional()[1]) ? 0 : 1;
}

}  // namespace qw::cli
