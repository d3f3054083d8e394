#include "model/log_commands.h"

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
    ctx.host->SetCommandCaption(kLogCommand, "&LogFile : " + path);
    ctx.host->CheckCommand(kLogCommand, true);
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

void FlushLog(Context& ctx) {
    if (ctx.log.Flush()) return;
    const std::string path = ctx.log.Path();
    CloseLog(ctx);
    ctx.host->ShowMessage({"The log file " + path + " could not be opened again; logging is off.", "LogFile",
                           MessageIcon::Exclamation, MessageButtons::Ok, 1});
}

void ToggleLog(Context& ctx) {
    if (ctx.log.IsOn())
        CloseLog(ctx);
    else
        ChooseLog(ctx);
}

std::string LogFolder(const Context& ctx) {
    return ctx.log.IsOn() ? FolderOf(ctx.log.Path()) : ctx.files.logFolder;
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
