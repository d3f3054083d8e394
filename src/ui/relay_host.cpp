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
    return Answer([&] { return target_.ShowMessage(message); });
}

std::optional<std::string> RelayHost::InputBox(const std::string& prompt, const std::string& title,
                                               const std::string& proposed) {
    return Answer([&] { return target_.InputBox(prompt, title, proposed); });
}

std::optional<std::string> RelayHost::OpenFileDialog(const std::string& title, const std::string& filter,
                                                     const std::string& proposed) {
    return Answer([&] { return target_.OpenFileDialog(title, filter, proposed); });
}

std::optional<std::string> RelayHost::SaveFileDialog(const std::string& title, const std::string& filter,
                                                     const std::string& proposed) {
    return Answer([&] { return target_.SaveFileDialog(title, filter, proposed); });
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
    return Answer([&] { return target_.RequestFrequency(current); }, true);
}

std::optional<GroundInput> RelayHost::RequestGround(const GroundInput& current) {
    return Answer([&] { return target_.RequestGround(current); }, true);
}

std::optional<FarFieldRequest> RelayHost::RequestFarField(const FarFieldRequest& current) {
    return Answer([&] { return target_.RequestFarField(current); }, true);
}

std::optional<NearFieldRequest> RelayHost::RequestNearField(const NearFieldRequest& current) {
    return Answer([&] { return target_.RequestNearField(current); }, true);
}

std::optional<SweepRange> RelayHost::RequestFrequencyRange(const SweepRange& current) {
    return Answer([&] { return target_.RequestFrequencyRange(current); }, true);
}

}  // namespace qw
