#include "ui/main_window.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontDialog>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QMouseEvent>
#include <QPageSetupDialog>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinterInfo>
#include <QProcess>
#include <QProgressBar>
#include <QStandardPaths>
#include <QStatusBar>
#include <QStyle>
#include <QTextDocument>
#include <QToolBar>
#include <QUrl>
#include <ctime>

#include "commands/checks.h"
#include "commands/edit_geometry.h"
#include "commands/log_commands.h"
#include "commands/main_commands.h"
#include "commands/nec_export.h"
#include "commands/project_dialogs.h"
#include "commands/resonance_command.h"
#include "model/project_writer.h"
#include "model/settings.h"
#include "sweeps/resonance.h"
#include "ui/about_box.h"
#include "ui/antenna_form.h"
#include "ui/geometry_window.h"
#include "ui/source_load_window.h"
#include "ui/height_dialog.h"
#include "ui/help_window.h"
#include "ui/job_runner.h"
#include "ui/log_viewer.h"
#include "ui/pattern_window.h"
#include "ui/optimizer_window.h"
#include "ui/view3d_window.h"
#include "ui/project_file_window.h"
#include "ui/toolbar_dialog.h"
#include "ui/window_placement.h"
#include "version.h"

namespace qw {

namespace {

constexpr const char* kWebSite = "https://quillwork.org";
constexpr const char* kHelixProgram = "quillwork-helix";

QString ProgramCaption() {
    return QString("QUILLWORK v%1.%2").arg(kVersionMajor).arg(kVersionMinor);
}

// A colour as the settings keep it: red in the low byte.
QColor SettingsColour(std::int32_t value) { return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF); }

QFont FontOf(const ProgramOptions::Font& f, const QFont& fallback) {
    QFont font = fallback;
    if (!f.Name.empty()) font.setFamily(FromProgramText(f.Name));
    if (f.Size > 0) font.setPointSizeF(f.Size);
    font.setBold(f.Bold);
    font.setItalic(f.Italic);
    font.setUnderline(f.Underline);
    font.setStrikeOut(f.Strikethru);
    return font;
}

void StoreFont(ProgramOptions::Font& f, const QFont& font) {
    f.Name = ToProgramText(font.family());
    f.Size = static_cast<float>(font.pointSizeF());
    f.Bold = font.bold();
    f.Italic = font.italic();
    f.Underline = font.underline();
    f.Strikethru = font.strikeOut();
}

}  // namespace

// The text area: read-only for the user, takes dropped files.
class MainTextEdit : public QPlainTextEdit {
public:
    std::function<void(const QString&)> onDrop;

    explicit MainTextEdit(QWidget* parent) : QPlainTextEdit(parent) {
        setReadOnly(true);
        setAcceptDrops(true);
        setLineWrapMode(QPlainTextEdit::NoWrap);
        setObjectName("MainText");
        viewport()->setAcceptDrops(true);
    }

protected:
    void dragEnterEvent(QDragEnterEvent* event) override {
        if (event->mimeData()->hasUrls()) event->acceptProposedAction();
    }
    void dragMoveEvent(QDragMoveEvent* event) override {
        if (event->mimeData()->hasUrls()) event->acceptProposedAction();
    }
    void dropEvent(QDropEvent* event) override {
        const QList<QUrl> urls = event->mimeData()->urls();
        if (urls.isEmpty() || !urls.front().isLocalFile()) return;
        event->acceptProposedAction();
        if (onDrop) onDrop(urls.front().toLocalFile());
    }
};

// The progress bar; a click on it stops the running computation.
class StopProgressBar : public QProgressBar {
public:
    std::function<void()> onClick;

    explicit StopProgressBar(QWidget* parent) : QProgressBar(parent) {
        setRange(0, 100);
        setValue(0);
        setTextVisible(false);
        setToolTip("Click here to abort calculations");
        setObjectName("ProgressBar1");
        setMaximumWidth(240);
    }

protected:
    void mousePressEvent(QMouseEvent* event) override {
        if (onClick) onClick();
        event->accept();
    }
};

