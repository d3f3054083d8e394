#include "model/nec_deck.h"

#include <cmath>
#include <optional>
#include <set>
#include <sstream>
#include <vector>

#include "model/card_tokens.h"
#include "model/format_mask.h"
#include "model/nec_expression.h"
#include "model/nec_geometry.h"
#include "model/number_conversion.h"
#include "model/number_str.h"
#include "model/pulse_layout.h"
#include "platform/host.h"

namespace qw {

namespace {

constexpr double kPi = 3.14159265358979323846;

// A line that cannot be read: the deck is refused with this text.
class DeckError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Cards that build geometry the program has no means to represent: when
// one is skipped, the geometry read is incomplete.
const std::set<std::string> kGeometryCards = {"SP", "SM", "SC", "GF", "GC"};

// The keyword and operand fields of a NEC card. A ' or ! ends the card (a
// comment follows). The keyword runs to the first blank or comma; the
// operands are separated by commas when there is one, else by blanks.
struct NecCard {
    std::string keyword;
    std::string operands;
    std::vector<std::string> fields;
};

NecCard SplitCard(std::string_view raw) {
    std::string text(raw);
    const std::size_t comment = text.find_first_of("'!");
    if (comment != std::string::npos) text.erase(comment);
    for (char& c : text)
        if (static_cast<unsigned char>(c) < 32) c = ' ';
    NecCard card;
    std::size_t start = text.find_first_not_of(' ');
    if (start == std::string::npos) return card;
    std::size_t end = text.find_first_of(" ,", start);
    if (end == std::string::npos) end = text.size();
    card.keyword = UpperAscii(text.substr(start, end - start));
    std::string rest = end < text.size() ? text.substr(end) : "";
    // A comma right after the keyword only separates it from the operands.
    const std::size_t first = rest.find_first_not_of(' ');
    if (first != std::string::npos && rest[first] == ',') rest.erase(0, first + 1);
    card.operands = rest;
    if (rest.find(',') != std::string::npos) {
        std::size_t s = 0;
        while (true) {
            const std::size_t comma = rest.find(',', s);
            std::string f = rest.substr(s, comma == std::string::npos ? std::string::npos : comma - s);
            const std::size_t a = f.find_first_not_of(' '), b = f.find_last_not_of(' ');
            card.fields.push_back(a == std::string::npos ? "" : f.substr(a, b - a + 1));
            if (comma == std::string::npos) break;
            s = comma + 1;
        }
    } else {
        std::istringstream words(rest);
        std::string w;
        while (words >> w) card.fields.push_back(w);
    }
    return card;
}

struct Excitation {
    int line, tag, segment;
    double re, im;
};

struct LoadCard {
    int line, type, tag, first, last;
    double v1, v2, v3;
};

struct GroundCard {
    int type, radials;
    double dielectric, conductivity, screenRadius;
};

struct Skipped {
    std::string name;
    int line;
};

class DeckReader {
public:
    explicit DeckReader(Context& ctx) : ctx_(ctx), p_(ctx.project) {}
    void Read(std::string_view bytes);

private:
    // Field i (1-based) of the card, as a number or an integer.
    double Num(int i) const {
        if (i > static_cast<int>(card_.fields.size())) return 0;
        return symbols_.Evaluate(card_.fields[static_cast<std::size_t>(i) - 1]);
    }
    int Int(int i) const {
        const double v = std::rint(Num(i));
        if (std::fabs(v) > 1e6) throw NecExpressionError("integer field " + std::to_string(i) + " out of range");
        return static_cast<int>(v);
    }
    NecPoint Point(int i) const { return {Num(i), Num(i + 1), Num(i + 2)}; }

    std::string Interpret(std::string_view raw);
    std::string WireEcho(std::size_t from);
    void AddPendingWire(std::optional<std::string_view> gc);
    void Finish();
    void Refuse(const std::string& text);
    void Skip(const std::string& name) { skipped_.push_back({name, line_}); }
    void MapSources(const std::vector<WirePulses>& layout);
    void MapLoads(const std::vector<WirePulses>& layout);
    void MapGround();

