#include "sweeps/parallel_sweep.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>

#include "platform/host.h"
#include "solver/excitation.h"
#include "solver/frequency_constants.h"
#include "solver/pulses.h"
#include "solver/solver.h"
#include "solver/source_report.h"
#include "sweeps/gain_front_back.h"

namespace qw {

namespace {

// The host of a worker: records the messages of the point being computed,
// answers every question with its default and every dialog with Cancel,
// and reports the shared stop flag.
class WorkerHost : public Host {
public:
    explicit WorkerHost(const std::atomic<bool>& stop) : stop_(stop) {}
    std::vector<std::string>* messages = nullptr;

    MessageAnswer ShowMessage(const Message& m) override {
        if (messages) messages->push_back(m.text);
        return DefaultAnswer(m);
    }
    std::optional<std::string> InputBox(const std::string&, const std::string&, const std::string&) override {
        return std::nullopt;
    }
    std::optional<std::string> OpenFileDialog(const std::string&, const std::string&, const std::string&) override {
        return std::nullopt;
    }
    std::optional<std::string> SaveFileDialog(const std::string&, const std::string&, const std::string&) override {
        return std::nullopt;
    }
    void AppendMainText(const std::string&) override {}
    void ShowProgress(double) override {}
    void SetStatusText(int, const std::string&) override {}
    void SetBusy(bool) override {}
    void EnableCommand(const std::string&, bool) override {}
    void SetCommandCaption(const std::string&, const std::string&) override {}
    void CheckCommand(const std::string&, bool) override {}
    std::optional<float> RequestFrequency(float) override { return std::nullopt; }
    std::optional<GroundInput> RequestGround(const GroundInput&) override { return std::nullopt; }
    std::optional<FarFieldRequest> RequestFarField(const FarFieldRequest&) override { return std::nullopt; }
    std::optional<NearFieldRequest> RequestNearField(const NearFieldRequest&) override { return std::nullopt; }
    std::optional<SweepRange> RequestFrequencyRange(const SweepRange&) override { return std::nullopt; }
    bool TakeStopRequest() override { return stop_.load(); }

private:
    const std::atomic<bool>& stop_;
};

void SolvePoint(Context& ctx, const ParallelSweepRequest& request, ParallelPoint& point) {
    if (!EvaluatePoint(ctx, point.frequency, point.z)) return;
    point.swr = SwrOf(point.z.R, point.z.X, ctx.project.CoaxImpedance);
    if (request.withGain) {
        const auto gain = GainAndFrontToBack(ctx, 360 - request.direction.Azimuth, request.direction.Elevation,
                                             point.frontToBack);
        point.hasGain = gain.has_value();
        point.gain = gain.value_or(0.0f);
    }
    point.done = !ctx.AbortFlag;
}

}  // namespace

std::unique_ptr<Context> MakeWorkerContext(const Context& parent, Host& host) {
    auto ctx = std::make_unique<Context>(host);
    ctx->project = parent.project;
    ctx->ProjectOpen = parent.ProjectOpen;
    ctx->NumberFormat = parent.NumberFormat;
    ctx->options = parent.options;
    ctx->farField = parent.farField;
    ctx->nearField = parent.nearField;
    ctx->patternDirection = parent.patternDirection;
    ctx->Pi = parent.Pi;
    ctx->Rad = parent.Rad;
    ctx->BatchMode = true;
    InstallSolver(*ctx);
    ctx->solver->threads = 1;  // the workers already use every core
    SetFrequencyConstants(*ctx);
    BuildPulseTable(*ctx);
    PrepareSources(*ctx);
    PrepareLoads(*ctx);
    return ctx;
}

std::vector<ParallelPoint> RunParallelSweep(Context& parent, const ParallelSweepRequest& request) {
    const std::size_t count = request.frequencies.size();
    std::vector<ParallelPoint> points(count);
    for (std::size_t i = 0; i < count; ++i) points[i].frequency = request.frequencies[i];
    std::atomic<std::size_t> next{0};
    std::atomic<bool> stop{false};
    std::atomic<int> running{0};

    auto work = [&] {
        WorkerHost host(stop);
        const auto ctx = MakeWorkerContext(parent, host);
        while (!stop.load()) {
            const std::size_t i = next.fetch_add(1);
            if (i >= count) break;
            host.messages = &points[i].messages;
            SolvePoint(*ctx, request, points[i]);
            host.messages = nullptr;
            if (ctx->AbortFlag && !stop.load()) break;  // a failure ends this worker's share
        }
        running.fetch_sub(1);
    };

    const int workers = std::max(1, std::min<int>(request.workers, static_cast<int>(std::max<std::size_t>(count, 1))));
    running = workers;
    std::vector<std::thread> threads;
    for (int w = 0; w < workers; ++w) threads.emplace_back(work);
    // The parent's host delivers the user's stop request (Ctrl+C, Stop).
    while (running.load() > 0) {
        if (parent.host->TakeStopRequest()) stop = true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    for (auto& t : threads) t.join();
    if (stop.load()) parent.AbortFlag = true;

    // A point without gain keeps the F/B of the point before it.
    float frontToBack = 0;
    for (auto& p : points) {
        if (!p.done) continue;
        if (request.withGain && !p.hasGain) p.frontToBack = frontToBack;
        frontToBack = p.frontToBack;
    }
    return points;
}

}  // namespace qw
