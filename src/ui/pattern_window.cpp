#include "ui/pattern_window.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QFileInfo>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QSaveFile>
#include <QToolBar>
#include <QVBoxLayout>
#include <cmath>
#include <memory>
#include <optional>

#include "commands/log_commands.h"
#include "model/format_mask.h"
#include "model/units.h"
#include "platform/host.h"
#include "plots/pattern_compare.h"
#include "plots/pattern_store.h"
#include "ui/angle_button.h"
#include "ui/number_box.h"
#include "ui/picture_box.h"
#include "ui/picture_canvas.h"
#include "ui/picture_commands.h"
#include "ui/plot_options_dialog.h"
#include "ui/qt_host.h"
#include "ui/svg_replay.h"
#include "ui/window_placement.h"

namespace qw {

namespace {

constexpr const char* kPlacementKey = "PlotScr";
constexpr const char* kTitle = "Far Field Plot";
constexpr const char* kLoadFilter = "Pictures (*.bmp;*.png)|*.bmp;*.png|Bitmap (*.bmp)|*.bmp|PNG Picture (*.png)|*.png";

// The height typed in the box's unit becomes the project's: the pulses are
// built again at the next cut, and the pattern file is started anew for the
// changed project. A negative or unrepresentable height is refused (false)
// and the user told.
bool SetTypedHeight(Context& ctx, int unit, double typed) {
    if (typed < 0) {
        ctx.host->Notify("Negative value not allowed");
        return false;
    }
    Project& p = ctx.project;
    float metres = ToMeters(unit, p.Frequency, static_cast<float>(typed));
    if (!std::isfinite(metres)) {
        ctx.host->Notify("Number out of range", kTitle, MessageIcon::Critical);
        return false;
    }
    if (metres < 0) metres = 0;
    p.Height = metres;
    ctx.Changed(Change::Geometry);
    p.Modified = true;
    return true;
}

}  // namespace

QString HeightUnitCaption(int unit) {
    switch (unit) {
    case kFeet: return QStringLiteral("Height '");
    case kInches: return QStringLiteral("Height \"");
    case kCentimeters: return QStringLiteral("Hght cm");
    case kMillimeters: return QStringLiteral("Hght mm");
    case kWavelengths: return QStringLiteral("Hght wlgth");
    default: return QStringLiteral("Height m.");
    }
}

double WrapCutAngle(double value) {
    if (!std::isfinite(value)) return 0;
    const double whole = std::floor(value);
    if (whole >= 1 && whole <= 360) return value;
    // A whole degree (halves to even, as the integer operations round).
    double wrapped = std::fmod(std::nearbyint(value + 360), 360.0);
    if (wrapped < 0) wrapped += 360;
    return wrapped == 0 ? 0.0 : wrapped;  // no -0
}

PatternWindow::PatternWindow(Context& ctx, QtHost& host, std::function<void(const std::function<void()>&)> run,
                             JobStarter runJob, QWidget* parent)
    : QMainWindow(parent), ctx_(ctx), host_(host), run_(std::move(run)), runJob_(std::move(runJob)) {
    setObjectName(QString::fromLatin1(kPlacementKey));
    setWindowTitle(QString::fromLatin1(kTitle));
    setWindowIcon(QIcon(":/icons/quillwork.svg"));
    if (!QPrinterInfo::availablePrinters().isEmpty()) printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(4, 4, 4, 4);
    controls_ = BuildControls();
    layout->addWidget(controls_);
    picture_ = new PictureBox(central);
    layout->addWidget(picture_, 1);
    setCentralWidget(central);
    BuildMenus();
    BuildToolbar();

    resize(1000, 840);
    canvas_ = std::make_unique<PictureCanvas>(PictureSize().width(), PictureSize().height());
    picture_->Show(&canvas_->Image());
    SetAngle(view_.CutAngle);
    ShowHeight();
    SyncChecks();
    EnableControls(true);
}

PatternWindow::~PatternWindow() = default;

QAction* PatternWindow::AddCommand(const QString& name, const QString& caption, std::function<void()> act) {
    auto* action = new QAction(caption, this);
    action->setObjectName(name);
    connect(action, &QAction::triggered, this, [act = std::move(act)] { act(); });
    commands_[name] = action;
    return action;
}

void PatternWindow::BuildMenus() {
    QMenu* menu = menuBar()->addMenu(QStringLiteral("&Picture"));
    menu->setObjectName(QStringLiteral("mnuPicture"));
    menu->addAction(AddCommand("mnuClear", "&Clear", [this] { ClearPicture(); }));
    menu->addSeparator();
    menu->addAction(AddCommand("mnuLoadPic", "&Load Picture", [this] { LoadPicture(); }));
    menu->addAction(AddCommand("mnuSavePic", "&Save Picture", [this] { SavePicture(); }));
    menu->addAction(AddCommand("mnuSaveSvg", "Save as S&VG", [this] { SaveSvg(); }));
    menu->addAction(AddCommand("mnuExportPdf", "&Export to PDF", [this] { ExportPdf(); }));
    menu->addSeparator();
    QAction* copy = AddCommand("mnuCopy", "&Copy", [this] { CopyPicture(); });
    copy->setShortcut(QKeySequence::Copy);
    copy->setShortcutContext(Qt::WindowShortcut);
    menu->addAction(copy);
}

void PatternWindow::BuildToolbar() {
    QToolBar* bar = addToolBar(QStringLiteral("Toolbar1"));
    bar->setObjectName(QStringLiteral("Toolbar1"));
    bar->setMovable(false);
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    struct Button {
        const char* key;
        const char* tip;
        std::function<void()> act;
    };
    const std::vector<Button> buttons = {
        {"Azim", "Azimuth cut at the elevation in the angle box", [this] { DrawCut(kAzimuthPlane); }},
        {"Zen", "Zenith cut at the azimuth in the angle box", [this] { DrawCut(kZenithPlane); }},
        {"Compare", "Compare with the cut stored in a pattern file", [this] { Compute([this] { Compare(); }); }},
        {"Options", "Plot options", [this] { Options(); }},
        {"Print", "Print the picture", [this] { Print(); }},
        {"Show", "Bring the picture to the front", [this] {
             raise();
             activateWindow();
             picture_->update();
         }},
    };
    for (const Button& b : buttons) {
        QAction* a = AddCommand(b.key, b.key, b.act);
        a->setToolTip(b.tip);
        bar->addAction(a);
    }
}

QWidget* PatternWindow::BuildControls() {
    auto* box = new QWidget(this);
    box->setObjectName(QStringLiteral("Controls"));
    auto* row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 0, 0);