    Context& ctx_;
    Project& p_;
    NecSymbols symbols_;
    NecGeometry geometry_;
    NecCard card_;
    int line_ = 0;
    bool ended_ = false;
    // A GW card of radius 0 waits for its GC card.
    struct PendingWire {
        int tag, segments;
        NecPoint a, b;
        int line;
        float tagShown;
    };
    std::optional<PendingWire> pending_;
    int groundFlag_ = 0;
    std::optional<GroundCard> ground_;
    std::optional<double> frequency_;
    std::vector<Excitation> sources_;
    std::vector<LoadCard> loads_;
    std::vector<Skipped> skipped_;
    std::vector<std::string> notes_;
    bool refused_ = false;
};

std::string DeckReader::WireEcho(std::size_t from) {
    std::string echo;
    const auto& wires = geometry_.Wires();
    for (std::size_t i = from; i < wires.size(); ++i) {
        const NecWire& w = wires[i];
        float diameter = static_cast<float>(2.0 * w.radius);
        if (diameter == 0) diameter = 0.001f;
        echo += "\r\n" + JoinFields({"- W", Str(w.segments), Format(static_cast<int>(i), "####0"),
                                      Format(static_cast<float>(w.a.x), "####0.000"),
                                      Format(static_cast<float>(w.a.y), "####0.000"),
                                      Format(static_cast<float>(w.a.z), "####0.000"),
                                      Format(static_cast<float>(w.b.x), "####0.000"),
                                      Format(static_cast<float>(w.b.y), "####0.000"),
                                      Format(static_cast<float>(w.b.z), "####0.000"), Format(diameter, "##0.000")});
    }
    return echo;
}

void DeckReader::AddPendingWire(std::optional<std::string_view> gc) {
    const PendingWire w = *pending_;
    pending_.reset();
    if (gc) {
        geometry_.AddTaperedWire(w.tag, w.segments, w.a, w.b, Num(3), Num(4), Num(5));
    } else {
        // A radius of 0 without its GC card: the program's smallest wire.
        notes_.push_back("GW on line " + std::to_string(w.line) +
                         " has radius 0 and no GC card: it is taken as 0.5 mm thick");
        geometry_.AddWire(w.tag, w.segments, w.a, w.b, 0.0005);
    }
}

std::string DeckReader::Interpret(std::string_view rawView) {
    const std::string raw(rawView);
    if (CardLine::IsCommentCard(raw)) return raw;
    card_ = SplitCard(raw);
    const std::string& kw = card_.keyword;
    if (kw.empty()) return raw.find_first_not_of(" \t") == std::string::npos ? "" : raw;  // a comment line

    if (pending_) {
        if (kw == "GC") {
            const std::size_t before = geometry_.Wires().size();
            AddPendingWire(raw);
            return raw + WireEcho(before);
        }
        AddPendingWire(std::nullopt);
    }
    if (kw == "SY") {
        symbols_.Define(card_.operands);
        return raw;
    }
    if (kw == "GW") {
        const int tag = Int(1), segments = Int(2);
        const NecPoint a = Point(3), b = Point(6);
        const double radius = Num(9);
        if (radius == 0) {
            pending_ = PendingWire{tag, segments, a, b, line_, static_cast<float>(tag)};
            return raw;
        }
        const std::size_t before = geometry_.Wires().size();
        geometry_.AddWire(tag, segments, a, b, radius);
        float diameter = ToSingle(2.0 * radius);
        return JoinFields({"GW", Str(segments), Format(ToSingle(tag), "####0"), Format(ToSingle(a.x), "####0.000"),
                           Format(ToSingle(a.y), "####0.000"), Format(ToSingle(a.z), "####0.000"),
                           Format(diameter, "##0.000")}) +
               WireEcho(before);
    }
    const std::size_t before = geometry_.Wires().size();
    if (kw == "GA") {
        geometry_.AddPolyline(Int(1), ArcPoints(Int(2), Num(3), Num(4), Num(5)), Num(6));
        return raw + WireEcho(before);
    }
    if (kw == "GH") {
        geometry_.AddPolyline(Int(1), HelixPoints(Int(2), Num(3), Num(4), Num(5), Num(6), Num(7), Num(8)), Num(9));
        return raw + WireEcho(before);
    }
    if (kw == "GM") {
        const double from = std::trunc(Num(9));  // a number field that NEC reads as an integer
        if (std::fabs(from) > 1e6) throw NecExpressionError("the starting tag is out of range");
        geometry_.Move(Int(1), Int(2), Num(3), Num(4), Num(5), Point(6), static_cast<int>(from));
        return raw + WireEcho(before);
    }
    if (kw == "GR") {
        geometry_.RotateRepeat(Int(1), Int(2));
        return raw + WireEcho(before);
    }
    if (kw == "GX") {
        geometry_.Reflect(Int(1), Int(2));
        return raw + WireEcho(before);
    }
    if (kw == "GS") {
        geometry_.Scale(Num(3));
        return raw;
    }
    if (kw == "GE") {
        groundFlag_ = Int(1);
        return raw;
    }
    if (kw == "EX") {
        const int type = Int(1);
        if (type != 0) {
            Skip("EX " + std::to_string(type));
            return raw + "\t\tNot interpreted";
        }
        sources_.push_back({line_, Int(2), Int(3), Num(5), Num(6)});
        return raw;
    }
    if (kw == "LD") {
        const int type = Int(1);
        if (type == -1) {
            loads_.clear();
            return raw;
        }
        if (type != 0 && type != 1 && type != 4) {
            Skip("LD " + std::to_string(type));
            return raw + "\t\tNot interpreted";
        }
        loads_.push_back({line_, type, Int(2), Int(3), Int(4), Num(5), Num(6), Num(7)});
        return raw;
    }
    if (kw == "FR") {
        const double f = Num(5);
        if (frequency_) return raw;  // the first FR card gives the frequency
        if (!(f > 0) || f > 1e9) throw NecExpressionError("the frequency must be above 0");
        frequency_ = f;
        const int steps = Int(2);
        if (steps > 1) {
            const double step = Num(6);
            const double last = Int(1) == 1 ? f * std::pow(step, steps - 1) : f + step * (steps - 1);
            std::ostringstream note;
            note << "FR on line " << line_ << " steps through " << steps << " frequencies from" << Str(f)
                 << " to" << Str(last) << " MHz: the project computes at" << Str(f)
                 << " MHz; a frequency sweep covers the band";
            notes_.push_back(note.str());
        }
        return raw;
    }
    if (kw == "GN") {
        ground_ = GroundCard{Int(1), Int(2), Num(5), Num(6), Num(7)};
        return raw;
    }
    if (kw == "EK") {
        notes_.push_back("EK on line " + std::to_string(line_) +
                         " is ignored: the program uses its own thin-wire kernel");
        return raw;
    }
    if (kw == "XQ") return raw;
    if (kw == "EN") {
        ended_ = true;
        return raw;
    }
    Skip(kw);
    return raw + "\t\tNot interpreted";
}

void DeckReader::Refuse(const std::string& text) {
    ctx_.host->ShowMessage({text, kNecDeckTitle, MessageIcon::Critical, MessageButtons::Ok, 1});
    ctx_.host->SetStatusText(2, "");
    ctx_.AbortFlag = true;
    p_.WireCount = p_.SourceCount = p_.LoadCount = 0;
    p_.SourcesDefined = p_.LoadsDefined = false;
    p_.ProjectText.clear();
    refused_ = true;
}

void DeckReader::Read(std::string_view bytes) {
    for (const auto raw : SplitLines(bytes)) {
        ++line_;
        std::string shown;
        try {
            shown = Interpret(raw);
        } catch (const std::exception& e) {
            Refuse("Line " + std::to_string(line_) + " of the NEC deck cannot be read: " + e.what() + "\r\n" +
                   std::string(raw));
            return;
        }
        if (!shown.empty()) {
            const auto parts = SplitLines(shown);
            for (const auto part : parts) ctx_.host->AppendMainText(std::string(part));
            p_.ProjectText += shown + "\r\n";
            p_.ProjectTextLines += static_cast<int>(parts.size());
        }
        if (ended_) break;
    }
    try {
        if (pending_) AddPendingWire(std::nullopt);
    } catch (const std::exception& e) {
        Refuse(std::string("The last wire of the NEC deck cannot be read: ") + e.what());
        return;
    }
    Finish();
}

void DeckReader::MapGround() {
    Environment& env = p_.Env;
    p_.GroundDefined = true;
    if (ground_ && ground_->type == -1) {
        env.GroundPresent = kFreeSpace;
        return;
    }
    if (!ground_) {
        if (groundFlag_ == 0) {
            env.GroundPresent = kFreeSpace;
            return;
        }
        env.GroundPresent = kOverGround;
        env.GroundKind = kPerfectGround;
        notes_.push_back("GE asks for a ground and no GN card gives one: the ground is perfect");
        return;
    }
    const GroundCard& g = *ground_;
    env.GroundPresent = kOverGround;
    if (g.type == 1) {
        env.GroundKind = kPerfectGround;
    } else if (g.dielectric > 0 && g.conductivity > 0) {
        env.GroundKind = kRealGround;
        env.SetRealGround(ToSingle(g.dielectric), ToSingle(g.conductivity));
        if (g.type == 2)
            notes_.push_back("GN 2 (Sommerfeld ground) is computed with the program's reflection-coefficient ground");
    } else {
        env.GroundKind = kPerfectGround;
        notes_.push_back("GN without a dielectric constant and conductivity above 0: the ground is perfect");
    }
    if (g.radials > 0) {
        env.RadialCount = static_cast<int>(std::min(g.radials, 32767));
        env.RadialLength = ToSingle(g.screenRadius);
    } else {
        env.RadialCount = 0;
        env.RadialLength = 0;
    }
    ctx_.Changed(Change::Ground);
}

void DeckReader::MapSources(const std::vector<WirePulses>& layout) {
    for (const Excitation& ex : sources_) {
        std::size_t wire;
        int seg;
        if (!geometry_.Locate(ex.tag, ex.segment, wire, seg))
            throw DeckError("Line " + std::to_string(ex.line) + " of the NEC deck feeds segment " +
                            std::to_string(ex.segment) + " of tag " + std::to_string(ex.tag) +
                            ", which the deck does not have");
        const int w = static_cast<int>(wire) + 1;
        const int pulse = PulseForSegment(p_, layout, w, seg);
        if (pulse == 0) {
            skipped_.push_back({"EX 0 (no pulse on that wire)", ex.line});
            continue;
        }
        if (p_.SourceCount >= kMaxSources)
            throw DeckError("This NEC deck has more than " + std::to_string(kMaxSources) +
                            " voltage sources; the program takes at most " + std::to_string(kMaxSources) +
                            ".\r\nThe deck was not read.");
        Source& s = p_.Sources[++p_.SourceCount];
        s = Source{};
        s.Pulse = pulse;
        s.Magnitude = ToSingle(std::hypot(ex.re, ex.im));
        s.Phase = ToSingle(std::atan2(ex.im, ex.re) * 180.0 / kPi);
        s.Kind = kVoltageSource;
        p_.SourcesDefined = true;
        const Wire& pw = p_.Wires[w];
        const double segment = std::hypot(pw.X2 - pw.X1, pw.Y2 - pw.Y1, pw.Z2 - pw.Z1) / pw.Segments;
        notes_.push_back("EX on line " + std::to_string(ex.line) + " (tag " + std::to_string(ex.tag) + ", segment " +
                         std::to_string(ex.segment) + ") feeds pulse " + std::to_string(pulse) +
                         ", half a segment (" + Format(segment / 2, "0.000") + " m) from the segment's centre");
    }
}

void DeckReader::MapLoads(const std::vector<WirePulses>& layout) {
    for (const LoadCard& ld : loads_) {
        int first = ld.first, last = ld.last;
        if (first == 0 && last == 0) {
            first = 1;
            last = 0;
            for (const auto& w : geometry_.Wires())
                if (ld.tag == 0 || w.tag == ld.tag) last += w.segments;
        }
        if (last < first) last = first;
        for (int m = first; m <= last; ++m) {
            std::size_t wire;
            int seg;
            if (!geometry_.Locate(ld.tag, m, wire, seg))
                throw DeckError("Line " + std::to_string(ld.line) + " of the NEC deck loads segment " +
                                std::to_string(m) + " of tag " + std::to_string(ld.tag) +
                                ", which the deck does not have");
            const int pulse = PulseForSegment(p_, layout, static_cast<int>(wire) + 1, seg);
            if (pulse == 0) {
                skipped_.push_back({"LD " + std::to_string(ld.type) + " (no pulse on that wire)", ld.line});
                continue;
            }
            Load l;
            l.Pulse = pulse;
            if (ld.type == 4) {
                l.Kind = kSeriesRX;
                l.Resistance = ToSingle(ld.v1);
                l.Reactance = ToSingle(ld.v2);
            } else if (ld.type == 1 && ld.v2 == 0 && ld.v3 == 0) {
                // A resistor alone in parallel is a resistor.
                l.Kind = kSeriesRX;
                l.Resistance = ToSingle(ld.v1);
            } else {
                l.Kind = ld.type == 0 ? kSeriesRLC : kParallelRLC;
                l.Resistance = ToSingle(ld.v1);
                l.Reactance = ToSingle(ld.v2 * 1e6);     // henries to microhenries
                l.Capacitance = ToSingle(ld.v3 * 1e12);  // farads to picofarads
            }
            if (p_.LoadCount >= kMaxLoads)
                throw DeckError("This NEC deck places more than " + std::to_string(kMaxLoads) +
                                " loads (one per loaded segment); the program takes at most " +
                                std::to_string(kMaxLoads) + ".\r\nThe deck was not read.");
            p_.Loads[++p_.LoadCount] = l;
            p_.LoadsDefined = true;
        }
    }
}

void DeckReader::Finish() {
    const auto& wires = geometry_.Wires();
    if (wires.empty()) {
        ctx_.host->ShowMessage({"No wires found", "Bad File", MessageIcon::Critical, MessageButtons::Ok, 1});
        ctx_.host->SetStatusText(2, "");
        ctx_.AbortFlag = true;
        p_.WireCount = p_.SourceCount = p_.LoadCount = 0;
        p_.ProjectText.clear();
        return;
    }
    const int maxWires = ctx_.Limits().wires;
    if (static_cast<int>(wires.size()) > maxWires) {
        Refuse("This NEC deck has " + std::to_string(wires.size()) + " wires; the program takes at most " +
               std::to_string(maxWires) + ".\r\nThe deck was not read.");
        return;
    }
    try {
        for (std::size_t i = 0; i < wires.size(); ++i) {
            const NecWire& n = wires[i];
            Wire w;
            w.Segments = n.segments;
            w.X1 = ToSingle(n.a.x), w.Y1 = ToSingle(n.a.y), w.Z1 = ToSingle(n.a.z);
            w.X2 = ToSingle(n.b.x), w.Y2 = ToSingle(n.b.y), w.Z2 = ToSingle(n.b.z);
            float diameter = ToSingle(2.0 * n.radius);
            if (diameter == 0) diameter = 0.001f;
            w.Radius = diameter / 2;
            if (n.segments > 32767) throw DeckError("a wire of the NEC deck has too many segments");
            p_.Wires[i + 1] = w;
        }
        p_.WireCount = static_cast<int>(wires.size());
        MapGround();
        if (frequency_) {
            p_.Frequency = ToSingle(*frequency_);
            p_.FrequencyDefined = true;
            ctx_.Changed(Change::Frequency);
        }
        const auto layout = PulseLayout(p_);
        MapSources(layout);
        MapLoads(layout);
    } catch (const std::exception& e) {
        Refuse(e.what());
        return;
    }

    for (const auto& note : notes_) ctx_.host->AppendMainText("Note: " + note);
    if (skipped_.empty()) {
        auto count = [](int n, const char* what) {
            return std::to_string(n) + " " + what + (n == 1 ? "" : "s");
        };
        ctx_.host->AppendMainText("NEC deck read whole: " + count(p_.WireCount, "wire") + ", " +
                                  count(p_.SourceCount, "source") + ", " + count(p_.LoadCount, "load"));
        return;
    }
    std::string list;
    bool geometryLost = false;
    for (const auto& s : skipped_) {
        list += (list.empty() ? "" : ", ") + s.name + " (line " + std::to_string(s.line) + ")";
        geometryLost = geometryLost || kGeometryCards.count(s.name) > 0;
    }
    ctx_.host->ShowMessage({"Cards of this NEC deck that the program cannot represent were not read: " + list +
                                (geometryLost ? ".\r\nThe geometry read from it is incomplete."
                                              : ".\r\nThe rest of the deck was read."),
                            kNecDeckTitle, MessageIcon::Exclamation, MessageButtons::Ok, 1});
}

}  // namespace

void ReadNecDeck(Context& ctx, std::string_view bytes) {
    ctx.Symmetry = 0;
    DeckReader(ctx).Read(bytes);
}

}  // namespace qw
