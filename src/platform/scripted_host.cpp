#include "platform/scripted_host.h"

namespace qw {

namespace {
template <typename T>
T TakeFront(std::deque<T>& queue) {
    if (queue.empty()) return T{};
    auto answer = queue.front();
    queue.pop_front();
    return answer;
}
}  // namespace

MessageAnswer ScriptedHost::ShowMessage(const Message& message) {
    messages.push_back(message);
    if (messageAnswers.empty()) return DefaultAnswer(message);
    const MessageAnswer answer = messageAnswers.front();
    messageAnswers.pop_front();
    return answer;
}

std::optional<std::string> ScriptedHost::InputBox(const std::string& prompt, const std::string& title,
                                                  const std::string& proposed) {
    inputs.push_back({prompt, title, proposed});
    return TakeFront(inputAnswers);
}

std::optional<std::string> ScriptedHost::OpenFileDialog(const std::string& title, const std::string& filter,
                                                        const std::string& proposed) {
    dialogs.push_back({false, title, filter, proposed});
    return TakeFront(openAnswers);
}

std::optional<std::string> ScriptedHost::SaveFileDialog(const std::string& title, const std::string& filter,
                                                        const std::string& proposed) {
    dialogs.push_back({true, title, filter, proposed});
    return TakeFront(saveAnswers);
}

void ScriptedHost::ClearMainText() {
    mainText.clear();
    ++mainTextClears;
}

void ScriptedHost::AppendMainText(const std::string& line) { mainText.push_back(line); }

void ScriptedHost::ShowProgress(double fraction) {
    progress.push_back(fraction);
    if (stopAfterProgressCalls > 0 && static_cast<int>(progress.size()) == stopAfterProgressCalls)
        stopPending_ = true;
}

void ScriptedHost::SetStatusText(int panel, const std::string& text) { status[panel] = text; }

void ScriptedHost::SetBusy(bool b) { busy = b; }

void ScriptedHost::EnableCommand(const std::string& command, bool enabled) { commandEnabled[command] = enabled; }

void ScriptedHost::SetCommandCaption(const std::string& command, const std::string& caption) {
    commandCaption[command] = caption;
}

std::optional<float> ScriptedHost::RequestFrequency(float current) {
    frequencyRequests.push_back(current);
    return TakeFront(frequencyAnswers);
}

std::optional<GroundInput> ScriptedHost::RequestGround(const GroundInput& current) {
    groundRequests.push_back(current);
    return TakeFront(groundAnswers);
}

void ScriptedHost::CheckCommand(const std::string& command, bool checked) { commandChecked[command] = checked; }

namespace {
template <typename T>
std::optional<T> AnswerOrShown(std::deque<std::optional<T>>& queue, const T& shown) {
    if (queue.empty()) return shown;
    auto answer = queue.front();
    queue.pop_front();
    return answer;
}
}  // namespace

std::optional<FarFieldRequest> ScriptedHost::RequestFarField(const FarFieldRequest& current) {
    ++fieldDialogs;
    return AnswerOrShown(farFieldAnswers, current);
}

std::optional<NearFieldRequest> ScriptedHost::RequestNearField(const NearFieldRequest& current) {
    ++fieldDialogs;
    return AnswerOrShown(nearFieldAnswers, current);
}

std::optional<SweepRange> ScriptedHost::RequestFrequencyRange(const SweepRange& current) {
    ++fieldDialogs;
    return AnswerOrShown(rangeAnswers, current);
}

bool ScriptedHost::TakeStopRequest() {
    const bool pending = stopPending_;
    stopPending_ = false;
    return pending;
}

std::vector<std::string> ScriptedHost::MessageTexts() const {
    std::vector<std::string> texts;
    for (const auto& m : messages) texts.push_back(m.text);
    return texts;
}

}  // namespace qw
