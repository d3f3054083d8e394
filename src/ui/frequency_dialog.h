// The frequency dialog ("Operating Frequency"): the operating frequency in
// MHz. OK sets the project's frequency and stays open while it is too low.
#pragma once

#include <QDialog>

#include "model/context.h"

namespace qw {

class NumberBox;

class FrequencyDialog : public QDialog {
    Q_OBJECT
public:
    FrequencyDialog(Context& ctx, float current, QWidget* parent = nullptr);

    // The frequency typed (MHz).
    float Result() const { return result_; }

    void done(int result) override;

private:
    void Ok();

    Context& ctx_;
    float result_;
    NumberBox* value_;
};

}  // namespace qw
