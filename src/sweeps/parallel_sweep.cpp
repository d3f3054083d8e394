#include "sweeps/parallel_sweep.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "platform/silent_host.h"
#include "solver/solver.h"
#include "solver/source_report.h"
#include "sweeps/gain_front_back.h"

namespace qw {

namespace {

// Solves one point; its messages are kept with it.
Result SolvePoint(Context& ctx, const ParallelSweepRequest& request, ParallelPoint& point) {
    const Result solved = EvaluatePoint(ctx, point.frequency, point.z);
    if (!solved.completed()) {
        if (solved.fault) point.messages.push_back(solved.fault->text);
        return solved;
    }
    point.swr = SwrOf(point.z.R, point.z.X, ctx.project.CoaxImpedance);
    if (request.withGain) {
        const auto gain = GainAndFrontToBack(ctx, 360 - request.direction.Azimuth, request.direction.Elevation,
                                             point.frontToBack);
        point.hasGain = gain.has_value();
        point.gain = gain.value_or(0.0f);
        if (!point.hasGain) point.messages.push_back(NoPowerMessage().text);
    }
    point.done = true;
    return solved;
}

}  // namespace

std::unique_ptr<Context> MakeWorkerContext(const Context& parent, Session& session) {
    auto ctx = std::make_unique<Context>(parent.document(), session);
    ctx->BatchMode = true;
    ctx->solver = parent.solver;  // a deep copy; InstallSolver makes one when the parent has none
    InstallSolver(*ctx);
    ctx->solver->threads = 1;  // the workers already use every core
    // Each worker keeps its fill's frequency-free work from point to point.
    ctx->solver->keepFillAcrossFrequencies = true;
    // Whatever the parent's tables lack is built at the first point (the
    // solver refreshes what is stale before it solves).
    return ctx;
}

std::vector<ParallelPoint> RunParallelSweep(Context& parent, const ParallelSweepRequest& request) {
    const std::size_t count = request.frequencies.size();
    std::vector<ParallelPoint> points(count);
    for (std::size_t i = 0; i < count; ++i) points[i].frequency = request.frequencies[i];
    std::atomic<std::size_t> next{0};
    // Guarded by `lock`: which points have ended (solved or not) and how
    // many workers still run; `changed` wakes the caller's thread.
    std::mutex lock;
    std::condition_variable changed;
    std::vector<char> ended(count, 0);
    int running = 0;

    // The workers share one silent session: its stop token ends them all.
    SilentHost sweepHost;
    Session sweepSession(sweepHost);
    if (parent.stop.Requested()) sweepSession.stop.Request();  // asked for already: no point is begun
    auto work = [&] {
        SilentHost host;
        Session session(host, sweepSession);
        const auto ctx = MakeWorkerContext(parent, session);
        while (!sweepSession.stop.Requested()) {
            const std::size_t i = next.fetch_add(1);
            if (i >= count) break;
            const Result result = SolvePoint(*ctx, request, points[i]);
            {
                const std::lock_guard<std::mutex> guard(lock);
                ended[i] = 1;
            }
            changed.notify_one();
            if (result.failed()) break;  // a failure ends this worker's share
        }
        {
            const std::lock_guard<std::mutex> guard(lock);
            --running;
        }
        changed.notify_one();
    };

    const int workers = std::max(1, std::min<int>(request.workers, static_cast<int>(std::max<std::size_t>(count, 1))));
    running = workers;
    std::vector<std::thread> threads;
    for (int w = 0; w < workers; ++w) threads.emplace_back(work);

    // The points are handed over in frequency order as soon as they and all
    // before them have ended; a point without gain keeps the F/B of the
    // solved point before it. After each hand-over, and while waiting, the
    // user's stop request (Ctrl+C, Stop) is looked for: once seen, the
    // workers begin no further point (those begun still end and are
    // handed over).
    std::size_t delivered = 0;
    float frontToBack = 0;
    const auto lookForStop = [&] {
        if (parent.host->TakeStopRequest() || parent.stop.Requested()) sweepSession.stop.Request();
    };
    std::unique_lock<std::mutex> guard(lock);
    while (true) {
        changed.wait_for(guard, std::chrono::milliseconds(10),
                         [&] { return running == 0 || (delivered < count && ended[delivered]); });
        while (delivered < count && ended[delivered]) {
            ParallelPoint& p = points[delivered++];
            if (p.done) {
                if (request.withGain && !p.hasGain) p.frontToBack = frontToBack;
                frontToBack = p.frontToBack;
            }
            if (request.onPoint) {
                guard.unlock();
                request.onPoint(p);
                guard.lock();
            }
            lookForStop();
        }
        if (running == 0) break;
        lookForStop();
    }
    guard.unlock();
    for (auto& t : threads) t.join();
    if (sweepSession.stop.Requested()) {
        parent.stop.Request();
        parent.AbortFlag = true;
    }
    return points;
}

}  // namespace qw
