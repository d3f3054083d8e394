#include "model/project_reader.h"

#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>
#include <set>
#include <sstream>
#include <stdexcept>
#include <vector>

#include "model/card_tokens.h"
#include "model/format_mask.h"
#include "model/nec_deck.h"
#include "model/number_conversion.h"
#include "model/number_str.h"
#include "model/number_value.h"
#include "model/units.h"
#include "platform/file_read.h"
#include "platform/host.h"

namespace qw {

namespace {

// A card that cannot be stored (a table is full).
class CardFailure : public std::runtime_error {
public:
    CardFailure() : std::runtime_error("card failure") {}
};

// The read stops: a wire card found the wire table full.
struct TooManyWires {};

// Wire cards counted by the first pass, and the file's own frequency.
struct FirstPass {
    int wires = 0;
    double segments = 0;
    float frequency = 0;  // first valid "F" card, 0 when none
};

FirstPass CountWires(const std::vector<std::string_view>& lines) {
    FirstPass count;
    for (const auto raw : lines) {
        if (CardLine::IsCommentCard(raw)) continue;
        const CardLine line(raw);
        const std::string kw = line.Keyword();
        const double segments = std::rint(Val(line.Token(3)));
        if (kw == "GW" || kw == "W") {
            count.wires += 1;
            count.segments += segments;
        } else if (kw == "Q") {
            count.wires += 4;
            count.segments += 4 * segments;
        } else if (kw == "F" && count.frequency == 0) {
            const double f = Val(line.Token(2));
            if (f > 0 && f <= std::numeric_limits<float>::max()) count.frequency = static_cast<float>(f);
        }
    }
    return count;
}

// Interprets the cards of one file, line by line.
class CardReader {
public:
    CardReader(Context& ctx, float fileFrequency) : ctx_(ctx), p_(ctx.project), fileFrequency_(fileFrequency) {}

    // Interprets one line and returns the line to show (the line itself or
    // its echo); "" for a line that is skipped.
    std::string Interpret(std::string_view raw);

    const std::string& CurrentToken() const { return token_; }

private:
    std::string Tok(const CardLine& line, int i) { return token_ = line.Token(i); }
    double Num(const CardLine& line, int i) {
        bool overflow = false;
        const double v = Val(Tok(line, i), &overflow);
        if (overflow) throw NumberOverflow("number too large: " + token_);
        return v;
    }
    float Single(const CardLine& line, int i) { return ToSingle(Num(line, i)); }

    std::string ReadWire(const CardLine& line, const std::string& kw);
    std::string ReadSquareLoop(const CardLine& line);
    std::string AddWire(int segments, float x1, float y1, float z1, float x2, float y2, float z2, float diameter);
    std::string ReadSource(const CardLine& line, const std::string& kw);
    std::string ReadLoad(const CardLine& line, const std::string& kw);
    void ReadGround(const CardLine& line);
    void ReadHeight(const CardLine& line);