    auto* angles = new QVBoxLayout;
    auto* angleButton = new AngleButton(QStringLiteral("Angle"), box);
    angleButton->setObjectName(QStringLiteral("btnAngle"));
    angleButton->setToolTip(QStringLiteral("Left click : TOA / Right Click = Lobe angle"));
    angleButton_ = angleButton;
    angleBox_ = new NumberBox(QStringLiteral("Ctl_Angle"), box);
    angleBox_->setToolTip(QStringLiteral("Zenith/Azimuth angle"));
    heightButton_ = new QPushButton(HeightUnitCaption(heightUnit_), box);
    heightButton_->setObjectName(QStringLiteral("btnHeight"));
    heightButton_->setToolTip(QStringLiteral("Unit of the antenna height"));
    heightBox_ = new NumberBox(QStringLiteral("Ctl_Height"), box);
    heightBox_->setToolTip(QStringLiteral("Antenna height"));
    for (QLineEdit* e : {static_cast<QLineEdit*>(angleBox_), static_cast<QLineEdit*>(heightBox_)})
        e->setMaximumWidth(90);
    const int buttonWidth = heightButton_->fontMetrics().horizontalAdvance(QStringLiteral("Hght wlgth")) + 24;
    angleButton_->setMinimumWidth(buttonWidth);
    heightButton_->setMinimumWidth(buttonWidth);
    auto* angleRow = new QHBoxLayout;
    angleRow->addWidget(angleButton_);
    angleRow->addWidget(angleBox_);
    auto* heightRow = new QHBoxLayout;
    heightRow->addWidget(heightButton_);
    heightRow->addWidget(heightBox_);
    angles->addLayout(angleRow);
    angles->addLayout(heightRow);
    row->addLayout(angles);

