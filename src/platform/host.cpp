#include "platform/host.h"

namespace qw {

MessageAnswer DefaultAnswer(const Message& message) {
    const int d = message.defaultButton;
    switch (message.buttons) {
    case MessageButtons::Ok:
        return MessageAnswer::Ok;
    case MessageButtons::OkCancel:
        return d == 2 ? MessageAnswer::Cancel : MessageAnswer::Ok;
    case MessageButtons::YesNo:
        return d == 2 ? MessageAnswer::No : MessageAnswer::Yes;
    case MessageButtons::YesNoCancel:
        return d == 3 ? MessageAnswer::Cancel : d == 2 ? MessageAnswer::No : MessageAnswer::Yes;
    case MessageButtons::RetryCancel:
        return d == 2 ? MessageAnswer::Cancel : MessageAnswer::Retry;
    case MessageButtons::AbortRetryIgnore:
        return d == 3 ? MessageAnswer::Ignore : d == 2 ? MessageAnswer::Retry : MessageAnswer::Abort;
    }
    return MessageAnswer::Ok;
}

void Host::Notify(const std::string& text, const std::string& title, MessageIcon icon) {
    Message m;
    m.text = text;
    m.title = title;
    m.icon = icon;
    ShowMessage(m);
}

}  // namespace qw