MainWindow::MainWindow(Context& ctx, QtHost& host, QWidget* parent)
    : QMainWindow(parent), ctx_(ctx), host_(host) {
    setObjectName("Main");
    setWindowIcon(QIcon(":/icons/quillwork.svg"));
    text_ = new MainTextEdit(this);
    text_->onDrop = [this](const QString& path) { DropFile(path); };
    setCentralWidget(text_);
    placeSourcesLoads = [this] { RunSourceLoadWindow(); };
    const QList<QPrinterInfo> printers = QPrinterInfo::availablePrinters();
    ctx_.options.PrinterPresent = !printers.isEmpty();
    if (ctx_.options.PrinterPresent) printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    BuildMenus();
    BuildToolbar();
    BuildStatusBar();
    // Reading a project enables the optimizer.
    for (const char* name : {"CtlOpt", "btnoptimiz"}) Command(name)->setEnabled(false);
    host_.Attach(&ctx_, this, this);
    jobs_ = std::make_unique<JobRunner>(ctx_, host_);
    setWindowTitle(ProgramCaption() + "[*]");
    resize(900, 640);
}

MainWindow::~MainWindow() {
    // A job still running is stopped and waited for while the window is whole.
    closePending_ = false;
    jobs_.reset();
    host_.Attach(&ctx_, nullptr, nullptr);
    delete pattern_;
    delete optimizer_;
    delete view3d_;
    delete help_;
    delete logViewer_;
}

QAction* MainWindow::AddCommand(QMenu* menu, const std::string& name, const QString& caption,
                                std::function<void()> run, const QKeySequence& shortcut) {
    auto* action = new QAction(caption, this);
    action->setObjectName(QString::fromStdString(name));
    if (!shortcut.isEmpty()) action->setShortcut(shortcut);
    if (run) connect(action, &QAction::triggered, this, [this, run] { Run(run); });
    if (menu) menu->addAction(action);
    commands_[name] = action;
    return action;
}

QAction* MainWindow::AddJob(QMenu* menu, const std::string& name, const QString& caption,
                            void (*command)(Context&)) {
    QAction* action = AddCommand(menu, name, caption, {});
    connect(action, &QAction::triggered, this, [this, command] { RunJob(command); });
    return action;
}