    auto* field = new QGroupBox(QStringLiteral(" Field Displayed "), box);
    field->setObjectName(QStringLiteral("FrameField"));
    auto* fieldLayout = new QVBoxLayout(field);
    fieldLayout->setSpacing(0);
    fieldType_ = new QButtonGroup(this);
    const char* fieldCaptions[] = {"Total", "Horizontal", "Vertical"};
    for (int i = 0; i < 3; ++i) {
        auto* option = new QRadioButton(QString::fromLatin1(fieldCaptions[i]), field);
        option->setObjectName(QString("opFieldType(%1)").arg(i));
        fieldType_->addButton(option, i + 1);
        fieldLayout->addWidget(option);
    }
    fieldType_->button(view_.FieldType)->setChecked(true);
    row->addWidget(field);

    auto* checks = new QVBoxLayout;
    overlay_ = new QCheckBox(QStringLiteral("Overlay Plot"), box);
    overlay_->setObjectName(QStringLiteral("ChkOverlay"));
    marker3dB_ = new QCheckBox(QStringLiteral("-3dB radius"), box);
    marker3dB_->setObjectName(QStringLiteral("Chk3dbRad"));
    checks->addWidget(overlay_);
    checks->addWidget(marker3dB_);
    checks->addStretch(1);
    row->addLayout(checks);
    row->addStretch(1);

    connect(angleButton_, &QPushButton::clicked, this, [this] { SetAngle(view_.cut.takeOffAngle); });
    angleButton->onRightClick = [this] {
        const float lobe = view_.cut.lobeAngle;
        SetAngle(lobe < 0 ? lobe + 360 : lobe);
    };
    connect(angleBox_, &QLineEdit::editingFinished, this, [this] {
        if (angleBox_->isModified()) ApplyAngle();
    });
    connect(heightButton_, &QPushButton::clicked, this, [this] { CycleHeightUnit(); });
    connect(heightBox_, &QLineEdit::editingFinished, this, [this] {
        if (!heightBox_->isModified() || computing_) return;
        Compute([this] { ApplyHeight(); });
        // Not applied while another command runs: the box shows the height in force.
        if (heightBox_->isModified()) ShowHeight();
    });
    connect(fieldType_, &QButtonGroup::idClicked, this, [this](int id) { view_.FieldType = id; });
    connect(overlay_, &QCheckBox::toggled, this, [this](bool on) { view_.Overlay = on; });
    connect(marker3dB_, &QCheckBox::toggled, this, [this](bool on) { ctx_.options.Marker3dB = on; });
    return box;
}

void PatternWindow::Open() {
    view_.PlotPlane = 0;
    ctx_.farField.ResultsInDb = true;
    SyncChecks();
    if (!heightBox_->isModified()) ShowHeight();
    if (!isVisible()) RestorePlacement(*this, ctx_, kPlacementKey, true);
    show();
    raise();
    activateWindow();
}

const QImage& PatternWindow::Picture() const { return canvas_->Image(); }

QAction* PatternWindow::Command(const QString& name) const {
    const auto it = commands_.find(name);
    return it == commands_.end() ? nullptr : it->second;
}

QString PatternWindow::PictureCaptionsText() const {
    QStringList lines;
    for (const std::string& l : captions_) lines << FromProgramText(l);
    return lines.join('\n');
}

