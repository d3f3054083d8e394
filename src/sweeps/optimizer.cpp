#include "sweeps/optimizer.h"

#include <cmath>
#include <limits>

#include "model/format_mask.h"
#include "platform/host.h"
#include "solver/excitation.h"
#include "solver/solver.h"
#include "solver/source_report.h"
#include "solver/zm_compute.h"
#include "sweeps/gain_front_back.h"

namespace qw {

namespace {

int Sgn(float v) { return v > 0 ? 1 : v < 0 ? -1 : 0; }

// A number joined into a status text: no leading blank.
std::string Num(float v) { return Format(v, "General Number"); }

std::string SwrShown(float swr) { return swr <= 0 ? " Infinite" : Format(swr, "0.00"); }

constexpr float kNone = std::numeric_limits<float>::quiet_NaN();

}  // namespace

float GainStep(float step, float change, float prevChange, float divisor) {
    if (change < 0) return -kReverseFactor * step;
    if (change > prevChange) return kGrowFactor * step;
    return step / divisor;
}

float ResonanceStep(float step, float x, float prevX, float change, float prevChange) {
    if (Sgn(x) != Sgn(prevX)) return -step / 2;
    if (change > prevChange) step = kResonanceGrow * step;
    if (Sgn(prevX) * change > 0) step = -step;  // X moved away from zero
    return step;
}

float SwrStep(float step, float x, float prevX, float swrChange, float prevChange, float prevSwr) {
    if (Sgn(x) == Sgn(prevX) && Sgn(swrChange) == Sgn(prevChange)) {
        if (std::fabs(prevChange) < std::fabs(swrChange)) step = kResonanceGrow * step;
        if (Sgn(prevSwr) * swrChange > 0) step = -step;  // the SWR rose
        return step;
    }
    return -step / 2;
}

bool NoChange(float change, float prevChange) {
    // Two exact zeros in a row: a variable without effect (or a step of 0)
    // would otherwise be stepped for ever.
    return std::fabs(change) < kNoChange && (prevChange != 0 || change == 0);
}

float DefaultLimit(int target) {
    switch (target) {
    case kTargetResonance: return 0.1f;
    case kTargetSwr: return 1;
    default: return 10;
    }
}

float DefaultSecondary(int) { return 10; }

const char* LimitCaption(int target) {
    switch (target) {
    case kTargetResonance: return "|Zi|<=";
    case kTargetSwr: return "SWR <=";
    case kTargetGain: return "Gain >=";
    default: return "F/B >=";
    }
}

const char* SecondaryCaption(int target) {
    switch (target) {
    case kTargetGain: return "F/B <=";
    case kTargetFrontToBack: return "Gain <=";
    default: return "";
    }
}

// The memory of one run.
struct Optimizer::RunState {
    OptimizerRequest request;
    const OptimizerSink* sink = nullptr;
    std::string unit;        // " dBi " or " dBd "
    int count = 0;           // evaluations so far
    int evaluationsInPass = 0;
    bool done = false;
    float prevValue = 0;     // gain targets: the objective; SWR: the SWR
    float prevChange = 1e-6f;
    float prevSecondary = 0;
    float prevX = 0;
    float gain = 0, fb = 0;  // the last gain and F/B (kept when there was no power)
    float R = 0, X = 0, swr = 0;
    float loadStep = 0, srcStep = 0;
    std::optional<Message> note;  // the message that ended the run
    bool clearSourceBoxes = false;

