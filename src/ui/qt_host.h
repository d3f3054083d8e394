// The desktop program's Host: Qt message boxes, input boxes, file dialogs
// and the program's own dialogs; the main window's text area, progress bar,
// status bar and commands through the MainSurface it is given.
#pragma once

#include <QString>
#include <QStringList>
#include <string>
#include <utility>

#include "platform/host.h"

class QWidget;

namespace qw {

struct Context;

// What the Host changes on the main window.
class MainSurface {
public:
    virtual ~MainSurface() = default;
    virtual void AppendText(const std::string& line) = 0;
    virtual void ClearText() = 0;
    virtual void SetProgress(int percent) = 0;
    virtual void SetStatus(int panel, const std::string& text) = 0;
    virtual void EnableCommand(const std::string& command, bool enabled) = 0;
    virtual void SetCaption(const std::string& command, const std::string& caption) = 0;
    virtual void CheckCommand(const std::string& command, bool checked) = 0;
};

// "Description (*.ext)|*.ext|..." as Qt's name filters, each pattern in
// both cases ("QLK Project (*.qlk *.QLK)").
QStringList QtNameFilters(const std::string& filter);
// The suffix a saved file gets when none is typed: the first pattern's.
QString DefaultSuffix(const std::string& filter);

class QtHost : public Host {
public:
    QtHost() = default;

    // The context the program's dialogs work on, the window they belong
    // to and the window the reports go to; any of them may be absent.
    void Attach(Context* ctx, QWidget* parent, MainSurface* surface);
    Context* Attached() const { return ctx_; }
    // Lets the program's dialogs work on another context (a job's, while
    // its worker waits for the answer); returns the one it replaces.
    Context* SwapContext(Context* ctx) { return std::exchange(ctx_, ctx); }

    MessageAnswer ShowMessage(const Message& message) override;
    std::optional<std::string> InputBox(const std::string& prompt, const std::string& title,
                                        const std::string& proposed) override;
    std::optional<std::string> OpenFileDialog(const std::string& title, const std::string& filter,
                                              const std::string& proposed) override;
    std::optional<std::string> SaveFileDialog(const std::string& title, const std::string& filter,
                                              const std::string& proposed) override;
    void AppendMainText(const std::string& line) override;
    void ClearMainText() override;
    // Sets the progress bar and runs the pending events (a click on Stop).
    void ShowProgress(double fraction) override;
    // Sets the progress bar only.
    void SetProgressBar(double fraction);
    void SetStatusText(int panel, const std::string& text) override;
    void SetBusy(bool busy) override;
    void EnableCommand(const std::string& command, bool enabled) override;
    void SetCommandCaption(const std::string& command, const std::string& caption) override;
    void CheckCommand(const std::string& command, bool checked) override;
    std::optional<float> RequestFrequency(float current) override;
    std::optional<GroundInput> RequestGround(const GroundInput& current) override;
    std::optional<FarFieldRequest> RequestFarField(const FarFieldRequest& current) override;
    std::optional<NearFieldRequest> RequestNearField(const NearFieldRequest& current) override;
    std::optional<SweepRange> RequestFrequencyRange(const SweepRange& current) override;
    bool TakeStopRequest() override;

    // The Stop button: the running computation ends at its next step; the
    // busy pointer goes.
    void RequestStop();
    bool Busy() const { return busy_; }

private:
    Context* ctx_ = nullptr;
    QWidget* parent_ = nullptr;
    MainSurface* surface_ = nullptr;
    bool busy_ = false;
    bool stopPending_ = false;
};

}  // namespace qw
