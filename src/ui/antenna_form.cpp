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
#include <QPrinterInfo>
#include <QPushButton>
#include <QToolBar>
#include <QVBoxLayout>

#include "commands/checks.h"
#include "commands/main_commands.h"
#include "platform/host.h"
#include "solver/pulse_points.h"
#include "ui/picture_box.h"
#include "ui/picture_canvas.h"
#include "ui/picture_commands.h"
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
        if (printer_) PrintPicture(ctx_, *printer_, canvas_->Image(), this, "Antenna View");
    });
    print->setToolTip(QStringLiteral("Print the picture"));
    print->setEnabled(printer_ != nullptr);
    // Stop ends a running sweep; the view computes nothing.
    QAction* stop = AddCommand("btnstop", "Stop", {});
    stop->setToolTip(QStringLiteral("Stop"));
    stop->setEnabled(mode_ != Mode::View2D);
    for (QAction* a : {plane, pulses, numbers, print, stop}) bar->addAction(a);
}

QAction* AntennaForm::Command(const QString& name) const {
    const auto it = commands_.find(name);
    return it == commands_.end() ? nullptr : it->second;
}

QString AntennaForm::ReadOut() const { return readOut_->text(); }

void AntennaForm::OpenView() {
    mode_ = Mode::View2D;
    if (!isVisible()) RestorePlacement(*this, ctx_, kPlacementKey, true);
    show();
    raise();
    activateWindow();
    Redraw();
}

void AntennaForm::Redraw() {
    ShowUnitCaption();
    setWindowTitle(FromProgramText(ViewCaption(state_.plane)));
    const QSize size = picture_->size().expandedTo(QSize(kSmallestPicture, kSmallestPicture));
    if (canvas_->Width() != size.width() || canvas_->Height() != size.height()) {
        canvas_ = std::make_unique<PictureCanvas>(size.width(), size.height());
        picture_->Show(&canvas_->Image());
    }
    frame_ = DrawAntennaView(*canvas_, ctx_.project, PulsePoints(ctx_), state_, ctx_.options.Colours);
    picture_->update();
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
    if (mods == Qt::NoModifier && text.size() == 1 && text[0].unicode() < 128) {
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
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) Redraw();
    QMainWindow::changeEvent(event);
}

void AntennaForm::closeEvent(QCloseEvent* event) {
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

}  // namespace qw
