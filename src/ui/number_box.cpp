#include "ui/number_box.h"

#include <QBoxLayout>
#include <QDialog>
#include <QFocusEvent>
#include <QPushButton>
#include <QTimer>
#include <cmath>

#include "model/number_str.h"
#include "model/number_value.h"
#include "platform/host.h"
#include "ui/window_placement.h"

namespace qw {

NumberBox::NumberBox(const QString& objectName, QWidget* parent) : QLineEdit(parent) { setObjectName(objectName); }

double NumberBox::Value() const {
    QString t = text();
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    return Val(ToProgramText(t));
}

std::string NumberBox::ProgramText() const { return ToProgramText(text()); }

void NumberBox::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    // A mouse click places the caret after the focus arrives: select once
    // the click has been handled.
    QTimer::singleShot(0, this, [this] {
        if (hasFocus()) selectAll();
    });
}

QString BoxText(float value) {
    std::string s = Str(value);
    if (!s.empty() && s.front() == ' ') s.erase(0, 1);
    return QString::fromStdString(s);
}

QString BoxText(int value) {
    std::string s = Str(value);
    if (!s.empty() && s.front() == ' ') s.erase(0, 1);
    return QString::fromStdString(s);
}

namespace {

bool Refuse(Context& ctx, NumberBox& box) {
    const QWidget* dialog = box.window();
    ctx.host->ShowMessage({"Number out of range", dialog ? ToProgramText(dialog->windowTitle()) : "",
                           MessageIcon::Critical, MessageButtons::Ok, 1});
    box.setFocus();
    box.selectAll();
    return false;
}

}  // namespace

bool ReadSingle(Context& ctx, NumberBox& box, float& out) {
    const double v = box.Value();
    const float f = static_cast<float>(v);
    if (!std::isfinite(f)) return Refuse(ctx, box);
    out = f;
    return true;
}

bool ReadCount(Context& ctx, NumberBox& box, int& out) {
    const double v = std::nearbyint(box.Value());  // halves to even
    if (!(v >= -32768.0 && v <= 32767.0)) return Refuse(ctx, box);
    out = static_cast<int>(v);
    return true;
}

DialogButtons AddDialogButtons(QDialog& dialog, QBoxLayout& layout, const QString& okName,
                               const QString& cancelName) {
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    DialogButtons b{new QPushButton(QStringLiteral("OK"), &dialog), new QPushButton(QStringLiteral("Cancel"), &dialog)};
    b.ok->setObjectName(okName);
    b.cancel->setObjectName(cancelName);
    b.ok->setDefault(true);
    row->addWidget(b.ok);
    row->addWidget(b.cancel);
    layout.addLayout(row);
    QObject::connect(b.cancel, &QPushButton::clicked, &dialog, &QDialog::reject);
    return b;
}

}  // namespace qw
