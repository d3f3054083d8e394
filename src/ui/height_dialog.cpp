#include "ui/height_dialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "ui/number_box.h"
#include "ui/window_placement.h"

namespace qw {

HeightDialog::HeightDialog(Context& ctx, QWidget* parent) : QDialog(parent), logic_(ctx) {
    setObjectName(QStringLiteral("HyForm"));
    setWindowTitle(QStringLiteral("Antenna Height"));

    value_ = new NumberBox(QStringLiteral("HeightValue"), this);
    value_->setText(FromProgramText(logic_.OpeningText()));
    feet_ = new QRadioButton(QStringLiteral("Feet"), this);
    feet_->setObjectName(QStringLiteral("HFeet"));
    metres_ = new QRadioButton(QStringLiteral("Meters"), this);
    metres_->setObjectName(QStringLiteral("Hmeters"));
    (logic_.BoxUnit() == kMeters ? metres_ : feet_)->setChecked(true);

    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("Height"), this));
    row->addWidget(value_);
    auto* units = new QHBoxLayout;
    units->addWidget(feet_);
    units->addWidget(metres_);
    units->addStretch(1);

    auto* main = new QVBoxLayout(this);
    main->addLayout(row);
    main->addLayout(units);
    const DialogButtons buttons = AddDialogButtons(*this, *main, QStringLiteral("OK"), QStringLiteral("Cancel"));
    main->setSizeConstraint(QLayout::SetFixedSize);

    connect(feet_, &QRadioButton::toggled, this, [this](bool on) {
        if (on) SwitchUnit(kFeet);
    });
    connect(metres_, &QRadioButton::toggled, this, [this](bool on) {
        if (on) SwitchUnit(kMeters);
    });
    connect(buttons.ok, &QPushButton::clicked, this, [this] { Ok(); });
    value_->setFocus();
}

void HeightDialog::SwitchUnit(int unit) {
    value_->setText(FromProgramText(logic_.SwitchUnit(unit, value_->ProgramText())));
}

void HeightDialog::Ok() {
    if (!logic_.Ok(value_->ProgramText())) {
        value_->setFocus();
        value_->selectAll();
        return;
    }
    accept();
}

// Cancel, Esc and the window's close button.
void HeightDialog::reject() {
    logic_.Cancel();
    QDialog::reject();
}

}  // namespace qw