void MainWindow::BuildMenus() {
    Context& c = ctx_;
    QMenu* file = menuBar()->addMenu("&File");
    file->setObjectName("CtlFile");
    connect(file, &QMenu::aboutToShow, this, [this] {
        if (!computing_) FileMenuOpening(ctx_);
    });
    AddCommand(file, "CtlNewPrj", "&New Project", [this] { NewProjectCommand(); }, QKeySequence::New);
    AddCommand(file, "CtlOpenProject", "&Open Project", [&c] { OpenProjectCommand(c); }, QKeySequence::Open);
    AddCommand(file, "CtlSaveProject", "&Save Project", [&c] { SaveProjectCommand(c, false); }, QKeySequence::Save);
    AddCommand(file, "CtlSaveProjectAs", "Save Project &As", [&c] { SaveProjectCommand(c, true); },
               QKeySequence::SaveAs);
    AddCommand(file, "CtlExportNec", "Export &NEC Deck...", [&c] { ExportNecCommand(c); });
    recentMenu_ = file->addMenu("&Recent Projects");
    recentMenu_->setObjectName("mnuRecent");
    file->addSeparator();
    AddCommand(file, kLogCommand, "&LogFile", [&c] { ToggleLog(c); })->setCheckable(true);
    AddCommand(file, "CtlViewLog", "&View Log", [this] { ViewLogCommand(); });
    file->addSeparator();
    AddCommand(file, "CtlPrintSet", "&Printer Setup", [this] { PrinterSetupCommand(); });
    AddCommand(file, "CtlPrint", "Print Main &Window", [this] { PrintMainWindowCommand(); }, QKeySequence::Print);
    AddCommand(file, "CtlExportPdf", "&Export to PDF", [this] { ExportPdfCommand(); });
    file->addSeparator();
    AddCommand(file, "CtlExit", "E&xit", [this] { close(); }, QKeySequence::Quit);

    QMenu* plot = menuBar()->addMenu("&Plot");
    plot->setObjectName("Ctl_Plot");
    AddCommand(plot, "Ctl_PlotFF", "&Far Field", [this] { PlotFarFieldCommand(); });
    AddCommand(plot, "Ctl_3D", "3D View && &Currents", [this] { View3DCommand(); });
    AddCommand(plot, "Ctl_2D", "&2D View", [this] { Open2DView(ctx_, this, [this] { return computing_; }); });
    // The sweep plots start a job of their own: not through Run.
    const std::pair<const char*, SweepPlotKind> sweeps[] = {{"CtlPlotZ", SweepPlotKind::Impedance},
                                                            {"CtlPlotSGF(0)", SweepPlotKind::Swr},
                                                            {"CtlPlotSGF(1)", SweepPlotKind::Gain},
                                                            {"CtlPlotSGF(2)", SweepPlotKind::FrontToBack}};
    const char* const sweepCaptions[] = {"&Impedance", "&SWR", "&Gain", "&F/B"};
    for (int i = 0; i < 4; ++i) {
        const SweepPlotKind kind = sweeps[i].second;
        QAction* a = AddCommand(plot, sweeps[i].first, sweepCaptions[i], {});
        connect(a, &QAction::triggered, this, [this, kind] {
            if (computing_) return;
            OpenSweepPlot(
                ctx_, kind, this,
                [this](std::function<void(Context&)> work, std::function<void()> finished) {
                    return RunJob(std::move(work), std::move(finished));
                },
                [this] { return computing_; });
            Refresh();
        });
    }

    QMenu* compute = menuBar()->addMenu("&Compute");
    compute->setObjectName("CtlCompute");
    AddJob(compute, "CtlCompZ", "&Impedance", ComputeImpedanceCommand);
    AddJob(compute, "CtlResonance", "&Resonance", ResonanceSearch);
    AddJob(compute, "CtlFarFld", "&Far Field", FarFieldCommand);
    AddJob(compute, "CtlNearFld", "&Near Field", NearFieldCommand);
    AddJob(compute, "CtlCurrents", "&Currents", CurrentsCommand);

    QMenu* setup = menuBar()->addMenu("Antenna &Setup");
    setup->setObjectName("CtlParams");
    AddCommand(setup, kFreeSpaceCommand, "In Free Space", [&c] { ToggleFreeSpace(c); });
    AddCommand(setup, "CtlGeometry", "&Geometry", [this] { GeometryCommand(ctx_, [this] { return RunGeometryWindow(); }); });
    AddCommand(setup, "CtlHeight", "&Height", [this] { HeightCommand(); });
    AddCommand(setup, "CtlFrequency", "&Frequency", [&c] { AskFrequency(c); });
    AddCommand(setup, "CtlEnvironment", "G&round", [&c] { RunGroundDialog(c); });
    AddCommand(setup, "CtlSources", "&Sources", [this] { RunSourceLoadWindow(); });
    AddCommand(setup, "CtlLoads", "&Loads", [this] { RunSourceLoadWindow(); });
    AddCommand(setup, "CtlPFile", "&Project File", [this] { ProjectFileCommand(); });
    AddCommand(setup, "CtlOpt", "Optimi&ze", [this] { OptimizeCommand(); });

    QMenu* options = menuBar()->addMenu("&Options");
    options->setObjectName("CtlOptions");
    QMenu* units = options->addMenu("Default &Unit");
    units->setObjectName("Ctl_DefUnit");
    const char* unitCaptions[] = {"&Meters", "&Feet", "&Inches", "&Centimeters", "&Millimeters", "&Wavelength"};
    for (int entry = 0; entry <= 5; ++entry)
        AddCommand(units, UnitCommand(entry), unitCaptions[entry], [&c, entry] { SelectUnit(c, entry); })
            ->setCheckable(true);
    AddCommand(options, "CtOpCoax", "&Coax. Impedance", [&c] { CoaxImpedanceCommand(c); });
    AddCommand(options, "CtlDefWireSize", "Default &Wire Size", [&c] { DefaultWireSizeCommand(c); });
    AddCommand(options, kGainUnitCommand, "d&Bi", [&c] { ToggleGainUnit(c); });
    AddCommand(options, "CtlPlotStep", "&Plot Step", [&c] { PlotStepCommand(c); });
    AddCommand(options, "CltMaxDelta", "Max &Delta", [&c] { MaxDeltaCommand(c); });
    AddCommand(options, kFormatCommand, "&Format Fixed", [&c] { ToggleNumberFormat(c); });
    AddCommand(options, kNecCommand, "&NEC Freq. Offset", [&c] { ToggleNecMode(c); })->setCheckable(true);
    AddCommand(options, kZeroHeightCommand, "&Zero Height Warning", [&c] { ToggleZeroHeightWarning(c); })
        ->setCheckable(true);
    AddCommand(options, kLargeModelsCommand, "&Large Models (2000 Pulses)", [&c] { ToggleLargeModels(c); })
        ->setCheckable(true);
    // Present, as it always was, and without an action.
    AddCommand(options, "Ctl_DirectPrint", "&Direct Printing", {});
    options->addSeparator();
    AddCommand(options, "CtlFontScreen", "&Screen Font", [this] { FontCommand(false); });
    AddCommand(options, "CtlFontPrinter", "&Printer Font", [this] { FontCommand(true); });
    options->addSeparator();
    AddCommand(options, "CtlReadDefaults", "&Load Defaults", [this] {
        LoadDefaultsCommand(ctx_);
        ApplyScreenFont();
    });
    AddCommand(options, "CtlSaveDefaults", "&Save Defaults", [&c] { SaveDefaultsCommand(c); });

    // A menu-bar entry without a menu: a click runs the command.
    QAction* helix = AddCommand(nullptr, "mnuHelix", "&Helix generator", [this] { HelixCommand(); });
    menuBar()->addAction(helix);

    QMenu* help = menuBar()->addMenu("&Help");
    help->setObjectName("CtlHelp");
    AddCommand(help, "CtlHelpIndex", "&Contents", [this] { Help().ShowContents(); }, QKeySequence::HelpContents);
    AddCommand(help, "CtlHelpSearch", "&Search for Help On", [this] { Help().ShowSearch(); });
    AddCommand(help, "CtxQLKProj", "&QUILLWORK project &Commands",
               [this] { Help().ShowTopic(kProjectCommandsContext); });
    AddCommand(help, "mnuInternet", "QUILLWORK on the &Web", [this] { WebSiteCommand(); });
    AddCommand(help, "CtlAbout", "&About", [this] { ShowAboutBox(this); });
    AddCommand(help, kDebugCommand, "&Debug Off", [&c] { ToggleDebug(c); });

    if (!ctx_.options.PrinterPresent)
        for (const char* name : {"CtlPrintSet", "CtlPrint", "CtlFontPrinter"}) commands_[name]->setEnabled(false);
}

