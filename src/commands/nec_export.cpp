#include "commands/nec_export.h"

#include <filesystem>

#include "model/nec_writer.h"
#include "platform/file_replace.h"
#include "platform/host.h"

namespace qw {

std::string ExportNecDeck(const Context& ctx, const std::string& path) {
    const Project& p = ctx.project;
    if (const std::string problem = NecExportProblem(p); !problem.empty()) return problem;
    const std::string name =
        p.FileName.empty() ? "New project" : std::filesystem::path(p.FileName).filename().string();
    return WriteFileReplacing(path, NecDeckText(p, name));
}

bool ExportNecCommand(Context& ctx) {
    ctx.AbortFlag = false;
    std::string proposed;
    if (!ctx.project.FileName.empty())
        proposed = std::filesystem::path(ctx.project.FileName).replace_extension(".nec").string();
    const auto chosen = ctx.host->SaveFileDialog(kExportNecTitle, kNecFilter, proposed);
    if (!chosen || chosen->empty()) {
        ctx.AbortFlag = true;
        return false;
    }
    const std::string why = ExportNecDeck(ctx, *chosen);
    if (!why.empty()) {
        ctx.host->ShowMessage({"The NEC deck was not written to " + *chosen + "\r\n" + why, kExportNecTitle,
                               MessageIcon::Critical, MessageButtons::Ok, 1});
        ctx.AbortFlag = true;
        return false;
    }
    return true;
}

}  // namespace qw
