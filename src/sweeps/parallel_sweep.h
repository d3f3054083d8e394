// A frequency sweep spread over several threads. Every worker owns a copy
// of the program's document with its own solver state; nothing mutable is
// shared but the index of the next point and the stop flag. The points
// come back in frequency order, whatever the number of workers, and the
// results equal those of one worker.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "model/context.h"
#include "sweeps/sweep_point.h"

namespace qw {

struct ParallelPoint {
    float frequency = 0;
    bool done = false;            // solved (false: stopped or failed before it)
    PointImpedance z;
    float swr = 0;                // -1 infinite, -2 undefined
    bool hasGain = false;         // gain computed (false: "Power is Zero")
    float gain = 0;               // dB
    float frontToBack = 0;        // dB; carried from the previous point where there is no gain
    std::vector<std::string> messages;  // its failure, or "Power is Zero", for the caller to show
};

struct ParallelSweepRequest {
    std::vector<float> frequencies;
    bool withGain = false;        // also the gain and F/B at `direction`
    PatternDirection direction;   // the gain is taken at azimuth 360 - direction.Azimuth
    int workers = 1;
    // Each point as soon as it and every point before it have ended, in
    // frequency order, on the caller's thread (solved or not: see done).
    std::function<void(const ParallelPoint&)> onPoint;
};

// Solves every point. The parent context is only read (its host is polled
// for a stop request while the workers run). Hands the points over as they
// end (request.onPoint) and returns them all in order; after a stop, the
// points not computed have done = false. The F/B of a point without gain is
// the previous point's, as a sequential sweep gives.
std::vector<ParallelPoint> RunParallelSweep(Context& parent, const ParallelSweepRequest& request);

// A context for a worker in session: a copy of the parent's document and of
// its solver, in batch mode, on one thread.
std::unique_ptr<Context> MakeWorkerContext(const Context& parent, Session& session);

}  // namespace qw