    Context& ctx_;
    Project& p_;
    float fileFrequency_;
    std::string token_;
};

std::string CardReader::Interpret(std::string_view rawView) {
    const std::string raw(rawView);
    if (CardLine::IsCommentCard(raw)) return raw;
    const CardLine line(raw);
    const std::string kw = line.Keyword();
    token_ = kw;
    if (kw.empty()) return "";
    if (kw == "EN") return raw;

    if (kw == "SYMOFF") { ctx_.Symmetry = 0; return raw; }
    if (kw == "SYMXZ") { ctx_.Symmetry = 1; return raw; }
    if (kw == "SYMYZ") { ctx_.Symmetry = 2; return raw; }
    if (kw == "SYMXY") { ctx_.Symmetry = 3; return raw; }
    if (kw == "SYMETRY") {
        const std::string plane = UpperAscii(Tok(line, 2));
        ctx_.Symmetry = plane == "XY" ? 3 : plane == "XZ" ? 1 : plane == "YZ" ? 2 : 0;
        return raw;
    }
    if (kw == "UNIT" || kw == "UNITS") {
        const std::string word = UpperAscii(Tok(line, 2));
        static const char* const kWords[] = {"METERS", "FEET", "INCHES", "CM", "MM", "WLENGTH"};
        if (word == " ") p_.Units = kMeters;
        for (int u = 0; u < 6; ++u)
            if (word == kWords[u]) p_.Units = u + 1;
        return raw;
    }
    if (kw == "F") {
        // No value, or one that is not a positive Single, is no frequency.
        const float f = Single(line, 2);
        if (!(f > 0)) {
            ctx_.host->AppendMainText("Project Error: Missing Frequency Value");
            return raw;
        }
        p_.Frequency = f;
        ctx_.Changed(Change::Frequency);
        p_.FrequencyDefined = true;
        return raw;
    }
    if (kw == "GW" || kw == "W") return ReadWire(line, kw);
    if (kw == "Q") return ReadSquareLoop(line);
    if (kw == "S") return ReadSource(line, kw);
    if (kw == "L" || kw == "LX" || kw == "LI" || kw == "LC" || kw == "LS" || kw == "LP") return ReadLoad(line, kw);
    if (kw == "OVER") { ReadGround(line); return raw; }
    if (kw == "RADIALS") {
        p_.Env.RadialCount = CInt(Num(line, 2));
        p_.Env.RadialLength = Single(line, 3);
        return raw;
    }
    if (kw == "BOUNDARY") {
        const std::string shape = UpperAscii(Tok(line, 2)).substr(0, 4);
        if (shape == "CIRC") p_.Env.Boundary = kCircularBoundary;
        if (shape == "RECT") p_.Env.Boundary = kLinearBoundary;
        return raw;
    }
    if (kw == "CIRCULAR") { p_.Env.Boundary = kCircularBoundary; return raw; }
    if (kw == "RECTANGULAR") { p_.Env.Boundary = kLinearBoundary; return raw; }
    if (kw == "FREE") { p_.Env.GroundPresent = kFreeSpace; return raw; }
    if (kw == "GND") { p_.Env.GroundPresent = kOverGround; return raw; }
    if (kw == "HEIGHT") { ReadHeight(line); return raw; }
    if (kw == "COAX") {
        const double z = Num(line, 2);
        p_.CoaxImpedance = z > 0 ? ToSingle(std::floor(z)) : 50.0f;
        return raw;
    }
    return raw + "\t\tNot interpreted";
}

std::string CardReader::ReadWire(const CardLine& line, const std::string& kw) {
    if (p_.WireCount >= ctx_.Limits().wires) throw TooManyWires{};
    const float tag = Single(line, 2);
    const int segments = CInt(Num(line, 3));
    const float x1 = Single(line, 4), y1 = Single(line, 5), z1 = Single(line, 6);
    float x2, y2, z2, size;
    switch (ctx_.Symmetry) {
    case 1:  // mirrored in the XZ plane
        x2 = x1, y2 = -y1, z2 = z1, size = Single(line, 7);
        break;
    case 2:  // mirrored in the YZ plane
        x2 = -x1, y2 = y1, z2 = z1, size = Single(line, 7);
        break;
    case 3:  // mirrored in the XY plane
        x2 = x1, y2 = y1, z2 = -z1, size = Single(line, 7);
        break;
    default:
        x2 = Single(line, 7), y2 = Single(line, 8), z2 = Single(line, 9), size = Single(line, 10);
        break;
    }
    float diameter = size;
    if (diameter == 0) diameter = 0.001f;
    const std::string card = JoinFields({kw, Str(segments), Format(tag, "####0"), Format(x1, "####0.000"),
                                         Format(y1, "####0.000"), Format(z1, "####0.000"),
                                         Format(diameter, "##0.000")});
    return card + "\r\n" + AddWire(segments, x1, y1, z1, x2, y2, z2, diameter);
}

std::string CardReader::ReadSquareLoop(const CardLine& line) {
    if (p_.WireCount + 4 > ctx_.Limits().wires) throw TooManyWires{};
    const float tag = Single(line, 2);
    const int segments = CInt(Num(line, 3));
    const float x = Single(line, 4), side = Single(line, 5);
    float diameter = Single(line, 6);
    if (diameter == 0) diameter = 0.001f;
    const float h = side / 2;
    std::string echo = JoinFields({"Q", Str(segments), Format(tag, "####0"), Format(x, "####0.000"),
                                   Format(side, "####0.000"), Format(diameter, "##0.000")});
    echo += "\r\n" + AddWire(segments, x, h, 0, x, -h, 0, diameter);
    echo += "\r\n" + AddWire(segments, x, -h, 0, x, -h, side, diameter);
    echo += "\r\n" + AddWire(segments, x, -h, side, x, h, side, diameter);
    echo += "\r\n" + AddWire(segments, x, h, side, x, h, 0, diameter);
    return echo;
}

std::string CardReader::AddWire(int segments, float x1, float y1, float z1, float x2, float y2, float z2,
                                float diameter) {
    // A length that fits a Single in its unit may not fit in metres.
    auto meters = [this](float length) {
        const float m = ToMeters(p_, length);
        if (!std::isfinite(m)) throw NumberOverflow("length out of range");
        return m;
    };
    Wire w;
    w.Segments = segments;
    w.X1 = meters(x1), w.Y1 = meters(y1), w.Z1 = meters(z1);
    w.X2 = meters(x2), w.Y2 = meters(y2), w.Z2 = meters(z2);
    w.Radius = meters(diameter) / 2;
    p_.Wires[++p_.WireCount] = w;
    return JoinFields({"- W", Str(segments), Format(p_.WireCount - 1, "####0"), Format(w.X1, "####0.000"),
                       Format(w.Y1, "####0.000"), Format(w.Z1, "####0.000"), Format(w.X2, "####0.000"),
                       Format(w.Y2, "####0.000"), Format(w.Z2, "####0.000"), Format(2 * w.Radius, "##0.000")});
}

std::string CardReader::ReadSource(const CardLine& line, const std::string& kw) {
    const float number = Single(line, 2);
    const std::int32_t pulse = IntPart(Num(line, 3));
    const float magnitude = Single(line, 4);
    const float phase = Single(line, 5);
    const std::string kind = Tok(line, 6);
    if (pulse <= 0) {
        return JoinFields({kw, Str(number), Str(pulse), Str(magnitude), Str(phase)}) + "   " + kind +
               " *** Ignored, Pulse is 0";
    }
    if (p_.SourceCount >= kMaxSources) {
        token_ = kw;
        throw CardFailure();
    }
    Source& s = p_.Sources[++p_.SourceCount];
    s.Pulse = pulse;
    s.Magnitude = magnitude;
    s.Phase = phase;
    s.Kind = kind == "I" ? kCurrentSource : kVoltageSource;
    p_.SourcesDefined = true;
    return JoinFields({kw, Str(p_.SourceCount), Str(pulse), Str(magnitude), Str(phase)}) + "   " + kind;
}

std::string CardReader::ReadLoad(const CardLine& line, const std::string& kw) {
    const std::int32_t pulse = CLng(Num(line, 3));
    const float v1 = Single(line, 4), v2 = Single(line, 5), v3 = Single(line, 6);
    if (p_.LoadCount >= kMaxLoads) {
        token_ = kw;
        throw CardFailure();
    }
    Load& l = p_.Loads[++p_.LoadCount];
    l = Load{};
    l.Pulse = pulse;
    l.Resistance = v1;
    std::string shown = kw;
    if (kw == "L" || kw == "LX") {
        l.Kind = kw == "L" ? kSeriesRX : kParallelRX;
        l.Reactance = v2;
    } else if (kw == "LS" || kw == "LP") {
        l.Kind = kw == "LS" ? kSeriesRLC : kParallelRLC;
        l.Reactance = v2;
        l.Capacitance = v3;
    } else {  // "LI" an inductance, "LC" a capacitance, both in series
        l.Kind = kSeriesRLC;
        if (kw == "LI") l.Reactance = v2; else l.Capacitance = v2;
        shown = "LS";
    }
    p_.LoadsDefined = true;
    std::vector<std::string> fields = {shown, Str(p_.LoadCount), Str(pulse), Str(l.Resistance), Str(l.Reactance)};
    if (l.Kind == kSeriesRLC || l.Kind == kParallelRLC) fields.push_back(Str(l.Capacitance));
    return JoinFields(fields);
}

void CardReader::ReadGround(const CardLine& line) {
    Environment& env = p_.Env;
    env.GroundPresent = kOverGround;
    const std::string word = UpperAscii(Tok(line, 2)).substr(0, 3);
    if (word == "PER") {
        env.GroundKind = kPerfectGround;
    } else {
        env.GroundKind = kRealGround;
        float dielectric, conductivity;
        if (word == "GRO") {
            dielectric = Single(line, 3);
            conductivity = ToSingle(Num(line, 4) * 0.001);  // mS/m to S/m
        } else {
            const char* names[] = {"GOO", "AVE", "POO", "BAD"};
            int cls = 0;  // Excellent for any other word
            for (int i = 0; i < 4; ++i)
                if (word == names[i]) cls = i + 1;
            dielectric = kGroundClasses[cls].dielectric;
            conductivity = kGroundClasses[cls].conductivity;
        }
        if (word == "GRO" && (dielectric == 0 || conductivity == 0)) {
            ctx_.host->ShowMessage({"Ground Parameters are incorrect\r\nGround set to Perfect", "Geometry File",
                                    MessageIcon::Critical, MessageButtons::Ok, 1});
            env.GroundKind = kPerfectGround;
        } else if (dielectric != 0) {
            env.SetRealGround(dielectric, conductivity);
            ctx_.Changed(Change::Ground);
        }
    }
    p_.GroundDefined = true;
}

void CardReader::ReadHeight(const CardLine& line) {
    const double h = Num(line, 2);
    double meters = h;
    switch (p_.Units) {
    case kFeet: meters = h * 0.3048006; break;
    case kInches: meters = h / 39.37008; break;
    case kCentimeters: meters = h / 100; break;
    case kMillimeters: meters = h / 1000; break;
    case kWavelengths: {
        // A project file writes its height before its frequency: convert
        // with the file's own frequency so that the height reads back as
        // it was written.
        const double wavelength = WavelengthMeters(fileFrequency_ > 0 ? fileFrequency_ : p_.Frequency);
        if (wavelength > 0) meters = h * wavelength;
        break;
    }
    default: break;
    }
    p_.Height = ToSingle(meters);
    ctx_.Changed(Change::Geometry);
    ctx_.HeightCardRead = true;
}

void ReportCardFailure(Context& ctx, const std::string& token) {
    Message m;
    m.title = "Geometry Error";
    m.icon = MessageIcon::Critical;
    if (ctx.debug.IsOn()) {
        m.text = "File parsing stopped at: " + token;
        ctx.debug.Write("In ReadGeometry File parsing stopped at: " + token);
    } else {
        m.text = "Geometry File Error";
    }
    ctx.host->ShowMessage(m);
}

std::string FileNamePart(const std::string& path) { return std::filesystem::path(path).filename().string(); }

}  // namespace

bool IsNecFileName(const std::string& path) {
    return path.size() >= 4 && UpperAscii(path.substr(path.size() - 4)) == ".NEC";
}

void ReadProjectText(Context& ctx, std::string_view bytes, bool nec) {
    Project& p = ctx.project;
    ctx.ChangedAll();
    ctx.HeightCardRead = false;
    p.PulseCount = p.WireCount = p.SourceCount = p.LoadCount = 0;
    p.Units = kMeters;
    p.LoadsDefined = false;
    p.SourcesDefined = false;  // the source table was just emptied
    p.ProjectText.clear();
    p.ProjectTextLines = 0;

    if (nec) {
        ReadNecDeck(ctx, bytes);
        return;
    }

    const std::vector<std::string_view> lines = SplitLines(bytes);
    const FirstPass count = CountWires(lines);
    auto noWires = [&ctx, &p] {
        ctx.host->ShowMessage({"No wires found", "Bad File", MessageIcon::Critical, MessageButtons::Ok, 1});
        ctx.host->SetStatusText(2, "");
        ctx.AbortFlag = true;
        p.WireCount = p.SourceCount = p.LoadCount = 0;
        p.ProjectText.clear();
    };
    if (count.wires == 0 || count.segments == 0) {
        noWires();
        return;
    }

    ctx.Symmetry = 0;
    CardReader reader(ctx, count.frequency);
    for (const auto raw : lines) {
        std::string shown;
        try {
            shown = reader.Interpret(raw);
        } catch (const TooManyWires&) {
            // A project that does not fit is refused whole: computing the
            // wires that fit would answer for another antenna.
            ctx.host->Notify("Too many Wires");
            ctx.host->SetStatusText(2, "");
            ctx.AbortFlag = true;
            p.WireCount = p.SourceCount = p.LoadCount = 0;
            p.SourcesDefined = p.LoadsDefined = false;
            p.ProjectText.clear();
            return;
        } catch (const std::exception&) {  // a full table or a number out of range
            ReportCardFailure(ctx, reader.CurrentToken());
            shown = std::string(raw);
        }
        if (!shown.empty()) {
            const auto shownLines = SplitLines(shown);
            for (const auto part : shownLines) ctx.host->AppendMainText(std::string(part));
            p.ProjectText += shown;
            p.ProjectText += "\r\n";
            p.ProjectTextLines += static_cast<int>(shownLines.size());
        }
    }

    // The wire cards that could be stored must pass the first pass's test
    // too: some wire, and some segments.
    double storedSegments = 0;
    for (int i = 1; i <= p.WireCount; ++i) storedSegments += p.Wires[i].Segments;
    if (p.WireCount == 0 || storedSegments == 0) {
        noWires();
        return;
    }
}

void ReadProjectFile(Context& ctx, std::string* fileText) {
    ctx.AbortFlag = false;
    std::string path;
    if (!ctx.PendingFileName.empty()) {
        path = ctx.PendingFileName;
        ctx.PendingFileName.clear();
    } else {
        const auto chosen = ctx.host->OpenFileDialog(kReadProjectTitle, kProjectFilter, ctx.project.FileName);
        if (!chosen || chosen->empty()) {
            ctx.AbortFlag = true;
            return;
        }
        path = *chosen;
    }

    const FileContents file = ReadRegularFile(path, kMaxProjectFileBytes);
    if (file.status != FileRead::Ok) {
        const std::string why = file.status == FileRead::TooLarge ? "it is too large for a project file"
                                                                  : "it does not exist or cannot be read";
        ctx.host->ShowMessage({"Cannot open " + path + "\r\n(" + why + ")", kReadProjectTitle,
                               MessageIcon::Critical, MessageButtons::Ok, 1});
        ctx.AbortFlag = true;
        return;
    }

    ctx.project.FileName = path;
    ctx.project.Modified = false;
    ctx.host->SetStatusText(2, FileNamePart(path));
    const std::string& bytes = file.bytes;
    ReadProjectText(ctx, bytes, IsNecFileName(path));
    if (fileText) *fileText = bytes;
}

void LoadProject(Context& ctx) {
    ReadProjectFile(ctx);
    if (ctx.AbortFlag) return;
    ctx.ProjectOpen = true;
    ctx.project.GeometryDefined = true;
}

}  // namespace qw
