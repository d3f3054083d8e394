#include "model/log_output.h"

#include "model/file_locations.h"

namespace qw {

std::optional<Message> FlushLog(Session& session) {
    const std::string path = session.log.Path();
    if (session.log.Flush()) return std::nullopt;
    session.log.Close();
    return Message{"The log file " + path + " could not be written; logging is off.", "LogFile",
                   MessageIcon::Exclamation, MessageButtons::Ok, 1};
}

std::string LogFolder(const Session& session) {
    return session.log.IsOn() ? FolderOf(session.log.Path()) : session.files.logFolder;
}

}  // namespace qw
