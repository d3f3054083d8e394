// Every window of the desktop program remembers where it was: its position
// goes under its own key of the settings' "Windows" section when it closes
// and comes back when it opens.
#pragma once

#include <QDialog>
#include <QString>
#include <string>

#include "model/context.h"

class QWidget;

namespace qw {

// Moves (and, for a resizable window, sizes or maximises) the window to the
// place stored under key, clipped to the screen it opens on. Nothing stored:
// the window keeps its own place.
void RestorePlacement(QWidget& window, const Context& ctx, const std::string& key, bool resizable);

// Stores the window's place under key (the normal geometry of a maximised
// window, with a height reaching the screen's so that it opens maximised
// again).
void SavePlacement(const QWidget& window, Context& ctx, const std::string& key);

// A fixed-size dialog that opens where it was last closed: its place is
// stored under its key whenever it closes (OK, Cancel, Esc or the window's
// close button).
class PlacedDialog : public QDialog {
public:
    PlacedDialog(Context& ctx, const char* key, QWidget* parent);

protected:
    // Moves the dialog to its stored place; called once its layout is built.
    void RestorePlace();
    void done(int result) override;

    Context& ctx_;

private:
    const char* key_;
};

// Texts of the program (Windows-1252 bytes) and Qt's strings.
QString FromProgramText(const std::string& bytes);
std::string ToProgramText(const QString& text);

}  // namespace qw
