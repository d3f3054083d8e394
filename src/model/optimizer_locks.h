// Which variables the optimizer must leave alone: one flag per wire, per
// source and per load, 1-based like the tables they follow.
#pragma once

#include <array>

#include "model/project.h"

namespace qw {

struct OptimizerLocks {
    std::array<bool, kWireCapacity + 1> Wire{};
    std::array<bool, kMaxSources + 1> Source{};
    std::array<bool, kMaxLoads + 1> Load{};
    int WireCount = 0, SourceCount = 0, LoadCount = 0;

    bool operator==(const OptimizerLocks&) const = default;

    // Sizes the three lists to the project's wires, sources and loads,
    // keeping the flags of the entries that stay; entries beyond the new
    // size are cleared, so a list that grows again starts unlocked.
    void FitTo(const Project& project);
    // A wire row inserted before `row` (1-based) and rows removed: the
    // flags move with their wires.
    void InsertWire(int row);
    void RemoveWire(int row);
};

}  // namespace qw
