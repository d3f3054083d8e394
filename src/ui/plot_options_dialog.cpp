#include "ui/plot_options_dialog.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "model/settings.h"
#include "platform/host.h"
#include "plots/polar_scale.h"
#include "ui/number_box.h"
#include "ui/window_placement.h"

namespace qw {

namespace {

constexpr const char* kPlacementKey = "PlotOpt";
constexpr const char* kTitle = "Plot Options";

// A number box with its unit after it.
QWidget* WithUnit(QWidget* parent, NumberBox* box, const QString& unit) {
    auto* row = new QWidget(parent);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(box);
    layout->addWidget(new QLabel(unit, row));
    return row;
}

}  // namespace

PlotOptionsDialog::PlotOptionsDialog(Context& ctx, QWidget* parent) : PlacedDialog(ctx, kPlacementKey, parent) {
    setObjectName(QStringLiteral("PlotOptions"));
    setWindowTitle(QString::fromLatin1(kTitle));

    auto* scale = new QGroupBox(QStringLiteral(" Scale "), this);
    auto* scaleLayout = new QVBoxLayout(scale);
    log_ = new QRadioButton(QStringLiteral("Logarithmic"), scale);
    log_->setObjectName(QStringLiteral("CtlLog"));
    linear_ = new QRadioButton(QStringLiteral("Linear"), scale);
    linear_->setObjectName(QStringLiteral("CtlLin"));
    scaleLayout->addWidget(log_);
    scaleLayout->addWidget(linear_);

    auto* grid = new QGroupBox(QStringLiteral(" Grid "), this);
    auto* gridLayout = new QFormLayout(grid);
    gridStep_ = new NumberBox(QStringLiteral("CtlGridDbStep"), grid);
    minDb_ = new NumberBox(QStringLiteral("CtlMinDbValue"), grid);
    gridLayout->addRow(QStringLiteral("Every"), WithUnit(grid, gridStep_, QStringLiteral("dB")));
    gridLayout->addRow(QStringLiteral("Down to"), WithUnit(grid, minDb_, QStringLiteral("dB")));

    auto* choices = new QHBoxLayout;
    choices->addWidget(scale);
    choices->addWidget(grid);
    auto* main = new QVBoxLayout(this);
    main->addLayout(choices);
    const DialogButtons buttons = AddDialogButtons(*this, *main, QStringLiteral("CtlOK"), QStringLiteral("CtlCancel"));
    main->setSizeConstraint(QLayout::SetFixedSize);
    connect(buttons.ok, &QPushButton::clicked, this, [this] { Ok(); });

    (ctx_.options.PlotScale == 2 ? linear_ : log_)->setChecked(true);
    gridStep_->setText(BoxText(ctx_.options.GridStep));
    minDb_->setText(BoxText(ctx_.options.MinDb));
    gridStep_->setFocus();

    RestorePlace();
}

void PlotOptionsDialog::Ok() {
    int step = 0, downTo = 0;
    if (!ReadCount(ctx_, *gridStep_, step) || !ReadCount(ctx_, *minDb_, downTo)) return;
    ProgramOptions options = ctx_.options;
    if (const auto why = SetPlotGrid(options, step, downTo)) {
        ctx_.host->Notify(*why, kTitle);
        (step < 1 ? gridStep_ : minDb_)->setFocus();
        return;
    }
    options.PlotScale = linear_->isChecked() ? 2 : 1;
    ctx_.options = options;
    SavePlotOptions(ctx_);  // a failure has been reported; the choice holds for this run
    accept();
}

}  // namespace qw
