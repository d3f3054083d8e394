#include "commands/geometry_table.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <functional>
#include <sstream>

#include "commands/geometry_check.h"
#include "model/card_tokens.h"
#include "model/format_mask.h"
#include "model/units.h"
#include "platform/host.h"
#include "solver/pulses.h"
#include "solver/solver.h"
#include "solver/solver_state.h"

namespace qw {

namespace {

constexpr const char* kHeaders[kGeoColumnCount] = {"Wire", "X1", "Y1", "Z1", "X2", "Y2", "Z2", "Diam.", "Seg.", "Src/Ld"};

float& Coordinate(Wire& w, int column) {
    switch (column) {
        case kColX1: return w.X1;
        case kColY1: return w.Y1;
        case kColZ1: return w.Z1;
        case kColX2: return w.X2;
        case kColY2: return w.Y2;
        default: return w.Z2;
    }
}

float Coordinate(const Wire& w, int column) { return Coordinate(const_cast<Wire&>(w), column); }

std::string Trim(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) return "";
    const auto last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

// A whole text as one number: "," reads as ".", a leading "+" is allowed.
std::optional<double> ReadNumber(std::string text) {
    text = Trim(text);
    std::replace(text.begin(), text.end(), ',', '.');
    if (!text.empty() && text.front() == '+') text.erase(0, 1);
    if (text.empty()) return std::nullopt;
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) return std::nullopt;
    // from_chars also reads "inf" and "nan": isfinite has refused them.
    return value;
}

}  // namespace

const char* GeoColumnHeader(int column) {
    return column >= 0 && column < kGeoColumnCount ? kHeaders[column] : "";
}

CellBlock ClipSelection(CellBlock block, int wireCount) {
    if (block.left < kColX1) block.left = kColX1;
    if (block.right > block.left && block.right >= kColZ2) block.right = kColZ2;
    if (block.bottom > wireCount) block.bottom = wireCount;
    if (block.top < 1) block.top = 1;
    return block;
}

std::optional<std::vector<int>> ParseWireList(const std::string& text, int wireCount) {
    std::vector<int> rows;
    for (const std::string& item : SplitAt(text, ',')) {
        const std::string t = Trim(item);
        const auto dash = t.find('-', 1);
        auto whole = [](const std::string& s) -> std::optional<int> {
            int v = 0;
            const std::string u = Trim(s);
            const auto [end, error] = std::from_chars(u.data(), u.data() + u.size(), v);
            if (u.empty() || error != std::errc() || end != u.data() + u.size()) return std::nullopt;
            return v;
        };
        const auto first = whole(dash == std::string::npos ? t : t.substr(0, dash));
        const auto last = dash == std::string::npos ? first : whole(t.substr(dash + 1));
        if (!first || !last || *first < 1 || *last > wireCount || *first > *last) return std::nullopt;
        for (int r = *first; r <= *last; ++r)
            if (std::find(rows.begin(), rows.end(), r) == rows.end()) rows.push_back(r);
    }
    return rows;
}

GeometrySnapshot GeometrySnapshot::Of(const Context& ctx) {
    const Project& p = ctx.project;
    GeometrySnapshot s;
    s.Wires = p.Wires;
    s.WireCount = p.WireCount;
    s.Sources = p.Sources;
    s.SourceCount = p.SourceCount;
    s.Loads = p.Loads;
    s.LoadCount = p.LoadCount;
    s.PulseCount = p.PulseCount;
    s.Locks = ctx.locks;
    s.Modified = p.Modified;
    return s;
}

void GeometrySnapshot::RestoreTo(Context& ctx) const {
    Project& p = ctx.project;
    p.Wires = Wires;
    p.WireCount = WireCount;
    p.Sources = Sources;
    p.SourceCount = SourceCount;
    p.Loads = Loads;
    p.LoadCount = LoadCount;
    p.PulseCount = PulseCount;
    ctx.locks = Locks;
    p.Modified = Modified;
}

bool GeometrySnapshot::SameTables(const GeometrySnapshot& o) const {
    // Bitwise: a value that changed by the last bit is a change.
    auto same = [](const auto& a, const auto& b) { return std::memcmp(&a, &b, sizeof a) == 0; };
    return WireCount == o.WireCount && SourceCount == o.SourceCount && LoadCount == o.LoadCount &&
           same(Wires, o.Wires) && same(Sources, o.Sources) && same(Loads, o.Loads) && Locks == o.Locks;
}

