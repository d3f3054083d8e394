// The team that shares rows: every row of every loop is taken exactly once,
// by some thread, in runs of the size asked for, also when loops follow each
// other at once; the caller waits for the runs its helpers began.
#include <gtest/gtest.h>

#include <atomic>
#include <latch>
#include <vector>

#include "solver/row_team.h"

namespace qw {
namespace {

TEST(RowTeam, EveryRowOnceInEveryLoop) {
    for (const int helpers : {0, 1, 3}) {
        RowTeam team(helpers);
        EXPECT_EQ(team.Workers(), helpers + 1);
        for (int loop = 0; loop < 200; ++loop) {
            const int first = 1 + loop % 5, last = first + loop % 97;
            std::vector<std::atomic<int>> taken(static_cast<std::size_t>(last + 1));
            std::atomic<int> longestRun{0}, badWorker{0};
            team.Run(first, last, 8, [&](int worker, int a, int b) {
                if (worker < 0 || worker >= team.Workers()) badWorker = 1;
                if (b - a + 1 > longestRun) longestRun = b - a + 1;
                for (int i = a; i <= b; ++i) taken[static_cast<std::size_t>(i)].fetch_add(1);
            });
            for (int i = 0; i <= last; ++i)
                ASSERT_EQ(taken[static_cast<std::size_t>(i)].load(), i >= first ? 1 : 0)
                    << helpers << " helpers, loop " << loop << ", row " << i;
            EXPECT_LE(longestRun.load(), 8);
            EXPECT_EQ(badWorker.load(), 0);
        }
    }
}

// Two runs: the caller holds its run until the helper has begun the other,
// and the helper finishes only after the caller's run has ended. Run must
// still wait for the helper's run.
TEST(RowTeam, RunWaitsForRunsBegunElsewhere) {
    RowTeam team(1);
    std::latch helperBegan(1), callerEnded(1);
    std::atomic<int> byCaller{0}, byHelper{0};
    std::atomic<bool> helperFinished{false};
    team.Run(1, 2, 1, [&](int worker, int, int) {
        if (worker == 0) {
            byCaller.fetch_add(1);
            helperBegan.wait();
            callerEnded.count_down();
        } else {
            byHelper.fetch_add(1);
            helperBegan.count_down();
            callerEnded.wait();
            helperFinished = true;
        }
    });
    EXPECT_TRUE(helperFinished.load());
    EXPECT_EQ(byCaller.load(), 1);
    EXPECT_EQ(byHelper.load(), 1);
}

}  // namespace
}  // namespace qw
