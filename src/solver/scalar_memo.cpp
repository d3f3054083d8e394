#include "solver/scalar_memo.h"

namespace qw {

void ScalarMemo::Clear() {
    entries_.assign(static_cast<std::size_t>(kMidpoints * 2 * points_), Entry{});
    pendingSlots_.clear();
}

void ScalarMemo::ScalarPsi(const SolverState& s, Kernel& k) {
    if (!enabled_) {
        qw::ScalarPsi(s, k);
        return;
    }
    const Key key{k.P1, k.P2, k.P3, k.P4, k.K, s.pulses.W[k.I], s.pulses.W[k.J]};
    if (Find(key, k.T1, k.T2, k.Pending)) {
        k.Scalar = true;
        return;
    }
    qw::ScalarPsi(s, k);
    Store(key, k.T1, k.T2, k.Pending);
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
