// Runs one computation at a time on a worker thread. The job works on a
// Context of its own: a copy of the main context's document and solver, in
// a session that writes to the main session's log and debug file, shares
// its stop token and reaches the user through a RelayHost. When the work
// has ended, on the GUI thread, the job's document, solver and AbortFlag
// become the main context's and the job's `finished` runs.
#pragma once

#include <QObject>
#include <functional>
#include <memory>
#include <thread>

namespace qw {

struct Context;
class QtHost;
class RelayHost;
class Session;

class JobRunner : public QObject {
    Q_OBJECT

public:
    // `main` is the context the jobs start from and hand their results to;
    // `host` answers the jobs' questions. Created on the GUI thread.
    JobRunner(Context& main, QtHost& host, QObject* parent = nullptr);
    // A running job is asked to stop and waited for.
    ~JobRunner() override;

    // Starts `work` on a worker thread; false when a job is running.
    bool Start(std::function<void(Context&)> work, std::function<void()> finished);
    bool Running() const { return job_ != nullptr; }

private:
    void Finish();

    Context& main_;
    QtHost& host_;
    std::unique_ptr<RelayHost> relay_;
    std::unique_ptr<Session> session_;
    std::unique_ptr<Context> job_;
    std::function<void()> finished_;
    std::thread worker_;
    bool workEnded_ = false;  // GUI thread: the worker's last message arrived
};

}  // namespace qw
