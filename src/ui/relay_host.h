// The Host of a job: a computation running on a worker thread reaches the
// user through it. Every call is carried out on the GUI thread by the
// program's QtHost. A question (a message, an input box, a file dialog, one
// of the program's dialogs) holds the worker until the GUI thread answered;
// report lines, progress and status are queued in order and the worker goes
// on at once. A call made on the GUI thread itself (a dialog's own check
// showing a message) goes straight to the QtHost.
#pragma once

#include <QObject>
#include <QPointer>
#include <functional>

#include "platform/host.h"

namespace qw {

struct Context;
class QtHost;

class RelayHost : public Host {
public:
    // `target` answers; `gui` is an object living on the GUI thread that
    // carries the calls there.
    RelayHost(QtHost& target, QObject* gui);

    // The job's context: the program's dialogs work on it while they are
    // open (the worker waits meanwhile), so they see the job's document.
    void SetJob(Context* job) { job_ = job; }

    MessageAnswer ShowMessage(const Message& message) override;
    std::optional<std::string> InputBox(const std::string& prompt, const std::string& title,
                                        const std::string& proposed) override;
    std::optional<std::string> OpenFileDialog(const std::string& title, const std::string& filter,
                                              const std::string& proposed) override;
    std::optional<std::string> SaveFileDialog(const std::string& title, const std::string& filter,
                                              const std::string& proposed) override;
    void AppendMainText(const std::string& line) override;
    void ClearMainText() override;
    // Sets the progress bar without running the GUI thread's events: they
    // run on their own while the job computes.
    void ShowProgress(double fraction) override;
    void SetStatusText(int panel, const std::string& text) override;
    void SetBusy(bool busy) override;
    void EnableCommand(const std::string& command, bool enabled) override;
    void SetCommandCaption(const std::string& command, const std::string& caption) override;
    void CheckCommand(const std::string& command, bool checked) override;
    std::optional<float> RequestFrequency(float current) override;
    std::optional<GroundInput> RequestGround(const GroundInput& current) override;
    std::optional<FarFieldRequest> RequestFarField(const FarFieldRequest& current) override;
    std::optional<NearFieldRequest> RequestNearField(const NearFieldRequest& current) override;
    std::optional<SweepRange> RequestFrequencyRange(const SweepRange& current) override;
    // The Stop button sets the shared stop token itself.
    bool TakeStopRequest() override { return false; }

private:
    bool OnGuiThread() const;
    // Runs `act` on the GUI thread and returns when it has run.
    void Ask(const std::function<void()>& act);
    // Queues `act` for the GUI thread.
    void Tell(std::function<void()> act);
    // Runs `act` on the GUI thread with the program's dialogs working on
    // the job's context.
    void AskWithJob(const std::function<void()>& act);
    // The answer of a question asked on the GUI thread (with the job's
    // context for the program's dialogs, when withJob).
    template <typename Question>
    auto Answer(Question question, bool withJob = false) {
        decltype(question()) answer{};
        const std::function<void()> act = [&] { answer = question(); };
        withJob ? AskWithJob(act) : Ask(act);
        return answer;
    }

    QtHost& target_;
    QPointer<QObject> gui_;
    Context* job_ = nullptr;
    int lastPercent_ = -1;  // the worker's: progress is queued only when it moved
};

}  // namespace qw
