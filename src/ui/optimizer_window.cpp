#include "ui/optimizer_window.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMetaObject>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <cmath>

#include "commands/optimize_command.h"
#include "model/file_locations.h"
#include "model/format_mask.h"
#include "model/number_value.h"
#include "ui/geometry_window.h"
#include "ui/qt_canvas.h"
#include "ui/window_placement.h"

namespace qw {

namespace {
constexpr const char* kPlacementKey = "Opti";

QString Shown(float v) { return QString::fromStdString(Format(v, "General Number")); }
}  // namespace

StepLabel::StepLabel(const QString& text, QLineEdit* box, QWidget* parent) : QLabel(text, parent), box_(box) {
    setToolTip("Click to add 1 to the value, right-click to subtract 1");
    setCursor(Qt::PointingHandCursor);
}

void StepLabel::mousePressEvent(QMouseEvent* event) {
    const double value = Val(box_->text().toStdString());
    box_->setText(Shown(static_cast<float>(value + (event->button() == Qt::LeftButton ? 1 : -1))));
    event->accept();
}

OptimizerWindow::OptimizerWindow(Context& ctx, JobStarter runJob, std::string documents, QWidget* parent)
    : QWidget(parent, Qt::Window), ctx_(ctx), runJob_(std::move(runJob)), documents_(std::move(documents)) {
    setObjectName("Optifrm");
    setWindowTitle("Optimizer");

    auto* targets = new QGroupBox("Target", this);
    auto* targetLayout = new QHBoxLayout(targets);
    auto* group = new QButtonGroup(this);
    const char* captions[] = {"Resonate", "SWR", "Gain", "F/B"};
    for (int i = 0; i < 4; ++i) {
        target_[i] = new QRadioButton(captions[i], targets);
        target_[i]->setObjectName(QString("OpT(%1)").arg(i));
        group->addButton(target_[i], i);
        targetLayout->addWidget(target_[i]);
    }
    connect(group, &QButtonGroup::idClicked, this, [this](int id) { SelectTarget(id); });

    auto* limits = new QGroupBox("Limits", this);
    auto* limitLayout = new QGridLayout(limits);
    for (int i = 0; i < 4; ++i) {
        box_[i] = new QLineEdit(limits);
        box_[i]->setObjectName(QString("CtV(%1)").arg(i));
        box_[i]->setMaximumWidth(90);
    }
    for (int i = 0; i < 2; ++i) {
        limitLabel_[i] = new StepLabel("", box_[i], limits);
        limitLabel_[i]->setObjectName(QString("L1(%1)").arg(i));
    }
    limitLayout->addWidget(limitLabel_[0], 0, 0);
    limitLayout->addWidget(box_[0], 0, 1);
    limitLayout->addWidget(limitLabel_[1], 1, 0);
    limitLayout->addWidget(box_[1], 1, 1);
    limitLayout->addWidget(new StepLabel("Zen. Angle", box_[2], limits), 0, 2);
    limitLayout->addWidget(box_[2], 0, 3);
    limitLayout->addWidget(new StepLabel("Az. Angle", box_[3], limits), 1, 2);
    limitLayout->addWidget(box_[3], 1, 3);

    auto checks = [this](const QString& title, const std::vector<const char*>& names, const QString& prefix,
                         QCheckBox** boxes) {
        auto* g = new QGroupBox(title, this);
        auto* l = new QVBoxLayout(g);
        for (std::size_t i = 0; i < names.size(); ++i) {
            boxes[i] = new QCheckBox(names[i], g);
            boxes[i]->setObjectName(QString("%1(%2)").arg(prefix).arg(i));
            l->addWidget(boxes[i]);
        }
        l->addStretch(1);
        return g;
    };
    auto* dims = checks("Dimensions", {"X (spacing)", "Y (width)", "Z (height)"}, "swDim", dim_);
    auto* loads = checks("Loads", {"R", "L", "C"}, "swLoad", load_);
    auto* sources = checks("Sources", {"Magnitude", "Phase"}, "swSrc", src_);

    deltaButton_[0] = new QPushButton("Delta x 2", this);
    deltaButton_[0]->setObjectName("btn_deltaopt(0)");
    deltaButton_[0]->setToolTip("Double Delta (key +)");
    deltaButton_[1] = new QPushButton("Delta / 2", this);
    deltaButton_[1]->setObjectName("btn_deltaopt(1)");
    deltaButton_[1]->setToolTip("Halve Delta (key -)");
    connect(deltaButton_[0], &QPushButton::clicked, this, [this] { ScaleDelta(1); });
    connect(deltaButton_[1], &QPushButton::clicked, this, [this] { ScaleDelta(-1); });

    go_ = new QPushButton("&Go", this);
    go_->setObjectName("CtGo");
    stop_ = new QPushButton("&Stop", this);
    stop_->setObjectName("CtStop");
    ok_ = new QPushButton("&OK", this);
    ok_->setObjectName("CtOK");
    revert_ = new QPushButton("&Revert", this);
    revert_->setObjectName("btnRevert");
    revert_->setToolTip("Put back the project as it was before the first run of this window");
    locks_ = new QPushButton("Lock variables", this);
    locks_->setObjectName("btnLocks");
    connect(go_, &QPushButton::clicked, this, [this] { Go(); });
    connect(stop_, &QPushButton::clicked, this, [this] { StopRun(); });
    connect(ok_, &QPushButton::clicked, this, [this] { close(); });
    connect(revert_, &QPushButton::clicked, this, [this] { Revert(); });
    connect(locks_, &QPushButton::clicked, this, [this] {
        ctx_.locks.FitTo(ctx_.project);
        LockListDialog dialog(ctx_, this);
        dialog.exec();
    });

    dwin_ = new QPlainTextEdit(this);
    dwin_->setObjectName("Dwin");
    dwin_->setReadOnly(true);
    dwin_->setMinimumHeight(90);
    chart_ = new QLabel(this);
    chart_->setObjectName("OptChart");
    chart_->setMinimumSize(240, 150);
    chart_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);

