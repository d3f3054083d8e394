// What a computation asks of the user interface.
//
// The core never talks to a window system. Message boxes, input boxes, file
// dialogs, the main window's text area, the progress bar and the status bar
// are reached through a Host: the desktop program implements it with Qt, the
// command-line program with the console, and the tests with a scripted host
// that records every request and answers from a queue.
//
// Texts handed to a Host are Windows-1252 bytes, as the program keeps them;
// a Host that shows UTF-8 converts them (text_encoding.h).
#pragma once

#include <optional>
#include <string>

#include "platform/field_requests.h"

namespace qw {

enum class MessageIcon { None, Critical, Question, Exclamation, Information };

enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel, AbortRetryIgnore };

enum class MessageAnswer { Ok, Cancel, Yes, No, Retry, Abort, Ignore };

// What the ground dialog ("Environment Settings") hands back.
struct GroundInput {
    bool perfect = true;           // the Perfect button
    float dielectric = 0;          // relative dielectric constant
    float conductivityMs = 0;      // mS/m
    int boundary = 2;              // 1 linear, 2 circular
    int radialCount = 0;
    float radialLength = 0;        // metres
    // False when the user changed nothing in the dialog: a valid OK then
    // leaves the project unmodified and the solution standing.
    bool changed = true;
};

struct Message {
    std::string text;   // lines joined by CR LF
    std::string title;  // "" for the program's own name
    MessageIcon icon = MessageIcon::None;
    MessageButtons buttons = MessageButtons::Ok;
    int defaultButton = 1;  // 1-based, as the buttons are listed
};

// The answer a message box gives when nobody can press a button: its
// default button.
MessageAnswer DefaultAnswer(const Message& message);

class Host {
public:
    virtual ~Host() = default;

    // A message box; returns the button pressed.
    virtual MessageAnswer ShowMessage(const Message& message) = 0;

    // An input box; nullopt when cancelled.
    virtual std::optional<std::string> InputBox(const std::string& prompt, const std::string& title,
                                                const std::string& proposed) = 0;

    // File dialogs. The filter is written as "Description (*.ext)|*.ext|...".
    // They return the chosen path, or nullopt when cancelled.
    virtual std::optional<std::string> OpenFileDialog(const std::string& title, const std::string& filter,
                                                      const std::string& proposed) = 0;
    virtual std::optional<std::string> SaveFileDialog(const std::string& title, const std::string& filter,
                                                      const std::string& proposed) = 0;

    // Appends a line (and a line end) to the main window's text area and
    // moves the caret to its end.
    virtual void AppendMainText(const std::string& line) = 0;

    // Empties the main window's text area (a new project, a file opened).
    virtual void ClearMainText() {}

    // Sets the progress bar to the integer part of 100 x fraction and lets
    // pending events run: a stop the host collected is taken right after.
    virtual void ShowProgress(double fraction) = 0;

    // Status-bar panel 1 (run time) or 2 (project file name).
    virtual void SetStatusText(int panel, const std::string& text) = 0;

    // The busy (hourglass) pointer on or off.
    virtual void SetBusy(bool busy) = 0;

    // Enables or disables a command of the main window, by control name or
    // toolbar key ("CtlSources", "btnoptimiz", ...).
    virtual void EnableCommand(const std::string& command, bool enabled) = 0;

    // Sets the caption of a command of the main window.
    virtual void SetCommandCaption(const std::string& command, const std::string& caption) = 0;

    // Sets or removes the check mark of a command of the main window.
    virtual void CheckCommand(const std::string& command, bool checked) = 0;

    // The frequency dialog ("Operating Frequency"): the frequency typed in
    // MHz, or nullopt when cancelled.
    virtual std::optional<float> RequestFrequency(float current) = 0;

    // The ground dialog ("Environment Settings"), shown with the current
    // ground; nullopt when cancelled.
    virtual std::optional<GroundInput> RequestGround(const GroundInput& current) = 0;

    // The far-field dialog ("Far Field Parameters"), the near-field dialog
    // ("Near Fields Parameters") and the band dialog ("Frequency Range"),
    // shown with the current request; nullopt when cancelled.
    virtual std::optional<FarFieldRequest> RequestFarField(const FarFieldRequest& current) = 0;
    virtual std::optional<NearFieldRequest> RequestNearField(const NearFieldRequest& current) = 0;
    virtual std::optional<SweepRange> RequestFrequencyRange(const SweepRange& current) = 0;

    // True once after the user asked to stop the running computation (the
    // Stop button, Ctrl+C on the console); polled right after ShowProgress.
    virtual bool TakeStopRequest() { return false; }

    // Convenience: a message with an OK button.
    void Notify(const std::string& text, const std::string& title = "",
                MessageIcon icon = MessageIcon::None);
};

}  // namespace qw
