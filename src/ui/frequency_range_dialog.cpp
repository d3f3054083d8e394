#include "ui/frequency_range_dialog.h"

#include <QFormLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "commands/resonance_command.h"
#include "sweeps/resonance.h"
#include "ui/number_box.h"
#include "ui/window_placement.h"

namespace qw {

namespace {
constexpr const char* kPlacementKey = "FreqRange";
}

FrequencyRangeDialog::FrequencyRangeDialog(Context& ctx, const SweepRange& current, QWidget* parent)
    : PlacedDialog(ctx, kPlacementKey, parent), result_(current) {
    setObjectName(QStringLiteral("FreqRange"));
    setWindowTitle(QStringLiteral("Frequency Range"));
    lower_ = new NumberBox(QStringLiteral("CtlLowerF"), this);
    upper_ = new NumberBox(QStringLiteral("CtlUpperF"), this);
    step_ = new NumberBox(QStringLiteral("CtlStepF"), this);
    lower_->setText(BoxText(current.Lower));
    upper_->setText(BoxText(current.Upper));
    step_->setText(BoxText(current.Step));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Lower limit (Mhz)"), lower_);
    form->addRow(QStringLiteral("Upper limit (Mhz)"), upper_);
    form->addRow(QStringLiteral("Step (Mhz)"), step_);
    auto* main = new QVBoxLayout(this);
    main->addLayout(form);
    const DialogButtons buttons = AddDialogButtons(*this, *main, QStringLiteral("CtlOK"), QStringLiteral("CtlCancel"));
    main->setSizeConstraint(QLayout::SetFixedSize);
    connect(buttons.ok, &QPushButton::clicked, this, [this] { Ok(); });
    lower_->setFocus();

    RestorePlace();
}

void FrequencyRangeDialog::Ok() {
    SweepRange r;
    if (!ReadSingle(ctx_, *lower_, r.Lower) || !ReadSingle(ctx_, *upper_, r.Upper) || !ReadSingle(ctx_, *step_, r.Step))
        return;
    if (!CheckFrequencyRange(ctx_, r)) return;  // the message has been shown; the dialog stays open
    result_ = r;
    accept();
}

}  // namespace qw
