#include "commands/log_commands.h"

#include "model/file_locations.h"
#include "platform/host.h"

namespace qw {

namespace {

const char* const kLogDialogTitle = "Open LogFile";
const char* const kLogDialogFilter = "QUILLWORK log (*.log)|*.log";

void ShowLogOff(Context& ctx) {
    ctx.host->SetCommandCaption(kLogCommand, "&LogFile");
    ctx.host->CheckCommand(kLogCommand, false);
}

void ReportUnwritable(Context& ctx, const std::string& what, const std::string& path, const std::string& title) {
    ctx.host->ShowMessage({"The " + what + " " + path + " could not be opened for writing.", title,
                           MessageIcon::Exclamation, MessageButtons::Ok, 1});
}

}  // namespace

bool OpenLog(Context& ctx, const std::string& path) {
    if (!ctx.log.Open(path)) {
        ShowLogOff(ctx);
        ReportUnwritable(ctx, "log file", path, "LogFile");
        return false;
    }
    ShowLogState(ctx);
    return true;
}

void CloseLog(Context& ctx) {
    ctx.log.Close();
    ShowLogOff(ctx);
}

bool ChooseLog(Context& ctx) {
    const std::string fallback = PathInFolder(LogFolder(ctx), kLogFileName);
    const auto chosen = ctx.host->SaveFileDialog(kLogDialogTitle, kLogDialogFilter, fallback);
    return OpenLog(ctx, chosen && !chosen->empty() ? *chosen : fallback);
}

void ShowLogState(Context& ctx) {
    if (ctx.log.IsOn()) {
        ctx.host->SetCommandCaption(kLogCommand, "&LogFile : " + ctx.log.Path());
        ctx.host->CheckCommand(kLogCommand, true);
    } else {
        ShowLogOff(ctx);
    }
}

void PutLogOnDisk(Context& ctx) {
    const std::optional<Message> lost = FlushLog(ctx);
    if (!lost) return;
    ShowLogState(ctx);
    ctx.host->ShowMessage(*lost);
}

void ToggleLog(Context& ctx) {
    if (ctx.log.IsOn())
        CloseLog(ctx);
    else
        ChooseLog(ctx);
}

bool OpenDebug(Context& ctx, const std::string& path) {
    if (!ctx.debug.Open(path)) {
        ReportUnwritable(ctx, "debug file", path, "Debug");
        return false;
    }
    ctx.host->SetCommandCaption(kDebugCommand, "&Debug On");
    return true;
}

void ToggleDebug(Context& ctx) {
    if (ctx.debug.IsOn()) {
        ctx.debug.Close();
        ctx.host->SetCommandCaption(kDebugCommand, "&Debug Off");
        return;
    }
    OpenDebug(ctx, PathInFolder(LogFolder(ctx), kDebugFileName));
}

}  // namespace qw
