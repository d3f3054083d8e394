// The Host of the command-line program.
//
// The main window's lines go to the report stream (stdout), messages to the
// message stream (stderr), both converted to UTF-8. Nobody can answer a
// dialog on the console: message boxes give their default button, input
// boxes take the answers the command's options queued (or the proposed
// text), and file dialogs are cancelled with a note saying which file was
// missing. Ctrl+C arrives through RequestStop, which is safe to call from
// a signal handler, and becomes the session's stop request at the next
// ShowProgress, exactly like the Stop button.
#pragma once

#include <deque>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "platform/host.h"

namespace qw {

class ConsoleHost : public Host {
public:
    ConsoleHost(std::ostream& report, std::ostream& messages);

    // Answers for the next input boxes, in order.
    std::deque<std::string> inputAnswers;
    // False: the main window's lines are not printed (a command that only
    // converts files).
    bool echoMainText = true;
    // True: questions (Yes/No boxes) are answered Yes instead of with their
    // default button.
    bool answerYes = false;
    // Added on its own line after a question answered No because nobody
    // could answer it (it says how to answer Yes); empty: nothing added.
    std::string noAnswerHint;
    // Messages that are not shown: what they would say no longer holds
    // (the command's options have supplied what they miss).
    std::vector<std::string> mootMessages;

    MessageAnswer ShowMessage(const Message& message) override;
    std::optional<std::string> InputBox(const std::string& prompt, const std::string& title,
                                        const std::string& proposed) override;
    std::optional<std::string> OpenFileDialog(const std::string& title, const std::string& filter,
                                              const std::string& proposed) override;
    std::optional<std::string> SaveFileDialog(const std::string& title, const std::string& filter,
                                              const std::string& proposed) override;
    void AppendMainText(const std::string& line) override;
    void ShowProgress(double fraction) override;
    void SetStatusText(int panel, const std::string& text) override;
    void SetBusy(bool busy) override;
    void EnableCommand(const std::string& command, bool enabled) override;
    void SetCommandCaption(const std::string& command, const std::string& caption) override;
    void CheckCommand(const std::string& command, bool checked) override;
    std::optional<float> RequestFrequency(float current) override;
    std::optional<GroundInput> RequestGround(const GroundInput& current) override;
    // The command's options have filled these requests already: the
    // console answers OK with them.
    std::optional<FarFieldRequest> RequestFarField(const FarFieldRequest& current) override { return current; }
    std::optional<NearFieldRequest> RequestNearField(const NearFieldRequest& current) override { return current; }
    std::optional<SweepRange> RequestFrequencyRange(const SweepRange& current) override { return current; }
    bool TakeStopRequest() override;

    // Async-signal-safe: marks a stop request for the next ShowProgress.
    static void RequestStop();

    // How many message boxes were shown.
    int MessageCount() const { return messageCount_; }

private:
    std::ostream& report_;
    std::ostream& messages_;
    int messageCount_ = 0;
};

}  // namespace qw
