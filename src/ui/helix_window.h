// The helix generator's window: the helix's dimensions, its base and the
// unit; "Create Project..." writes the project file and opens it in the
// main program.
#pragma once

#include <QWidget>
#include <functional>

#include "model/helix_project.h"

class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QPushButton;
class QSpinBox;

namespace qw {

class HelixWindow : public QWidget {
    Q_OBJECT
public:
    explicit HelixWindow(QWidget* parent = nullptr);

    // The design of the fields, lengths in metres.
    HelixDesign Design() const;
    // Writes the project to path; "" or the reason it was not written.
    QString WriteProject(const QString& path) const;

    // Asks where to save (a file dialog unless replaced) and opens the
    // saved file (starts the main program unless replaced).
    std::function<QString()> askPath;
    std::function<bool(const QString& path)> openProject;

    // The line under the fields: the wire and pulse count, or the problem.
    QString StatusText() const;

    QComboBox *sizeKind, *spacingKind, *hand, *base, *unit;
    QDoubleSpinBox *turns, *size, *spacing, *wire, *radialLength, *frequency;
    QSpinBox *segmentsPerTurn, *radialCount;
    QPushButton* create;

private:
    void Update();
    void Create();
    QLabel* status_;
};

// Starts the main program beside this one (or on the PATH) with the file.
bool OpenInMainProgram(const QString& path);

}  // namespace qw
