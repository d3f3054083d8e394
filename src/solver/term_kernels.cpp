#include "solver/term_kernels.h"

#include <algorithm>
#include <cstring>

#include "solver/frequency_constants.h"
#include "solver/vector_trig.h"

namespace qw {

void ReferenceTerm(const SolverState& s, const TermPulses& p, Kernel& k, ScalarMemo& memo, TermIntegrals& g) {
    const PulseTable& t = s.pulses;
    k.K = p.image;
    k.I = p.i;
    k.J = p.j;
    int n = 0;
    auto keep = [&] {
        g.t1[n] = k.T1;
        g.t2[n] = k.T2;
        ++n;
    };
    const int ci = PointIndex(t.Centre(p.i)), cj = PointIndex(t.Centre(p.j));
    k.P1 = ci;
    k.P2 = cj, k.P3 = cj + 1, k.P4 = p.j2;
    VectorPsi(s, k);
    keep();
    k.P2 = cj - 1, k.P3 = cj, k.P4 = p.j1;
    VectorPsi(s, k);
    keep();
    auto bothMidpoints = [&] {
        for (const int side : {1, -1}) {
            k.P1 = ci + side;
            memo.ScalarPsi(s, k);
            keep();
        }
    };
    k.P2 = cj, k.P3 = cj + 2, k.P4 = p.j2;
    bothMidpoints();
    k.P2 = cj - 2, k.P3 = cj, k.P4 = p.j1;
    bothMidpoints();
}

BatchedRow::BatchedRow(const SolverState& s) : s_(s), memoPoints_(s.pulses.N + 2 * s.pulses.NW + 1) {
    const PulseTable& t = s.pulses;
    DoubledIndexPoints(t, points_);
    // A row has at most two terms (direct and image) per pulse, each of six
    // integrals of at most 8 samples.
    const std::size_t terms = 2 * static_cast<std::size_t>(t.N) + 2;
    termCapacity_ = terms;
    terms_.reserve(terms);
    stride_ = (terms + 3) / 4 * 4;
    planes_.resize(12 * stride_);
    // The terms' integrals, and the near intervals of the wires' runs
    // (at most every half segment and segment of both image sides).
    const std::size_t quadratures = 6 * terms + 8 * static_cast<std::size_t>(t.N) + 4 * static_cast<std::size_t>(t.NW) + 8;
    // Left uninitialised like the samples: only what a row writes is read.
    for (auto* v : {&s4_, &sum1_, &sum2_}) *v = std::make_unique_for_overwrite<float[]>(quadratures);
    for (auto* v : {&first_, &rule_}) *v = std::make_unique_for_overwrite<int[]>(quadratures);
    for (auto* v : {&d3_, &a2_, &d_, &cosOverD_, &sinOverD_}) *v = std::make_unique_for_overwrite<float[]>(8 * quadratures);
    memoPending_.reserve(quadratures);
    SetUpIntervals();
}

void BatchedRow::Begin(int i) {
    i_ = i;
    centre_ = PointIndex(s_.pulses.Centre(i));
    const auto at = [&](int index) { return points_[static_cast<std::size_t>(index)]; };
    c_ = at(centre_);
    plus_ = at(centre_ + 1);
    minus_ = at(centre_ - 1);
    termCount_ = 0;
    terms_.clear();
    previous_ = {};
    samples_ = 0;
    quadratures_ = 0;
    if (!recording_) return;
    if (replay_) return;
    quadBase_ = static_cast<int>(recording_->rule_.size());
    closedBase_ = recording_->closed_.size();
}

void BatchedRow::Use(FillRecording* recording, bool replay) {
    lastRow_ = -1;
    recording_ = recording;
    replay_ = recording && replay;
    if (replay_ && replayAsked_.size() < termCapacity_) replayAsked_.resize(termCapacity_);
    if (replay_) recording_->cursor_ = 0;
}

void BatchedRow::AskFresh(int j, int image, int j1, int j2) {
    const PulseTable& t = s_.pulses;
    Asked& term = terms_.emplace_back();
    term.n = termCount_++;
    term.j = j;
    term.image = image;
    TermIntegrals& g = term.g;
    const int ci = centre_, cj = PointIndex(t.Centre(j));
    Integral(c_, ci, cj, cj + 1, j2, image, j, false, g.t1[0], g.t2[0], term.pending[0]);
    if (recording_) term.id[0] = IdOf(term.pending[0]);
    Integral(c_, ci, cj - 1, cj, j1, image, j, false, g.t1[1], g.t2[1], term.pending[1]);
    if (recording_) term.id[1] = IdOf(term.pending[1]);
    const int wireI = t.W[i_], wireJ = t.W[j];
    // J's first segment is the second segment of the term of this image
    // asked before when that one was the pulse before J on its wire: the
    // same keys, so the same integrals as the memo would give.
    Previous& before = previous_[image > 0 ? 0 : 1];
    const bool shared = before.term >= 0 && before.secondSegment == cj - 2 && before.wire == j1 && before.wireJ == wireJ;
    const int lookups = shared ? 1 : 2;
    int n = 2;
    for (int segment = 0; segment < lookups; ++segment) {
        const int p2 = segment == 0 ? cj : cj - 2, p4 = segment == 0 ? j2 : j1;
        for (const int side : {1, -1}) {
            const ScalarMemo::Key key{ci + side, p2, p2 + 2, p4, image, wireI, wireJ};
            const int slot = ScalarMemo::Slot(key, memoPoints_);
            // The memo's table is made at its first use: rows whose terms
            // all take the wires' runs never need it.
            if (memo_.empty())
                memo_.assign(static_cast<std::size_t>(ScalarMemo::kMidpoints * 2 * memoPoints_), MemoEntry{});
            MemoEntry& e = memo_[static_cast<std::size_t>(slot)];
            if (e.key == key) {
                g.t1[n] = e.t1;
                g.t2[n] = e.t2;
                term.pending[n] = e.pending;
                term.id[n] = e.id;
            } else {
                Integral(side > 0 ? plus_ : minus_, key.p1, p2, p2 + 2, p4, image, j, true, g.t1[n], g.t2[n],
                         term.pending[n]);
                if (recording_) term.id[n] = IdOf(term.pending[n]);
                e = MemoEntry{key, g.t1[n], g.t2[n], term.pending[n], term.id[n]};
                if (e.pending >= 0) memoPending_.push_back(slot);
            }
            ++n;
        }
    }
    if (shared) {
        const Asked& earlier = terms_[static_cast<std::size_t>(before.term)];
        for (int m = 4; m < 6; ++m) {
            g.t1[m] = earlier.g.t1[m - 2];
            g.t2[m] = earlier.g.t2[m - 2];
            term.pending[m] = earlier.pending[m - 2];
            term.id[m] = earlier.id[m - 2];
        }
    }
    before = Previous{static_cast<int>(terms_.size()) - 1, cj, j2, wireJ};
}

// VectorPsi (scalar false) or ScalarPsi (scalar true) from the observation
// point obs at doubled index p1 over [p2, p3] on wire p4: the thin-wire
// self terms in closed form, the 2-point rule of far intervals appended
// straight away, the near ones by the reference kernels' rule.
[[gnu::always_inline]] inline void BatchedRow::Integral(const std::array<float, 3>& obs, int p1, int p2, int p3, int p4, int image, int j,
                                 bool scalar, float& t1, float& t2, int& pending) {
    pending = -1;
    // The self terms need the pulse itself (vector) or the observation
    // point at the interval's middle (scalar): asked first, as integers.
    if ((scalar ? 2 * p1 == p2 + p3 : i_ == j) && ThinSelfTerm(s_, p1, p2, p3, p4, image, i_, j, scalar, t1, t2)) {
        if (recording_) RecordSelfTerm(p1, p2, p3, p4, image, j, scalar);
        return;
    }
    // V1, V2 as PsiEndpoints forms them.
    const float k = static_cast<float>(image);
    const std::array<float, 3>& e1 = points_[static_cast<std::size_t>(p2)];
    const std::array<float, 3>& e2 = points_[static_cast<std::size_t>(p3)];
    const std::array<float, 3> v1 = {e1[0] - obs[0], e1[1] - obs[1], e1[2] * k - obs[2]};
    const std::array<float, 3> v2 = {e2[0] - obs[0], e2[1] - obs[1], e2[2] * k - obs[2]};
    const float seg = s_.pulses.S[p4];
    if (!FarApart(v1, v2, seg)) {
        Near(obs, v1, v2, p1, p2, p3, p4, image, j, scalar, t1, t2, pending);
        return;
    }
    // The 2-point rule: the samples at 1/2 + g and 1/2 - g of the walk.
    const float a = s_.pulses.A[p4];
    const float a2 = a > s_.freq.SRM ? a * a : 0.0f;
    std::array<float, 3> start, step;
    Walk(v1, v2, image, start, step);
    pending = BeginQuadrature(1, static_cast<float>(p3 - p2) / 2.0f * seg);
    for (const float t : {kGaussTable[1] + 0.5f, 0.5f - kGaussTable[1]})
        Sample(start[0] + t * step[0], start[1] + t * step[1], start[2] + t * step[2], a2);
}

bool BatchedRow::NearRule(const std::array<float, 3>& obs, const std::array<float, 3>& v1,
                          const std::array<float, 3>& v2, int p1, int p2, int p3, int p4, int image, int j,
                          bool scalar, Kernel& w, PsiRule& r, std::array<float, 3>& start, std::array<float, 3>& step,
                          float& a2, float& s4) const {
    w.FieldMode = 1;
    w.P1 = p1, w.P2 = p2, w.P3 = p3, w.P4 = p4, w.K = image, w.I = i_, w.J = j;
    w.Scalar = scalar;
    w.X0 = obs[0], w.Y0 = obs[1], w.Z0 = obs[2];
    w.V1 = v1;
    w.V2 = v2;
    r = RuleOf(s_, w);
    if (r.l == 0 || r.c != 0.0f) {
        // Closed forms and the exact kernel: computed here and now.
        IntegrateByRule(s_, w, r);
        return true;
    }
    const float a = s_.pulses.A[p4];
    a2 = a > s_.freq.SRM ? a * a : 0.0f;
    Walk(v1, v2, image, start, step);
    s4 = static_cast<float>(p3 - p2) / 2.0f * s_.pulses.S[p4];
    return false;
}

void BatchedRow::Near(const std::array<float, 3>& obs, const std::array<float, 3>& v1, const std::array<float, 3>& v2,
                      int p1, int p2, int p3, int p4, int image, int j, bool scalar, float& t1, float& t2,
                      int& pending) {
    Kernel w;
    PsiRule r;
    std::array<float, 3> start, step;
    float a2, s4;
    if (NearRule(obs, v1, v2, p1, p2, p3, p4, image, j, scalar, w, r, start, step, a2, s4)) {
        if (recording_) immediateId_ = Immediate(w, r, false);
        t1 = w.T1;
        t2 = w.T2;
        return;
    }
    pending = NearQuadrature(r, start, step, a2, s4);
}

int BatchedRow::NearQuadrature(const PsiRule& r, const std::array<float, 3>& start, const std::array<float, 3>& step,
                               float a2, float s4) {
    const int q = BeginQuadrature(r.l, s4);
    for (int l = r.l; l < 2 * r.l; l += 2)
        for (const float t : {kGaussTable[l] + 0.5f, 0.5f - kGaussTable[l]})
            Sample(start[0] + t * step[0], start[1] + t * step[1], start[2] + t * step[2], a2);
    return q;
}

namespace {

// The sums of a quadrature of rule l0 over length s4 from its samples'
// kernels.
inline void SumOf(int l0, float s4, const float* cd, const float* sd, float& t1, float& t2) {
    t1 = 0.0f;
    t2 = 0.0f;
    if (l0 == 1) {
        // The 2-point rule (most integrals): one pair, the steps below
        // unrolled.
        const float t3 = (0.0f + cd[0]) + cd[1];
        const float t4 = (0.0f - sd[0]) - sd[1];
        t1 = (0.0f + kGaussTable[2] * t3 + 0.0f) * s4;
        t2 = (0.0f + kGaussTable[2] * t4) * s4;
        return;
    }
    // Each pair's kernels, weighted, in IntegrateByRule's order.
    for (int l = l0; l < 2 * l0; l += 2, cd += 2, sd += 2) {
        float t3 = 0.0f, t4 = 0.0f;
        t3 = t3 + cd[0];
        t4 = t4 - sd[0];
        t3 = t3 + cd[1];
        t4 = t4 - sd[1];
        t1 = t1 + kGaussTable[l + 1] * t3;
        t2 = t2 + kGaussTable[l + 1] * t4;
    }
    t1 = (t1 + 0.0f) * s4;  // no exact-kernel term in a batch
    t2 = t2 * s4;
}

}  // namespace


void BatchedRow::Answer() {
    if (replay_) {
        Replay();
        return;
    }
    if (!recording_) {
        AnswerFresh();
        return;
    }
    Fresh();
    Record();
}

void BatchedRow::AnswerFresh() {
    AskIntervals();
    Fresh();
    AnswerIntervals();
}

void BatchedRow::Fresh() {
    KernelTerms(d3_.get(), a2_.get(), s_.freq.K, d_.get(), cosOverD_.get(), sinOverD_.get(), samples_);
    // Each quadrature summed once, however many terms share it.
    for (std::size_t q = 0; q < static_cast<std::size_t>(quadratures_); ++q)
        SumOf(rule_[q], s4_[q], cosOverD_.get() + first_[q], sinOverD_.get() + first_[q], sum1_[q], sum2_[q]);
    for (const Asked& term : terms_) {
        const int n = term.n;
        for (int m = 0; m < 6; ++m) {
            const int q = term.pending[static_cast<std::size_t>(m)];
            WritePlane(m)[n] = q >= 0 ? sum1_[static_cast<std::size_t>(q)] : term.g.t1[static_cast<std::size_t>(m)];
            WritePlane(m + 6)[n] = q >= 0 ? sum2_[static_cast<std::size_t>(q)] : term.g.t2[static_cast<std::size_t>(m)];
        }
    }
    // The remembered integrals of this row are results from now on.
    for (const int slot : memoPending_) {
        MemoEntry& e = memo_[static_cast<std::size_t>(slot)];
        if (e.pending < 0) continue;
        e.t1 = sum1_[static_cast<std::size_t>(e.pending)];
        e.t2 = sum2_[static_cast<std::size_t>(e.pending)];
        e.pending = -1;
    }
    memoPending_.clear();
}

void BatchedRow::RecordSelfTerm(int p1, int p2, int p3, int p4, int image, int j, bool scalar) {
    Kernel w;
    w.P1 = p1, w.P2 = p2, w.P3 = p3, w.P4 = p4, w.K = image, w.I = i_, w.J = j;
    w.Scalar = scalar;
    immediateId_ = Immediate(w, PsiRule{}, true);
}

int BatchedRow::Immediate(const Kernel& w, const PsiRule& r, bool selfTerm) {
    std::vector<FillRecording::ClosedForm>& closed = recording_->closed_;
    closed.push_back(FillRecording::ClosedForm{w, r, selfTerm});
    return -static_cast<int>(closed.size());
}

void BatchedRow::Record() {
    FillRecording& r = *recording_;
    const std::size_t bytes = (r.d_.size() + static_cast<std::size_t>(samples_)) * sizeof(float) +
                              (r.ids_.size() + static_cast<std::size_t>(termCount_)) *
                                  (sizeof(std::array<int, 6>) + sizeof(std::array<int, 2>)) +
                              (r.rule_.size() + static_cast<std::size_t>(quadratures_)) * 4 * sizeof(float);
    if (bytes > FillRecording::maxBytes) {
        r.TooLarge();
        recording_ = nullptr;
        return;
    }
    r.rows_.push_back(FillRecording::Row{i_, r.d_.size(), samples_, quadBase_, quadratures_,
                                         static_cast<int>(r.ids_.size()), termCount_, static_cast<int>(closedBase_),
                                         static_cast<int>(r.closed_.size() - closedBase_)});
    const auto n = static_cast<std::size_t>(samples_);
    const auto q = static_cast<std::size_t>(quadratures_);
    // The distances as the kernels took them (the square roots of the
    // squared distances plus radii).
    r.d_.insert(r.d_.end(), d_.get(), d_.get() + n);
    r.first_.insert(r.first_.end(), first_.get(), first_.get() + q);
    r.rule_.insert(r.rule_.end(), rule_.get(), rule_.get() + q);
    r.s4_.insert(r.s4_.end(), s4_.get(), s4_.get() + q);
    // A recorded row asks every term afresh: terms_ holds them all, in order.
    for (const Asked& term : terms_) {
        r.ids_.push_back(term.id);
        r.asked_.push_back({term.j, term.image});
    }
}

void BatchedRow::Replay() {
    FillRecording& r = *recording_;
    const int asked = termCount_;
    bool same = r.cursor_ < r.rows_.size();
    const FillRecording::Row* row = same ? &r.rows_[r.cursor_] : nullptr;
    same = same && row->i == i_ && row->terms == asked;
    for (int n = 0; same && n < asked; ++n) {
        const std::array<int, 4>& a = replayAsked_[static_cast<std::size_t>(n)];
        const std::array<int, 2>& b = r.asked_[static_cast<std::size_t>(row->term0 + n)];
        same = a[0] == b[0] && a[1] == b[1];
    }
    if (!same) {
        // Not the row recorded: this row and the rest of the fill afresh
        // (the memo, empty so far, holds nothing of another row).
        r.Abandon();
        recording_ = nullptr;
        replay_ = false;
        const std::vector<std::array<int, 4>> terms(replayAsked_.begin(), replayAsked_.begin() + asked);
        termCount_ = 0;
        for (const auto& a : terms) Ask(a[0], a[1], a[2], a[3]);
        AnswerFresh();
        return;
    }
    ++r.cursor_;
    std::array<float, 2>* values = r.values_.data();
    for (int c = row->imm0; c < row->imm0 + row->imms; ++c) {
        const FillRecording::ClosedForm& f = r.closed_[static_cast<std::size_t>(c)];
        Kernel w = f.w;
        if (f.selfTerm)
            ThinSelfTerm(s_, w.P1, w.P2, w.P3, w.P4, w.K, w.I, w.J, w.Scalar, w.T1, w.T2);
        else
            IntegrateByRule(s_, w, f.r);
        values[r.rule_.size() + static_cast<std::size_t>(c)] = {w.T1, w.T2};
    }
    KernelTermsAt(r.d_.data() + row->sample0, s_.freq.K, cosOverD_.get(), sinOverD_.get(), row->samples);
    for (int q = row->quad0; q < row->quad0 + row->quads; ++q) {
        const std::size_t u = static_cast<std::size_t>(q);
        SumOf(r.rule_[u], r.s4_[u], cosOverD_.get() + r.first_[u], sinOverD_.get() + r.first_[u], values[u][0],
              values[u][1]);
    }
    const std::array<int, 6>* ids = r.ids_.data() + row->term0;
    for (int m = 0; m < 6; ++m) {
        float* p1 = WritePlane(m);
        float* p2 = WritePlane(m + 6);
        for (int n = 0; n < asked; ++n) {
            const std::array<float, 2>& v = values[ids[n][static_cast<std::size_t>(m)]];
            p1[n] = v[0];
            p2[n] = v[1];
        }
    }
}

std::vector<std::uint32_t> FillRecording::Fingerprint(const SolverState& s, bool ground, bool reuse) {
    const PulseTable& t = s.pulses;
    std::vector<std::uint32_t> f;
    auto put = [&](auto v) {
        std::uint32_t u = 0;
        static_assert(sizeof(v) == sizeof(u));
        std::memcpy(&u, &v, sizeof(u));
        f.push_back(u);
    };
    put(t.N), put(t.NW), put(static_cast<int>(ground)), put(static_cast<int>(reuse));
    put(static_cast<int>(s.copyRepeatedBlocks));
    for (int w = 1; w <= t.NW; ++w) {
        const float a = t.A[w];
        put(a), put(t.S[w]), put(t.CA[w]), put(t.CB[w]), put(t.CG[w]);
        put(t.J2[w][1]), put(t.J2[w][2]), put(t.Nw[w][1]), put(t.Nw[w][2]);
        // The side of the thin-wire limit (the rules ask <, <= and >).
        put(a < s.freq.SRM ? 0 : (a == s.freq.SRM ? 1 : 2));
    }
    for (int i = 1; i <= t.N; ++i) put(t.W[i]), put(t.C[i][1]), put(t.C[i][2]);
    PointList points;
    DoubledIndexPoints(t, points);
    for (const auto& p : points) put(p[0]), put(p[1]), put(p[2]);
    return f;
}

bool FillRecording::Holds(const SolverState& s, bool ground, bool reuse) const {
    return whole_ && fingerprint_ == Fingerprint(s, ground, reuse);
}

void FillRecording::Start(const SolverState& s, bool ground, bool reuse) {
    *this = FillRecording{};
    fingerprint_ = Fingerprint(s, ground, reuse);
    recording_ = true;
}

void FillRecording::Abandon() { *this = FillRecording{}; }

void FillRecording::TooLarge() {
    std::vector<std::uint32_t> fingerprint = std::move(fingerprint_);
    *this = FillRecording{};
    fingerprint_ = std::move(fingerprint);
    tooLarge_ = true;
}

bool FillRecording::TooLargeFor(const SolverState& s, bool ground, bool reuse) const {
    return tooLarge_ && fingerprint_ == Fingerprint(s, ground, reuse);
}

void FillRecording::EndFill() {
    if (recording_) {
        recording_ = false;
        whole_ = true;
        values_.assign(rule_.size() + closed_.size(), {0.0f, 0.0f});
        // Closed form c (id -c - 1) after the quadratures.
        const int quadratures = static_cast<int>(rule_.size());
        for (std::array<int, 6>& ids : ids_)
            for (int& id : ids)
                if (id < 0) id = quadratures - id - 1;
    } else if (whole_ && cursor_ != rows_.size()) {
        Abandon();
    }
}

}  // namespace qw
