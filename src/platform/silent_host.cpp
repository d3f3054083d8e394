#include "platform/silent_host.h"

namespace qw {

MessageAnswer SilentHost::ShowMessage(const Message& m) {
    if (messages) messages->push_back(m.text);
    return DefaultAnswer(m);
}

}  // namespace qw
