#include "app/cli/edit_placement.h"

#include <charconv>
#include <cmath>
#include <optional>
#include <ostream>

#include "commands/placement.h"
#include "model/card_tokens.h"

namespace qw::cli {

const std::vector<std::string> kPlacementOptions = {"--add-source", "--add-load",      "--move-source",
                                                    "--move-load",  "--delete-source", "--delete-load"};

namespace {

std::optional<double> Real(std::string t) {
    if (!t.empty() && t.front() == '+') t.erase(0, 1);
    double v = 0;
    const auto [end, error] = std::from_chars(t.data(), t.data() + t.size(), v);
    if (t.empty() || error != std::errc() || end != t.data() + t.size() || !std::isfinite(v)) return std::nullopt;
    return v;
}

std::optional<int> Whole(const std::string& t) {
    int v = 0;
    const auto [end, error] = std::from_chars(t.data(), t.data() + t.size(), v);
    if (t.empty() || error != std::errc() || end != t.data() + t.size()) return std::nullopt;
    return v;
}

// Values that a 32-bit record field holds.
bool Fits(double v) { return std::fabs(v) <= 3.0e38; }

}  // namespace

bool ApplyPlacement(Run& s, const std::string& option, const std::string& value) {
    auto bad = [&](const std::string& why) {
        s.err << "quillwork-cli edit: " << option << " " << value << ": " << why << "\n";
        return false;
    };
    Placement placement(s.ctx.project);
    PlacementRefusal refused;
    if (option == "--add-source" || option == "--add-load") {
        const bool source = option == "--add-source";
        const auto colon = SplitAt(value, ':');
        auto parts = colon.size() == 2 ? SplitAt(colon[1], ',') : std::vector<std::string>{};
        const auto wire = colon.size() == 2 ? Whole(colon[0]) : std::nullopt;
        const auto slot = parts.empty() ? std::nullopt : Whole(parts[0]);
        if (!wire || !slot) return bad("WIRE:SLOT is needed, both whole numbers");
        int n = 0;
        if (source) {
            bool current = false;
            if (parts.back() == "current") {
                current = true;
                parts.pop_back();
            }
            std::vector<double> v;
            for (std::size_t i = 1; i < parts.size(); ++i)
                if (const auto x = Real(parts[i]); x && Fits(*x)) v.push_back(*x);
            if (parts.size() != 1 && (parts.size() != 3 || v.size() != 2))
                return bad("WIRE:SLOT[,MAGNITUDE,PHASE][,current] is needed");
            refused = placement.AddSource(*wire, *slot, &n);
            if (!refused) {
                Source& src = placement.SourceAt(n);
                if (v.size() == 2) {
                    src.Magnitude = static_cast<float>(v[0]);
                    src.Phase = static_cast<float>(v[1]);
                }
                src.Kind = current ? kCurrentSource : kVoltageSource;
            }
        } else {
            const std::string kind = parts.size() > 1 ? parts[1] : "";
            const int k = kind == "rx" ? kSeriesRX : kind == "prx" ? kParallelRX : kind == "rlc" ? kSeriesRLC
                          : kind == "prlc"                              ? kParallelRLC
                                                                        : -1;
            if (k < 0) return bad("KIND must be rx, prx, rlc or prlc");
            const std::size_t count = k >= kSeriesRLC ? 3 : 2;
            std::vector<double> v;
            for (std::size_t i = 2; i < parts.size(); ++i)
                if (const auto x = Real(parts[i]); x && Fits(*x)) v.push_back(*x);
            if (parts.size() != 2 + count || v.size() != count)
                return bad(count == 3 ? "R,L,C are needed after rlc or prlc" : "R,X are needed after rx or prx");
            refused = placement.AddLoad(*wire, *slot, &n);
            if (!refused) {
                Load& l = placement.LoadAt(n);
                l.Kind = k;
                l.Resistance = static_cast<float>(v[0]);
                l.Reactance = static_cast<float>(v[1]);
                l.Capacitance = count == 3 ? static_cast<float>(v[2]) : 0.0f;
            }
        }
    } else if (option == "--move-source" || option == "--move-load") {
        const auto parts = SplitAt(value, ':');
        std::vector<int> v;
        for (const auto& p : parts)
            if (const auto x = Whole(p)) v.push_back(*x);
        if (parts.size() != 3 || v.size() != 3) return bad("N:WIRE:SLOT is needed, whole numbers");
        refused = option == "--move-source" ? placement.MoveSource(v[0], v[1], v[2])
                                            : placement.MoveLoad(v[0], v[1], v[2]);
    } else if (option == "--delete-source" || option == "--delete-load") {
        const auto n = Whole(value);
        if (!n) return bad("N must be a whole number");
        refused = option == "--delete-source" ? placement.DeleteSource(*n) : placement.DeleteLoad(*n);
    } else {
        return bad("unknown operation");
    }
    if (refused) return bad(refused.text);
    return placement.Commit(s.ctx);
}

}  // namespace qw::cli
