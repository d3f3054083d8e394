// The numeric text box of the dialogs, and the few helpers every dialog
// shares: reading a box as the program's number types, and the OK/Cancel
// row.
//
// A box selects its whole text when it receives the focus, so that typing
// replaces the value. Its number is read with the program's own lenient rule
// (the leading number of the text, 0 when there is none), with "," taken as
// the decimal point as well: never through a validator that depends on the
// user's locale.
#pragma once

#include <QLineEdit>
#include <QString>
#include <string>

#include "model/context.h"

class QBoxLayout;
class QDialog;
class QPushButton;

namespace qw {

class NumberBox : public QLineEdit {
    Q_OBJECT
public:
    explicit NumberBox(const QString& objectName, QWidget* parent = nullptr);

    // The leading number of the text.
    double Value() const;
    // The text as the program keeps it (Windows-1252).
    std::string ProgramText() const;

protected:
    void focusInEvent(QFocusEvent* event) override;
};

// A number as a box shows it: the Str form without its leading blank.
QString BoxText(float value);
QString BoxText(int value);

// Reads a box as a 32-bit value, or as a whole number of steps (rounded
// half to even, 16-bit). A number that does not fit is refused: the message
// "Number out of range" (titled with the dialog's caption) is shown through
// the Host, the box gets the focus, and the result is false.
bool ReadSingle(Context& ctx, NumberBox& box, float& out);
bool ReadCount(Context& ctx, NumberBox& box, int& out);

// Adds the dialog's button row (OK as the default button, then Cancel) to
// the layout; returns the two buttons. OK is connected to nothing, Cancel
// to the dialog's reject().
struct DialogButtons {
    QPushButton* ok;
    QPushButton* cancel;
};
DialogButtons AddDialogButtons(QDialog& dialog, QBoxLayout& layout, const QString& okName,
                               const QString& cancelName);

}  // namespace qw
