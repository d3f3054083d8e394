// The band dialog ("Frequency Range"): lower and upper limit and step of a
// sweep, in MHz. OK stays open while a value is zero.
#pragma once

#include <QDialog>

#include "model/context.h"
#include "platform/field_requests.h"
#include "ui/window_placement.h"

namespace qw {

class NumberBox;

class FrequencyRangeDialog : public PlacedDialog {
    Q_OBJECT
public:
    FrequencyRangeDialog(Context& ctx, const SweepRange& current, QWidget* parent = nullptr);

    // The band as typed; the caller puts the limits in order.
    SweepRange Result() const { return result_; }

private:
    void Ok();
    SweepRange result_;
    NumberBox* lower_;
    NumberBox* upper_;
    NumberBox* step_;
};

}  // namespace qw
