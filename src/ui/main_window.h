// The main window: menus, toolbar, the text area every report goes to, the
// progress bar that doubles as the Stop button, and the status bar. The
// computations (the Compute menu, the resonance scan, the pattern window's
// cuts) run as jobs on a worker thread while this window stays live; the
// other commands run to their end on this thread. While either runs, every
// other command is disabled and only Stop stays available.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QPrinter>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "model/context.h"
#include "ui/qt_host.h"

class QAction;
class QLabel;
class QMenu;
class QToolBar;

namespace qw {

class HelpWindow;
class JobRunner;
class LogViewer;
class PatternWindow;
class View3DWindow;
class MainTextEdit;
class OptimizerWindow;
class StopProgressBar;
class ToolbarDialog;

class MainWindow : public QMainWindow, public MainSurface {
    Q_OBJECT

public:
    MainWindow(Context& ctx, QtHost& host, QWidget* parent = nullptr);
    ~MainWindow() override;

    // The start-up once the window exists: its place, the settings, the
    // log, the file named on the command line (an absolute path or ""),
    // the toolbar's layout.
    void Start(const std::string& commandLineFile);

    // A command by its control name or toolbar key; nullptr when unknown.
    QAction* Command(const std::string& name) const;
    QToolBar* Toolbar() const { return toolbar_; }
    // The pattern window, once Plot > Far Field has opened it.
    PatternWindow* Pattern() const;
    View3DWindow* View3D() const;
    OptimizerWindow* Optimizer() const;
    QString MainTextContents() const;
    bool Computing() const { return computing_; }
    // The toolbar's button keys in their order, and setting them.
    std::vector<std::string> ToolbarKeys() const;
    void SetToolbarKeys(const std::vector<std::string>& keys);
    // Runs a command with every other command disabled (Stop excepted),
    // then brings the title, the Save commands and the recent list up to
    // date. A command asked for while another runs is ignored.
    void Run(const std::function<void()>& command);
    // Runs a computation as a job over a copy of the document, with the
    // same rules as Run, and returns at once; when the job has ended its
    // document and solver are the project's and `finished` runs. False when
    // another command runs.
    bool RunJob(std::function<void(Context&)> work, std::function<void()> finished = {});

    // The toolbar's customising dialog, filled with the buttons' looks.
    std::unique_ptr<ToolbarDialog> CreateToolbarDialog();
    // Opens a file as a drop on the text area does.
    void DropFile(const QString& path);

    // The geometry editor's S and L keys (the source and load placement),
    // for the window that provides it.
    std::function<void()> placeSourcesLoads;
    // The geometry editor, modal; true when it was accepted.
    bool RunGeometryWindow();
    // "Sources & Loads", modal.
    void RunSourceLoadWindow();

    // MainSurface.
    void AppendText(const std::string& line) override;
    void ClearText() override;
    void SetProgress(int percent) override;
    void SetStatus(int panel, const std::string& text) override;
    void EnableCommand(const std::string& command, bool enabled) override;
    void SetCaption(const std::string& command, const std::string& caption) override;
    void CheckCommand(const std::string& command, bool checked) override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QAction* AddCommand(QMenu* menu, const std::string& name, const QString& caption, std::function<void()> run,
                        const QKeySequence& shortcut = {});
    void BuildMenus();
    void BuildToolbar();
    void BuildStatusBar();
    void Refresh();
    void BeginRun();
    void EndRun();
    QAction* AddJob(QMenu* menu, const std::string& name, const QString& caption, void (*command)(Context&));
    void RebuildRecentMenu();
    void ApplyScreenFont();
    void Stop();

    // Commands that need the window itself.
    void NewProjectCommand();
    void PlotFarFieldCommand();
    void View3DCommand();
    void OptimizeCommand();
    void ProjectFileCommand();
    void HeightCommand();
    void ViewLogCommand();
    void PrinterSetupCommand();
    void PrintMainWindowCommand();
    void ExportPdfCommand();
    void FontCommand(bool printer);
    void HelixCommand();
    void WebSiteCommand();
    void CustomiseToolbar();
    HelpWindow& Help();

    Context& ctx_;
    QtHost& host_;
    MainTextEdit* text_ = nullptr;
    StopProgressBar* progress_ = nullptr;
    QLabel* panels_[2] = {nullptr, nullptr};
    QToolBar* toolbar_ = nullptr;
    QMenu* recentMenu_ = nullptr;
    std::map<std::string, QAction*> commands_;
    std::vector<std::string> toolbarOrder_;  // every key, in the built-in order
    // While a command runs: the enabled state each command will get back.
    std::map<std::string, bool> enabledAfterRun_;
    bool computing_ = false;
    bool closePending_ = false;
    std::unique_ptr<QPrinter> printer_;
    std::unique_ptr<JobRunner> jobs_;
    QPointer<HelpWindow> help_;
    QPointer<LogViewer> logViewer_;
    QPointer<PatternWindow> pattern_;
    QPointer<View3DWindow> view3d_;
    QPointer<OptimizerWindow> optimizer_;
};

}  // namespace qw
