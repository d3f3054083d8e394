// How a computation ended: completed, stopped on request, cancelled in one
// of its dialogs, or failed with a message for the command layer to show
// (its exact text, title and icon). A completed computation may carry a
// note to show as well (points it skipped, a file it could not write). The
// engine never shows these itself.
#pragma once

#include <optional>
#include <utility>

#include "platform/host.h"

namespace qw {

enum class Outcome { Completed, Stopped, Cancelled, Failed };

struct Result {
    Outcome outcome = Outcome::Completed;
    std::optional<Message> fault;  // what to show (none: nothing to say)

    static Result Completed() { return {}; }
    static Result CompletedWith(Message note) { return {Outcome::Completed, std::move(note)}; }
    static Result Stopped() { return {Outcome::Stopped, std::nullopt}; }
    static Result Cancelled() { return {Outcome::Cancelled, std::nullopt}; }
    static Result Failed(Message m) { return {Outcome::Failed, std::move(m)}; }
    static Result FailedSilently() { return {Outcome::Failed, std::nullopt}; }

    // Adds a note to show when there is nothing to show yet.
    void Note(std::optional<Message> note) {
        if (note && !fault) fault = std::move(note);
    }

    bool completed() const { return outcome == Outcome::Completed; }
    bool stopped() const { return outcome == Outcome::Stopped; }
    bool cancelled() const { return outcome == Outcome::Cancelled; }
    bool failed() const { return outcome == Outcome::Failed; }
};

// A message with an OK button (title "": the program's name).
inline Message FaultMessage(std::string text, std::string title = "", MessageIcon icon = MessageIcon::None) {
    return {std::move(text), std::move(title), icon, MessageButtons::Ok, 1};
}

// Shows a result's fault, if any, through host.
inline void ShowFault(Host& host, const Result& result) {
    if (result.fault) host.ShowMessage(*result.fault);
}

}  // namespace qw
