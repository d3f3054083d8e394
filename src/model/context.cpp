#include "model/context.h"

#include "platform/host.h"

namespace qw {

void Document::Changed(Change what) {
    ++revisions.all;
    switch (what) {
    case Change::Geometry: ++revisions.geometry; break;
    case Change::Ground: ++revisions.ground; break;
    case Change::Frequency: ++revisions.frequency; break;
    case Change::Sources: ++revisions.sources; break;
    case Change::Loads: ++revisions.loads; break;
    }
}

void Document::ChangedAll() {
    for (const Change c : {Change::Geometry, Change::Ground, Change::Frequency, Change::Sources, Change::Loads})
        Changed(c);
}

Session::Session(Host& h)
    : host(&h), log(ownLog_), debug(ownDebug_), files(ownFiles_), PendingFileName(ownPendingFileName_),
      stop(ownStop_) {}

Session::Session(Host& h, Session& outputs)
    : host(&h), log(outputs.log), debug(outputs.debug), files(outputs.files),
      PendingFileName(outputs.PendingFileName), stop(outputs.stop) {}

Context::Context(Host& h) : Session(h) {}

Context::Context(const Document& doc, Session& session) : Document(doc), Session(*session.host, session) {}

void ShowProgress(Context& ctx, double fraction) {
    ctx.host->ShowProgress(fraction);
    if (ctx.host->TakeStopRequest()) ctx.stop.Request();
}

bool Conclude(Context& ctx, const Result& result) {
    ShowFault(*ctx.host, result);
    ctx.AbortFlag = !result.completed();
    return result.completed();
}

}  // namespace qw
