#include "ui/antenna_form.h"

#include <QAction>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPrinter>
#include <QPointer>
#include <QPrinterInfo>
#include <QApplication>
#include <QPushButton>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>
#include <thread>

#include "commands/checks.h"
#include "commands/main_commands.h"
#include "commands/resonance_command.h"
#include "commands/sweep_plot_command.h"
#include "platform/host.h"
#include "solver/pulse_points.h"
#include "ui/picture_box.h"
#include "ui/picture_canvas.h"
#include "ui/picture_commands.h"
#include "ui/plot_limits_dialog.h"
#include "ui/window_placement.h"

namespace qw {

namespace {
constexpr const char* kPlacementKey = "2DView";
}

AntennaForm::AntennaForm(Context& ctx, std::function<bool()> busy, QWidget* parent)
    : QMainWindow(parent, Qt::Window), ctx_(ctx), busy_(std::move(busy)) {
    setObjectName(QStringLiteral("AntForm"));
    setWindowIcon(QIcon(":/icons/quillwork.svg"));
    setAttribute(Qt::WA_DeleteOnClose);
    if (!QPrinterInfo::availablePrinters().isEmpty()) printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(4, 4, 4, 4);
    auto* row = new QHBoxLayout;
    unitButton_ = new QPushButton(central);
    unitButton_->setObjectName(QStringLiteral("Ctl_Unit"));
    unitButton_->setToolTip(QStringLiteral("Unit of the lengths and read-outs"));
    unitButton_->setFocusPolicy(Qt::NoFocus);
    unitButton_->setMinimumWidth(unitButton_->fontMetrics().horizontalAdvance(QStringLiteral("wlngth Meters")));
    readOut_ = new QLineEdit(central);
    readOut_->setObjectName(QStringLiteral("XYZtext"));
    readOut_->setReadOnly(true);
    readOut_->setFocusPolicy(Qt::NoFocus);
    readOut_->setToolTip(QStringLiteral("Click on the view to read a point"));
    row->addWidget(unitButton_);
    row->addWidget(readOut_, 1);
    layout->addLayout(row);
    picture_ = new PictureBox(central);
    picture_->setObjectName(QStringLiteral("Pic2D"));
    picture_->setFocusPolicy(Qt::StrongFocus);
    picture_->installEventFilter(this);
    layout->addWidget(picture_, 1);
    setCentralWidget(central);
    BuildMenus();
    BuildToolbar();
    connect(unitButton_, &QPushButton::clicked, this, [this] { CycleUnit(); });
    clickTimer_ = new QTimer(this);
    clickTimer_->setSingleShot(true);
    clickTimer_->setInterval(QApplication::doubleClickInterval());
    connect(clickTimer_, &QTimer::timeout, this, [this] { ReopenLimits(); });

    resize(760, 640);
    canvas_ = std::make_unique<PictureCanvas>(kSmallestPicture, kSmallestPicture);
    picture_->Show(&canvas_->Image());
    ShowUnitCaption();
}

AntennaForm::~AntennaForm() = default;

QAction* AntennaForm::AddCommand(const QString& name, const QString& caption, std::function<void()> act) {
    auto* action = new QAction(caption, this);
    action->setObjectName(name);
    if (act) connect(action, &QAction::triggered, this, [act = std::move(act)] { act(); });
    commands_[name] = action;
    return action;
}

void AntennaForm::BuildMenus() {
    QMenu* menu = menuBar()->addMenu(QStringLiteral("&Picture"));
    menu->setObjectName(QStringLiteral("mnuPicture"));
    menu->addAction(AddCommand("mnuSavePic", "&Save Picture", [this] { SavePictureAs(ctx_, canvas_->Image()); }));
    menu->addAction(AddCommand("mnuSaveSvg", "Save as S&VG", [this] { SavePictureSvg(ctx_, *canvas_); }));
    menu->addAction(AddCommand("mnuExportPdf", "&Export to PDF", [this] { ExportPicturePdf(ctx_, canvas_->Image()); }));
    QAction* csv = AddCommand("mnuSaveCsv", "Save Points as CS&V", [this] { SaveSweepCsv(ctx_, points_); });
    csv->setEnabled(false);
    menu->addAction(csv);
    menu->addSeparator();
    QAction* copy = AddCommand("mnuCopy", "&Copy", [this] { CopyPicture(canvas_->Image()); });
    copy->setShortcut(QKeySequence::Copy);
    copy->setShortcutContext(Qt::WindowShortcut);
    menu->addAction(copy);
}

void AntennaForm::BuildToolbar() {
    QToolBar* bar = addToolBar(QStringLiteral("Toolbar1"));
    bar->setObjectName(QStringLiteral("Toolbar1"));
    bar->setMovable(false);
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    QAction* plane = AddCommand("btnxyz", "Plane", [this] {
        state_.plane = NextPlane(state_.plane);
        readOut_->clear();  // a point of the other plane
        Redraw();
    });
    plane->setToolTip(QStringLiteral("Next plane: XY, YZ, XZ"));
    QAction* pulses = AddCommand("btnpulses", "Pulses", {});
    pulses->setCheckable(true);
    pulses->setToolTip(QStringLiteral("Show the pulses"));
    QAction* numbers = AddCommand("btnpulsenumber", "Numbers", {});
    numbers->setCheckable(true);
    numbers->setToolTip(QStringLiteral("Show the pulse numbers"));
    connect(pulses, &QAction::toggled, this, [this, numbers](bool on) {
        state_.pulses = on;
        if (!on) {
            const QSignalBlocker quiet(numbers);
            numbers->setChecked(false);
            state_.pulseNumbers = false;
        }
        Redraw();
    });
    connect(numbers, &QAction::toggled, this, [this](bool on) {
        state_.pulseNumbers = on;
        if (state_.pulses) Redraw();
    });
    QAction* print = AddCommand("btnPrint", "Print", [this] {
        if (printer_)
            PrintPicture(ctx_, *printer_, canvas_->Image(), this, mode_ == Mode::Sweep ? "Antenna Plot" : "Antenna View");
    });
    print->setToolTip(QStringLiteral("Print the picture"));
    print->setEnabled(printer_ != nullptr);
    // Stop ends a running sweep; the view computes nothing.
    QAction* stop = AddCommand("btnstop", "Stop", [this] { StopSweep(); });
    stop->setToolTip(QStringLiteral("Stop the sweep"));
    stop->setEnabled(false);
    QAction* smith = AddCommand("btnsmith", "Smith Chart", {});
    smith->setCheckable(true);
    smith->setToolTip(QStringLiteral("The impedance on a Smith chart instead of the R-X plane"));
    smith->setVisible(false);
    connect(smith, &QAction::toggled, this, [this](bool on) { ShowSmith(on); });
    for (QAction* a : {plane, pulses, numbers, print, stop, smith}) bar->addAction(a);
}

QAction* AntennaForm::Command(const QString& name) const {
    const auto it = commands_.find(name);
    return it == commands_.end() ? nullptr : it->second;
}

QString AntennaForm::ReadOut() const { return readOut_->text(); }

void AntennaForm::OpenView() {
    if (sweeping_) {  // the sweep keeps the window until it ended
        raise();
        return;
    }
    mode_ = Mode::View2D;
    ShowModeControls();
    if (!isVisible()) RestorePlacement(*this, ctx_, kPlacementKey, true);
    show();
    raise();
    activateWindow();
    Redraw();
}

void AntennaForm::Redraw() {
    if (mode_ == Mode::Sweep) {
        RedrawPlot();
        return;
    }
    ShowUnitCaption();
    setWindowTitle(FromProgramText(ViewCaption(state_.plane)));
    FitCanvas();
    frame_ = DrawAntennaView(*canvas_, ctx_.project, PulsePoints(ctx_), state_, ctx_.options.Colours);
    picture_->update();
}

void AntennaForm::FitCanvas() {
    const QSize size = picture_->size().expandedTo(QSize(kSmallestPicture, kSmallestPicture));
    if (canvas_->Width() != size.width() || canvas_->Height() != size.height()) {
        canvas_ = std::make_unique<PictureCanvas>(size.width(), size.height());
        picture_->Show(&canvas_->Image());
    }
}

void AntennaForm::ShowModeControls() {
    const bool view = mode_ == Mode::View2D;
    unitButton_->setVisible(view);
    for (const char* name : {"btnxyz", "btnpulses", "btnpulsenumber"}) Command(name)->setVisible(view);
    Command("btnstop")->setEnabled(sweeping_);
    Command("btnsmith")->setVisible(!view && kind_ == SweepPlotKind::Impedance);
    Command("mnuSaveCsv")->setEnabled(!view && !points_.empty());
    readOut_->setToolTip(view ? QStringLiteral("Click on the view to read a point")
                              : QStringLiteral("The last point of the sweep"));
}

SweepPlotKind AntennaForm::ShownKind() const {
    return kind_ == SweepPlotKind::Impedance && smith_ ? SweepPlotKind::Smith : kind_;
}

bool AntennaForm::OpenSweep(SweepPlotKind kind, JobStarter runJob) {
    if (sweeping_) return false;
    mode_ = Mode::Sweep;
    kind_ = kind == SweepPlotKind::Smith ? SweepPlotKind::Impedance : kind;
    if (kind == SweepPlotKind::Smith) smith_ = true;
    {
        const QSignalBlocker quiet(Command("btnsmith"));
        Command("btnsmith")->setChecked(smith_);
    }
    runJob_ = std::move(runJob);
    if (!isVisible()) RestorePlacement(*this, ctx_, kPlacementKey, true);
    show();
    raise();
    activateWindow();
    return StartSweep();
}

bool AntennaForm::StartSweep() {
    ctx_.BatchMode = true;
    readOut_->clear();
    points_.clear();
    RedrawPlot();
    if (!runJob_) return false;
    const SweepPlotSetup setup = PlotSetupOf(ctx_, kind_);
    const int workers = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    QPointer<AntennaForm> self(this);
    auto work = [self, setup, workers](Context& job) {
        Conclude(job, RunSweepPlot(job, setup, workers, [self](const PlotSample& p) {
            // Drawn on the window's thread, in the order the points come.
            QMetaObject::invokeMethod(
                self, [self, p] { if (self) self->AddPoint(p); }, Qt::QueuedConnection);
        }));
    };
    sweeping_ = runJob_(std::move(work), [self] { if (self) self->SweepEnded(); });
    ShowModeControls();
    if (!sweeping_) readOut_->setText(QStringLiteral("Another computation is running"));
    return sweeping_;
}

void AntennaForm::AddPoint(const PlotSample& point) {
    if (mode_ != Mode::Sweep || !plot_) return;
    points_.push_back(point);
    const PlotMark mark = plot_->Add(*canvas_, point);
    readOut_->setText(FromProgramText(mark.readout));
    if (!mark.resonance.empty()) ctx_.host->AppendMainText(mark.resonance);
    Command("mnuSaveCsv")->setEnabled(true);
    picture_->update();
}

void AntennaForm::SweepEnded() {
    sweeping_ = false;
    if (plot_) plot_->Finish(*canvas_);
    ShowModeControls();
    picture_->update();
    if (closePending_) {
        closePending_ = false;
        close();
        return;
    }
    if (limitsPending_) {
        limitsPending_ = false;
        ReopenLimits();
    }
}

void AntennaForm::RedrawPlot() {
    FitCanvas();
    SweepPlotSetup setup = PlotSetupOf(ctx_, ShownKind());
    plot_ = std::make_unique<SweepPlot>(setup);
    setWindowTitle(FromProgramText(PlotCaption(ShownKind())));
    plot_->DrawFrame(*canvas_);
    // The points so far again, without telling their resonances twice.
    for (const PlotSample& p : points_) plot_->Add(*canvas_, p);
    if (!sweeping_ && !points_.empty()) plot_->Finish(*canvas_);
    picture_->update();
}

void AntennaForm::ShowSmith(bool smith) {
    smith_ = smith;
    if (mode_ == Mode::Sweep) RedrawPlot();
}

void AntennaForm::StopSweep() {
    if (!sweeping_) return;
    ctx_.stop.Request();
    ctx_.AbortFlag = true;
}

void AntennaForm::ReopenLimits() {
    if (mode_ != Mode::Sweep) return;
    if (sweeping_) {
        limitsPending_ = true;
        StopSweep();
        return;
    }
    if (!RunPlotLimitsDialog(ctx_, kind_, this)) {
        ctx_.host->SetStatusText(1, "");
        ctx_.host->SetBusy(false);
        return;
    }
    StartSweep();
}

void AntennaForm::ClickAt(const QPoint& pixel) {
    readOut_->setText(FromProgramText(
        PointText(ctx_.project, state_.plane, frame_, canvas_->Width(), canvas_->Height(), pixel.x(), pixel.y())));
}

void AntennaForm::ShowUnitCaption() { unitButton_->setText(FromProgramText(UnitButtonCaption(ShownUnit(ctx_.project)))); }

void AntennaForm::CycleUnit() {
    if (Busy()) return;
    Project& p = ctx_.project;
    const int old = ShownUnit(p);
    const int next = NextDisplayUnit(old, p.Frequency);
    p.Units = next;
    // The Units menu of the main window follows.
    ctx_.host->CheckCommand(UnitCommand(old - 1), false);
    ctx_.host->CheckCommand(UnitCommand(next - 1), true);
    readOut_->clear();
    Redraw();
}

bool AntennaForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == picture_) {
        if (event->type() == QEvent::Resize && isVisible()) {
            Redraw();
        } else if (mode_ == Mode::Sweep) {
            // A click reopens the limits unless it turns out to be the first
            // half of a double click, which stops the sweep.
            const auto* mouse = event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick
                                    ? static_cast<QMouseEvent*>(event)
                                    : nullptr;
            if (mouse && mouse->button() == Qt::LeftButton) {
                if (event->type() == QEvent::MouseButtonDblClick) {
                    clickTimer_->stop();
                    StopSweep();
                } else {
                    clickTimer_->start();
                }
            }
        } else if (event->type() == QEvent::MouseButtonPress) {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() == Qt::LeftButton) {
                // The picture is shown scaled to the box and centred in it.
                const QSize shown = canvas_->Image().size().scaled(picture_->size(), Qt::KeepAspectRatio);
                if (!shown.isEmpty()) {
                    const QPointF at = mouse->position();
                    const double x = (at.x() - (picture_->width() - shown.width()) / 2) * canvas_->Width() / shown.width();
                    const double y =
                        (at.y() - (picture_->height() - shown.height()) / 2) * canvas_->Height() / shown.height();
                    ClickAt(QPoint(static_cast<int>(x), static_cast<int>(y)));
                }
            }
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void AntennaForm::keyPressEvent(QKeyEvent* event) {
    const Qt::KeyboardModifiers mods = event->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier);
    const QString text = event->text();
    if (mode_ == Mode::View2D && mods == Qt::NoModifier && text.size() == 1 && text[0].unicode() < 128) {
        if (Busy()) return;
        if (AdvanceViewColour(static_cast<char>(text[0].unicode()), ctx_.options.Colours, state_)) {
            Redraw();
            return;
        }
    }
    QMainWindow::keyPressEvent(event);
}