GeometryTable::GeometryTable(Context& ctx) : ctx_(ctx), unit_(ctx.project.Units) {
    if (unit_ < kMeters || unit_ > kWavelengths) unit_ = kMeters;
    ctx_.locks.FitTo(ctx_.project);
    opening_ = GeometrySnapshot::Of(ctx_);
}

float GeometryTable::ToMetres(double value) const {
    return ToMeters(unit_, ctx_.project.Frequency, static_cast<float>(value));
}

double GeometryTable::FromMetres(float meters) const {
    return FromMeters(unit_, ctx_.project.Frequency, meters);
}

std::string GeometryTable::CellText(int row, int column) const {
    if (row < 1 || row > Rows()) return "";
    const Wire& w = ctx_.project.Wires[row];
    switch (column) {
        case kColWire: return std::to_string(row);
        case kColSeg: return Format(w.Segments, "#0");
        case kColSrcLd: return SourceLoadText(ctx_, row);
        default:
            if (column < kColX1 || column > kColSeg) return "";
            return Format(static_cast<float>(CellValue(row, column)), ctx_.NumberFormat);
    }
}

double GeometryTable::CellValue(int row, int column) const {
    if (row < 1 || row > Rows()) return 0;
    const Wire& w = ctx_.project.Wires[row];
    if (column == kColSeg) return w.Segments;
    if (column == kColDiam) return FromMetres(2 * w.Radius);
    if (column >= kColX1 && column <= kColZ2) return FromMetres(Coordinate(w, column));
    return 0;
}

std::string GeometryTable::CellExactText(int row, int column) const {
    if (column == kColSeg || column == kColWire || column == kColSrcLd) return Trim(CellText(row, column));
    const float value = static_cast<float>(CellValue(row, column));
    char buffer[64];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
    return error == std::errc() ? std::string(buffer, end) : Trim(CellText(row, column));
}

std::optional<std::string> GeometryTable::Refusal(int column, double value, std::string* title) const {
    if (column == kColSeg) {
        *title = "Pulses";
        if (value > kMaxCellSegments) return "Value is too large";
        if (std::lround(value) < 1) return "The number of segments must be from 1 to 50";
        return std::nullopt;
    }
    *title = "Coordinate";
    if (std::fabs(value) >= kMaxCellValue) return "Value is too large";
    if (column == kColDiam && !(value > 0)) {
        *title = "Diameter";
        return "The diameter must be greater than 0";
    }
    if (column == kColDiam && !(ToMetres(value) > 0)) {
        *title = "Diameter";
        return "The diameter is too small";
    }
    return std::nullopt;
}

bool GeometryTable::Store(Project& p, int row, int column, double value) const {
    Wire& w = p.Wires[row];
    if (column == kColSeg) {
        w.Segments = static_cast<int>(std::lround(value));
    } else if (column == kColDiam) {
        w.Radius = ToMetres(value) / 2;
    } else if (column >= kColX1 && column <= kColZ2) {
        Coordinate(w, column) = ToMetres(value);
    } else {
        return false;
    }
    return true;
}

void GeometryTable::Changed() {
    ctx_.project.Modified = true;
    ctx_.Changed(Change::Geometry);
}

template <typename F>
bool GeometryTable::Changing(F change) {
    const GeometrySnapshot before = GeometrySnapshot::Of(ctx_);
    if (!change()) {
        before.RestoreTo(ctx_);
        return false;
    }
    if (GeometrySnapshot::Of(ctx_).SameTables(before)) {
        before.RestoreTo(ctx_);
        return true;
    }
    undo_.push_back(before);
    redo_.clear();
    ctx_.locks.FitTo(ctx_.project);
    Changed();
    return true;
}

bool GeometryTable::SetCell(int row, int column, const std::string& typed) {
    if (row < 1 || row > Rows() || column < kColX1 || column > kColSeg) return false;
    const std::string title = column == kColSeg ? "Pulses" : "Coordinate";
    const auto value = ReadNumber(typed);
    if (!value) {
        ctx_.host->Notify("\"" + Trim(typed) + "\" is not a number", title, MessageIcon::Exclamation);
        return false;
    }
    std::string refusalTitle;
    if (const auto refusal = Refusal(column, *value, &refusalTitle)) {
        ctx_.host->Notify(*refusal, refusalTitle, MessageIcon::Exclamation);
        return false;
    }
    Changing([&] { return Store(ctx_.project, row, column, *value); });
    return true;
}

