// One computation's working set: a Document (what is computed), a Session
// (where output goes, who is asked) and the solver's state built from the
// document. The desktop program and the command-line program each have one
// Context over the open project; a job of the desktop, a sweep worker and
// an optimizer trial each get a Context over a copy of a Document.
#pragma once

#include "model/document.h"
#include "model/session.h"
#include "platform/deep_copy.h"
#include "platform/outcome.h"

namespace qw {

struct Context;
struct SolverState;

struct Context : Document, Session {
    // A context with a session of its own, reached through host.
    explicit Context(Host& h);
    // A context over a copy of doc, in session (which it must not outlive).
    Context(const Document& doc, Session& session);

    Document& document() { return *this; }
    const Document& document() const { return *this; }
    Session& session() { return *this; }

    // The command layer's "cancelled or failed": set by a dialog's Cancel,
    // a failed check or a computation that did not complete, tested by the
    // command that called it.
    bool AbortFlag = false;
    // A sweep, resonance scan or optimizer is computing: no source report,
    // no geometry listing.
    bool BatchMode = false;
    // The solver's tables, matrix and results (InstallSolver creates them).
    // A copy of the context's solver is a deep copy.
    DeepCopy<SolverState> solver;
};

// Sets the progress bar and lets pending events run; a stop the host
// collected becomes the session's stop request.
void ShowProgress(Context& ctx, double fraction);
// True when the running computation is asked to stop.
inline bool StopRequested(const Context& ctx) { return ctx.stop.Requested(); }

// Where a command takes a computation's result: its fault is shown through
// the context's host, and AbortFlag says whether it did not complete.
// Returns true when it completed.
bool Conclude(Context& ctx, const Result& result);

}  // namespace qw
