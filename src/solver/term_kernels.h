// The six integrals of one term of the matrix, by two paths side by side:
// the reference kernels, one integral after the other through VectorPsi
// and ScalarPsi, and the batched row, where a row asks for all its terms,
// every plain quadrature among them waits in one batch, and the kernel
// answers the batch at once in vector lanes. Both give the very same
// values; the tests compare them.
//
// A term is the direct (image +1) or image (-1) part of element (I, J)
// without reuse. Its integrals, in the order the term takes them:
//   0, 1  the vector potential of J's second and first half from I's
//         centre c(I);
//   2, 3  the scalar potential of J's second segment from the midpoints
//         c(I) + 1/2 and c(I) - 1/2 of I's segments;
//   4, 5  the same of J's first segment.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "solver/kernel.h"
#include "solver/scalar_memo.h"
#include "solver/solver_state.h"

namespace qw {

struct TermIntegrals {
    std::array<float, 6> t1{}, t2{};
};

// The pulses of a term: observation pulse i, source pulse j, the image
// sign, and the wires of J's first and second half.
struct TermPulses {
    int i, j, image, j1, j2;
};

// The reference path: each integral through the working values of k
// (k.FieldMode set by the caller), the scalar ones through the memo.
void ReferenceTerm(const SolverState& s, const TermPulses& p, Kernel& k, ScalarMemo& memo, TermIntegrals& g);

class FillRecording;

// The batched path for the rows of one thread: Begin(i), then Ask for
// every term of row i in turn, Answer, then Term(n) for the n-th term
// asked. The scalar integrals are remembered from term to term and from
// row to row, as in the reference path's memo.
//
// Regular pulses (both halves on the pulse's own wire) may instead be
// asked a wire at a time: AskWire(w, image), then after Answer their six
// integrals are read from WireValues. A row computes each half segment and
// segment of an asked wire's run of regular pulses once: from the row's
// centre, and from the midpoints after and before it (the segments seen
// from the midpoint before are the previous row's after, on the same
// wire), the far ones' samples side by side in vector lanes; each takes
// the very steps Integral takes for it (row_intervals.cpp).
class BatchedRow {
public:
    explicit BatchedRow(const SolverState& s);
    void Begin(int i);
    void Ask(int j, int image, int j1, int j2) {
        if (replay_) {
            replayAsked_[static_cast<std::size_t>(termCount_++)] = {j, image, j1, j2};
            return;
        }
        AskFresh(j, image, j1, j2);
    }
    // Whether pulse j may be asked through its wire (not while a fill is
    // recorded or replayed).
    bool Regular(int j) const { return !recording_ && regularPulse_[static_cast<std::size_t>(j)]; }
    void AskWire(int wire, int image) {
        const int side = image > 0 ? 0 : 1;
        char& needed = wireNeeded_[static_cast<std::size_t>(side)][static_cast<std::size_t>(wire)];
        if (!needed) {
            needed = 1;
            neededWires_[static_cast<std::size_t>(side)].push_back(wire);
        }
    }
    // Integral m (0..5, in the order of a term) part (0 = t1, 1 = t2) of the
    // regular pulses of wire w asked with that image: pulse j's at [j].
    const float* WireValues(int image, int m, int part, int wire) const {
        static constexpr int kKind[6] = {kSecond, kFirst, kAfter, kBefore, kAfter, kBefore};
        const int side = image > 0 ? 0 : 1;
        // Indexed by the centre break point 2 w - 1 + j, or the one before.
        return values_.get() + ValueBase(side, kKind[m], part) + 2 * wire - 1 - (m >= 4 ? 1 : 0);
    }
    void Answer();
    TermIntegrals Term(int n) const {
        TermIntegrals g;
        for (std::size_t m = 0; m < 6; ++m) {
            g.t1[m] = Plane(static_cast<int>(m))[n];
            g.t2[m] = Plane(static_cast<int>(m) + 6)[n];
        }
        return g;
    }
    // The answered integrals as planes: integral m's t1 of every term in
    // Plane(m), its t2 in Plane(m + 6), term n at index n.
    const float* Plane(int p) const { return planes_.data() + static_cast<std::size_t>(p) * stride_; }

