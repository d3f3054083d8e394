// The session: where a computation's output goes and who it asks. The
// program has one (the desktop's or the command line's): its Host, its log
// and debug files, the file locations, the stop token. A job of the desktop
// runs in a session that borrows these outputs and reaches the user through
// another Host; a sweep worker runs in a silent session of its own.
#pragma once

#include <string>

#include "model/debug_file.h"
#include "model/file_locations.h"
#include "model/log_file.h"
#include "platform/stop_token.h"

namespace qw {

class Host;

class Session {
    // Declared first: the references below may bind to them.
    LogFile ownLog_;
    DebugFile ownDebug_;
    FileLocations ownFiles_;
    std::string ownPendingFileName_;
    StopToken ownStop_;

public:
    // A session of its own: log and debug off, no file locations.
    explicit Session(Host& h);
    // The outputs of `outputs` (log, debug file, locations, pending file,
    // stop token) reached through host `h`.
    Session(Host& h, Session& outputs);
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    Host* host;
    LogFile& log;
    DebugFile& debug;
    FileLocations& files;  // where the settings file and the log live
    // A file to read instead of showing the open dialog (command line, drop).
    std::string& PendingFileName;
    // The stop request of the running computation.
    StopToken& stop;
};

}  // namespace qw