void MainWindow::BuildToolbar() {
    toolbar_ = addToolBar("Tlbar1");
    toolbar_->setObjectName("Tlbar1");
    toolbar_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(toolbar_, &QToolBar::customContextMenuRequested, this, [this](const QPoint& at) {
        QMenu menu;
        menu.addAction("&Customize Toolbar...", this, [this] { CustomiseToolbar(); })->setEnabled(!computing_);
        menu.exec(toolbar_->mapToGlobal(at));
    });
    // The program's own pictures; the style's where SVG cannot be drawn.
    auto icon = [this](QStyle::StandardPixmap fallback) { return style()->standardIcon(fallback); };
    struct Button {
        const char* key;
        const char* tip;
        QIcon icon;
        const char* runs;  // the menu command it runs, or nullptr
    };
    const std::vector<Button> buttons = {
        {"btnnew", "New Project", icon(QStyle::SP_FileIcon), "CtlNewPrj"},
        {"btnopen", "Open Project", icon(QStyle::SP_DialogOpenButton), "CtlOpenProject"},
        {"btnsave", "Save Project As", icon(QStyle::SP_DialogSaveButton), "CtlSaveProjectAs"},
        {"btn2d", "2D View", icon(QStyle::SP_FileDialogDetailedView), "Ctl_2D"},
        {"btn3d", "3D View & Currents", icon(QStyle::SP_DesktopIcon), "Ctl_3D"},
        {"btnfarfield", "Plot Far Field", icon(QStyle::SP_DriveNetIcon), "Ctl_PlotFF"},
        {"btnzcompute", "Compute Impedance", icon(QStyle::SP_MediaPlay), "CtlCompZ"},
        {"btnoptimiz", "Optimize", icon(QStyle::SP_BrowserReload), "CtlOpt"},
        {"btnplotz", "Plot Impedance", icon(QStyle::SP_FileDialogContentsView), "CtlPlotZ"},
        {"btnplotswr", "Plot SWR", icon(QStyle::SP_FileDialogInfoView), "CtlPlotSGF(0)"},
        {"btnplotgain", "Plot Gain", icon(QStyle::SP_ArrowUp), "CtlPlotSGF(1)"},
        {"btnplotfb", "Plot F/B", icon(QStyle::SP_ArrowBack), "CtlPlotSGF(2)"},
        {"btngrid", "Geometry", icon(QStyle::SP_FileDialogListView), "CtlGeometry"},
        {"btnsrc", "Sources", icon(QStyle::SP_MediaVolume), "CtlSources"},
        {"btnload", "Loads", icon(QStyle::SP_DriveHDIcon), "CtlLoads"},
        {"btnhelp", "Help", icon(QStyle::SP_DialogHelpButton), "CtlHelpIndex"},
        {"btnstop", "Stop", icon(QStyle::SP_BrowserStop), nullptr},
    };
    for (const Button& b : buttons) {
        QAction* a = AddCommand(nullptr, b.key, b.tip, {});
        const QIcon own(QString(":/icons/toolbar/%1.svg").arg(b.key));
        a->setIcon(own.pixmap(24, 24).isNull() ? b.icon : own);
        a->setToolTip(b.tip);
        if (b.runs) {
            const std::string runs = b.runs;
            connect(a, &QAction::triggered, this, [this, runs] {
                if (QAction* menuCommand = Command(runs)) menuCommand->trigger();
            });
        }
        toolbarOrder_.push_back(b.key);
    }
    // Stop is the one command that works while another runs.
    connect(commands_["btnstop"], &QAction::triggered, this, [this] { Stop(); });
    SetToolbarKeys(toolbarOrder_);
}