    // The rows of one whole fill on one thread, in order, with a recording:
    // replay true takes the recorded rows again (Ask only checks that the
    // same terms are asked; Answer recomputes what depends on the
    // frequency), replay false records them. A row that differs from the
    // recording is computed afresh, and so is every row after it.
    void Use(FillRecording* recording, bool replay);

private:
    void AskFresh(int j, int image, int j1, int j2);
    // Without a recording: the wires' runs and the fresh terms' batch, then
    // the runs' values.
    void AnswerFresh();
    void SetUpIntervals();
    // The runs of the wires asked this row: far samples in lanes, the rest
    // one by one (closed forms kept, near quadratures into the batch).
    void AskIntervals();
    // After the batch: the far sums, the closed forms and near quadratures
    // into the runs' values.
    void AnswerIntervals();
    // One run of `count` intervals from the points (x1, y1, z1)[t] to
    // (x2, y2, z2)[t], seen from doubled index `observer`; interval t
    // spans doubled indices p2 + 2 t to p2 + 2 t + length, its values at
    // dest + t.
    struct RunEnds {
        const float *x1, *y1, *z1, *x2, *y2, *z2;
    };
    void Run(const RunEnds& ends, int count, int observer, int p2, int length, int wire, int image, int dest);
    // Half segments by the pulse whose half they are (second [c, c + 1/2]
    // and first [c - 1/2, c], c its centre), segments [c, c + 1] seen from
    // the midpoints after and before the row's centre, all by break point.
    enum RunKind { kSecond = 0, kFirst = 1, kAfter = 2, kBefore = 3, kKinds = 4 };
    // Index of part (0 = t1, 1 = t2) of run kind `kind` and image side in
    // values_, at break point 0.
    int ValueBase(int side, int kind, int part) const {
        return ((side * kKinds + kind) * 2 + part) * static_cast<int>(valueStride_);
    }
    void Replay();
    void Record();
    void Fresh();
    // An integral just found in closed form: its value id in the recording.
    [[gnu::noinline]] int Immediate(const Kernel& w, const PsiRule& r, bool selfTerm);
    [[gnu::noinline]] void RecordSelfTerm(int p1, int p2, int p3, int p4, int image, int j, bool scalar);
    int IdOf(int pending) const { return pending >= 0 ? quadBase_ + pending : immediateId_; }
    // An integral with its result in t1, t2 (pending -1), or waiting in the
    // batch as quadrature number `pending`.
    void Integral(const std::array<float, 3>& obs, int p1, int p2, int p3, int p4, int image, int j, bool scalar,
                  float& t1, float& t2, int& pending);
    void Near(const std::array<float, 3>& obs, const std::array<float, 3>& v1, const std::array<float, 3>& v2, int p1,
              int p2, int p3, int p4, int image, int j, bool scalar, float& t1, float& t2, int& pending);
    // The near rule of an integral: true with its closed form in w.T1,
    // w.T2; false with the rule, the walk, the squared radius and the
    // length its quadrature takes.
    bool NearRule(const std::array<float, 3>& obs, const std::array<float, 3>& v1, const std::array<float, 3>& v2,
                  int p1, int p2, int p3, int p4, int image, int j, bool scalar, Kernel& w, PsiRule& r,
                  std::array<float, 3>& start, std::array<float, 3>& step, float& a2, float& s4) const;
    // The near rule's quadrature in the batch, its samples along the walk;
    // its number.
    int NearQuadrature(const PsiRule& r, const std::array<float, 3>& start, const std::array<float, 3>& step, float a2,
                       float s4);
    // Starts quadrature `l` (2 * l samples) over length s4; its samples
    // follow.
    int BeginQuadrature(int l, float s4) {
        first_[static_cast<std::size_t>(quadratures_)] = samples_;
        rule_[static_cast<std::size_t>(quadratures_)] = l;
        s4_[static_cast<std::size_t>(quadratures_)] = s4;
        return quadratures_++;
    }
    void Sample(float px, float py, float pz, float a2) {
        d3_[samples_] = px * px + py * py + pz * pz;
        a2_[samples_] = a2;
        ++samples_;
    }

    // A term asked afresh (term n of the row).
    struct Asked {
        int n = 0;
        TermIntegrals g;
        std::array<int, 6> pending{};
        std::array<int, 6> id{};  // value ids (recording only)
        int j = 0, image = 0;
    };
    struct MemoEntry {
        ScalarMemo::Key key;
        float t1 = 0, t2 = 0;
        int pending = -1;
        int id = 0;
    };

    const SolverState& s_;
    PointList points_;
    int i_ = 0, centre_ = 0;
    std::array<float, 3> c_{}, plus_{}, minus_{};
    int memoPoints_;
    std::vector<MemoEntry> memo_;
    std::vector<int> memoPending_;
    std::vector<Asked> terms_;  // the terms asked afresh, in order
    std::size_t termCapacity_ = 0;
    std::vector<float> planes_;
    std::size_t stride_ = 0;
    float* WritePlane(int p) { return planes_.data() + static_cast<std::size_t>(p) * stride_; }
    int termCount_ = 0;
    // The last term asked of each image (direct, image): its number, the
    // first break point of J's second segment (doubled), that segment's
    // wire and J's wire.
    struct Previous {
        int term = -1, secondSegment = 0, wire = 0, wireJ = 0;
    };
    std::array<Previous, 2> previous_{};
    // The batch: every sample's squared distance and squared radius, each
    // quadrature's first sample, rule and length; the kernels once answered.
    // The samples' buffers are left uninitialised: they are sized for the
    // most a row can ask, and a row seldom asks a tenth of it, so pages
    // never written are never touched.
    std::unique_ptr<float[]> d3_, a2_, d_, cosOverD_, sinOverD_;
    std::unique_ptr<float[]> s4_, sum1_, sum2_;
    std::unique_ptr<int[]> first_, rule_;
    int samples_ = 0, quadratures_ = 0;

