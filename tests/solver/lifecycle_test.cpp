// The document's life with the solver: a copy computes on its own, an edit
// makes stale exactly what depends on it, and a stop from another thread
// ends a computation on a copy without touching the document it came from.
#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <sstream>
#include <thread>

#include "platform/silent_host.h"
#include "support/solved_antenna.h"

namespace qw {
namespace {

using test::SolvedAntenna;

// Three elements of unequal length, a loaded director and a sloping
// reflector, over perfect ground.
void UnequalYagi(SolvedAntenna& a) {
    a.PerfectGround();
    a.p.Height = 1.5f;
    a.Wire(11, 0, -0.25f, 0, 0, 0.25f, 0);
    a.Wire(11, -0.2f, -0.26f, -0.02f, -0.2f, 0.265f, 0.03f);
    a.Wire(9, 0.15f, -0.22f, 0, 0.15f, 0.22f, 0);
    a.Source(5);
    a.Load(24, 5, 10);
}

// The lines of the debug file that say the matrix was filled.
int Fills(const std::string& path) {
    std::ifstream in(path);
    std::string line;
    int fills = 0;
    while (std::getline(in, line)) fills += line.rfind("Begin Matrix Fill", 0) == 0;
    return fills;
}

TEST(Lifecycle, ACopyComputesTheSameDigitsAndSharesNothing) {
    SolvedAntenna a;
    UnequalYagi(a);
    a.Build(false);

    SilentHost silent;
    Session session(silent);
    Context copy(a.ctx.document(), session);
    copy.solver = a.ctx.solver;
    InstallSolver(copy);

    ASSERT_TRUE(ZMCompute(a.ctx).completed());
    ASSERT_TRUE(ZMCompute(copy).completed());
    const SolverState& mine = a.St();
    const SolverState& theirs = *copy.solver;
    for (int i = 1; i <= mine.pulses.N; ++i) {
        EXPECT_EQ(mine.CR[i], theirs.CR[i]) << "pulse " << i;
        EXPECT_EQ(mine.CI[i], theirs.CI[i]) << "pulse " << i;
    }
    EXPECT_EQ(mine.SourceResults[1].zr, theirs.SourceResults[1].zr);
    EXPECT_EQ(mine.SourceResults[1].zx, theirs.SourceResults[1].zx);

    // An edit of the copy leaves the original's document and solution alone.
    copy.project.Frequency = 280;
    copy.Changed(Change::Frequency);
    ASSERT_TRUE(ZMCompute(copy).completed());
    EXPECT_NE(copy.solver->SourceResults[1].zr, mine.SourceResults[1].zr);
    EXPECT_EQ(a.p.Frequency, 299.8f);
    EXPECT_TRUE(SolutionCurrent(a.ctx));
    EXPECT_FALSE(a.ctx.revisions == copy.revisions);
}

TEST(Lifecycle, AnEditRebuildsWhatItMadeStaleAndNothingElse) {
    SolvedAntenna a;
    UnequalYagi(a);
    a.Build(false);
    test::TempDir dir;
    const std::string debugPath = dir.File("q.dbg");
    ASSERT_TRUE(a.ctx.debug.Open(debugPath));
    SolverState& st = a.St();
    const unsigned builds = st.pulses.Generation;

    ASSERT_TRUE(ZMCompute(a.ctx).completed());
    EXPECT_EQ(Fills(debugPath), 1);
    const SourceResult first = st.SourceResults[1];
    ASSERT_TRUE(ZMCompute(a.ctx).completed());  // nothing changed: only the report
    EXPECT_EQ(Fills(debugPath), 1);

    // A source's value: the factors are reused; the system is linear, so
    // twice the voltage gives exactly twice the current and the same impedance.
    a.p.Sources[1].Magnitude = 2;
    a.ctx.Changed(Change::Sources);
    EXPECT_FALSE(SolutionCurrent(a.ctx));
    ASSERT_TRUE(ZMCompute(a.ctx).completed());
    EXPECT_EQ(Fills(debugPath), 1);
    EXPECT_EQ(st.SourceResults[1].ir, 2 * first.ir);
    EXPECT_EQ(st.SourceResults[1].ii, 2 * first.ii);
    EXPECT_EQ(st.SourceResults[1].zr, first.zr);
    EXPECT_EQ(st.SourceResults[1].zx, first.zx);

    // The frequency: a new fill on the same pulses, the loads prepared anew.
    a.p.Frequency = 310;
    a.ctx.Changed(Change::Frequency);
    ASSERT_TRUE(ZMCompute(a.ctx).completed());
    EXPECT_EQ(Fills(debugPath), 2);
    EXPECT_EQ(st.pulses.Generation, builds);
    EXPECT_EQ(st.freq.Lambda, 299.8f / 310);

    // The ground's parameters: a new fill, the same pulses.
    a.p.Env.GroundKind = kRealGround;
    a.p.Env.SetRealGround(13, 0.005f);
    a.ctx.Changed(Change::Ground);
    ASSERT_TRUE(ZMCompute(a.ctx).completed());
    EXPECT_EQ(Fills(debugPath), 3);
    EXPECT_EQ(st.pulses.Generation, builds);

    // The height: the pulses are built again at the new height, then filled.
    const float zBefore = st.pulses.Z[st.pulses.Centre(5)];
    a.p.Height = 2.5f;
    a.ctx.Changed(Change::Geometry);
    EXPECT_FALSE(PulsesCurrent(a.ctx));
    ASSERT_TRUE(ZMCompute(a.ctx).completed());
    EXPECT_EQ(st.pulses.Generation, builds + 1);
    EXPECT_EQ(st.pulses.Z[st.pulses.Centre(5)], zBefore + 1);
    EXPECT_EQ(Fills(debugPath), 4);
    EXPECT_TRUE(SolutionCurrent(a.ctx));
}

// Reports the first progress of the computation it serves.
class StartedHost : public SilentHost {
public:
    std::atomic<bool> started{false};
    void ShowProgress(double) override { started = true; }
};

TEST(Lifecycle, AStopFromAnotherThreadEndsAComputationOnACopy) {
    // Six unequal wires of 50 pulses: the fill and the factorisation are
    // shared with helper threads.
    SolvedAntenna a;
    for (int w = 0; w < 6; ++w) a.Wire(51, 0.3f * w, -0.5f - 0.02f * w, 0, 0.3f * w, 0.5f + 0.03f * w, 0.01f * w);
    a.Source(25);
    a.Build(false);
    ASSERT_EQ(a.St().pulses.N, 300);
    const Revisions revisions = a.ctx.revisions;
    const unsigned builds = a.St().pulses.Generation;

    StartedHost host;
    Session session(host, a.ctx.session());  // the program's stop token, reached from the job
    Context job(a.ctx.document(), session);
    job.solver = a.ctx.solver;
    InstallSolver(job);
    Result result;
    std::thread worker([&] { result = ZMCompute(job); });
    while (!host.started) std::this_thread::yield();
    a.ctx.stop.Request();
    worker.join();

    EXPECT_TRUE(result.stopped());
    EXPECT_FALSE(result.fault);
    EXPECT_EQ(job.solver->MatrixState, 0);  // filled again next time
    // The document the job was copied from is as it was.
    EXPECT_EQ(a.ctx.revisions, revisions);
    EXPECT_EQ(a.St().pulses.Generation, builds);
    EXPECT_EQ(a.St().MatrixState, 0);
    EXPECT_FALSE(a.ctx.AbortFlag);

    // Started again without the request, the job completes.
    a.ctx.stop.Reset();
    EXPECT_TRUE(ZMCompute(job).completed());
}

}  // namespace
}  // namespace qw