void MainWindow::BuildStatusBar() {
    progress_ = new StopProgressBar(this);
    progress_->onClick = [this] { Stop(); };
    statusBar()->addPermanentWidget(progress_);
    for (int i = 0; i < 2; ++i) {
        panels_[i] = new QLabel(this);
        panels_[i]->setObjectName(QString("StatusPanel%1").arg(i + 1));
        panels_[i]->setMinimumWidth(160);
        panels_[i]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        statusBar()->addWidget(panels_[i], i == 0 ? 0 : 1);
    }
    statusBar()->setObjectName("StatusBar1");
}

void MainWindow::Start(const std::string& commandLineFile) {
    RestorePlacement(*this, ctx_, "Main", true);
    ctx_.AbortFlag = false;
    Run([this, commandLineFile] { StartUp(ctx_, commandLineFile); });
    ApplyScreenFont();
    const std::string stored = GetSetting(ctx_, kWindowsSection, kToolbarKey);
    if (!stored.empty()) SetToolbarKeys(ParseToolbarLayout(stored, toolbarOrder_));
}

QAction* MainWindow::Command(const std::string& name) const {
    const auto it = commands_.find(name);
    return it == commands_.end() ? nullptr : it->second;
}

PatternWindow* MainWindow::Pattern() const { return pattern_; }

View3DWindow* MainWindow::View3D() const { return view3d_; }

QString MainWindow::MainTextContents() const { return text_->toPlainText(); }

