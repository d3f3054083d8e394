#include "ui/relay_host.h"

#include <QMetaObject>
#include <QThread>
#include <algorithm>

#include "model/context.h"
#include "ui/qt_host.h"

namespace qw {

RelayHost::RelayHost(QtHost& target, QObject* gui) : target_(target), gui_(gui) {}

bool RelayHost::OnGuiThread() const { return !gui_ || QThread::currentThread() == gui_->thread(); }

void RelayHost::Ask(const std::function<void()>& act) {
    if (OnGuiThread())
        act();
    else
        QMetaObject::invokeMethod(gui_, act, Qt::BlockingQueuedConnection);
}

void RelayHost::Tell(std::function<void()> act) {
    if (OnGuiThread())
        act();
    else
        QMetaObject::invokeMethod(gui_, std::move(act), Qt::QueuedConnection);
}

void RelayHost::AskWithJob(const std::function<void()>& act) {
    Ask([this, &act] {
        Context* before = target_.SwapContext(job_ ? job_ : target_.Attached());
        act();
        target_.SwapContext(before);
    });
}

MessageAnswer RelayHost::ShowMessage(const Message& message) {
    MessageAnswer answer = MessageAnswer::Cancel;
    Ask([&] { answer = target_.ShowMessage(message); });
    return answer;
}

std::optional<std::string> RelayHost::InputBox(const std::string& prompt, const std::string& title,
                                               const std::string& proposed) {
    std::optional<std::string> answer;
    Ask([&] { answer = target_.InputBox(prompt, title, proposed); });
    return answer;
}

std::optional<std::string> RelayHost::OpenFileDialog(const std::string& title, const std::string& filter,
                                                     const std::string& proposed) {
    std::optional<std::string> answer;
    Ask([&] { answer = target_.OpenFileDialog(title, filter, proposed); });
    return answer;
}

std::optional<std::string> RelayHost::SaveFileDialog(const std::string& title, const std::string& filter,
                                                     const std::string& proposed) {
    std::optional<std::string> answer;
    Ask([&] { answer = target_.SaveFileDialog(title, filter, proposed); });
    return answer;
}

void RelayHost::AppendMainText(const std::string& line) {
    Tell([this, line] { target_.AppendMainText(line); });
}

void RelayHost::ClearMainText() {
    Tell([this] { target_.ClearMainText(); });
}

void RelayHost::ShowProgress(double fraction) {
    const int percent = static_cast<int>(std::clamp(fraction, 0.0, 1.0) * 100.0);
    if (percent == lastPercent_) return;
    lastPercent_ = percent;
    Tell([this, fraction] { target_.SetProgressBar(fraction); });
}

void RelayHost::SetStatusText(int panel, const std::string& text) {
    Tell([this, panel, text] { target_.SetStatusText(panel, text); });
}

void RelayHost::SetBusy(bool busy) {
    Tell([this, busy] { target_.SetBusy(busy); });
}

// The commands' states matter to what runs next: the worker waits for them.
void RelayHost::EnableCommand(const std::string& command, bool enabled) {
    Ask([&] { target_.EnableCommand(command, enabled); });
}

void RelayHost::SetCommandCaption(const std::string& command, const std::string& caption) {
    Ask([&] { target_.SetCommandCaption(command, caption); });
}

void RelayHost::CheckCommand(const std::string& command, bool checked) {
    Ask([&] { target_.CheckCommand(command, checked); });
}

std::optional<float> RelayHost::RequestFrequency(float current) {
    std::optional<float> answer;
    AskWithJob([&] { answer = target_.RequestFrequency(current); });
    return answer;
}

std::optional<GroundInput> RelayHost::RequestGround(const GroundInput& current) {
    std::optional<GroundInput> answer;
    AskWithJob([&] { answer = target_.RequestGround(current); });
    return answer;
}

std::optional<FarFieldRequest> RelayHost::RequestFarField(const FarFieldRequest& current) {
    std::optional<FarFieldRequest> answer;
    AskWithJob([&] { answer = target_.RequestFarField(current); });
    return answer;
}

std::optional<NearFieldRequest> RelayHost::RequestNearField(const NearFieldRequest& current) {
    std::optional<NearFieldRequest> answer;
    AskWithJob([&] { answer = target_.RequestNearField(current); });
    return answer;
}

std::optional<SweepRange> RelayHost::RequestFrequencyRange(const SweepRange& current) {
    std::optional<SweepRange> answer;
    AskWithJob([&] { answer = target_.RequestFrequencyRange(current); });
    return answer;
}

}  // namespace qw
