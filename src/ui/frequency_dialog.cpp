#include "ui/frequency_dialog.h"

#include <QFormLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "commands/checks.h"
#include "ui/number_box.h"
#include "ui/window_placement.h"

namespace qw {

namespace {
constexpr const char* kPlacementKey = "Freq";
}

FrequencyDialog::FrequencyDialog(Context& ctx, float current, QWidget* parent)
    : PlacedDialog(ctx, kPlacementKey, parent), result_(current) {
    setObjectName(QStringLiteral("Freq"));
    setWindowTitle(QStringLiteral("Operating Frequency"));
    value_ = new NumberBox(QStringLiteral("FValue"), this);
    value_->setText(BoxText(current));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Frequency in MHz"), value_);
    auto* main = new QVBoxLayout(this);
    main->addLayout(form);
    const DialogButtons buttons = AddDialogButtons(*this, *main, QStringLiteral("OK"), QStringLiteral("Cancel"));
    main->setSizeConstraint(QLayout::SetFixedSize);
    connect(buttons.ok, &QPushButton::clicked, this, [this] { Ok(); });
    value_->setFocus();

    RestorePlace();
}

// The frequency goes into the project at once, so that the check sees it;
// a refused value stays there only while the dialog is open (the caller
// restores the frequency when the dialog is cancelled).
void FrequencyDialog::Ok() {
    float typed = 0;
    if (!ReadSingle(ctx_, *value_, typed)) return;
    ctx_.project.Frequency = typed;
    ctx_.AbortFlag = false;
    CheckFrequency(ctx_);
    if (ctx_.AbortFlag) {
        value_->setFocus();
        value_->selectAll();
        return;
    }
    result_ = typed;
    accept();
}

}  // namespace qw
