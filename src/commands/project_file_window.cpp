#include "commands/project_file_window.h"

#include "commands/project_loading.h"
#include "model/number_str.h"
#include "model/project_reader.h"
#include "model/project_writer.h"
#include "platform/file_replace.h"
#include "platform/host.h"

namespace qw {

ProjectFileView OpenProjectFileWindow(Context& ctx) {
    ProjectFileView view;
    std::string fileText;
    ReadProjectFile(ctx, &fileText);
    ShowReadProject(ctx);
    view.loaded = !ctx.AbortFlag;
    if (!view.loaded) {
        view.caption = "New Project";
        return view;
    }
    view.caption = "Project " + ctx.project.FileName;
    view.truncated = fileText.size() > kMaxShownText;
    view.text = fileText.substr(0, kMaxShownText);
    view.wireCountLabel = Str(ctx.project.WireCount);
    return view;
}

bool CloseProjectFileWindow(Context& ctx, bool ok, bool textChanged, const std::string& text, bool truncated) {
    Project& p = ctx.project;
    if (!ok) {
        ctx.AbortFlag = true;
        p.GeometryDefined = false;
        return true;
    }
    if (!textChanged) {
        p.GeometryDefined = true;
        ctx.AbortFlag = false;
        PrepareReadProject(ctx, false);
        return true;
    }
    if (truncated) {
        ctx.host->ShowMessage(
            {kTextTooLongMessage, kSaveGeometryTitle, MessageIcon::Exclamation, MessageButtons::Ok, 1});
        return false;
    }
    p.GeometryDefined = false;
    ctx.AbortFlag = true;
    const auto path = ctx.host->SaveFileDialog(kSaveGeometryTitle, kSaveProjectFilter, ProjectFileNameFor(p.FileName));
    if (!path || path->empty()) return true;
    const std::string why = WriteFileReplacing(*path, text);
    if (!why.empty()) {
        ctx.host->ShowMessage({"The text could not be saved to " + *path + "\r\n" + why, kSaveGeometryTitle,
                               MessageIcon::Critical, MessageButtons::Ok, 1});
    }
    return true;
}

}  // namespace qw
