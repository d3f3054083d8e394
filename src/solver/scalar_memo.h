// Remembered scalar-potential integrals of the fill's terms that are taken
// one integral after the other (the pairs on one straight wire).
//
// The scalar potential of element (I, J) takes four integrals: J's two
// segments seen from the midpoints of I's two segments. Neighbouring pulses
// on a wire share segments and midpoints, so the fill asks for most of them
// up to four times. The memo hands back the T1 + jT2 of an earlier call
// whose inputs were exactly the same (the indices, the wire, the image
// sign and the wires of the pulse pair, which select the rule), so the
// values are the very ones ScalarPsi would compute again.
#pragma once

#include <vector>

#include "solver/kernel.h"

namespace qw {

class ScalarMemo {
public:
    // A memo that is not enabled computes every integral; `points` is the
    // number of break points of the table, 1..points - 1 (the intervals'
    // first break points).
    // Its table is made at the first integral asked: a fill thread whose
    // rows go to the batched path never needs it.
    ScalarMemo(bool enabled, int points) : enabled_(enabled), points_(points) {}
    // ScalarPsi with the working values of k, or its remembered result.
    void ScalarPsi(const SolverState& s, Kernel& k);

    // What selects a remembered integral: the indices, the wire, the image
    // sign and the wires of the pulse pair (which select the rule).
    struct Key {
        int p1 = -1, p2 = 0, p3 = 0, p4 = 0, image = 0, wireI = 0, wireJ = 0;
        bool operator==(const Key&) const = default;
    };

    // Direct-mapped by observation midpoint (four in turn), image sign and
    // the interval's first break point (below points).
    static constexpr int kMidpoints = 4;
    static int Slot(const Key& key, int points) {
        return (((key.p1 / 2) & (kMidpoints - 1)) * 2 + (key.image > 0 ? 0 : 1)) * points + key.p2 / 2;
    }

private:
    struct Entry {
        Key key;
        float t1 = 0, t2 = 0;
    };
    bool enabled_;
    int points_;
    std::vector<Entry> entries_;
};

}  // namespace qw