bool GeometryTable::SetDiameter(int row, float meters) {
    if (row < 1 || row > Rows() || !(meters > 0)) return false;
    Changing([&] {
        ctx_.project.Wires[row].Radius = meters / 2;
        return true;
    });
    return true;
}

Wire GeometryTable::NewWire(int before) const {
    Wire w;
    w.Radius = ctx_.options.DefaultWireSize / 2;
    w.Segments = std::clamp(ctx_.options.DefaultSegments, 1, kMaxCellSegments);
    if (connectNewWires && before > 1) {
        const Wire& previous = ctx_.project.Wires[before - 1];
        w.X1 = previous.X2;
        w.Y1 = previous.Y2;
        w.Z1 = previous.Z2;
    }
    return w;
}

int GeometryTable::AddWire() { return InsertWire(Rows() + 1); }

int GeometryTable::InsertWire(int row) {
    if (Rows() >= ctx_.Limits().wires) {
        ctx_.host->Notify("Too many Wires");
        return 0;
    }
    row = std::clamp(row, 1, Rows() + 1);
    Changing([&] {
        Project& p = ctx_.project;
        const Wire w = NewWire(row);
        for (int i = p.WireCount; i >= row; --i) p.Wires[i + 1] = p.Wires[i];
        p.Wires[row] = w;
        ++p.WireCount;
        ctx_.locks.InsertWire(row);
        return true;
    });
    return row;
}

void GeometryTable::DeleteRows(int first, int last) {
    first = std::max(first, 1);
    last = std::min(last, Rows());
    if (first > last) return;
    Changing([&] {
        Project& p = ctx_.project;
        const int removed = last - first + 1;
        for (int i = first; i + removed <= p.WireCount; ++i) p.Wires[i] = p.Wires[i + removed];
        for (int i = p.WireCount - removed + 1; i <= p.WireCount; ++i) p.Wires[i] = Wire{};
        p.WireCount -= removed;
        for (int i = 0; i < removed; ++i) ctx_.locks.RemoveWire(first);
        return true;
    });
}

void GeometryTable::Rotate(const std::vector<int>& rows, int axis, float degrees) {
    const float pi = 4 * std::atan(1.0f);
    const float angle = degrees * pi / 180;
    auto turn = [&](float& a, float& b) {
        const float r = std::sqrt(a * a + b * b);
        if (a == 0) a = 1e-7f;
        float phi = std::atan(b / a);
        if (a < 0) phi -= pi;
        phi -= angle;
        a = r * std::cos(phi);
        b = r * std::sin(phi);
    };
    Changing([&] {
        for (int row : rows) {
            if (row < 1 || row > Rows()) continue;
            Wire& w = ctx_.project.Wires[row];
            if (axis == 1) {
                turn(w.Y1, w.Z1);
                turn(w.Y2, w.Z2);
            } else if (axis == 2) {
                turn(w.X1, w.Z1);
                turn(w.X2, w.Z2);
            } else {
                turn(w.X1, w.Y1);
                turn(w.X2, w.Y2);
            }
        }
        return true;
    });
}

bool GeometryTable::Scale(CellBlock block, double factor) {
    return ChangeCells(block, [factor](double value) { return value * factor; });
}

bool GeometryTable::Shift(CellBlock block, double delta) {
    return ChangeCells(block, [delta](double value) { return value + delta; });
}

bool GeometryTable::ChangeCells(CellBlock block, const std::function<double(double)>& change) {
    block = ClipSelection(block, Rows());
    if (block.Empty()) return false;
    return Changing([&] {
        for (int row = block.top; row <= block.bottom; ++row)
            for (int column = block.left; column <= std::min(block.right, static_cast<int>(kColSeg)); ++column) {
                const double value = change(CellValue(row, column));
                std::string title;
                if (const auto refusal = Refusal(column, value, &title)) {
                    ctx_.host->Notify(*refusal, title, MessageIcon::Exclamation);
                    return false;
                }
                Store(ctx_.project, row, column, value);
            }
        return true;
    });
}

