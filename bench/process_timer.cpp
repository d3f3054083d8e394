// Times whole processes: each command is started (posix_spawn), waited
// for, and timed from the start to the end of its process by the monotonic
// clock, with nothing of a shell in between. Several commands are taken in
// turn, run after run, so that a load that comes and goes falls on all of
// them alike.
//
//   quillwork-process-timer RUNS COMMAND... [-- COMMAND...]...
//
// prints the median wall time of each command in milliseconds, one line
// each, in the order given. The commands' output goes to /dev/null.
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

extern char** environ;

namespace {

// One run of argv; its wall time in microseconds, or -1 when it could not
// be started or did not exit with status 0.
double RunOnce(const std::vector<char*>& argv) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    const int started = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (started != 0) return -1;
    int status = 0;
    if (waitpid(pid, &status, 0) != pid) return -1;
    const auto end = std::chrono::steady_clock::now();
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return -1;
    return std::chrono::duration<double, std::micro>(end - start).count();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s RUNS COMMAND... [-- COMMAND...]...\n", argv[0]);
        return 2;
    }
    const int runs = std::atoi(argv[1]);
    if (runs < 1) {
        std::fprintf(stderr, "%s: RUNS must be a whole number of at least 1\n", argv[0]);
        return 2;
    }
    std::vector<std::vector<char*>> commands(1);
    for (int a = 2; a < argc; ++a) {
        if (std::string(argv[a]) == "--") {
            commands.emplace_back();
            continue;
        }
        commands.back().push_back(argv[a]);
    }
    for (std::vector<char*>& c : commands) {
        if (c.empty()) {
            std::fprintf(stderr, "%s: an empty command\n", argv[0]);
            return 2;
        }
        c.push_back(nullptr);
    }
    std::vector<std::vector<double>> times(commands.size());
    for (int r = 0; r < runs; ++r)
        for (std::size_t c = 0; c < commands.size(); ++c) {
            const double t = RunOnce(commands[c]);
            if (t < 0) {
                std::fprintf(stderr, "%s: %s failed\n", argv[0], commands[c][0]);
                return 1;
            }
            times[c].push_back(t);
        }
    for (std::vector<double>& t : times) {
        std::sort(t.begin(), t.end());
        std::printf("%.2f\n", t[(t.size() - 1) / 2] / 1000.0);
    }
    return 0;
}