    // Recording or replaying: the recording, the row's first quadrature
    // in it, the value id of the last closed form, the terms asked of a
    // replayed row (j, image, j1, j2).
    FillRecording* recording_ = nullptr;
    bool replay_ = false;
    int quadBase_ = 0, immediateId_ = -1;
    std::size_t closedBase_ = 0;
    std::vector<std::array<int, 4>> replayAsked_;

    // The runs of intervals (row_intervals.cpp).
    std::vector<char> regularPulse_;                 // per pulse
    std::vector<std::array<int, 2>> regularRange_;  // per wire: first and last regular pulse, or 0
    std::array<std::vector<char>, 2> wireNeeded_;    // [image side][wire] asked this row
    std::array<std::vector<int>, 2> neededWires_;
    std::array<std::vector<int>, 2> afterRow_;      // [image side][wire]: row whose kAfter run is held
    int lastRow_ = 0;
    // The break points and the midpoints after them, coordinate by
    // coordinate (padded for whole lanes).
    std::vector<float> bx_, by_, bz_, mx_, my_, mz_;
    // The runs' values: t1 and t2 of each kind and image side, by break
    // point.
    std::unique_ptr<float[]> values_;
    std::size_t valueStride_ = 0;
    // The far samples of this row's runs (at 1/2 + g and 1/2 - g), their
    // squared radii and lengths; each run's first interval among them and
    // where its values go.
    std::unique_ptr<float[]> runA_, runB_, runA2_, runDist_, runCosA_, runSinA_, runCosB_, runSinB_, runS4_;
    std::unique_ptr<int[]> runFar_;
    int runCount_ = 0;
    struct RunPlace {
        int first, count, dest;
    };
    std::vector<RunPlace> runs_;
    struct ClosedRunValue {
        int dest;
        float t1, t2;
    };
    struct NearRunQuadrature {
        int dest, q;
    };
    std::vector<ClosedRunValue> closedRunValues_;
    std::vector<NearRunQuadrature> nearRunQuadratures_;
};

// What the batched rows of one fill asked and found, except what depends
// on the frequency: for every row in order its terms, its quadratures
// (their samples' distances, rules, lengths),
// its closed forms (to be taken again) and for each integral of each term
// where its value comes from (a quadrature of this row or of an earlier
// one, or a closed form). It holds at another frequency when the pulse
// table is the same, every wire lies on the same side of the thin-wire
// radius limit, the ground and the fill's options are the same and the
// rows ask for the same terms.
class FillRecording {
public:
    // Whether the recording is whole and holds for s as it is now.
    bool Holds(const SolverState& s, bool ground, bool reuse) const;
    // Whether a recording for s as it is now was given up as too large.
    bool TooLargeFor(const SolverState& s, bool ground, bool reuse) const;
    // Forgets everything and starts recording for s.
    void Start(const SolverState& s, bool ground, bool reuse);
    // The fill ended with every row (a recording becomes whole).
    void EndFill();
    // A fill that would keep more than this many bytes is not kept, nor
    // recorded again for the same pulses (a worker of a sweep of a
    // 1000-pulse model keeps about 60 MB).
    static inline std::size_t maxBytes = std::size_t{96} << 20;
    // Samples kept so far.
    std::size_t Samples() const { return d_.size(); }

private:
    friend class BatchedRow;
    struct Row {
        int i;
        std::size_t sample0;
        int samples, quad0, quads, term0, terms, imm0, imms;
    };
    struct ClosedForm {
        Kernel w;
        PsiRule r;
        bool selfTerm;
    };
    static std::vector<std::uint32_t> Fingerprint(const SolverState& s, bool ground, bool reuse);
    void Abandon();
    void TooLarge();

    std::vector<std::uint32_t> fingerprint_;
    bool whole_ = false, recording_ = false, tooLarge_ = false;
    std::size_t cursor_ = 0;  // the next row to replay
    std::vector<Row> rows_;
    std::vector<float> d_, s4_;
    std::vector<int> first_, rule_;
    std::vector<std::array<int, 6>> ids_;
    std::vector<std::array<int, 2>> asked_;  // j, image
    std::vector<ClosedForm> closed_;
    // The values at the frequency in hand (t1, t2): every quadrature's sums,
    // then every closed form, in the order of the value ids once the
    // recording is whole.
    std::vector<std::array<float, 2>> values_;
};

}  // namespace qw