std::vector<std::string> MainWindow::ToolbarKeys() const {
    std::vector<std::string> keys;
    for (QAction* a : toolbar_->actions())
        if (!a->isSeparator()) keys.push_back(a->objectName().toStdString());
    return keys;
}

void MainWindow::SetToolbarKeys(const std::vector<std::string>& keys) {
    toolbar_->clear();
    for (const std::string& key : keys)
        if (QAction* a = Command(key)) toolbar_->addAction(a);
}

void MainWindow::DropFile(const QString& path) {
    if (computing_ || !IsProjectFileName(path.toStdString())) return;
    Run([this, path] { OpenNamedProject(ctx_, QFileInfo(path).absoluteFilePath().toStdString()); });
}

void MainWindow::AppendText(const std::string& line) {
    QString text = FromProgramText(line);
    text.replace("\r\n", "\n");
    text_->appendPlainText(text);
    text_->moveCursor(QTextCursor::End);
    text_->ensureCursorVisible();
}

void MainWindow::ClearText() { text_->clear(); }

void MainWindow::SetProgress(int percent) { progress_->setValue(std::clamp(percent, 0, 100)); }

void MainWindow::SetStatus(int panel, const std::string& text) {
    if (panel >= 1 && panel <= 2) panels_[panel - 1]->setText(FromProgramText(text));
}

void MainWindow::EnableCommand(const std::string& command, bool enabled) {
    QAction* a = Command(command);
    if (!a) return;
    // The toolbar's Sources and Loads follow their menu commands.
    if (command == "CtlSources") EnableCommand("btnsrc", enabled);
    if (command == "CtlLoads") EnableCommand("btnload", enabled);
    if (computing_ && command != "btnstop")
        enabledAfterRun_[command] = enabled;
    else
        a->setEnabled(enabled);
}

void MainWindow::SetCaption(const std::string& command, const std::string& caption) {
    if (QAction* a = Command(command)) a->setText(FromProgramText(caption));
}

void MainWindow::CheckCommand(const std::string& command, bool checked) {
    if (QAction* a = Command(command)) {
        a->setCheckable(true);
        a->setChecked(checked);
    }
}

void MainWindow::BeginRun() {
    computing_ = true;
    enabledAfterRun_.clear();
    for (auto& [name, action] : commands_) {
        if (name == "btnstop") continue;
        enabledAfterRun_[name] = action->isEnabled();
        action->setEnabled(false);
    }
    // A stop asked for before this command is not for it.
    ctx_.stop.Reset();
    host_.TakeStopRequest();
}

void MainWindow::EndRun() {
    computing_ = false;
    for (const auto& [name, enabled] : enabledAfterRun_) commands_[name]->setEnabled(enabled);
    enabledAfterRun_.clear();
    host_.SetBusy(false);
    progress_->setValue(0);
    Refresh();
    if (closePending_) {
        closePending_ = false;
        close();
    }
}

void MainWindow::Run(const std::function<void()>& command) {
    if (computing_) return;
    BeginRun();
    command();
    EndRun();
}

bool MainWindow::RunJob(std::function<void(Context&)> work, std::function<void()> finished) {
    if (computing_ || jobs_->Running()) return false;
    BeginRun();
    jobs_->Start(std::move(work), [this, finished = std::move(finished)] {
        if (finished) finished();
        EndRun();
    });
    return true;
}

void MainWindow::Refresh() {
    // What the File menu enables when it opens, at once: its shortcuts
    // (Ctrl+S) work without the menu having been opened.
    FileMenuOpening(ctx_);
    ShowLogState(ctx_);  // a log that could not be put on disk is off
    const Project& p = ctx_.project;
    const QString name = QFileInfo(QString::fromStdString(p.FileName)).fileName();
    setWindowTitle(ProgramCaption() + (name.isEmpty() ? QString() : " - " + name) + "[*]");
    setWindowModified(p.Modified);
    panels_[1]->setText(name);
    RebuildRecentMenu();
}

