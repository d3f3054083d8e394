#include "ui/view3d_window.h"

#include <QAction>
#include <QClipboard>
#include <QCloseEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProgressBar>
#include <QStatusBar>
#include <QToolBar>
#include <QVBoxLayout>
#include <QWheelEvent>

#include "model/log_output.h"
#include "model/file_locations.h"
#include "plots/view3d_plot.h"
#include "solver/solver.h"
#include "ui/number_box.h"
#include "ui/painter_canvas.h"
#include "ui/picture_canvas.h"
#include "ui/picture_commands.h"
#include "ui/plot_options_dialog.h"
#include "ui/qt_host.h"
#include "ui/window_placement.h"

namespace qw {

namespace {

constexpr const char* kPlacementKey = "Ant3D";
constexpr const char* kCaption = "3D View & Currents - ";

}  // namespace

// The picture: paints the view and hands keys and the mouse to the window.
class View3DPicture : public QWidget {
public:
    explicit View3DPicture(View3DWindow* window) : QWidget(window), window_(window) {
        setObjectName(QStringLiteral("Picture1"));
        setFocusPolicy(Qt::StrongFocus);
        setMinimumSize(200, 200);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        window_->Paint(painter, width(), height());
    }
    void keyPressEvent(QKeyEvent* e) override { window_->KeyPressed(e); }
    void mousePressEvent(QMouseEvent* e) override {
        setFocus();
        window_->MousePressed(e->position().toPoint());
    }
    void mouseMoveEvent(QMouseEvent* e) override {
        if (e->buttons() & (Qt::LeftButton | Qt::RightButton))
            window_->MouseDragged(e->position().toPoint(), (e->buttons() & Qt::RightButton) != 0);
    }
    void mouseReleaseEvent(QMouseEvent* e) override { window_->MousePressed(e->position().toPoint()); }
    void wheelEvent(QWheelEvent* e) override {
        const int steps = e->angleDelta().y() / 120;
        if (steps != 0) window_->WheelTurned(steps);
        e->accept();
    }

private:
    View3DWindow* window_;
};

// The progress bar of the pattern: a click stops the computation.
class StopBar : public QProgressBar {
public:
    std::function<void()> onClick;
    using QProgressBar::QProgressBar;

protected:
    void mousePressEvent(QMouseEvent* e) override {
        if (onClick) onClick();
        e->accept();
    }
};

View3DWindow::View3DWindow(Context& ctx, QtHost& host, JobStarter runJob, std::function<int()> fieldType,
                           QWidget* parent)
    : QMainWindow(parent), ctx_(ctx), host_(host), runJob_(std::move(runJob)), fieldType_(std::move(fieldType)) {
    setObjectName(QString::fromLatin1(kPlacementKey));
    setWindowIcon(QIcon(":/icons/quillwork.svg"));
    if (!QPrinterInfo::availablePrinters().isEmpty()) printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    picture_ = new View3DPicture(this);
    setCentralWidget(picture_);
    auto* bar = new StopBar(this);
    bar->setObjectName(QStringLiteral("PrBar1"));
    bar->setRange(0, 100);
    bar->setToolTip(QStringLiteral("Click to stop"));
    bar->onClick = [this] { StopJob(); };
    bar->setVisible(false);
    progress_ = bar;
    statusBar()->addPermanentWidget(progress_, 1);
    BuildToolbar();
    resize(800, 640);
}

View3DWindow::~View3DWindow() = default;

QAction* View3DWindow::AddCommand(const QString& key, const QString& caption, const QString& tip,
                                  std::function<void()> act, bool checkable) {
    auto* action = new QAction(caption, this);
    action->setObjectName(key);
    action->setToolTip(tip);
    action->setCheckable(checkable);
    connect(action, &QAction::triggered, this, [this, act = std::move(act)] {
        act();
        // After every toolbar action the picture has the focus and is drawn anew.
        picture_->setFocus();
        Redraw();
    });
    commands_[key] = action;
    return action;
}

void View3DWindow::BuildToolbar() {
    QToolBar* bar = addToolBar(QStringLiteral("Toolbar1"));
    bar->setObjectName(QStringLiteral("Toolbar1"));
    bar->setMovable(false);
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    auto add = [&](const char* key, const char* caption, const char* tip, std::function<void()> act,
                   bool checkable = false) { bar->addAction(AddCommand(key, caption, tip, std::move(act), checkable)); };
    add("bnCurrent", "Currents", "Show the current along the wires", [this] { SetCurrents(!view_.ShowCurrents); }, true);
    add("bnCurrentColour", "I colours", "Colour the wires by current magnitude instead of the current curve", [this] {
        view_.CurrentColours = !view_.CurrentColours;
        if (view_.CurrentColours && !view_.ShowCurrents) SetCurrents(true);
    }, true);
    add("bnPulses", "Pulses", "Mark the pulses", [this] { view_.ShowPulses = !view_.ShowPulses; }, true);
    add("bnPulseNumber", "Numbers", "Number the pulses", [this] { view_.ShowPulseNumbers = !view_.ShowPulseNumbers; }, true);
    add("bnWireInfo", "Wire info", "Show the data of one wire (Space: next wire)", [this] { view_.ShowWireInfo = !view_.ShowWireInfo; }, true);
    add("bn3DPattern", "3D pattern", "Compute and show the 3D pattern", [this] { SetPattern(!view_.ShowPattern); }, true);
    add("bnOptions", "Options", "Plot options", [this] { Options(); });
    add("bnPrint", "Print", "Print the picture", [this] { Print(); });
    // The picture as a file: a bitmap, the drawing's own lines as SVG, a
    // PDF page.
    QMenu* menu = menuBar()->addMenu(QStringLiteral("&Picture"));
    menu->setObjectName(QStringLiteral("mnuPicture"));
    menu->addAction(AddCommand("mnuSavePic", "&Save Picture", "Save the picture as PNG or BMP",
                               [this] { SavePictureAs(ctx_, Picture()); }));
    menu->addAction(AddCommand("mnuSaveSvg", "Save as S&VG", "Save the drawing as SVG", [this] {
        const QSize size = picture_->size().expandedTo(QSize(200, 200));
        PictureCanvas canvas(size.width(), size.height());
        Draw(canvas);
        SavePictureSvg(ctx_, canvas);
    }));
    menu->addAction(AddCommand("mnuExportPdf", "&Export to PDF", "Export the picture to a PDF page",
                               [this] { ExportPicturePdf(ctx_, Picture()); }));
    // The turning and zooming keys on a row of their own.
    addToolBarBreak();
    bar = addToolBar(QStringLiteral("Toolbar2"));
    bar->setObjectName(QStringLiteral("Toolbar2"));
    bar->setMovable(false);
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    add("bnLeft", "Left", "Turn left by 50 degrees", [this] { ApplyViewKey(view_, ViewKey::Left, true, false); });
    add("bnRight", "Right", "Turn right by 50 degrees", [this] { ApplyViewKey(view_, ViewKey::Right, true, false); });
    add("bnUp", "Up", "Tilt up by 50 degrees", [this] { ApplyViewKey(view_, ViewKey::Up, true, false); });
    add("bnDown", "Down", "Tilt down by 50 degrees", [this] { ApplyViewKey(view_, ViewKey::Down, true, false); });
    bar->addSeparator();
    auto fitted = [this] { return FittedCurrentScale(scene_.extent, currents_); };
    add("bnZoomIn", "Zoom +", "Zoom in (the geometry, the currents or the pattern)", [this, fitted] { ZoomView(view_, true, fitted()); });
    add("bnZoomOut", "Zoom -", "Zoom out (the geometry, the currents or the pattern)", [this, fitted] { ZoomView(view_, false, fitted()); });
    add("bnZoomCurrent", "I zoom", "While down, the zoom buttons scale the currents", [this] {
        view_.ZoomCurrents = !view_.ZoomCurrents;
        if (view_.ZoomCurrents) view_.ZoomPattern = false;
    }, true);
    add("bn3dupdown", "Pattern zoom", "While down, the zoom buttons scale the 3D pattern", [this] {
        view_.ZoomPattern = !view_.ZoomPattern;
        if (view_.ZoomPattern) view_.ZoomCurrents = false;
    }, true);
    Command("bnPrint")->setEnabled(printer_ != nullptr);
}

QAction* View3DWindow::Command(const QString& key) const {
    const auto it = commands_.find(key);
    return it == commands_.end() ? nullptr : it->second;
}

void View3DWindow::Open() {
    scene_ = SceneOf(ctx_);
    view_.Zoom = DefaultZoom(scene_.extent.size);
    if (view_.InfoWire > static_cast<int>(scene_.wires.size())) view_.InfoWire = 1;
    const QString name = QFileInfo(QString::fromStdString(ctx_.project.FileName)).fileName();
    setWindowTitle(QString::fromLatin1(kCaption) + name);
    if (!isVisible()) RestorePlacement(*this, ctx_, kPlacementKey, true);
    show();
    raise();
    activateWindow();
    picture_->setFocus();
    Redraw();
}

void View3DWindow::SyncChecks() {
    auto check = [this](const char* key, bool on) {
        if (QAction* a = Command(key)) a->setChecked(on);
    };
    check("bnCurrent", view_.ShowCurrents);
    check("bnCurrentColour", view_.CurrentColours);
    check("bnPulses", view_.ShowPulses);
    check("bnPulseNumber", view_.ShowPulseNumbers);
    check("bnWireInfo", view_.ShowWireInfo);
    check("bnZoomCurrent", view_.ZoomCurrents);
    check("bn3dupdown", view_.ZoomPattern);
    check("bn3DPattern", view_.ShowPattern);
}

void View3DWindow::Redraw() {
    SyncChecks();
    picture_->update();
}

void View3DWindow::Paint(QPainter& painter, int width, int height) {
    // The currents follow the solution: an edit or a new frequency since
    // they were computed computes them again.
    if (view_.ShowCurrents && !computing_ && (!hasCurrents_ || !SolutionCurrent(ctx_)))
        QMetaObject::invokeMethod(this, [this] { if (view_.ShowCurrents && !computing_) ComputeCurrents(); }, Qt::QueuedConnection);
    if (!computing_) scene_ = SceneOf(ctx_);
    PainterCanvas canvas(painter, width, height);
    Draw(canvas);
}

void View3DWindow::Draw(Canvas& canvas) {
    View3DInput input;
    input.scene = &scene_;
    input.currents = hasCurrents_ ? &currents_ : nullptr;
    input.pattern = hasPattern_ ? &pattern_ : nullptr;
    input.colours = ctx_.options.Colours;
    input.plotScale = ctx_.options.PlotScale;
    input.minDb = ctx_.options.MinDb;
    if (view_.ShowWireInfo) input.wireInfo = WireInfoLines(ctx_.project, view_.InfoWire);
    DrawView3D(canvas, view_, input);
}

QImage View3DWindow::Picture() const {
    QImage image(picture_->size().expandedTo(QSize(200, 200)), QImage::Format_RGB32);
    QPainter painter(&image);
    const_cast<View3DWindow*>(this)->Paint(painter, image.width(), image.height());
    return image;
}

void View3DWindow::SetCurrents(bool on) {
    view_.ShowCurrents = on;
    if (on && (!hasCurrents_ || !SolutionCurrent(ctx_))) ComputeCurrents();
}

void View3DWindow::ComputeCurrents() {
    if (computing_ || !runJob_) return;
    auto rows = std::make_shared<WireCurrentRows>();
    auto done = std::make_shared<bool>(false);
    const std::string dataFile = PathInFolder(LogFolder(ctx_), kCurrentsDataFileName);
    auto work = [rows, done, dataFile](Context& job) { *done = Conclude(job, GatherCurrentRows(job, dataFile, *rows)); };
    auto finished = [self = QPointer<View3DWindow>(this), rows, done] {
        if (!self) return;
        View3DWindow& w = *self;
        w.computing_ = false;
        if (*done) {
            w.currents_ = std::move(*rows);
            w.hasCurrents_ = true;
        } else {
            w.view_.ShowCurrents = false;  // stopped or failed: the display goes off
        }
        w.Redraw();
        if (w.closePending_) w.close();
    };
    computing_ = true;
    if (!runJob_(std::move(work), std::move(finished))) {
        computing_ = false;
        view_.ShowCurrents = false;
    }
}

void View3DWindow::SetPattern(bool on) {
    view_.ShowPattern = on;
    if (on) ComputePattern();
}

void View3DWindow::ComputePattern() {
    if (computing_ || !runJob_) {
        view_.ShowPattern = hasPattern_ && view_.ShowPattern;
        return;
    }
    const int field = fieldType_ ? fieldType_() : kTotalField;
    auto grid = std::make_shared<Pattern3DGrid>();
    auto done = std::make_shared<bool>(false);
    QPointer<QProgressBar> bar = progress_;
    auto progress = [bar](double fraction) {
        QMetaObject::invokeMethod(qApp, [bar, fraction] {
            if (bar) bar->setValue(static_cast<int>(100 * fraction));
        }, Qt::QueuedConnection);
    };
    auto work = [grid, done, field, progress](Context& job) {
        *done = Conclude(job, ComputePattern3D(job, field, *grid, progress));
    };
    auto finished = [self = QPointer<View3DWindow>(this), grid, done] {
        if (!self) return;
        View3DWindow& w = *self;
        w.computing_ = false;
        w.progress_->setVisible(false);
        if (*done) {
            w.pattern_ = *grid;
            w.hasPattern_ = true;
        } else {
            w.view_.ShowPattern = false;
        }
        w.Redraw();
        if (w.closePending_) w.close();
    };
    computing_ = true;
    progress_->setValue(0);
    progress_->setVisible(true);
    if (!runJob_(std::move(work), std::move(finished))) {
        computing_ = false;
        progress_->setVisible(false);
        view_.ShowPattern = false;
    }
}

void View3DWindow::StopJob() {
    if (!computing_) return;
    host_.RequestStop();
    ctx_.stop.Request();
}

void View3DWindow::Options() {
    PlotOptionsDialog dialog(ctx_, this);
    // The ring step belongs to the polar grid only.
    if (auto* every = dialog.findChild<NumberBox*>(QStringLiteral("CtlGridDbStep"))) every->setEnabled(false);
    dialog.exec();
}

void View3DWindow::Print() {
    if (!printer_) return;
    QPrintDialog dialog(printer_.get(), this);
    dialog.setWindowTitle(QStringLiteral("Print"));
    if (dialog.exec() != QDialog::Accepted) return;
    QPainter painter;
    if (!painter.begin(printer_.get())) {
        ctx_.host->Notify("The picture could not be printed.", "Plot3D", MessageIcon::Critical);
        return;
    }
    const QRect page = painter.viewport();
    const QSize size = picture_->size();
    const double scale = std::min(page.width() / double(size.width()), page.height() / double(size.height()));
    painter.scale(scale, scale);
    Paint(painter, size.width(), size.height());
    painter.end();
}

void View3DWindow::Copy() {
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->setImage(Picture());
}

void View3DWindow::NextColour(int ProgramOptions::ViewColours::*member) {
    int& c = ctx_.options.Colours.*member;
    c = ((c + 1) % 16 + 16) % 16;
}

void View3DWindow::KeyPressed(QKeyEvent* e) {
    const Qt::KeyboardModifiers m = e->modifiers();
    const bool alt = m & Qt::AltModifier, shift = m & Qt::ShiftModifier, ctrl = m & Qt::ControlModifier;
    using C = ProgramOptions::ViewColours;
    bool changed = true;
    switch (e->key()) {
    case Qt::Key_Up: ApplyViewKey(view_, ViewKey::Up, alt, shift); break;
    case Qt::Key_Down: ApplyViewKey(view_, ViewKey::Down, alt, shift); break;
    case Qt::Key_Left: ApplyViewKey(view_, ViewKey::Left, alt, shift); break;
    case Qt::Key_Right: ApplyViewKey(view_, ViewKey::Right, alt, shift); break;
    case Qt::Key_PageUp: ApplyViewKey(view_, ViewKey::PageUp, alt, shift); break;
    case Qt::Key_End: ApplyViewKey(view_, ViewKey::End, alt, shift); break;
    case Qt::Key_Plus: changed = ApplyViewKey(view_, ViewKey::Plus, alt, false); break;
    case Qt::Key_Minus: changed = ApplyViewKey(view_, ViewKey::Minus, alt, false); break;
    case Qt::Key_B: NextColour(&C::Back); break;
    case Qt::Key_F: NextColour(&C::Fore); break;
    case Qt::Key_W: NextColour(&C::Wire); break;
    case Qt::Key_P: NextColour(&C::Pulse); break;
    case Qt::Key_S: NextColour(&C::Source); break;
    case Qt::Key_L: NextColour(&C::Load); break;
    case Qt::Key_E: NextColour(&C::Field); break;
    case Qt::Key_C:
        if (ctrl) {
            Copy();
            changed = false;
        } else {
            NextColour(&C::PosCurrent);
        }
        break;
    case Qt::Key_N: NextColour(&C::NegCurrent); break;
    case Qt::Key_M: view_.Marker = !view_.Marker; break;
    case Qt::Key_Space: {
        const int wires = std::max(1, static_cast<int>(scene_.wires.size()));
        view_.InfoWire = shift ? (view_.InfoWire <= 1 ? wires : view_.InfoWire - 1)
                               : (view_.InfoWire >= wires ? 1 : view_.InfoWire + 1);
        break;
    }
    default:
        changed = false;
        e->ignore();
        return;
    }
    e->accept();
    if (changed) Redraw();
}

void View3DWindow::MousePressed(QPoint at) { lastMouse_ = at; }

void View3DWindow::MouseDragged(QPoint to, bool pan) {
    const QPoint d = to - lastMouse_;
    lastMouse_ = to;
    view_.Step = QGuiApplication::keyboardModifiers() & Qt::AltModifier ? 10.0f : 1.0f;
    if (DragView(view_, d.x(), d.y(), pan)) Redraw();
}

void View3DWindow::WheelTurned(int steps) {
    const float fitted = FittedCurrentScale(scene_.extent, currents_);
    for (int k = 0; k < std::abs(steps); ++k) ZoomView(view_, steps > 0, fitted);
    Redraw();
}

void View3DWindow::closeEvent(QCloseEvent* event) {
    if (computing_) {
        // Closing acts as Stop; the window goes once the job has unwound.
        closePending_ = true;
        StopJob();
        event->ignore();
        return;
    }
    closePending_ = false;
    SavePlacement(*this, ctx_, kPlacementKey);
    event->accept();
}

}  // namespace qw
