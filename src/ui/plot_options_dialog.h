// The plot options dialog ("Plot Options"): the radial scale of the polar
// plots (logarithmic or linear) and their grid, the ring step ("Every") and
// the innermost ring ("Down to"). OK applies the choice to the options and
// writes it to the settings; a grid that cannot be drawn is refused with
// the reason and the dialog stays open.
#pragma once

#include <QDialog>

#include "model/context.h"
#include "ui/window_placement.h"

class QRadioButton;

namespace qw {

class NumberBox;

class PlotOptionsDialog : public PlacedDialog {
    Q_OBJECT
public:
    PlotOptionsDialog(Context& ctx, QWidget* parent = nullptr);

private:
    void Ok();
    QRadioButton* log_;
    QRadioButton* linear_;
    NumberBox* gridStep_;
    NumberBox* minDb_;
};

}  // namespace qw