    auto* variables = new QHBoxLayout;
    variables->addWidget(dims);
    variables->addWidget(loads);
    variables->addWidget(sources);
    auto* deltas = new QVBoxLayout;
    deltas->addWidget(deltaButton_[0]);
    deltas->addWidget(deltaButton_[1]);
    deltas->addWidget(locks_);
    deltas->addStretch(1);
    variables->addLayout(deltas);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(go_);
    buttons->addWidget(stop_);
    buttons->addWidget(revert_);
    buttons->addStretch(1);
    buttons->addWidget(ok_);
    auto* status = new QHBoxLayout;
    status->addWidget(dwin_, 1);
    status->addWidget(chart_, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(targets);
    layout->addWidget(limits);
    layout->addLayout(variables);
    layout->addLayout(buttons);
    layout->addLayout(status, 1);
    resize(620, 520);
    UpdateButtons();
}

OptimizerWindow::~OptimizerWindow() { log_.Close(); }

void OptimizerWindow::Open() {
    if (isVisible()) {
        raise();
        activateWindow();
        return;
    }
    for (auto* b : dim_) b->setChecked(false);
    for (auto* b : load_) b->setChecked(false);
    for (auto* b : src_) b->setChecked(false);
    optimizer_.ResetFactor();
    delta_ = kStartDelta;
    steps_ = 0;
    points_.clear();
    beforeFirstRun_.reset();
    const bool phased = ctx_.project.SourceCount > 1;
    target_[0]->setEnabled(!phased);
    target_[1]->setEnabled(!phased);
    SelectTarget(FirstAllowedTarget(ctx_.project));
    const float elevation = ctx_.patternDirection.Elevation;
    box_[2]->setText(elevation == 0 ? "30" : Shown(elevation));
    box_[3]->setText(Shown(ctx_.patternDirection.Azimuth));
    ctx_.locks.FitTo(ctx_.project);
    // The log starts anew beside the project.
    log_.Close();
    logPath_ = PathInFolder(OptimizerFolder(ctx_.project, documents_), kOptimizerLogName);
    log_.Open(logPath_);
    dwin_->clear();
    DrawChart();
    RestorePlacement(*this, ctx_, kPlacementKey, true);
    UpdateButtons();
    show();
    raise();
}

void OptimizerWindow::SelectTarget(int target) {
    target_[target]->setChecked(true);
    limitLabel_[0]->setText(LimitCaption(target));
    box_[0]->setText(Shown(DefaultLimit(target)));
    const bool second = target >= kTargetGain;
    limitLabel_[1]->setVisible(second);
    limitLabel_[1]->setText(SecondaryCaption(target));
    box_[1]->setVisible(second);
    box_[1]->setText(Shown(DefaultSecondary(target)));
}

OptimizerRequest OptimizerWindow::Request() const {
    OptimizerRequest r;
    for (int i = 0; i < 4; ++i)
        if (target_[i]->isChecked()) r.target = i;
    for (int i = 0; i < 3; ++i) {
        if (dim_[i]->isChecked()) r.dimensions |= 1u << i;
        if (load_[i]->isChecked()) r.loads |= 1u << i;
    }
    for (int i = 0; i < 2; ++i)
        if (src_[i]->isChecked()) r.sources |= 1u << i;
    auto value = [this](int i) { return static_cast<float>(Val(box_[i]->text().toStdString())); };
    r.limit = value(0);
    r.secondary = value(1);
    r.elevation = value(2);
    r.azimuth = value(3);
    r.startDelta = delta_;
    return r;
}

void OptimizerWindow::Status(const QString& text, bool clear) {
    if (clear) dwin_->clear();
    if (!clear || !text.isEmpty()) dwin_->appendPlainText(text);
}

QString OptimizerWindow::StatusText() const { return dwin_->toPlainText(); }

void OptimizerWindow::Go() {
    if (running_) return;
    const OptimizerRequest request = Request();
    if (!beforeFirstRun_) beforeFirstRun_ = ctx_.document();
    const std::string folder = OptimizerFolder(ctx_.project, documents_);
    points_.clear();
    DrawChart();
    outcome_ = {};
    QPointer<OptimizerWindow> self(this);
    // Everything the run reports is queued to this thread in order.
    auto post = [self](std::function<void()> f) {
        QMetaObject::invokeMethod(self.data(), std::move(f), Qt::QueuedConnection);
    };
    auto work = [this, request, folder, post](Context& job) {
        OptimizerSink sink;
        sink.status = [this, post](const std::string& text, bool clear) {
            post([this, text, clear] { Status(FromProgramText(text), clear); });
        };
        sink.log = [this, post](const std::string& line) { post([this, line] { log_.Write(line); }); };
        sink.point = [this, post](int step, float objective, float secondary) {
            post([this, step, objective, secondary] {
                steps_ = step;
                points_.push_back({step, objective, secondary});
                DrawChart();
            });
        };
        Conclude(job, RunOptimizer(job, optimizer_, request, folder, sink, &outcome_));
    };
    running_ = true;
    UpdateButtons();
    if (!runJob_(work, [self] {
            if (self) self->RunEnded();
        })) {
        running_ = false;
        UpdateButtons();
    }
}

void OptimizerWindow::RunEnded() {
    running_ = false;
    if (outcome_.clearSourceBoxes)
        for (auto* b : src_) b->setChecked(false);
    // A gain run moves the secondary limit down with the secondary value.
    const float second = optimizer_.secondary.load();
    if (box_[1]->isVisible() && Val(box_[1]->text().toStdString()) != second) box_[1]->setText(Shown(second));
    UpdateButtons();
}

void OptimizerWindow::StopRun() {
    if (running_) ctx_.stop.Request();
}

void OptimizerWindow::Revert() {
    if (running_ || !beforeFirstRun_) return;
    const Revisions now = ctx_.revisions;
    ctx_.document() = *beforeFirstRun_;
    // Newer than anything the solver has seen: everything is built again.
    ctx_.revisions = now;
    ctx_.ChangedAll();
    optimizer_.ResetFactor();
    beforeFirstRun_.reset();
    Status("Reverted", false);
    UpdateButtons();
}

void OptimizerWindow::ScaleDelta(int doublings) {
    delta_ = delta_ * std::ldexp(1.0f, doublings);
    if (running_) optimizer_.ScaleDelta(doublings);
    dwin_->clear();
    dwin_->appendPlainText(
        QString::fromStdString("Step : " + std::to_string(steps_) + " Delta = " + Format(delta_, "0.0E-00")));
}

void OptimizerWindow::keyPressEvent(QKeyEvent* event) {
    if (event->text() == "+") {
        delta_ *= 2;
        if (running_) optimizer_.ScaleDelta(1);
    } else if (event->text() == "-") {
        delta_ /= 2;
        if (running_) optimizer_.ScaleDelta(-1);
    } else {
        QWidget::keyPressEvent(event);
    }
}

void OptimizerWindow::closeEvent(QCloseEvent* event) {
    // Closing during a run stops it; the project reached is kept.
    StopRun();
    log_.Close();
    SavePlacement(*this, ctx_, kPlacementKey);
    event->accept();
}

void OptimizerWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    DrawChart();
}

void OptimizerWindow::DrawChart() {
    const QSize size = chart_->size().expandedTo(QSize(240, 150));
    QtCanvas canvas(size.width(), size.height());
    int target = 0;
    for (int i = 0; i < 4; ++i)
        if (target_[i]->isChecked()) target = i;
    static const char* const kObjective[] = {"X (ohm)", "SWR", "Gain (dB)", "F/B (dB)"};
    static const char* const kSecondary[] = {"R (ohm)", "", "F/B (dB)", "Gain (dB)"};
    DrawOptimizerChart(canvas, points_, kObjective[target], kSecondary[target]);
    chartImage_ = canvas.Image();
    chart_->setPixmap(QPixmap::fromImage(chartImage_));
}

void OptimizerWindow::UpdateButtons() {
    go_->setEnabled(!running_);
    stop_->setEnabled(running_);
    revert_->setEnabled(!running_ && beforeFirstRun_.has_value());
    locks_->setEnabled(!running_);
    for (auto* t : target_) t->setEnabled(!running_ && TargetAllowed(ctx_.project, t == target_[0] ? 0 : t == target_[1] ? 1 : 2));
}

}  // namespace qw
