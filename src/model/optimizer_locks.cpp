#include "model/optimizer_locks.h"

#include <algorithm>

namespace qw {

namespace {

template <std::size_t N>
void Fit(std::array<bool, N>& flags, int& count, int wanted) {
    wanted = std::clamp(wanted, 0, static_cast<int>(N) - 1);
    for (int i = wanted + 1; i < static_cast<int>(N); ++i) flags[i] = false;
    count = wanted;
}

}  // namespace

void OptimizerLocks::FitTo(const Project& project) {
    Fit(Wire, WireCount, project.WireCount);
    Fit(Source, SourceCount, project.SourceCount);
    Fit(Load, LoadCount, project.LoadCount);
}

void OptimizerLocks::InsertWire(int row) {
    if (row < 1 || row > kWireCapacity) return;
    for (int i = kWireCapacity; i > row; --i) Wire[i] = Wire[i - 1];
    Wire[row] = false;
    WireCount = std::min(WireCount + 1, kWireCapacity);
}

void OptimizerLocks::RemoveWire(int row) {
    if (row < 1 || row > kWireCapacity) return;
    for (int i = row; i < kWireCapacity; ++i) Wire[i] = Wire[i + 1];
    Wire[kWireCapacity] = false;
    WireCount = std::max(WireCount - 1, 0);
}

}  // namespace qw