void MainWindow::RebuildRecentMenu() {
    recentMenu_->clear();
    const std::vector<std::string> recent = RecentProjects(ctx_);
    int n = 0;
    for (const std::string& path : recent) {
        const QString shown = QString("&%1 %2").arg(++n).arg(QString::fromStdString(path));
        recentMenu_->addAction(shown, this, [this, path] { Run([this, path] { OpenNamedProject(ctx_, path); }); });
    }
    recentMenu_->setEnabled(!recent.empty());
}

void MainWindow::ApplyScreenFont() {
    const ProgramOptions::Font& f = ctx_.options.ScreenFont;
    QFont fallback = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    text_->setFont(FontOf(f, fallback));
    QPalette palette = text_->palette();
    palette.setColor(QPalette::Text, f.Color ? SettingsColour(*f.Color) : QApplication::palette().color(QPalette::Text));
    text_->setPalette(palette);
}

void MainWindow::Stop() {
    host_.RequestStop();
}

void MainWindow::NewProjectCommand() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty() || !QDir(folder).exists()) folder = QDir::homePath();
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    if (qw::NewProjectCommand(ctx_, folder.toStdString(), local))
        EditGeometry(ctx_, [this] { return RunGeometryWindow(); });
}

bool MainWindow::RunGeometryWindow() {
    GeometryWindow window(ctx_, this);
    // Show opens the 2D view of the table as it stands, over the editor
    // (which is modal) and closed with it.
    window.showAntenna = [this, &window] { Show2DView(ctx_, &window); };
    window.placeSourcesLoads = placeSourcesLoads;
    window.showHelp = [this](int context) { Help().ShowTopic(context); };
    return window.exec() == QDialog::Accepted;
}

void MainWindow::RunSourceLoadWindow() {
    SourceLoadWindow window(ctx_, this);
    window.exec();
}

void MainWindow::PlotFarFieldCommand() {
    ctx_.AbortFlag = false;
    CheckProject(ctx_);
    if (ctx_.AbortFlag) return;
    if (!pattern_)
        pattern_ = new PatternWindow(
            ctx_, host_, [this](const std::function<void()>& command) { Run(command); },
            [this](std::function<void(Context&)> work, std::function<void()> finished) {
                return RunJob(std::move(work), std::move(finished));
            });
    pattern_->Open();
}

void MainWindow::OptimizeCommand() {
    if (!optimizer_) {
        QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        if (folder.isEmpty() || !QDir(folder).exists()) folder = QDir::homePath();
        optimizer_ = new OptimizerWindow(
            ctx_,
            [this](std::function<void(Context&)> work, std::function<void()> finished) {
                return RunJob(std::move(work), std::move(finished));
            },
            folder.toStdString());
    }
    optimizer_->Open();
}

OptimizerWindow* MainWindow::Optimizer() const { return optimizer_; }

void MainWindow::View3DCommand() {
    ctx_.AbortFlag = false;
    {
        // The checks' listings are not logged for a view.
        const bool batch = ctx_.BatchMode;
        ctx_.BatchMode = true;
        CheckProject(ctx_);
        ctx_.BatchMode = batch;
    }
    if (ctx_.AbortFlag) return;
    if (!view3d_)
        view3d_ = new View3DWindow(
            ctx_, host_,
            [this](std::function<void(Context&)> work, std::function<void()> finished) {
                return RunJob(std::move(work), std::move(finished));
            },
            [this] { return pattern_ ? pattern_->FieldType() : kTotalField; });
    view3d_->Open();
}

void MainWindow::ProjectFileCommand() {
    ctx_.AbortFlag = false;
    AskSaveChanges(ctx_);
    if (ctx_.AbortFlag) return;
    ProjectFileWindow window(ctx_, this);
    window.exec();
}

void MainWindow::HeightCommand() {
    HeightDialog dialog(ctx_, this);
    dialog.exec();
}

void MainWindow::ViewLogCommand() {
    std::string path = PathInFolder(LogFolder(ctx_), kLogFileName);
    if (ctx_.log.IsOn()) {
        PutLogOnDisk(ctx_);
        path = ctx_.log.Path();
    }
    if (!logViewer_) logViewer_ = new LogViewer(nullptr);
    logViewer_->ShowFile(QString::fromStdString(path));
}