    void Status(const std::string& text, bool clear) const {
        if (sink->status) sink->status(text, clear);
    }
    void Log(const std::string& text) const {
        if (!sink->log) return;
        // A status text of several lines goes to the log line by line.
        std::size_t start = 0;
        while (true) {
            const std::size_t nl = text.find('\n', start);
            sink->log(text.substr(start, nl == std::string::npos ? std::string::npos : nl - start));
            if (nl == std::string::npos) break;
            start = nl + 1;
        }
    }
    void Point(float objective, float secondary) const {
        if (sink->point) sink->point(count, objective, secondary);
    }
    void End(const std::string& message) {
        if (!note) note = FaultMessage(message);
        done = true;
    }
    float Objective() const { return request.target == kTargetGain ? gain : fb; }
    float Secondary() const { return request.target == kTargetGain ? fb : gain; }
    std::string GainText() const { return "Gain = " + Num(gain) + unit + " F/B = " + Num(fb); }
    bool NoChange(float change) const { return qw::NoChange(change, prevChange); }
};

void Optimizer::ScaleDelta(int doublings) { pendingDoublings_ += doublings; }

void Optimizer::TakeDeltaRequests() {
    const int n = pendingDoublings_.exchange(0);
    if (n != 0) delta_ = delta_.load() * std::ldexp(1.0f, n);
}

bool Optimizer::FreeExtremity(const Context& ctx, int wire, int end) {
    const Project& p = ctx.project;
    const OptimizerLocks& locks = ctx.locks;
    if (wire < 1 || wire > p.WireCount || locks.Wire[wire]) return false;
    const Wire& w = p.Wires[wire];
    const float x = end == 1 ? w.X1 : w.X2, y = end == 1 ? w.Y1 : w.Y2, z = end == 1 ? w.Z1 : w.Z2;
    // A ground end may always move along the ground. Free space has no
    // ground, and an end at z = 0 there is an end like any other.
    if (p.Env.GroundPresent == kOverGround && std::fabs(z + p.Height) <= 1e-5f) return true;
    auto near = [&](float a, float b, float c) {
        return std::fabs(x - a) <= 1e-5f && std::fabs(y - b) <= 1e-5f && std::fabs(z - c) <= 1e-5f;
    };
    for (int k = 1; k <= p.WireCount; ++k) {
        if (!locks.Wire[k]) continue;
        const Wire& l = p.Wires[k];
        if (near(l.X1, l.Y1, l.Z1) || near(l.X2, l.Y2, l.Z2)) return false;
    }
    return true;
}

bool Optimizer::DimensionStep(Context& ctx, unsigned axes, float delta) {
    totalFactor_ = totalFactor_ * (1 + delta);
    if (std::fabs(totalFactor_ - 1) > ctx.options.MaxDelta) return false;
    Project& p = ctx.project;
    const float f = 1 + delta;
    const bool overGround = p.Env.GroundPresent == kOverGround;
    bool changed = false;
    for (int w = 1; w <= p.WireCount; ++w) {
        if (ctx.locks.Wire[w]) continue;
        Wire& wire = p.Wires[w];
        const bool free1 = FreeExtremity(ctx, w, 1), free2 = FreeExtremity(ctx, w, 2);
        auto scale = [&](float& x, float& y, float& z) {
            // The height of an end on the ground stays 0.
            const bool grounded = overGround && std::fabs(z + p.Height) <= 1e-5f;
            if (axes & kVaryX) x *= f;
            if (axes & kVaryY) y *= f;
            if ((axes & kVaryZ) && !grounded) z *= f;
            changed = true;
        };
        if (free1) scale(wire.X1, wire.Y1, wire.Z1);
        if (free2) scale(wire.X2, wire.Y2, wire.Z2);
    }
    return changed;
}

void Optimizer::LoadRInc(Load& load, float step) {
    load.Resistance += step;
    if (load.Resistance < 0) load.Resistance = 0;
}

void Optimizer::LoadLInc(Load& load, float step) {
    load.Reactance += step;
    // An inductance cannot be negative; a reactance (R + jX loads) can.
    if ((load.Kind == kSeriesRLC || load.Kind == kParallelRLC) && load.Reactance < 0) load.Reactance = 0;
}

void Optimizer::LoadCInc(Load& load, float step) {
    if (load.Kind == kSeriesRLC || load.Kind == kParallelRLC) {
        load.Capacitance += step;
        if (load.Capacitance < 0) load.Capacitance = 0;
    } else {
        load.Reactance -= step;
    }
}

Result Optimizer::Recompute(Context& ctx, RunState& s, std::optional<Change> what) {
    if (what) ctx.Changed(*what);
    PrepareCurrentSources(ctx);
    Result r = ZMCompute(ctx);
    ShowProgress(ctx, (s.count % 100) / 100.0);
    if (r.completed() && StopRequested(ctx)) r = Result::Stopped();
    if (r.completed()) {
        const SolverState& st = Solver(ctx);
        s.R = st.ZinR;
        s.X = st.ZinX;
        s.swr = SwrOf(s.R, s.X, ctx.project.CoaxImpedance);
    }
    return r;
}

bool Optimizer::EvaluateGain(Context& ctx, RunState& s) {
    float fb = s.fb;
    const auto gain = GainAndFrontToBack(ctx, -s.request.azimuth, s.request.elevation, fb);
    if (!gain) {
        // No power: this evaluation keeps the previous values.
        s.Status("Power is Zero", false);
        return false;
    }
    s.gain = *gain;
    s.fb = fb;
    return true;
}

bool Optimizer::GainStepRule(RunState& s, float& step, float divisor) {
    const float change = s.Objective() - s.prevValue;
    const bool none = s.NoChange(change);
    step = GainStep(step, change, s.prevChange, divisor);
    s.prevValue = s.Objective();
    s.prevChange = change;
    return none;
}

bool Optimizer::ResonanceStepRule(RunState& s, float& step, float x) {
    const float change = x - s.prevX;
    const bool none = s.NoChange(change);
    step = ResonanceStep(step, x, s.prevX, change, s.prevChange);
    s.prevX = x;
    s.prevChange = change;
    return none;
}

void Optimizer::Triggers(RunState& s) {
    const bool gainTarget = s.request.target == kTargetGain;
    const float primary = s.Objective(), second = s.Secondary();
    if (limit.load() < primary) {
        s.done = true;
        s.Status(gainTarget ? "Gain trigger" : "F/B trigger", false);
    } else if (secondary.load() > second) {
        if (second >= s.prevSecondary) {
            secondary = second;  // the limit follows the secondary down
        } else {
            s.done = true;
            s.Status(gainTarget ? "F/B trigger" : "Gain trigger", false);
        }
    }
    s.prevSecondary = second;
}

void Optimizer::FindLoadGain(Context& ctx, RunState& s, int load, int component) {
    EvaluateGain(ctx, s);
    const char* name = component == 1 ? " Load R # " : component == 2 ? " Load L # " : " Load C # ";
    const std::string text = "Step : " + std::to_string(s.count) + " Delta = " + Format(s.loadStep, "0.0E+00") + name +
                             std::to_string(load) + "\n" + s.GainText();
    s.Status(text, true);
    s.Log(text);
    if (GainStepRule(s, s.loadStep, kLoadShrinkDivisor)) {
        s.Status("No Change", false);
        s.done = true;
    }
    ++s.count;
    ++s.evaluationsInPass;
    s.Point(s.Objective(), s.Secondary());
    Triggers(s);
}

void Optimizer::FindLoadRes(Context&, RunState& s, int load, int component) {
    const char* name = component == 1 ? " Load R # " : component == 2 ? " Load L # " : " Load C # ";
    const std::string text = "Step : " + std::to_string(s.count) + " Delta = " + Format(s.loadStep, "0.0E+00") + name +
                             std::to_string(load) + "\n" + " Z= " + ComplexText(s.R, s.X) + "    SWR = " + SwrShown(s.swr);
    s.Status(text, true);
    s.Log(text);
    if (ResonanceStepRule(s, s.loadStep, s.X)) {
        s.Status("No change", false);
        s.done = true;
    }
    s.prevValue = s.swr;
    ++s.count;
    ++s.evaluationsInPass;
    s.Point(s.request.target == kTargetSwr ? s.swr : s.X, s.request.target == kTargetSwr ? kNone : s.R);
}

void Optimizer::FindSrcGain(Context& ctx, RunState& s, int source, int component) {
    EvaluateGain(ctx, s);
    const Source& src = ctx.project.Sources[source];
    const std::string value = component == 1 ? " Volt  = " + Num(src.Magnitude) : " Phase = " + Num(src.Phase);
    const std::string text = "Step : " + std::to_string(s.count) + " Delta = " + Format(s.srcStep, "0.0E+00") +
                             " Source " + std::to_string(source) + "\n" + value + "\n" + s.GainText();
    s.Status(text, true);
    s.Log(text);
    if (GainStepRule(s, s.srcStep, kShrinkDivisor)) {
        s.Status("No Change", false);
        s.done = true;
    }
    ++s.count;
    ++s.evaluationsInPass;
    s.Point(s.Objective(), s.Secondary());
    Triggers(s);
}

Result Optimizer::OptLoads4Gain(Context& ctx, RunState& s, int load) {
    if (ctx.locks.Load[load]) return {};
    Load& l = ctx.project.Loads[load];
    for (int component = 1; component <= 3; ++component) {
        if (!(s.request.loads & (1u << (component - 1)))) continue;
        s.done = false;
        s.loadStep = 0.001f * (component == 1 ? l.Resistance : component == 2 ? l.Reactance : l.Capacitance);
        do {
            if (component == 1) LoadRInc(l, s.loadStep);
            else if (component == 2) LoadLInc(l, s.loadStep);
            else LoadCInc(l, s.loadStep);
            if (Result r = Recompute(ctx, s, Change::Loads); !r.completed()) return r;
            FindLoadGain(ctx, s, load, component);
        } while (!s.done);
    }
    return {};
}

Result Optimizer::OptLoads4Res(Context& ctx, RunState& s, int load) {
    if (ctx.locks.Load[load]) return {};
    Load& l = ctx.project.Loads[load];
    const bool swr = s.request.target == kTargetSwr;
    for (int component = 1; component <= 3; ++component) {
        if (!(s.request.loads & (1u << (component - 1)))) continue;
        s.done = false;
        s.loadStep = 0.001f * (component == 1 ? l.Resistance : component == 2 ? l.Reactance : l.Capacitance);
        while (true) {
            if (component == 1) LoadRInc(l, s.loadStep);
            else if (component == 2) LoadLInc(l, s.loadStep);
            else LoadCInc(l, s.loadStep);
            if (Result r = Recompute(ctx, s, Change::Loads); !r.completed()) return r;
            FindLoadRes(ctx, s, load, component);
            if (s.done) break;
            // The limit box ends the climb: |X| for resonance, the SWR for SWR.
            const float reached = swr ? s.swr : std::fabs(s.X);
            if ((!swr || s.swr > 0) && limit.load() >= reached) break;
        }
    }
    return {};
}

Result Optimizer::OptSrc4Gain(Context& ctx, RunState& s, int source) {
    if (ctx.locks.Source[source]) return {};
    Source& src = ctx.project.Sources[source];
    if (s.request.sources & kVaryPhase) {
        s.done = false;
        s.srcStep = 5;
        do {
            if (std::fabs(s.srcStep) > 1) s.srcStep = s.srcStep > 0 ? 1.0f : -1.0f;
            src.Phase += s.srcStep;
            if (std::fabs(src.Phase) >= 360) src.Phase = 0;
            if (Result r = Recompute(ctx, s, Change::Sources); !r.completed()) return r;
            FindSrcGain(ctx, s, source, 2);
        } while (!s.done);
    }
    if (s.request.sources & kVaryMagnitude) {
        s.done = false;
        s.srcStep = 5;
        do {
            src.Magnitude += s.srcStep;
            if (Result r = Recompute(ctx, s, Change::Sources); !r.completed()) return r;
            FindSrcGain(ctx, s, source, 1);
        } while (!s.done);
    }
    return {};
}

Result Optimizer::GainLoop(Context& ctx, RunState& s) {
    const Project& p = ctx.project;
    if (s.request.loads && p.LoadCount == 0) {
        s.End("No Loads in this antenna");
        return {};
    }
    if (s.request.sources && p.SourceCount == 0) {
        s.End("No Sources");
        return {};
    }
    while (true) {
        s.evaluationsInPass = 0;
        if (s.request.dimensions) {
            TakeDeltaRequests();
            float delta = delta_;
            DimensionStep(ctx, s.request.dimensions, delta);
            if (Result r = Recompute(ctx, s, Change::Geometry); !r.completed()) return r;
            EvaluateGain(ctx, s);
            const bool none = GainStepRule(s, delta, kShrinkDivisor);
            delta_ = delta;
            const std::string head = "Step : " + std::to_string(s.count) + " Delta = ";
            s.Status(head + Format(delta, "0.0E-00") + "\n" + s.GainText(), true);
            s.Log(head + Format(totalFactor_, "0.0000") + " " + s.GainText());
            if (none) return {};
            ++s.count;
            ++s.evaluationsInPass;
            s.Point(s.Objective(), s.Secondary());
            Triggers(s);
        }
        if (s.request.loads)
            for (int l = 1; l <= p.LoadCount; ++l)
                if (Result r = OptLoads4Gain(ctx, s, l); !r.completed()) return r;
        if (s.request.sources)
            for (int n = 1; n <= p.SourceCount; ++n)
                if (Result r = OptSrc4Gain(ctx, s, n); !r.completed()) return r;
        // Every chosen variable locked: nothing can move.
        if (s.done || s.evaluationsInPass == 0) return {};
    }
}

Result Optimizer::ResonanceLoop(Context& ctx, RunState& s, bool swr) {
    const Project& p = ctx.project;
    if (s.request.sources) {
        s.End("Optimizing source for Z or SWR has no meaning");
        s.clearSourceBoxes = true;
        return {};
    }
    if (s.request.dimensions && p.SourceCount > 1) {
        s.End("Z or SWR can't be optimized in phased arrays");
        s.clearSourceBoxes = true;
        return {};
    }
    if (s.request.loads && p.LoadCount == 0) {
        s.End("No Loads in this antenna");
        return {};
    }
    while (true) {
        s.evaluationsInPass = 0;
        if (s.request.dimensions) {
            TakeDeltaRequests();
            float delta = delta_;
            DimensionStep(ctx, s.request.dimensions, delta);
            if (Result r = Recompute(ctx, s, Change::Geometry); !r.completed()) return r;
            bool none = false;
            const std::string head = "Step : " + std::to_string(s.count) + " Delta = ";
            const std::string z = ComplexText(s.R, s.X);
            if (!swr) {
                none = ResonanceStepRule(s, delta, s.X);
                delta_ = delta;
                s.Status(head + Format(delta, "0.0E-00") + "\n" + "Z= " + z + "    SWR = " + SwrShown(s.swr), true);
                s.Log(head + Format(totalFactor_, "0.0000") + " Z= " + z + "    SWR = " + SwrShown(s.swr));
            } else {
                const float change = s.swr - s.prevValue;
                none = s.NoChange(change);
                delta = SwrStep(delta, s.X, s.prevX, change, s.prevChange, s.prevValue);
                delta_ = delta;
                s.prevValue = s.swr;
                s.prevX = s.X;
                s.prevChange = change;
                s.Status(head + Format(delta, "0.0E-00") + "\n" + "SWR = " + SwrShown(s.swr) + " Z= " + z, true);
                s.Log(head + Format(totalFactor_, "0.0000") + " SWR = " + SwrShown(s.swr) + " Z= " + z);
            }
            ++s.count;
            ++s.evaluationsInPass;
            s.Point(swr ? s.swr : s.X, swr ? kNone : s.R);
            if (swr && s.swr > 0 && std::fabs(1 - s.swr) <= kNoChange) {
                s.Status("Resonance", false);
                return {};
            }
            if (none) {
                s.Status("No change", false);
                return {};
            }
        }
        if (s.request.loads)
            for (int l = 1; l <= p.LoadCount; ++l)
                if (Result r = OptLoads4Res(ctx, s, l); !r.completed()) return r;
        if (s.done || s.evaluationsInPass == 0) return {};
        if (swr ? (s.swr > 0 && limit.load() >= s.swr) : limit.load() >= std::fabs(s.X)) return {};
    }
}

Result Optimizer::Run(Context& ctx, const OptimizerRequest& request, const OptimizerSink& sink,
                      const std::function<bool(Context&)>& check, OptimizerOutcome* outcome) {
    RunState s;
    s.request = request;
    s.sink = &sink;
    s.unit = ctx.options.GainInDbi ? " dBi " : " dBd ";
    Project& p = ctx.project;
    ctx.locks.FitTo(p);

    // 1. The log names the project; from now on it is the working project.
    s.Log("Optimizing " + p.FileName);
    p.FileName = request.workFileName;
    p.Modified = true;
    s.Status("", true);
    auto finish = [&](Result r) {
        if (outcome) {
            outcome->clearSourceBoxes = s.clearSourceBoxes;
            outcome->steps = s.count;
        }
        return r;
    };

    // 2. Nothing to vary.
    if (!request.dimensions && !request.loads && !request.sources) {
        s.Status("Stopped! No variables", false);
        return finish({});
    }

    // 3. What is varied toward what.
    static const char* const kTargets[] = {"Resonance", "SWR", "Gain", "F/B"};
    std::string description = kTargets[request.target & 3];
    static const char* const kDims[] = {"X (element spacing)", "Y (element size)", "Z (element size)"};
    static const char* const kLoads[] = {"R Loads", "L Loads", "C Loads"};
    for (int i = 0; i < 3; ++i)
        if (request.dimensions & (1u << i)) description += std::string(" ") + kDims[i];
    for (int i = 0; i < 3; ++i)
        if (request.loads & (1u << i)) description += std::string(" ") + kLoads[i];
    if (request.sources & kVaryMagnitude) description += " Source Magnitude";
    if (request.sources & kVaryPhase) description += " Source Phase";
    s.Log(description);

    // 4. The checks and the first solution.
    ctx.AbortFlag = false;
    if (check && !check(ctx)) return finish(Result::Cancelled());
    if (p.SourceCount == 0) return finish(Result::Failed(FaultMessage("No Sources defined")));
    ctx.BatchMode = true;
    pendingDoublings_ = 0;
    delta_ = request.startDelta;
    limit = request.limit;
    secondary = request.secondary;
    if (Result r = Recompute(ctx, s, std::nullopt); !r.completed()) return finish(r);
    s.prevX = s.X;
    const bool gainTarget = request.target == kTargetGain || request.target == kTargetFrontToBack;
    if (gainTarget) {
        EvaluateGain(ctx, s);
        s.prevValue = s.Objective();
        s.prevSecondary = s.Secondary();
        s.Point(s.Objective(), s.Secondary());
    } else {
        s.prevValue = request.target == kTargetSwr ? s.swr : s.X;
        s.Point(request.target == kTargetSwr ? s.swr : s.X, request.target == kTargetSwr ? kNone : s.R);
    }

    // 5. The target's loop.
    s.done = false;
    Result r = gainTarget ? GainLoop(ctx, s) : ResonanceLoop(ctx, s, request.target == kTargetSwr);

    // 6. The closing lines.
    if (std::fabs(totalFactor_ - 1) > ctx.options.MaxDelta) s.Status("Maximum Delta", false);
    s.Status("Stopped!", false);
    if (r.completed() && s.note) r = Result::CompletedWith(*s.note);
    return finish(r);
}

}  // namespace qw