void AntennaForm::changeEvent(QEvent* event) {
    // Back in front: the project may have been edited meanwhile.
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && mode_ == Mode::View2D) Redraw();
    QMainWindow::changeEvent(event);
}

void AntennaForm::closeEvent(QCloseEvent* event) {
    clickTimer_->stop();
    if (sweeping_) {
        // The sweep is stopped; the window closes once its work unwound.
        closePending_ = true;
        StopSweep();
        event->ignore();
        return;
    }
    ctx_.BatchMode = false;
    SavePlacement(*this, ctx_, kPlacementKey);
    event->accept();
}

AntennaForm* Open2DView(Context& ctx, QWidget* parent, std::function<bool()> busy) {
    ctx.BatchMode = false;
    ctx.AbortFlag = false;
    CheckProject(ctx);
    if (ctx.AbortFlag) return nullptr;
    if (!ctx.project.GeometryDefined || ctx.project.WireCount == 0) {
        ctx.host->Notify("Define Geometry First");
        return nullptr;
    }
    return Show2DView(ctx, parent, std::move(busy));
}

AntennaForm* Show2DView(Context& ctx, QWidget* parent, std::function<bool()> busy) {
    ctx.BatchMode = false;
    AntennaForm* form = nullptr;
    if (parent)
        for (AntennaForm* f : parent->findChildren<AntennaForm*>(QString(), Qt::FindDirectChildrenOnly))
            if (&f->ViewedContext() == &ctx) form = f;
    if (!form) form = new AntennaForm(ctx, std::move(busy), parent);
    form->OpenView();
    return form;
}

