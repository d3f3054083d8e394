// The geometry table: the project's wires as the geometry editor and the
// command line's edit command see them, one row per wire, in a display unit.
//
// The table works on the project itself: every cell is the wire's exact
// value in metres, shown converted and formatted. Only a cell that is
// typed into (or changed by an operation) gets a new value, so opening the
// table and accepting it changes nothing. Every change is remembered: it
// can be undone and redone, and Cancel puts back the wires, sources, loads,
// locks and the modified flag as they were when the table was opened.
#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "model/context.h"
#include "model/units.h"

namespace qw {

// Columns of the table; 0 is the wire number, 9 the read-only summary.
enum GeoColumn : int {
    kColWire = 0,
    kColX1 = 1,
    kColY1 = 2,
    kColZ1 = 3,
    kColX2 = 4,
    kColY2 = 5,
    kColZ2 = 6,
    kColDiam = 7,
    kColSeg = 8,
    kColSrcLd = 9,
    kGeoColumnCount = 10,
};

// Largest value a cell takes in the display unit (exclusive), the largest
// segment count a cell takes.
inline constexpr double kMaxCellValue = 10000;
inline constexpr int kMaxCellSegments = 50;

const char* GeoColumnHeader(int column);


// A block of cells: rows are wire numbers, columns as above; inclusive.
struct CellBlock {
    int top = 1, left = 1, bottom = 0, right = 0;
    bool Empty() const { return bottom < top || right < left; }
};
// The selection the transforms act on: a block of several columns that
// ends at column 6 or beyond ends at column 6 (a single column is kept);
// rows beyond the last wire are dropped.
CellBlock ClipSelection(CellBlock block, int wireCount);

// A wire list such as "2,4-6": wire numbers in order, each once. nullopt
// for a malformed list or a wire outside 1..wireCount.
std::optional<std::vector<int>> ParseWireList(const std::string& text, int wireCount);

// What the table restores: the tables it may change and the modified flag.
struct GeometrySnapshot {
    std::array<Wire, kWireCapacity + 1> Wires{};
    int WireCount = 0;
    std::array<Source, kMaxSources + 1> Sources{};
    int SourceCount = 0;
    std::array<Load, kMaxLoads + 1> Loads{};
    int LoadCount = 0;
    int PulseCount = 0;
    OptimizerLocks Locks;
    bool Modified = false;

    static GeometrySnapshot Of(const Context& ctx);
    void RestoreTo(Context& ctx) const;
    // The same wires, sources, loads and locks (the modified flag aside).
    bool SameTables(const GeometrySnapshot& other) const;
};

class GeometryTable {
public:
    // Opens the table on the context's project in the project's unit; the
    // lock lists are sized to the project.
    explicit GeometryTable(Context& ctx);

    Context& context() { return ctx_; }
    const Context& context() const { return ctx_; }
    int Rows() const { return ctx_.project.WireCount; }
    int Unit() const { return unit_; }
    void SetUnit(int unit) { unit_ = unit; }
    void NextUnit() { unit_ = NextDisplayUnit(unit_, ctx_.project.Frequency); }
    bool connectNewWires = false;

    // A cell as shown: lengths in the display unit with the number format,
    // segments "#0", the wire number, or the "Src/Ld" summary. "" outside
    // the wires.
    std::string CellText(int row, int column) const;
    // A length cell's value in the display unit; a segment count.
    double CellValue(int row, int column) const;
    // The value behind a cell as the clipboard carries it: the shortest text
    // that reads back as the same number.
    std::string CellExactText(int row, int column) const;

    // A cell typed into: "," reads as "."; the value must be a number, a
    // length below 10000 in magnitude, a diameter above 0, a segment count
    // 1..50. A refused value is told ("Value is too large", ...) and
    // changes nothing. True when stored.
    bool SetCell(int row, int column, const std::string& typed);
    // A diameter in metres from the wire-size box.
    bool SetDiameter(int row, float meters);

