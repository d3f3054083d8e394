#include "model/project_writer.h"

#include <filesystem>
#include <sstream>
#include <vector>

#include "model/card_tokens.h"
#include "model/format_mask.h"
#include "model/number_str.h"
#include "model/project_reader.h"
#include "model/units.h"
#include "platform/file_replace.h"
#include "platform/host.h"

namespace qw {

namespace {

constexpr const char* kEol = "\r\n";

bool HasNonZeroDigit(const std::string& text) {
    for (const char c : text)
        if (c >= '1' && c <= '9') return true;
    return false;
}

// A length formatted with its mask, or in Str form when the mask would
// write a non-zero value as zero (which would read back as 0).
std::string LengthText(float value, const std::string& mask) {
    const std::string text = Format(value, mask);
    if (value != 0 && !HasNonZeroDigit(text)) return Str(value);
    return text;
}

// A load's field: Str form, with a blank in front of a minus sign so that
// the fields stay apart.
template <typename T>
std::string LoadField(T value) {
    return value < 0 ? " " + Str(value) : Str(value);
}

// The header comment lines kept from the project text: the comment lines
// before the first line that begins with "CE"; without such a line, the
// leading comment lines. Cards before the "CE" line are not kept: they are
// written from the project itself, and their echo lines would read back as
// cards a second time.
std::vector<std::string> HeaderLines(const std::string& projectText) {
    std::vector<std::string> header;
    const auto lines = SplitLines(projectText);
    bool hasEnd = false;
    for (const auto line : lines) hasEnd = hasEnd || line.rfind("CE", 0) == 0;
    for (const auto line : lines) {
        if (line.rfind("CE", 0) == 0) break;
        if (!CardLine::IsCommentCard(line)) {
            if (!hasEnd) break;
            continue;
        }
        header.emplace_back(line);
    }
    return header;
}

std::string GroundLine(const Environment& env) {
    if (env.GroundKind == kPerfectGround) return "Over Perfect Ground";
    if (const GroundClass* c = FindGroundClass(env.Dielectric(), env.Conductivity()))
        return std::string("Over ") + c->name + " Ground";
    const float milliSiemens = static_cast<float>(static_cast<double>(env.Conductivity()) * 1000.0);
    return "Over Ground " + Str(env.Dielectric()) + " " + Str(milliSiemens);
}

std::string BoundaryLine(int boundary) {
    if (boundary == kLinearBoundary) return "Boundary Rectangular";
    if (boundary == kCircularBoundary) return "Boundary Circular";
    return "CM Undefined boundary";
}

}  // namespace

bool HasHeaderComments(const std::string& projectText) { return !HeaderLines(projectText).empty(); }

std::string ProjectFileNameFor(const std::string& path) {
    if (!IsNecFileName(path)) return path;
    return path.substr(0, path.size() - 4) + ".qlk";
}

void WriteProjectCards(Context& ctx, std::ostream& out) {
    Project& p = ctx.project;
    auto line = [&out](const std::string& text) { out << text << kEol; };

    // 1. Header comments, ended by "CE".
    if (p.ProjectText.empty()) {
        const auto comment = ctx.host->InputBox("Enter comments", " QUILLWORK Project ", "");
        p.ProjectText = std::string("CM") + kEol + "CM  QUILLWORK File" + kEol + "CM  " + comment.value_or("");
        for (const auto l : SplitLines(p.ProjectText)) line(std::string(l));
    } else {
        for (const auto& l : HeaderLines(p.ProjectText)) line(l);
    }
    line("CE");
    p.ProjectText += kEol;
    p.ProjectText += "CE";

    // 2.-8. Environment, unit, height, frequency.
    const bool overGround = p.Env.GroundPresent != kFreeSpace;
    line(overGround ? "GND Reference" : "Free Space");
    line("UNITS " + UnitWord(p.Units));
    line("Height " + LengthText(FromMeters(p, p.Height), ctx.NumberFormat));
    if (overGround) line(GroundLine(p.Env));
    if (p.Env.RadialLength != 0 && p.Env.RadialCount != 0)
        line("Radials " + Str(p.Env.RadialCount) + " " + Str(p.Env.RadialLength));
    line(BoundaryLine(p.Env.Boundary));
    line("F  " + Format(p.Frequency, "###0.000"));

    // 9. Wires.
    for (int i = 1; i <= p.WireCount; ++i) {
        const Wire& w = p.Wires[i];
        std::string card = "GW " + Str(i) + "  " + Str(w.Segments);
        for (const float c : {w.X1, w.Y1, w.Z1, w.X2, w.Y2, w.Z2})
            card += "  " + LengthText(FromMeters(p, c), ctx.NumberFormat);
        const float diameter = FromMeters(p, 2 * w.Radius);
        const std::string diameterText = Format(diameter, "   ###0.000#");
        card += "  " + (diameter != 0 && !HasNonZeroDigit(diameterText) ? "   " + Str(diameter) : diameterText);
        line(card);
    }

    // 10. Sources.
    for (int i = 1; i <= p.SourceCount; ++i) {
        const Source& s = p.Sources[i];
        line("S  " + Str(i) + Str(s.Pulse) + "   " + Str(s.Magnitude) + "   " + Str(s.Phase) + "   " +
             (s.Kind == kCurrentSource ? "I" : ""));
    }

    // 11. Loads.
    static const char* const kPrefixes[] = {"L   ", "LX  ", "LS  ", "LP  "};
    for (int i = 1; i <= p.LoadCount; ++i) {
        const Load& l = p.Loads[i];
        const int kind = (l.Kind >= 0 && l.Kind <= 3) ? l.Kind : 0;
        std::string card = std::string(kPrefixes[kind]) + Str(i) + LoadField(static_cast<int>(l.Pulse)) +
                           LoadField(l.Resistance) + LoadField(l.Reactance);
        if (kind == kSeriesRLC || kind == kParallelRLC) card += LoadField(l.Capacitance);
        line(card);
    }

    // 12.-13. Feed line and the two empty lines.
    line("Coax " + Str(p.CoaxImpedance));
    line("");
    line("");
}

bool SaveProject(Context& ctx, const std::string& requested) {
    Project& p = ctx.project;
    ctx.AbortFlag = false;
    std::string path = requested;
    if (path.empty()) {
        const auto chosen = ctx.host->SaveFileDialog(kSaveProjectTitle, kSaveProjectFilter, ProjectFileNameFor(p.FileName));
        if (!chosen || chosen->empty()) {
            ctx.AbortFlag = true;
            return false;
        }
        path = *chosen;
    }
    if (IsNecFileName(path)) {
        path = ProjectFileNameFor(path);
        ctx.host->ShowMessage({"A project is saved as a project file, not as a NEC deck:\r\n" + path,
                               kSaveProjectTitle, MessageIcon::Information, MessageButtons::Ok, 1});
    }

    const std::string textBefore = p.ProjectText;
    std::ostringstream cards;
    WriteProjectCards(ctx, cards);
    const std::string why = WriteFileReplacing(path, cards.str());
    if (!why.empty()) {
        p.ProjectText = textBefore;
        ctx.host->ShowMessage({"The project could not be saved to " + path + "\r\n" + why + "\r\nThe file was not changed.",
                               kSaveProjectTitle, MessageIcon::Critical, MessageButtons::Ok, 1});
        ctx.AbortFlag = true;
        return false;
    }
    p.FileName = path;
    p.Modified = false;
    ctx.host->SetStatusText(2, std::filesystem::path(path).filename().string());
    return true;
}

void AskSaveChanges(Context& ctx) {
    const Project& p = ctx.project;
    if (!p.Modified) return;
    Message m;
    m.text = p.FileName.empty() ? "Save to New Project ?" : "Save changes to " + p.FileName + " ?";
    m.title = "Project was modified";
    m.icon = MessageIcon::Critical;
    m.buttons = MessageButtons::YesNoCancel;
    m.defaultButton = 2;
    switch (ctx.host->ShowMessage(m)) {
    case MessageAnswer::Yes:
        ctx.AbortFlag = !SaveProject(ctx, p.FileName);
        break;
    case MessageAnswer::No:
        ctx.AbortFlag = false;
        break;
    default:
        ctx.AbortFlag = true;
        break;
    }
}

}  // namespace qw
