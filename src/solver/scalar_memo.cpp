#include "solver/scalar_memo.h"

namespace qw {

void ScalarMemo::ScalarPsi(const SolverState& s, Kernel& k) {
    if (!enabled_) {
        qw::ScalarPsi(s, k);
        return;
    }
    if (entries_.empty()) entries_.assign(static_cast<std::size_t>(kMidpoints * 2 * points_), Entry{});
    const Key key{k.P1, k.P2, k.P3, k.P4, k.K, s.pulses.W[k.I], s.pulses.W[k.J]};
    Entry& e = entries_[static_cast<std::size_t>(Slot(key, points_))];
    if (e.key == key) {
        k.Scalar = true;
        k.T1 = e.t1;
        k.T2 = e.t2;
        return;
    }
    qw::ScalarPsi(s, k);
    e = Entry{key, k.T1, k.T2};
}

}  // namespace qw
