// The optimizer: a coordinate-wise hill climber that changes the antenna
// step by step toward one target (resonance, low SWR, high gain or high
// front-to-back ratio) by scaling the wire coordinates, changing the load
// components and changing the sources' magnitude and phase. Each change is
// solved again; the step grows, shrinks or reverses with how the target
// moved. Locked wires, loads and sources (Document::locks) are left alone.
//
// The engine works on the context it is given (the desktop runs it on a
// job's copy of the document) and reports every status text and log line
// through OptimizerSink as it happens; messages that end a run come back
// in the Result.
#pragma once

#include <atomic>
#include <functional>
#include <optional>
#include <string>

#include "model/context.h"
#include "platform/outcome.h"

namespace qw {

enum OptimizerTarget : int { kTargetResonance = 0, kTargetSwr = 1, kTargetGain = 2, kTargetFrontToBack = 3 };

// Bits of the three variable sets.
enum : unsigned { kVaryX = 1, kVaryY = 2, kVaryZ = 4 };
enum : unsigned { kVaryR = 1, kVaryL = 2, kVaryC = 4 };
enum : unsigned { kVaryMagnitude = 1, kVaryPhase = 2 };

// The step-rule constants.
inline constexpr float kReverseFactor = 0.666f;     // a worse step reverses at 2/3
inline constexpr float kGrowFactor = 1.54321f;      // a better and faster step grows
inline constexpr float kShrinkDivisor = 1.9543f;    // a better but slower step shrinks
inline constexpr float kLoadShrinkDivisor = 1.95431f;
inline constexpr float kResonanceGrow = 1.5f;
inline constexpr float kNoChange = 0.0001f;
inline constexpr float kStartDelta = 0.0001f;

// The step rules: the next step after an evaluation that moved the
// objective by `change` (the one before by `prevChange`).
// Gain and F/B: a worse result reverses the step at 2/3, a better one grows
// it when it improved faster than before, else shrinks it by `divisor`.
float GainStep(float step, float change, float prevChange, float divisor);
// Resonance (and the loads of the SWR target), on the reactance X: a sign
// change of X halves and reverses the step; otherwise a faster change grows
// it by 1.5, and a move away from zero reverses it.
float ResonanceStep(float step, float x, float prevX, float change, float prevChange);
// SWR: while X keeps its sign and the SWR moves the same way, a faster move
// grows the step by 1.5 and a rising SWR reverses it; otherwise the step is
// halved and reversed.
float SwrStep(float step, float x, float prevX, float swrChange, float prevChange, float prevSwr);
// No change: |change| below 0.0001 after a first change (two exact zeros in
// a row count as no change too).
bool NoChange(float change, float prevChange);

// The target and variables of a run: what the window's boxes hold.
struct OptimizerRequest {
    int target = kTargetResonance;
    unsigned dimensions = 0, loads = 0, sources = 0;
    float limit = 0.1f;      // CtV(0): |Zi| <=, SWR <=, Gain >=, F/B >=
    float secondary = 10;    // CtV(1): F/B <= (gain target), Gain <= (F/B target)
    float elevation = 30;    // CtV(2), degrees above the horizon
    float azimuth = 0;       // CtV(3), degrees
    float startDelta = kStartDelta;
    // The project's file name from the first run on (the working project).
    std::string workFileName = "workopt.qlk";
};

// The default primary and secondary limits of a target.
float DefaultLimit(int target);
float DefaultSecondary(int target);
// The caption of the limit label L1(0) and L1(1) ("" when not shown).
const char* LimitCaption(int target);
const char* SecondaryCaption(int target);

// What a run reports, as it happens.
struct OptimizerSink {
    // The status picture: clear (true) and show text, or add a line (false).
    std::function<void(const std::string& text, bool clear)> status;
    // A line for the optimizer log.
    std::function<void(const std::string& line)> log;
    // One evaluation: the step count, the objective and the secondary value
    // (gain targets: F/B or gain; resonance and SWR: R).
    std::function<void(int step, float objective, float secondary)> point;
};

// How a run ended, besides its Result.
struct OptimizerOutcome {
    bool clearSourceBoxes = false;  // the source variables made no sense here
    int steps = 0;
};

class Optimizer {
public:
    // The total factor starts at 1 (once per opening of the window).
    void ResetFactor() { totalFactor_ = 1.0f; }
    float TotalFactor() const { return totalFactor_; }
    float Delta() const { return delta_.load(); }

    // The user's Delta buttons and keys: doubled (+1) or halved (-1) at the
    // next dimension step of a run, or at once between runs.
    void ScaleDelta(int doublings);
    void SetDelta(float delta) { delta_ = delta; }
    // The limits the window shows; a running gain target moves the
    // secondary limit down with the secondary value.
    std::atomic<float> limit{0.1f}, secondary{10};

    // One run (steps 1 to 6): the log's first lines, the checks (`check`,
    // which returns false when the run must not go on), the first solution,
    // the target's loop and the closing status lines. Returns the messages
    // that ended it (Failed/Completed with a note) or Stopped.
    Result Run(Context& ctx, const OptimizerRequest& request, const OptimizerSink& sink,
               const std::function<bool(Context&)>& check, OptimizerOutcome* outcome = nullptr);

    // The run's pieces, public for the tests.
    // May this end of this wire move (it is not a locked wire's and does
    // not touch a locked wire; a ground end over ground always may)?
    static bool FreeExtremity(const Context& ctx, int wire, int end);
    // The dimension step: the total factor grows by (1 + delta); within
    // MaxDelta the free ends are scaled on the selected axes. True when
    // anything changed.
    bool DimensionStep(Context& ctx, unsigned axes, float delta);
    static void LoadRInc(Load& load, float step);
    static void LoadLInc(Load& load, float step);
    static void LoadCInc(Load& load, float step);

private:
    struct RunState;
    Result GainLoop(Context& ctx, RunState& s);
    Result ResonanceLoop(Context& ctx, RunState& s, bool swr);
    Result OptLoads4Gain(Context& ctx, RunState& s, int load);
    Result OptLoads4Res(Context& ctx, RunState& s, int load);
    Result OptSrc4Gain(Context& ctx, RunState& s, int source);
    Result Recompute(Context& ctx, RunState& s, std::optional<Change> what);
    bool EvaluateGain(Context& ctx, RunState& s);
    void FindLoadGain(Context& ctx, RunState& s, int load, int component);
    void FindLoadRes(Context& ctx, RunState& s, int load, int component);
    void FindSrcGain(Context& ctx, RunState& s, int source, int component);
    bool GainStepRule(RunState& s, float& step, float divisor);
    bool ResonanceStepRule(RunState& s, float& step, float x);
    void Triggers(RunState& s);
    void TakeDeltaRequests();

    float totalFactor_ = 1.0f;
    std::atomic<float> delta_{kStartDelta};
    std::atomic<int> pendingDoublings_{0};
};

}  // namespace qw
