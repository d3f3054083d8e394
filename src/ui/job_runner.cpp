#include "ui/job_runner.h"

#include <QCoreApplication>
#include <QMetaObject>

#include "model/context.h"
#include "solver/solver.h"
#include "ui/qt_host.h"
#include "ui/relay_host.h"

namespace qw {

JobRunner::JobRunner(Context& main, QtHost& host, QObject* parent) : QObject(parent), main_(main), host_(host) {}

JobRunner::~JobRunner() {
    if (!job_) return;
    main_.stop.Request();
    // The worker may wait for an answer from this thread: its questions
    // and its last message are taken until it ended.
    while (!workEnded_) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    if (worker_.joinable()) worker_.join();
}

bool JobRunner::Start(std::function<void(Context&)> work, std::function<void()> finished) {
    if (job_) return false;
    relay_ = std::make_unique<RelayHost>(host_, this);
    session_ = std::make_unique<Session>(*relay_, main_.session());
    job_ = std::make_unique<Context>(main_.document(), *session_);
    job_->AbortFlag = main_.AbortFlag;
    job_->BatchMode = main_.BatchMode;
    job_->solver = main_.solver;
    InstallSolver(*job_);
    relay_->SetJob(job_.get());
    finished_ = std::move(finished);
    workEnded_ = false;
    worker_ = std::thread([this, work = std::move(work)] {
        work(*job_);
        // Queued behind every line and progress step the job sent.
        QMetaObject::invokeMethod(this, [this] { Finish(); }, Qt::QueuedConnection);
    });
    return true;
}

void JobRunner::Finish() {
    workEnded_ = true;
    worker_.join();
    main_.document() = job_->document();
    main_.solver = std::move(job_->solver);
    main_.AbortFlag = job_->AbortFlag;
    job_.reset();
    session_.reset();
    relay_.reset();
    if (auto finished = std::move(finished_)) finished();
}

}  // namespace qw
