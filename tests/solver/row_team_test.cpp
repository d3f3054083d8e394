// The team that shares rows: every row of every loop is taken exactly once,
// by some thread, in runs of the size asked for, also when the helpers are
// slow to start and when loops follow each other at once.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
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

// While the caller is held up in its first run the helper takes the
// others, each slowly; Run returns only after the runs the helper began
// are finished.
TEST(RowTeam, RunWaitsForRunsBegunElsewhere) {
    RowTeam team(1);
    std::atomic<int> done{0}, byHelper{0};
    team.Run(1, 40, 1, [&](int worker, int, int) {
        std::this_thread::sleep_for(std::chrono::milliseconds(worker == 0 ? 50 : 1));
        if (worker != 0) byHelper.fetch_add(1);
        done.fetch_add(1);
    });
    EXPECT_EQ(done.load(), 40);
    EXPECT_GT(byHelper.load(), 0);
}

}  // namespace
}  // namespace qw
