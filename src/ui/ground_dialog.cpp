#include "ui/ground_dialog.h"

#include <QButtonGroup>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "commands/project_dialogs.h"
#include "model/project.h"
#include "ui/number_box.h"
#include "ui/window_placement.h"

namespace qw {

namespace {

constexpr const char* kPlacementKey = "Environ";

// A class's conductivity as the dialog shows it, in mS/m.
float ClassMs(const GroundClass& c) { return static_cast<float>(static_cast<double>(c.conductivity) * 1000.0); }

}  // namespace

GroundDialog::GroundDialog(Context& ctx, const GroundInput& current, QWidget* parent)
    : PlacedDialog(ctx, kPlacementKey, parent), result_(current), perfect_(current.perfect) {
    setObjectName(QStringLiteral("EnvForm"));
    setWindowTitle(QStringLiteral("Environment Settings"));

    // The named classes and the Perfect button.
    auto* classBox = new QGroupBox(this);
    auto* classLayout = new QVBoxLayout(classBox);
    classes_ = new QButtonGroup(this);
    for (int i = 0; i < 5; ++i) {
        auto* b = new QRadioButton(QString::fromLatin1(kGroundClasses[i].name), classBox);
        b->setObjectName(QStringLiteral("Ctl_GndType%1").arg(i + 1));
        classes_->addButton(b, i + 1);
        classLayout->addWidget(b);
        classButtons_[i] = b;
    }
    perfectButton_ = new QPushButton(QStringLiteral("Perfect"), classBox);
    perfectButton_->setObjectName(QStringLiteral("Ctl_PERFECT"));
    perfectButton_->setAutoDefault(false);
    classLayout->addWidget(perfectButton_);

    // The medium.
    dielectric_ = new NumberBox(QStringLiteral("Ctl_DielMedia"), this);
    conductivity_ = new NumberBox(QStringLiteral("Ctl_CondMedia"), this);
    auto* medium = new QFormLayout;
    medium->addRow(QStringLiteral("Dielectric constant"), dielectric_);
    medium->addRow(QStringLiteral("Conductivity (mS/m)"), conductivity_);

    auto* boundaryBox = new QGroupBox(QStringLiteral(" Boundary Type "), this);
    auto* boundaryLayout = new QHBoxLayout(boundaryBox);
    circular_ = new QRadioButton(QStringLiteral("Circular"), boundaryBox);
    circular_->setObjectName(QStringLiteral("Ctl_Circular"));
    linear_ = new QRadioButton(QStringLiteral("Linear"), boundaryBox);
    linear_->setObjectName(QStringLiteral("Ctl_Linear"));
    boundaryLayout->addWidget(circular_);
    boundaryLayout->addWidget(linear_);

    auto* radialBox = new QGroupBox(QStringLiteral(" Radials "), this);
    auto* radialLayout = new QFormLayout(radialBox);
    radialCount_ = new NumberBox(QStringLiteral("Ctl_NRadials"), radialBox);
    radialLength_ = new NumberBox(QStringLiteral("Ctl_RRadials"), radialBox);
    radialLayout->addRow(QStringLiteral("Number"), radialCount_);
    radialLayout->addRow(QStringLiteral("Length (m)"), radialLength_);

    auto* right = new QVBoxLayout;
    right->addLayout(medium);
    right->addWidget(boundaryBox);
    right->addWidget(radialBox);
    right->addStretch(1);

    auto* columns = new QHBoxLayout;
    columns->addWidget(classBox);
    columns->addLayout(right, 1);

    auto* main = new QVBoxLayout(this);
    main->addLayout(columns);
    const DialogButtons buttons =
        AddDialogButtons(*this, *main, QStringLiteral("Ctl_OK"), QStringLiteral("Ctl_Cancel"));
    main->setSizeConstraint(QLayout::SetFixedSize);

    // The current ground.
    (current.boundary == kLinearBoundary ? linear_ : circular_)->setChecked(true);
    radialCount_->setText(BoxText(current.radialCount));
    radialLength_->setText(BoxText(current.radialLength));
    if (current.perfect) {
        dielectric_->setText(QStringLiteral("Perfect"));
        conductivity_->setText(QStringLiteral("Perfect"));
        perfectButton_->setFocus();
    } else {
        dielectric_->setText(BoxText(current.dielectric));
        conductivity_->setText(BoxText(current.conductivityMs));
        MatchClass();
    }

    // What the user changes from here on.
    for (NumberBox* box : {dielectric_, conductivity_, radialCount_, radialLength_})
        connect(box, &QLineEdit::textChanged, this, [this] { changed_ = true; });
    for (NumberBox* box : {dielectric_, conductivity_})
        connect(box, &QLineEdit::textEdited, this, [this] {
            perfect_ = false;  // typed values make the ground a real one
            MatchClass();
        });
    connect(circular_, &QRadioButton::toggled, this, [this] { changed_ = true; });
    connect(classes_, &QButtonGroup::idClicked, this, [this](int id) { ChooseClass(id); });
    connect(perfectButton_, &QPushButton::clicked, this, [this] {
        result_ = Read();
        result_.perfect = true;
        accept();
    });
    connect(buttons.ok, &QPushButton::clicked, this, [this] { Ok(); });

    RestorePlace();
}

GroundInput GroundDialog::Result() const { return result_; }

void GroundDialog::ChooseClass(int index) {
    if (index < 1 || index > 5) return;
    const GroundClass& c = kGroundClasses[index - 1];
    perfect_ = false;
    dielectric_->setText(BoxText(c.dielectric));
    conductivity_->setText(BoxText(ClassMs(c)));
}

// Checks the class whose values the boxes hold, or none.
void GroundDialog::MatchClass() {
    const float dielectric = static_cast<float>(dielectric_->Value());
    const float ms = static_cast<float>(conductivity_->Value());
    QRadioButton* match = nullptr;
    for (int i = 0; i < 5; ++i)
        if (kGroundClasses[i].dielectric == dielectric && ClassMs(kGroundClasses[i]) == ms) match = classButtons_[i];
    if (match) {
        match->setChecked(true);
        return;
    }
    classes_->setExclusive(false);
    for (QRadioButton* b : classButtons_) b->setChecked(false);
    classes_->setExclusive(true);
}

// The boxes as they stand; the numbers are read leniently.
GroundInput GroundDialog::Read() const {
    GroundInput g = result_;
    g.perfect = perfect_;
    g.changed = changed_;
    g.boundary = linear_->isChecked() ? kLinearBoundary : kCircularBoundary;
    if (!perfect_) {
        g.dielectric = static_cast<float>(dielectric_->Value());
        g.conductivityMs = static_cast<float>(conductivity_->Value());
    }
    return g;
}

void GroundDialog::Ok() {
    GroundInput g = Read();
    if (!ReadCount(ctx_, *radialCount_, g.radialCount) || !ReadSingle(ctx_, *radialLength_, g.radialLength)) return;
    if (!perfect_ &&
        (!ReadSingle(ctx_, *dielectric_, g.dielectric) || !ReadSingle(ctx_, *conductivity_, g.conductivityMs)))
        return;
    if (!CheckGroundInput(ctx_, g)) return;  // the message has been shown; the dialog stays open
    result_ = g;
    accept();
}

}  // namespace qw