AntennaForm* OpenSweepPlot(Context& ctx, SweepPlotKind kind, QWidget* parent, AntennaForm::JobStarter runJob,
                           std::function<bool()> busy) {
    ctx.AbortFlag = false;
    {
        // The checks' listings are not logged for a sweep.
        const bool batch = ctx.BatchMode;
        ctx.BatchMode = true;
        CheckProject(ctx);
        ctx.BatchMode = batch;
    }
    if (ctx.AbortFlag) return nullptr;
    if (ctx.project.SourceCount == 0) {
        ctx.host->Notify("No Sources defined");
        return nullptr;
    }
    if (kind == SweepPlotKind::Impedance || kind == SweepPlotKind::Smith)
        RunFrequencyRangeDialog(ctx);
    else
        RunPlotLimitsDialog(ctx, kind, parent);
    if (ctx.AbortFlag) return nullptr;
    AntennaForm* form = nullptr;
    if (parent)
        for (AntennaForm* f : parent->findChildren<AntennaForm*>(QString(), Qt::FindDirectChildrenOnly))
            if (&f->ViewedContext() == &ctx) form = f;
    if (form && form->Sweeping()) return form;
    if (!form) form = new AntennaForm(ctx, std::move(busy), parent);
    form->OpenSweep(kind, std::move(runJob));
    return form;
}

}  // namespace qw
