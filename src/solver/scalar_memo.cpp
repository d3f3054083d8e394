#include "solver/scalar_memo.h"

namespace qw {

void ScalarMemo::Clear() {
    entries_.fill(Entry{});
    pendingSlots_.clear();
}

void ScalarMemo::ScalarPsi(const SolverState& s, Kernel& k) {
    if (!enabled_) {
        qw::ScalarPsi(s, k);
        return;
    }
    const PulseTable& t = s.pulses;
    const int point = k.P2 / 2;  // at most kMaxBreakPoints
    const int slot = (((k.P1 / 2) & (kMidpoints - 1)) * 2 + (k.K > 0 ? 0 : 1)) * kPoints + point;
    Entry& e = entries_[slot];
    const int wireI = t.W[k.I], wireJ = t.W[k.J];
    if (e.p1 == k.P1 && e.p2 == k.P2 && e.p3 == k.P3 && e.p4 == k.P4 && e.image == k.K && e.wireI == wireI &&
        e.wireJ == wireJ) {
        k.Scalar = true;
        k.T1 = e.t1;
        k.T2 = e.t2;
        k.Pending = e.pending;
        return;
    }
    qw::ScalarPsi(s, k);
    e = Entry{k.P1, k.P2, k.P3, k.P4, k.K, wireI, wireJ, k.T1, k.T2, k.Pending};
    if (k.Pending >= 0) pendingSlots_.push_back(slot);
}

void ScalarMemo::Resolve(const SampleBatch& batch) {
    for (const int slot : pendingSlots_) {
        Entry& e = entries_[slot];
        if (e.pending < 0) continue;
        batch.Result(e.pending, e.t1, e.t2);
        e.pending = -1;
    }
    pendingSlots_.clear();
}

}  // namespace qw
