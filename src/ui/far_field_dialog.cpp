#include "ui/far_field_dialog.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "model/format_mask.h"
#include "ui/number_box.h"
#include "ui/window_placement.h"

namespace qw {

namespace {

constexpr const char* kPlacementKey = "FFinfo";
constexpr const char* kPowerFormat = "###0.0#";

// A frame of start, increment and steps.
QGroupBox* AngleFrame(QWidget* parent, const QString& title, NumberBox* start, NumberBox* step, NumberBox* steps) {
    auto* box = new QGroupBox(title, parent);
    auto* form = new QFormLayout(box);
    form->addRow(QStringLiteral("Start"), start);
    form->addRow(QStringLiteral("Increment"), step);
    form->addRow(QStringLiteral("Steps"), steps);
    return box;
}

}  // namespace

FarFieldDialog::FarFieldDialog(Context& ctx, const FarFieldRequest& current, QWidget* parent)
    : PlacedDialog(ctx, kPlacementKey, parent), result_(current) {
    setObjectName(QStringLiteral("FFinfo"));
    setWindowTitle(QStringLiteral("Far Field Parameters"));

    zenithStart_ = new NumberBox(QStringLiteral("Ctl_ZAStart"), this);
    zenithStep_ = new NumberBox(QStringLiteral("Ctl_ZAInc"), this);
    zenithSteps_ = new NumberBox(QStringLiteral("Ctl_ZACnt"), this);
    azimuthStart_ = new NumberBox(QStringLiteral("Ctl_AAStart"), this);
    azimuthStep_ = new NumberBox(QStringLiteral("Ctl_AAInc"), this);
    azimuthSteps_ = new NumberBox(QStringLiteral("Ctl_AACnt"), this);
    power_ = new NumberBox(QStringLiteral("Ctl_Power"), this);
    distance_ = new NumberBox(QStringLiteral("Ctl_RDistance"), this);

    auto* results = new QGroupBox(QStringLiteral("Results in"), this);
    auto* resultsLayout = new QHBoxLayout(results);
    db_ = new QRadioButton(QStringLiteral("dB"), results);
    db_->setObjectName(QStringLiteral("Ctl_Dbs"));
    volts_ = new QRadioButton(QStringLiteral("Volts"), results);
    volts_->setObjectName(QStringLiteral("Ctl_Volts"));
    resultsLayout->addWidget(db_);
    resultsLayout->addWidget(volts_);

    auto* angles = new QHBoxLayout;
    angles->addWidget(AngleFrame(this, QStringLiteral("Zenith Angle"), zenithStart_, zenithStep_, zenithSteps_));
    angles->addWidget(AngleFrame(this, QStringLiteral("Azimuth Angle"), azimuthStart_, azimuthStep_, azimuthSteps_));

    auto* scale = new QFormLayout;
    scale->addRow(QStringLiteral("Power (Watts)"), power_);
    scale->addRow(QStringLiteral("Distance (m)"), distance_);
    auto* lower = new QHBoxLayout;
    lower->addWidget(results);
    lower->addLayout(scale, 1);

    auto* main = new QVBoxLayout(this);
    main->addLayout(angles);
    main->addLayout(lower);
    const DialogButtons buttons =
        AddDialogButtons(*this, *main, QStringLiteral("Ctl_OK"), QStringLiteral("Ctl_Cancel"));
    main->setSizeConstraint(QLayout::SetFixedSize);
    connect(buttons.ok, &QPushButton::clicked, this, [this] { Ok(); });

    zenithStart_->setText(BoxText(current.ZenithStart));
    zenithStep_->setText(BoxText(current.ZenithStep));
    zenithSteps_->setText(BoxText(current.ZenithSteps));
    azimuthStart_->setText(BoxText(current.AzimuthStart));
    azimuthStep_->setText(BoxText(current.AzimuthStep));
    azimuthSteps_->setText(BoxText(current.AzimuthSteps));
    (current.ResultsInDb ? db_ : volts_)->setChecked(true);
    power_->setText(QString::fromStdString(Format(current.PowerLevel, kPowerFormat)));
    distance_->setText(BoxText(current.RadialDistance));
    zenithStart_->setFocus();

    RestorePlace();
}

void FarFieldDialog::Ok() {
    FarFieldRequest r = result_;
    if (!ReadSingle(ctx_, *zenithStart_, r.ZenithStart) || !ReadSingle(ctx_, *zenithStep_, r.ZenithStep) ||
        !ReadSingle(ctx_, *zenithSteps_, r.ZenithSteps) || !ReadSingle(ctx_, *azimuthStart_, r.AzimuthStart) ||
        !ReadSingle(ctx_, *azimuthStep_, r.AzimuthStep) || !ReadCount(ctx_, *azimuthSteps_, r.AzimuthSteps) ||
        !ReadSingle(ctx_, *power_, r.PowerLevel) || !ReadSingle(ctx_, *distance_, r.RadialDistance))
        return;
    r.ResultsInDb = db_->isChecked();
    result_ = r;
    accept();
}

}  // namespace qw
