#include "sweeps/parallel_sweep.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>

#include "platform/silent_host.h"
#include "solver/excitation.h"
#include "solver/frequency_constants.h"
#include "solver/pulses.h"
#include "solver/solver.h"
#include "solver/source_report.h"
#include "sweeps/gain_front_back.h"

namespace qw {

namespace {

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

std::unique_ptr<Context> MakeWorkerContext(const Context& parent, Session& session) {
    auto ctx = std::make_unique<Context>(parent.document(), session);
    ctx->BatchMode = true;
    ctx->solver = parent.solver;  // a deep copy; InstallSolver makes one when the parent has none
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
    std::atomic<int> running{0};

    // The workers share one silent session: its stop token ends them all.
    SilentHost sweepHost;
    Session sweepSession(sweepHost);
    auto work = [&] {
        SilentHost host;
        Session session(host, sweepSession);
        const auto ctx = MakeWorkerContext(parent, session);
        while (!sweepSession.stop.Requested()) {
            const std::size_t i = next.fetch_add(1);
            if (i >= count) break;
            host.messages = &points[i].messages;
            SolvePoint(*ctx, request, points[i]);
            host.messages = nullptr;
            if (ctx->AbortFlag && !sweepSession.stop.Requested()) break;  // a failure ends this worker's share
        }
        running.fetch_sub(1);
    };

    const int workers = std::max(1, std::min<int>(request.workers, static_cast<int>(std::max<std::size_t>(count, 1))));
    running = workers;
    std::vector<std::thread> threads;
    for (int w = 0; w < workers; ++w) threads.emplace_back(work);
    // The parent's host delivers the user's stop request (Ctrl+C, Stop).
    while (running.load() > 0) {
        if (parent.host->TakeStopRequest() || parent.stop.Requested()) sweepSession.stop.Request();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    for (auto& t : threads) t.join();
    if (sweepSession.stop.Requested()) {
        parent.stop.Request();
        parent.AbortFlag = true;
    }

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
