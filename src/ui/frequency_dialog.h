// The frequency dialog ("Operating Frequency"): the operating frequency in
// MHz. OK sets the project's frequency and stays open while it is too low.
#pragma once

#include <QDialog>

#include "model/context.h"
#include "ui/window_placement.h"

namespace qw {

class NumberBox;

class FrequencyDialog : public PlacedDialog {
    Q_OBJECT
public:
    FrequencyDialog(Context& ctx, float current, QWidget* parent = nullptr);

    // The frequency typed (MHz).
    float Result() const { return result_; }

private:
    void Ok();
    float result_;
    NumberBox* value_;
};

}  // namespace qw
