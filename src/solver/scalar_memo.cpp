#include "solver/scalar_memo.h"

namespace qw {

void ScalarMemo::Clear() {
    entries_.assign(static_cast<std::size_t>(kMidpoints * 2 * points_), Entry{});
    pendingSlots_.clear();
}

int ScalarMemo::Slot(const Key& key) const {
    const int point = key.p2 / 2;  // below points_
    return (((key.p1 / 2) & (kMidpoints - 1)) * 2 + (key.image > 0 ? 0 : 1)) * points_ + point;
}

bool ScalarMemo::Find(const Key& key, float& t1, float& t2, int& pending) const {
    const Entry& e = entries_[Slot(key)];
    if (!(e.key == key)) return false;
    t1 = e.t1;
    t2 = e.t2;
    pending = e.pending;
    return true;
}

void ScalarMemo::Store(const Key& key, float t1, float t2, int pending) {
    const int slot = Slot(key);
    entries_[slot] = Entry{key, t1, t2, pending};
    if (pending >= 0) pendingSlots_.push_back(slot);
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