bool PatternWindow::Compute(const std::function<void()>& work) {
    if (computing_) return false;
    bool ran = false;
    const auto body = [this, &work, &ran] {
        ran = true;
        computing_ = true;
        EnableControls(false);
        struct Restore {
            PatternWindow* w;
            ~Restore() {
                w->computing_ = false;
                w->EnableControls(true);
            }
        } restore{this};
        work();
    };
    if (run_)
        run_(body);
    else
        body();
    if (closePending_) {
        closePending_ = false;
        close();
    }
    return ran;
}

void PatternWindow::EnableControls(bool enabled) {
    for (auto& [name, action] : commands_) {
        bool on = enabled;
        if (name == "Print") on = on && printer_ != nullptr;
        if (name == "mnuSaveSvg") on = on && canvas_ && canvas_->Replayable();
        action->setEnabled(on);
    }
    controls_->setEnabled(enabled);
}

QSize PatternWindow::PictureSize() const {
    return picture_->size().expandedTo(QSize(kSmallestPicture, kSmallestPicture));
}

void PatternWindow::Adopt(std::unique_ptr<PictureCanvas> canvas) {
    canvas_ = std::move(canvas);
    picture_->Show(&canvas_->Image());
    if (!computing_) EnableControls(true);  // the SVG entry follows the picture
}

void PatternWindow::DrawCut(int plane) {
    if (computing_ || !runJob_) return;
    if (angleBox_->isModified()) ApplyAngle();
    // What the job draws on and with. The GUI thread leaves it alone while
    // the job runs and adopts it when the job has ended.
    struct Cut {
        PatternView view;
        std::unique_ptr<PictureCanvas> canvas;
        std::optional<double> typedHeight;  // a height typed and not yet applied
        int heightUnit = 1;
        std::vector<std::string> captions;
        bool drawn = false;
    };
    auto cut = std::make_shared<Cut>();
    cut->view = view_;
    // A cut without overlay starts a picture of the area's present size; an
    // overlaid cut draws on a copy of the picture shown.
    if (view_.Overlay) {
        cut->canvas = canvas_->Clone();
    } else {
        const QSize size = PictureSize();
        cut->canvas = std::make_unique<PictureCanvas>(size.width(), size.height());
    }
    if (heightBox_->isModified()) cut->typedHeight = heightBox_->Value();
    cut->heightUnit = heightUnit_;

    auto work = [cut, plane](Context& job) {
        if (cut->typedHeight && !SetTypedHeight(job, cut->heightUnit, *cut->typedHeight)) return;
        ReportLines lines(job, [&captions = cut->captions](const std::string& line) { captions.push_back(line); });
        cut->drawn = Conclude(job, plane == kAzimuthPlane ? PlotAzimuthCut(job, cut->view, *cut->canvas, lines)
                                                          : PlotZenithCut(job, cut->view, *cut->canvas, lines));
        if (cut->drawn) PutLogOnDisk(job);
    };
    auto finished = [self = QPointer<PatternWindow>(this), cut] {
        if (!self) return;
        PatternWindow& w = *self;
        w.view_ = cut->view;
        w.computing_ = false;
        if (cut->drawn) {
            w.captions_ = std::move(cut->captions);
            w.Adopt(std::move(cut->canvas));
        }
        w.EnableControls(true);
        w.SyncChecks();
        w.ShowHeight();
        w.picture_->update();
        if (w.closePending_) {
            w.closePending_ = false;
            w.close();
        }
    };
    computing_ = true;
    EnableControls(false);
    if (!runJob_(std::move(work), std::move(finished))) {
        // Another command runs: nothing was applied, the boxes keep what was typed.
        computing_ = false;
        EnableControls(true);
    }
}

