#include "ui/plot_limits_dialog.h"

#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "commands/sweep_plot_command.h"
#include "ui/number_box.h"

namespace qw {

PlotLimitsDialog::PlotLimitsDialog(Context& ctx, SweepPlotKind kind, QWidget* parent)
    : PlacedDialog(ctx, "PlotLimits", parent), kind_(kind) {
    setObjectName(QStringLiteral("PlotLimits"));
    ctx.AbortFlag = false;
    const PlotLimitsForm form = PlotLimitsFormOf(ctx, kind);
    setWindowTitle(FromProgramText(form.title));
    auto* layout = new QFormLayout;
    for (int i = 0; i < 5; ++i) {
        auto* box = new NumberBox(QStringLiteral("CtlXY(%1)").arg(i), this);
        box->setText(FromProgramText(form.texts[static_cast<std::size_t>(i)]));
        boxes_[static_cast<std::size_t>(i)] = box;
        if (i == 4 && !form.fifthBox) {
            box->hide();  // the SWR and impedance plots have four boxes
            continue;
        }
        layout->addRow(FromProgramText(form.labels[static_cast<std::size_t>(i)]), box);
    }
    auto* main = new QVBoxLayout(this);
    main->addLayout(layout);
    const DialogButtons buttons = AddDialogButtons(*this, *main, QStringLiteral("CtlOK"), QStringLiteral("CtlCancel"));
    main->setSizeConstraint(QLayout::SetFixedSize);
    connect(buttons.ok, &QPushButton::clicked, this, [this] { Ok(); });
    boxes_[0]->setFocus();
    RestorePlace();
}

void PlotLimitsDialog::Ok() {
    std::array<std::string, 5> texts;
    for (std::size_t i = 0; i < 5; ++i) texts[i] = ToProgramText(boxes_[i]->text().replace(',', '.'));
    if (!ApplyPlotLimits(ctx_, kind_, texts)) return;  // told why; the dialog stays open
    accept();
}

bool RunPlotLimitsDialog(Context& ctx, SweepPlotKind kind, QWidget* parent) {
    PlotLimitsDialog dialog(ctx, kind, parent);
    const bool ok = dialog.exec() == QDialog::Accepted;
    ctx.AbortFlag = !ok;
    return ok;
}

}  // namespace qw
