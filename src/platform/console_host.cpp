#include "platform/console_host.h"

#include <csignal>
#include <ostream>

#include "platform/text_encoding.h"

namespace qw {

namespace {
volatile std::sig_atomic_t g_stopRequested = 0;

// Message texts use CR LF between lines; the console wants plain line ends.
std::string ConsoleLines(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        out += text[i] == '\r' ? '\n' : text[i];
    }
    return Cp1252ToUtf8(out);
}
}  // namespace

ConsoleHost::ConsoleHost(std::ostream& report, std::ostream& messages) : report_(report), messages_(messages) {}

MessageAnswer ConsoleHost::ShowMessage(const Message& message) {
    for (const auto& moot : mootMessages)
        if (message.text == moot) return DefaultAnswer(message);
    ++messageCount_;
    if (!message.title.empty()) messages_ << ConsoleLines(message.title) << ": ";
    messages_ << ConsoleLines(message.text) << '\n' << std::flush;
    const bool question = message.buttons == MessageButtons::YesNo || message.buttons == MessageButtons::YesNoCancel;
    if (answerYes && question) return MessageAnswer::Yes;
    const MessageAnswer answer = DefaultAnswer(message);
    if (question && answer == MessageAnswer::No && !noAnswerHint.empty())
        messages_ << ConsoleLines(noAnswerHint) << '\n' << std::flush;
    return answer;
}

std::optional<std::string> ConsoleHost::InputBox(const std::string&, const std::string&, const std::string& proposed) {
    if (inputAnswers.empty()) return proposed;
    std::string answer = inputAnswers.front();
    inputAnswers.pop_front();
    return answer;
}

std::optional<std::string> ConsoleHost::OpenFileDialog(const std::string& title, const std::string&,
                                                       const std::string&) {
    messages_ << ConsoleLines(title) << ": no file was named on the command line\n" << std::flush;
    return std::nullopt;
}

std::optional<std::string> ConsoleHost::SaveFileDialog(const std::string& title, const std::string&,
                                                       const std::string&) {
    messages_ << ConsoleLines(title) << ": no file was named on the command line\n" << std::flush;
    return std::nullopt;
}

void ConsoleHost::AppendMainText(const std::string& line) {
    if (echoMainText) report_ << ConsoleLines(line) << '\n';
}

void ConsoleHost::ShowProgress(double) {}

void ConsoleHost::SetStatusText(int, const std::string&) {}

void ConsoleHost::SetBusy(bool) {}

void ConsoleHost::EnableCommand(const std::string&, bool) {}

void ConsoleHost::SetCommandCaption(const std::string&, const std::string&) {}

void ConsoleHost::CheckCommand(const std::string&, bool) {}

std::optional<float> ConsoleHost::RequestFrequency(float) {
    messages_ << "Operating Frequency: no frequency was given (use --frequency MHZ)\n" << std::flush;
    return std::nullopt;
}

std::optional<GroundInput> ConsoleHost::RequestGround(const GroundInput&) {
    messages_ << "Environment Settings: no ground was given (use --ground)\n" << std::flush;
    return std::nullopt;
}

bool ConsoleHost::TakeStopRequest() {
    if (!g_stopRequested) return false;
    g_stopRequested = 0;
    return true;
}

void ConsoleHost::RequestStop() { g_stopRequested = 1; }

}  // namespace qw
