// The desktop's host for a window's background jobs, with its message boxes
// answered by a test's ScriptedHost (which also records them).
#pragma once

#include "platform/scripted_host.h"
#include "ui/qt_host.h"

namespace qw::test {

struct ScriptedQtHost : QtHost {
    ScriptedHost& script;
    explicit ScriptedQtHost(ScriptedHost& s) : script(s) {}
    MessageAnswer ShowMessage(const Message& m) override { return script.ShowMessage(m); }
};

}  // namespace qw::test