bool GeometryTable::Move(const std::vector<int>& rows, double dx, double dy, double dz) {
    const double delta[] = {dx, dy, dz};
    return Changing([&] {
        for (int row : rows) {
            if (row < 1 || row > Rows()) continue;
            for (int column = kColX1; column <= kColZ2; ++column) {
                const double value = CellValue(row, column) + delta[(column - 1) % 3];
                std::string title;
                if (const auto refusal = Refusal(column, value, &title)) {
                    ctx_.host->Notify(*refusal, title, MessageIcon::Exclamation);
                    return false;
                }
                Store(ctx_.project, row, column, value);
            }
        }
        return true;
    });
}

double GeometryTable::WireLength(int row) const {
    if (row < 1 || row > Rows()) return 0;
    const Wire& w = ctx_.project.Wires[row];
    const double dx = double(w.X2) - w.X1, dy = double(w.Y2) - w.Y1, dz = double(w.Z2) - w.Z1;
    return FromMeters(unit_, ctx_.project.Frequency, static_cast<float>(std::sqrt(dx * dx + dy * dy + dz * dz)));
}

std::string GeometryTable::WireLengthText(int row) const {
    return Trim(Format(static_cast<float>(WireLength(row)), ctx_.NumberFormat)) + " " + UnitButtonCaption(unit_);
}

std::string GeometryTable::CopyText(CellBlock block) const {
    block.bottom = std::min(block.bottom, Rows());
    block.left = std::max(block.left, static_cast<int>(kColX1));
    block.right = std::min(block.right, static_cast<int>(kColSrcLd));
    std::string text;
    for (int row = std::max(block.top, 1); row <= block.bottom; ++row) {
        for (int column = block.left; column <= block.right; ++column) {
            if (column > block.left) text += '\t';
            text += CellExactText(row, column);
        }
        text += "\r\n";
    }
    return text;
}

bool GeometryTable::Paste(int row, int column, const std::string& text) {
    std::string normal;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (text[i] != '\r') normal += text[i];
    std::vector<std::string> lines = SplitAt(normal, '\n');
    while (!lines.empty() && Trim(lines.back()).empty()) lines.pop_back();
    if (lines.empty()) return false;
    row = std::max(row, 1);
    column = std::clamp(column, static_cast<int>(kColX1), static_cast<int>(kColSrcLd));
    std::size_t width = 0;
    std::vector<std::vector<std::string>> cells;
    for (const std::string& line : lines) {
        cells.push_back(SplitAt(line, '\t'));
        width = std::max(width, cells.back().size());
    }
    if (row + static_cast<int>(lines.size()) - 1 > ctx_.Limits().wires) {
        ctx_.host->Notify("Too many Wires");
        return false;
    }
    if (column + static_cast<int>(width) - 1 > kColSrcLd) {
        ctx_.host->Notify("Too many columns to insert");
        return false;
    }
    return Changing([&] {
        Project& p = ctx_.project;
        for (std::size_t i = 0; i < cells.size(); ++i) {
            const int r = row + static_cast<int>(i);
            while (p.WireCount < r) {
                p.Wires[p.WireCount + 1] = NewWire(p.WireCount + 1);
                ++p.WireCount;
            }
            for (std::size_t j = 0; j < cells[i].size(); ++j) {
                const int c = column + static_cast<int>(j);
                if (c == kColSrcLd) continue;  // the summary is not pasted
                const std::string title = c == kColSeg ? "Pulses" : "Coordinate";
                const auto value = ReadNumber(cells[i][j]);
                if (!value) {
                    ctx_.host->Notify("\"" + Trim(cells[i][j]) + "\" is not a number", title,
                                      MessageIcon::Exclamation);
                    return false;
                }
                std::string refusalTitle;
                if (const auto refusal = Refusal(c, *value, &refusalTitle)) {
                    ctx_.host->Notify(*refusal, refusalTitle, MessageIcon::Exclamation);
                    return false;
                }
                Store(p, r, c, *value);
            }
        }
        return true;
    });
}

