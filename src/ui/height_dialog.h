// The antenna-height dialog ("Antenna Height"): the height in feet or
// metres. It applies its result itself: exec() returns Accepted when OK went
// through (the project's Height set, the antenna over ground).
#pragma once

#include <QDialog>

#include "commands/height_dialog.h"
#include "model/context.h"

class QRadioButton;

namespace qw {

class NumberBox;

class HeightDialog : public QDialog {
    Q_OBJECT
public:
    explicit HeightDialog(Context& ctx, QWidget* parent = nullptr);

    void reject() override;

private:
    void SwitchUnit(int unit);
    void Ok();

    HeightDialogLogic logic_;
    NumberBox* value_;
    QRadioButton* feet_;
    QRadioButton* metres_;
};

}  // namespace qw
