// The near-field dialog ("Near Fields Parameters"): electric or magnetic
// field, the grid of points and the power the fields are scaled to.
#pragma once

#include <QDialog>
#include <array>

#include "model/context.h"
#include "platform/field_requests.h"
#include "ui/window_placement.h"

class QRadioButton;

namespace qw {

class NumberBox;

class NearFieldDialog : public PlacedDialog {
    Q_OBJECT
public:
    NearFieldDialog(Context& ctx, const NearFieldRequest& current, QWidget* parent = nullptr);

    // The request as typed, counts rounded; the computation makes counts
    // below 1 one point.
    NearFieldRequest Result() const { return result_; }

private:
    void Ok();
    NearFieldRequest result_;
    QRadioButton* electric_;
    QRadioButton* magnetic_;
    std::array<NumberBox*, 3> start_{}, step_{}, count_{};  // X, Y, Z
    NumberBox* power_;
};

}  // namespace qw
