// A Host for tests: records every request and answers from queues.
//
// Answers not queued fall back to what a user pressing Enter would do: a
// message box gives its default button, an input box and the file dialogs
// are cancelled.
#pragma once

#include <deque>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/host.h"

namespace qw {

class ScriptedHost : public Host {
public:
    struct InputRequest {
        std::string prompt, title, proposed;
    };
    struct DialogRequest {
        bool save = false;
        std::string title, filter, proposed;
    };

    // Queued answers, taken front first.
    std::deque<MessageAnswer> messageAnswers;
    std::deque<std::optional<std::string>> inputAnswers;
    std::deque<std::optional<std::string>> openAnswers;
    std::deque<std::optional<std::string>> saveAnswers;
    std::deque<std::optional<float>> frequencyAnswers;
    std::deque<std::optional<GroundInput>> groundAnswers;
    // The field and band dialogs: an empty queue answers OK with the
    // request as shown.
    std::deque<std::optional<FarFieldRequest>> farFieldAnswers;
    std::deque<std::optional<NearFieldRequest>> nearFieldAnswers;
    std::deque<std::optional<SweepRange>> rangeAnswers;
    int fieldDialogs = 0;  // how many of these three were shown
    // A stop request is delivered after this many ShowProgress calls
    // (0: never).
    int stopAfterProgressCalls = 0;

    // What was asked and shown.
    std::vector<Message> messages;
    std::vector<InputRequest> inputs;
    std::vector<DialogRequest> dialogs;
    std::vector<float> frequencyRequests;
    std::vector<GroundInput> groundRequests;
    std::vector<std::string> mainText;
    int mainTextClears = 0;
    std::vector<double> progress;
    std::map<int, std::string> status;
    std::map<std::string, bool> commandEnabled;
    std::map<std::string, std::string> commandCaption;
    std::map<std::string, bool> commandChecked;
    bool busy = false;

    MessageAnswer ShowMessage(const Message& message) override;
    std::optional<std::string> InputBox(const std::string& prompt, const std::string& title,
                                        const std::string& proposed) override;
    std::optional<std::string> OpenFileDialog(const std::string& title, const std::string& filter,
                                              const std::string& proposed) override;
    std::optional<std::string> SaveFileDialog(const std::string& title, const std::string& filter,
                                              const std::string& proposed) override;
    void AppendMainText(const std::string& line) override;
    void ClearMainText() override;
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
    bool TakeStopRequest() override;

    // The texts of the messages shown, in order.
    std::vector<std::string> MessageTexts() const;

private:
    bool stopPending_ = false;
};

}  // namespace qw