    // Add appends a wire, Insert puts one before row; the six coordinates
    // are 0 (end 1 at the previous wire's end 2 while connectNewWires is
    // on), the diameter and segments are the defaults of the settings.
    // "Too many Wires" when the table holds 50. The new row, or 0.
    int AddWire();
    int InsertWire(int row);
    // Removes rows first..last (clipped to the wires); the wires after them
    // move up.
    void DeleteRows(int first, int last);

    // Rotates the wires of rows about the axis (1 x, 2 y, 3 z) through the
    // origin by degrees.
    void Rotate(const std::vector<int>& rows, int axis, float degrees);
    // Multiplies / increases every cell of the block (clipped first) by
    // value, in the display unit. A result a cell would refuse is told and
    // nothing changes; false then (and for an empty block).
    bool Scale(CellBlock block, double factor);
    bool Shift(CellBlock block, double delta);
    // Moves the wires of rows by (dx, dy, dz) in the display unit.
    bool Move(const std::vector<int>& rows, double dx, double dy, double dz);

    // |P2 - P1| of a row in the display unit.
    double WireLength(int row) const;
    // The wire length as the window shows it, with the unit.
    std::string WireLengthText(int row) const;

    // The block as tab-separated text, rows ended by CR LF; lengths carry
    // their exact values.
    std::string CopyText(CellBlock block) const;
    // Pastes tab-separated rows with their first value into (row, column);
    // rows beyond the last wire are appended. "Too many Wires" or "Too many
    // columns to insert" when they do not fit; a value a cell would refuse
    // is told. All or nothing; true when pasted.
    bool Paste(int row, int column, const std::string& text);

    // Replaces the wire of row by the chain of a taper (geometry_taper.h).
    bool ReplaceByChain(int row, const std::vector<Wire>& chain);

    // Records the state before a change made outside the table's own
    // operations (the source and load placement), so it can be undone.
    void BeginExternalChange();
    void EndExternalChange();

    bool CanUndo() const { return !undo_.empty(); }
    bool CanRedo() const { return !redo_.empty(); }
    void Undo();
    void Redo();
    // Puts everything back as it was when the table was opened.
    void RestoreOpening();
    const GeometrySnapshot& Opening() const { return opening_; }

    // OK: the geometry check and the limits; when both pass the geometry is
    // defined, the solution must be computed again and AbortFlag is clear.
    // The project counts as modified only when something changed. An empty
    // table the user chose to leave is accepted without defining anything.
    // False (the table stays open) otherwise.
    bool Accept();
    // Cancel: everything as it was when the table opened, AbortFlag set.
    void Cancel();
    // Show, a click on "Src/Ld", the end of a taper: the geometry check,
    // then the pulses built for the table. False when either failed (the
    // user has been told); *faultRow receives a wire below ground.
    bool BuildPulses(int* faultRow = nullptr);

private:
    // Every cell of the clipped block changed by `change`, all or none (a
    // refused value is told and nothing changes).
    bool ChangeCells(CellBlock block, const std::function<double(double)>& change);

    float ToMetres(double value) const;
    double FromMetres(float meters) const;
    // Checks a value for a cell; the message when refused.
    std::optional<std::string> Refusal(int column, double value, std::string* title) const;
    bool Store(Project& p, int row, int column, double value) const;
    Wire NewWire(int before) const;
    // Runs change on the context; when it succeeds and changed the tables
    // the previous state goes on the undo list. False (and the tables as
    // they were) when change refused.
    template <typename F>
    bool Changing(F change);
    void Changed();

    Context& ctx_;
    int unit_;
    GeometrySnapshot opening_;
    std::vector<GeometrySnapshot> undo_, redo_;
    std::optional<GeometrySnapshot> external_;
};

// The "Src/Ld" text of a wire from the sources and loads on its pulses as
// the pulse table last built them: "S" and each source's pulse within the
// wire followed by "* " when locked or " ", then "L" and the loads alike.
std::string SourceLoadText(const Context& ctx, int wire);

}  // namespace qw