void MainWindow::PrinterSetupCommand() {
    if (!printer_) return;
    QPageSetupDialog dialog(printer_.get(), this);
    dialog.exec();
}

void MainWindow::PrintMainWindowCommand() {
    if (!printer_) return;
    QPrintDialog dialog(printer_.get(), this);
    dialog.setWindowTitle("Print Main Window");
    if (dialog.exec() != QDialog::Accepted) return;
    std::unique_ptr<QTextDocument> document(text_->document()->clone());
    document->setDefaultFont(FontOf(ctx_.options.PrinterFont, text_->font()));
    document->print(printer_.get());
}

void MainWindow::ExportPdfCommand() {
    const auto path = host_.SaveFileDialog("Export to PDF", "PDF Document (*.pdf)|*.pdf", "");
    if (!path || path->empty()) return;
    QPrinter pdf(QPrinter::HighResolution);
    pdf.setOutputFormat(QPrinter::PdfFormat);
    pdf.setOutputFileName(QString::fromStdString(*path));
    std::unique_ptr<QTextDocument> document(text_->document()->clone());
    document->setDefaultFont(FontOf(ctx_.options.PrinterFont, text_->font()));
    document->print(&pdf);
    if (!QFileInfo::exists(QString::fromStdString(*path)))
        host_.Notify("The PDF file could not be written:\r\n" + *path, "Export to PDF", MessageIcon::Critical);
}

void MainWindow::FontCommand(bool printer) {
    ProgramOptions::Font& f = printer ? ctx_.options.PrinterFont : ctx_.options.ScreenFont;
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, FontOf(f, text_->font()), this,
                                              printer ? "Printer Font" : "Screen Font");
    if (!ok) return;
    StoreFont(f, chosen);
    if (!printer) ApplyScreenFont();
}

void MainWindow::HelixCommand() {
    // Beside the program first, then on the PATH; started with an argument
    // list, never through a shell.
    QString program = QDir(QCoreApplication::applicationDirPath()).filePath(kHelixProgram);
    if (!QFileInfo(program).isExecutable()) program = QStandardPaths::findExecutable(kHelixProgram);
    if (program.isEmpty() || !QProcess::startDetached(program, {"h101"})) host_.Notify("AddOn not found");
}

void MainWindow::WebSiteCommand() { QDesktopServices::openUrl(QUrl(kWebSite)); }

std::unique_ptr<ToolbarDialog> MainWindow::CreateToolbarDialog() {
    auto dialog = std::make_unique<ToolbarDialog>(toolbarOrder_, ToolbarKeys(), this);
    for (const std::string& key : toolbarOrder_)
        if (QAction* a = Command(key)) dialog->SetButtonText(key, a->toolTip(), a->icon());
    return dialog;
}

void MainWindow::CustomiseToolbar() {
    const auto dialog = CreateToolbarDialog();
    if (dialog->exec() == QDialog::Accepted) SetToolbarKeys(dialog->Keys());
}

HelpWindow& MainWindow::Help() {
    if (!help_) help_ = new HelpWindow(nullptr);
    return *help_;
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (computing_) {
        // Closing acts as Stop; the window goes once the computation has
        // unwound.
        closePending_ = true;
        Stop();
        event->ignore();
        return;
    }
    if (!ConfirmExit(ctx_)) {
        event->ignore();
        return;
    }
    if (pattern_) pattern_->close();
    for (AntennaForm* view : findChildren<AntennaForm*>(QString(), Qt::FindDirectChildrenOnly)) view->close();
    if (view3d_) view3d_->close();
    SavePlacement(*this, ctx_, "Main");
    ShutDown(ctx_);
    PutSetting(ctx_, kWindowsSection, kToolbarKey, ToolbarLayoutText(ToolbarKeys()));
    if (help_) help_->close();
    if (logViewer_) logViewer_->close();
    event->accept();
}

}  // namespace qw
