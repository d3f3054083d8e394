// How a computation ended: completed, stopped on request, or failed with a
// message for the command layer to show (its exact text, title and icon).
// The engine never shows a failure itself.
#pragma once

#include <optional>
#include <utility>

#include "platform/host.h"

namespace qw {

enum class Outcome { Completed, Stopped, Failed };

struct Result {
    Outcome outcome = Outcome::Completed;
    std::optional<Message> fault;  // with Failed: what to show (none: already said, or nothing to say)

    static Result Completed() { return {}; }
    static Result Stopped() { return {Outcome::Stopped, std::nullopt}; }
    static Result Failed(Message m) { return {Outcome::Failed, std::move(m)}; }
    static Result FailedSilently() { return {Outcome::Failed, std::nullopt}; }

    bool completed() const { return outcome == Outcome::Completed; }
    bool stopped() const { return outcome == Outcome::Stopped; }
    bool failed() const { return outcome == Outcome::Failed; }
};

// A failure's message with an OK button.
inline Message FaultMessage(std::string text, std::string title, MessageIcon icon = MessageIcon::None) {
    return {std::move(text), std::move(title), icon, MessageButtons::Ok, 1};
}

// Shows a result's fault, if any, through host.
inline void ShowFault(Host& host, const Result& result) {
    if (result.fault) host.ShowMessage(*result.fault);
}

}  // namespace qw
