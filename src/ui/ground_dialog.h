// The ground dialog ("Environment Settings"): a named ground class or a
// dielectric constant and conductivity, the boundary type and the radials.
// It edits a copy of the ground; the caller applies the result.
#pragma once

#include <QDialog>
#include <array>

#include "model/context.h"
#include "platform/host.h"
#include "ui/window_placement.h"

class QButtonGroup;
class QPushButton;
class QRadioButton;

namespace qw {

class NumberBox;

class GroundDialog : public PlacedDialog {
    Q_OBJECT
public:
    GroundDialog(Context& ctx, const GroundInput& current, QWidget* parent = nullptr);

    // The ground as the dialog closed (perfect after the Perfect button).
    GroundInput Result() const;

private:
    void ChooseClass(int index);
    void MatchClass();
    void Ok();
    GroundInput Read() const;
    GroundInput result_;
    bool perfect_;
    bool changed_ = false;
    QButtonGroup* classes_;
    std::array<QRadioButton*, 5> classButtons_{};
    QPushButton* perfectButton_;
    NumberBox* dielectric_;
    NumberBox* conductivity_;
    QRadioButton* circular_;
    QRadioButton* linear_;
    NumberBox* radialCount_;
    NumberBox* radialLength_;
};

}  // namespace qw
