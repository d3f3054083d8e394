#include "ui/near_field_dialog.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "model/format_mask.h"
#include "ui/number_box.h"
#include "ui/window_placement.h"

namespace qw {

namespace {
constexpr const char* kPlacementKey = "NFInfo";
constexpr const char* kPowerFormat = "###0.0#";
}  // namespace

NearFieldDialog::NearFieldDialog(Context& ctx, const NearFieldRequest& current, QWidget* parent)
    : PlacedDialog(ctx, kPlacementKey, parent), result_(current) {
    setObjectName(QStringLiteral("NFinfo"));
    setWindowTitle(QStringLiteral("Near Fields Parameters"));

    auto* field = new QGroupBox(QStringLiteral("Field"), this);
    auto* fieldLayout = new QHBoxLayout(field);
    electric_ = new QRadioButton(QStringLiteral("Electric"), field);
    electric_->setObjectName(QStringLiteral("Ctl_EField"));
    magnetic_ = new QRadioButton(QStringLiteral("Magnetic"), field);
    magnetic_->setObjectName(QStringLiteral("Ctl_Hfield"));
    fieldLayout->addWidget(electric_);
    fieldLayout->addWidget(magnetic_);
    fieldLayout->addStretch(1);

    // The grid: one column per axis, rows of initial value, increment and
    // steps.
    auto* grid = new QGridLayout;
    const char* axes[3] = {"X", "Y", "Z"};
    for (int a = 0; a < 3; ++a) {
        auto* head = new QLabel(QString::fromLatin1(axes[a]), this);
        head->setAlignment(Qt::AlignCenter);
        grid->addWidget(head, 0, a + 1);
        start_[a] = new NumberBox(QStringLiteral("Ctl_%1I").arg(QLatin1String(axes[a])), this);
        step_[a] = new NumberBox(QStringLiteral("Ctl_%1C").arg(QLatin1String(axes[a])), this);
        count_[a] = new NumberBox(QStringLiteral("Ctl_N%1").arg(QLatin1String(axes[a])), this);
        grid->addWidget(start_[a], 1, a + 1);
        grid->addWidget(step_[a], 2, a + 1);
        grid->addWidget(count_[a], 3, a + 1);
    }
    grid->addWidget(new QLabel(QStringLiteral("Initial"), this), 1, 0);
    grid->addWidget(new QLabel(QStringLiteral("Increment"), this), 2, 0);
    grid->addWidget(new QLabel(QStringLiteral("Steps"), this), 3, 0);

    power_ = new NumberBox(QStringLiteral("Ctl_Power"), this);
    auto* powerRow = new QHBoxLayout;
    powerRow->addWidget(new QLabel(QStringLiteral("Power (Watts)"), this));
    powerRow->addWidget(power_);
    powerRow->addStretch(1);

    auto* main = new QVBoxLayout(this);
    main->addWidget(field);
    main->addWidget(new QLabel(QStringLiteral("X, Y, Z coordinates for Near Field"), this));
    main->addLayout(grid);
    main->addLayout(powerRow);
    const DialogButtons buttons =
        AddDialogButtons(*this, *main, QStringLiteral("Ctl_OK"), QStringLiteral("Ctl_Cancel"));
    main->setSizeConstraint(QLayout::SetFixedSize);
    connect(buttons.ok, &QPushButton::clicked, this, [this] { Ok(); });

    (current.ElectricField ? electric_ : magnetic_)->setChecked(true);
    const float starts[3] = {current.StartX, current.StartY, current.StartZ};
    const float steps[3] = {current.StepX, current.StepY, current.StepZ};
    const int counts[3] = {current.CountX, current.CountY, current.CountZ};
    for (int a = 0; a < 3; ++a) {
        start_[a]->setText(BoxText(starts[a]));
        step_[a]->setText(BoxText(steps[a]));
        count_[a]->setText(BoxText(counts[a]));
    }
    power_->setText(QString::fromStdString(Format(current.PowerLevel, kPowerFormat)));
    start_[0]->setFocus();

    RestorePlace();
}

void NearFieldDialog::Ok() {
    NearFieldRequest r = result_;
    float* starts[3] = {&r.StartX, &r.StartY, &r.StartZ};
    float* steps[3] = {&r.StepX, &r.StepY, &r.StepZ};
    int* counts[3] = {&r.CountX, &r.CountY, &r.CountZ};
    for (int a = 0; a < 3; ++a)
        if (!ReadSingle(ctx_, *start_[a], *starts[a])) return;
    for (int a = 0; a < 3; ++a)
        if (!ReadSingle(ctx_, *step_[a], *steps[a])) return;
    for (int a = 0; a < 3; ++a)
        if (!ReadCount(ctx_, *count_[a], *counts[a])) return;
    if (!ReadSingle(ctx_, *power_, r.PowerLevel)) return;
    r.ElectricField = electric_->isChecked();
    result_ = r;
    accept();
}

}  // namespace qw
