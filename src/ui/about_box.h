// The program's about box (Help > About).
#pragma once

class QMessageBox;
class QWidget;

namespace qw {

// Builds the about box: caption "About QUILLWORK", the program's name and
// version, what it is, and the Qt it runs on. The caller owns it.
QMessageBox* CreateAboutBox(QWidget* parent);

// Shows the about box modally.
void ShowAboutBox(QWidget* parent);

}  // namespace qw
