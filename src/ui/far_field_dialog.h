// The far-field dialog ("Far Field Parameters"): the zenith and azimuth
// grid, dB or V/m results, the power and the distance of the table.
#pragma once

#include <QDialog>

#include "model/context.h"
#include "platform/field_requests.h"
#include "ui/window_placement.h"

class QRadioButton;

namespace qw {

class NumberBox;

class FarFieldDialog : public PlacedDialog {
    Q_OBJECT
public:
    FarFieldDialog(Context& ctx, const FarFieldRequest& current, QWidget* parent = nullptr);

    // The request as typed; the computation applies its own limits.
    FarFieldRequest Result() const { return result_; }

private:
    void Ok();
    FarFieldRequest result_;
    NumberBox *zenithStart_, *zenithStep_, *zenithSteps_;
    NumberBox *azimuthStart_, *azimuthStep_, *azimuthSteps_;
    QRadioButton* db_;
    QRadioButton* volts_;
    NumberBox* power_;
    NumberBox* distance_;
};

}  // namespace qw
