// The project-file window: a project file's own text, read through the open
// dialog, for a look or for editing. OK accepts the project read, or saves
// an edited text to a new file (which is then to be opened); Cancel drops
// the project.
#pragma once

#include <QDialog>

#include "commands/project_file_window.h"
#include "model/context.h"

class QLabel;
class QPlainTextEdit;

namespace qw {

class ProjectFileWindow : public QDialog {
    Q_OBJECT
public:
    // Shows the open dialog (through the Host) and reads the file chosen.
    explicit ProjectFileWindow(Context& ctx, QWidget* parent = nullptr);

    // False when the open dialog was cancelled or the read failed: the
    // window then holds an empty "New Project".
    bool Loaded() const { return view_.loaded; }

    void reject() override;

private:
    void Ok();

    Context& ctx_;
    ProjectFileView view_;
    bool changed_ = false;
    QPlainTextEdit* text_;
    QLabel* wires_;
};

}  // namespace qw