bool GeometryTable::ReplaceByChain(int row, const std::vector<Wire>& chain) {
    if (row < 1 || row > Rows() || chain.empty()) return false;
    if (Rows() - 1 + static_cast<int>(chain.size()) > ctx_.Limits().wires) return false;
    return Changing([&] {
        Project& p = ctx_.project;
        const int added = static_cast<int>(chain.size()) - 1;
        if (added > 0)
            for (int i = p.WireCount; i > row; --i) p.Wires[i + added] = p.Wires[i];
        for (std::size_t k = 0; k < chain.size(); ++k) p.Wires[row + static_cast<int>(k)] = chain[k];
        p.WireCount += added;
        // The chain's wires are new: none of them is locked.
        ctx_.locks.RemoveWire(row);
        for (std::size_t k = 0; k < chain.size(); ++k) ctx_.locks.InsertWire(row);
        return true;
    });
}

void GeometryTable::BeginExternalChange() { external_ = GeometrySnapshot::Of(ctx_); }

void GeometryTable::EndExternalChange() {
    if (!external_) return;
    if (!GeometrySnapshot::Of(ctx_).SameTables(*external_)) {
        undo_.push_back(*external_);
        redo_.clear();
        ctx_.locks.FitTo(ctx_.project);
        Changed();
    }
    external_.reset();
}

void GeometryTable::Undo() {
    if (undo_.empty()) return;
    redo_.push_back(GeometrySnapshot::Of(ctx_));
    undo_.back().RestoreTo(ctx_);
    undo_.pop_back();
    ctx_.Changed(Change::Geometry);
}

void GeometryTable::Redo() {
    if (redo_.empty()) return;
    undo_.push_back(GeometrySnapshot::Of(ctx_));
    redo_.back().RestoreTo(ctx_);
    redo_.pop_back();
    ctx_.Changed(Change::Geometry);
}

void GeometryTable::RestoreOpening() {
    const bool changed = !GeometrySnapshot::Of(ctx_).SameTables(opening_);
    opening_.RestoreTo(ctx_);
    undo_.clear();
    redo_.clear();
    // Pulses built for the edited wires are stale again.
    if (changed) ctx_.Changed(Change::Geometry);
}

bool GeometryTable::Accept() {
    const GeometryCheck check = CheckGeometry(ctx_);
    if (check == GeometryCheck::Failed) return false;
    if (CheckPulseWireMax(ctx_)) return false;
    Project& p = ctx_.project;
    if (check == GeometryCheck::Passed) {
        p.GeometryDefined = true;
        ctx_.host->EnableCommand("btnoptimiz", p.WireCount > 0);
        if (ctx_.solver) ctx_.solver->MatrixState = 0;
    }
    ctx_.AbortFlag = false;
    p.Modified = opening_.Modified || !GeometrySnapshot::Of(ctx_).SameTables(opening_);
    return true;
}

void GeometryTable::Cancel() {
    RestoreOpening();
    ctx_.AbortFlag = true;
}

bool GeometryTable::BuildPulses(int* faultRow) {
    if (Rows() == 0) return false;
    if (CheckGeometry(ctx_, faultRow) != GeometryCheck::Passed) return false;
    if (CheckPulseWireMax(ctx_)) return false;
    if (!ctx_.solver) InstallSolver(ctx_);
    return Conclude(ctx_, BuildPulseTable(ctx_));
}

std::string SourceLoadText(const Context& ctx, int wire) {
    const Project& p = ctx.project;
    if (!ctx.solver || wire < 1 || wire > ctx.solver->pulses.NW || wire > p.WireCount) return "";
    const int first = ctx.solver->pulses.Nw[wire][1];
    const int last = ctx.solver->pulses.Nw[wire][2];
    if (first < 1 || last < first) return "";
    auto list = [&](auto pulseOf, auto lockedOf, int count) {
        std::string text;
        for (int i = 1; i <= count; ++i) {
            const int pulse = pulseOf(i);
            if (pulse < first || pulse > last) continue;
            text += Format(pulse - first + 1, "0") + (lockedOf(i) ? "* " : " ");
        }
        return text;
    };
    const OptimizerLocks& l = ctx.locks;
    const std::string sources = list([&](int i) { return p.Sources[i].Pulse; },
                                     [&](int i) { return i <= l.SourceCount && l.Source[i]; }, p.SourceCount);
    const std::string loads = list([&](int i) { return p.Loads[i].Pulse; },
                                   [&](int i) { return i <= l.LoadCount && l.Load[i]; }, p.LoadCount);
    return (sources.empty() ? "" : "S" + sources) + (loads.empty() ? "" : "L" + loads);
}

}  // namespace qw
