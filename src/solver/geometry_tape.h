// The geometry of the fill's integrals kept from one frequency to the next.
//
// A sweep fills the matrix of one structure at many frequencies. Every
// quadrature of the fill then sees the same interval from the same point,
// in the same order; only the wave number differs. The tape records, per
// integral in the order of the fill, what the geometry alone decides: the
// rule, the sample distances and the exact-kernel terms. At the next
// frequency an integral whose inputs are bit for bit those recorded (the
// vectors to the interval's ends, the radius, the segment length, the
// indices, the pulse pair's wires, the table's generation, thin or thick at
// this frequency) replays them: the same values, computed once.
#pragma once

#include <array>
#include <cstddef>
#include <vector>

namespace qw {

struct TapeRecord {
    // Inputs.
    std::array<float, 3> v1{}, v2{};
    float a = 0, seg = 0;
    int span = 0, image = 0, wireI = 0, wireJ = 0, fieldMode = 0;
    unsigned generation = 0;
    bool scalar = false, thick = false;
    // What they decide.
    bool sampled = false;  // false: the thin-wire closed form
    int l = 0;
    float f2 = 1, s4 = 0, c = 0;
    std::size_t first = 0;  // the samples' distances (and exact-kernel terms)
};

struct GeometryTape {
    std::vector<TapeRecord> records;
    std::vector<float> distance;     // per sample
    std::vector<float> exactTerm;    // per sample with the exact kernel
    std::size_t cursor = 0;          // the next integral of this fill

    void Rewind() { cursor = 0; }
    // Drops the records from the cursor on (they no longer follow).
    void Truncate() {
        if (cursor < records.size()) {
            distance.resize(records[cursor].first);
            exactTerm.resize(records[cursor].first);
            records.resize(cursor);
        }
    }
};

}  // namespace qw
