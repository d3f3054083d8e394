// Blocks of the interaction matrix that repeat an earlier block bit for bit.
//
// The block of wires (a, b) holds the elements of the pulses of a (rows)
// with the pulses of b (columns). Its elements are sums of integrals that
// depend on the coordinate differences between the points of b and the
// points of a, on the two wires' radius, segment length and direction, and
// on the pulses' indices along the wires. When for each coordinate either
// both wires' coordinates are the very same lists as those of another pair
// (a', b'), or all four are constant with the same difference (up to its
// sign, which no distance sees), every integral of the block is computed
// from the same numbers as in the block of (a', b'), and so is every
// element. Such a block is copied instead of filled.
//
// Only free wires take part: wires with no junction and no ground contact,
// whose pulses lie wholly on them, so no reuse path of the fill reaches
// into their blocks from another wire's rows.
#pragma once

#include <vector>

#include "solver/solver_state.h"

namespace qw {

class RepeatedBlocks {
public:
    // The blocks whose direct terms, and over ground whose image terms as
    // well, repeat an earlier block's; none when not enabled.
    RepeatedBlocks(const PulseTable& t, bool ground, bool enabled);

    // Element (i, j) lies in a block that is copied from another.
    bool Copied(int i, int j) const { return CopiedBlock(w_[i], w_[j]); }
    // Wire pair (a, b) is copied from another pair.
    bool CopiedBlock(int a, int b) const { return from_[Index(a, b)] >= 0; }
    // Every copied block from its source, after the other elements are filled.
    void Copy(SolverState& s) const;
    // Number of copied blocks.
    int Count() const;

private:
    int Index(int a, int b) const { return a * (nw_ + 1) + b; }
    int nw_;
    std::vector<int> w_;     // the wire of each pulse
    std::vector<int> from_;  // per pair (a, b): Index(a', b') of its source, or -1
    std::vector<int> first_, count_;  // per wire: first pulse and number of pulses
};

}  // namespace qw