void PatternWindow::Compare() {
    std::string folder;
    if (!ctx_.project.FileName.empty())
        folder = QFileInfo(QString::fromStdString(ctx_.project.FileName)).absolutePath().toStdString() + "/";
    const auto chosen = ctx_.host->OpenFileDialog("Compare with Pattern File", "Pattern File (*.PF)|*.PF", folder);
    if (!chosen || chosen->empty()) return;
    const QSize size = PictureSize();
    auto fresh = std::make_unique<PictureCanvas>(size.width(), size.height());
    if (Conclude(ctx_, ComparePatternFile(ctx_, view_, *fresh, *chosen))) {
        Adopt(std::move(fresh));
        picture_->update();
    }
}

void PatternWindow::Options() {
    if (computing_) return;
    PlotOptionsDialog dialog(ctx_, this);
    dialog.exec();
    SyncChecks();
}

void PatternWindow::Print() {
    if (!printer_ || computing_) return;
    PrintPicture(ctx_, *printer_, Picture(), this, kTitle);
}

void PatternWindow::ClearPicture() {
    const QSize size = PictureSize();
    Adopt(std::make_unique<PictureCanvas>(size.width(), size.height()));
    view_.captionEnd = 0;
    captions_.clear();
    picture_->update();
}

void PatternWindow::LoadPicture() {
    const auto path = ctx_.host->OpenFileDialog("Load Picture", kLoadFilter, "");
    if (!path || path->empty()) return;
    const QImage image(QString::fromStdString(*path));
    if (image.isNull()) {
        ctx_.host->Notify("The picture could not be read:\r\n" + *path, "Load Picture", MessageIcon::Critical);
        return;
    }
    auto loaded = std::make_unique<PictureCanvas>(image.width(), image.height());
    loaded->PastePicture(image);
    view_.captionEnd = 0;
    captions_.clear();
    Adopt(std::move(loaded));
    picture_->update();
}

void PatternWindow::SavePicture() { SavePictureAs(ctx_, Picture()); }

void PatternWindow::SaveSvg() { SavePictureSvg(ctx_, *canvas_); }

void PatternWindow::ExportPdf() { ExportPicturePdf(ctx_, Picture()); }

void PatternWindow::CopyPicture() { qw::CopyPicture(Picture()); }

bool PatternWindow::ApplyHeight() {
    heightBox_->setModified(false);
    const bool applied = SetTypedHeight(ctx_, heightUnit_, heightBox_->Value());
    ShowHeight();
    return applied;
}

void PatternWindow::ApplyAngle() {
    angleBox_->setModified(false);
    SetAngle(static_cast<float>(angleBox_->Value()));
}

void PatternWindow::SetAngle(float angle) {
    const double wrapped = WrapCutAngle(angle);
    view_.CutAngle = static_cast<float>(wrapped);
    angleBox_->setText(BoxText(view_.CutAngle));
    angleBox_->setModified(false);
}

void PatternWindow::ShowHeight() {
    const Project& p = ctx_.project;
    heightBox_->setText(FromProgramText(Format(FromMeters(heightUnit_, p.Frequency, p.Height), "Fixed")));
    heightBox_->setModified(false);
}

void PatternWindow::CycleHeightUnit() {
    // A height being typed counts in the unit it was typed in.
    if (heightBox_->isModified() && !Compute([this] { ApplyHeight(); })) ShowHeight();
    heightUnit_ = heightUnit_ % 6 + 1;
    heightButton_->setText(HeightUnitCaption(heightUnit_));
    ShowHeight();
}

void PatternWindow::SyncChecks() {
    const QSignalBlocker a(overlay_), b(marker3dB_);
    overlay_->setChecked(view_.Overlay);
    marker3dB_->setChecked(ctx_.options.Marker3dB);
    if (QAbstractButton* option = fieldType_->button(view_.FieldType)) option->setChecked(true);
}

void PatternWindow::closeEvent(QCloseEvent* event) {
    if (computing_) {
        // Closing acts as Stop; the window goes once the computation has
        // unwound.
        closePending_ = true;
        host_.RequestStop();
        ctx_.stop.Request();  // the token the window's jobs share
        event->ignore();
        return;
    }
    SavePlacement(*this, ctx_, kPlacementKey);
    event->accept();
}

}  // namespace qw
