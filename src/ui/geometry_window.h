// The geometry editor ("Geometry"): the project's wires as a table, one row
// per wire, edited in place. The rules live in GeometryTable
// (commands/geometry_table.h); this window shows the table, turns keys,
// clicks and buttons into its operations and keeps its place under
// "GeoGrid". exec() returns Accepted after OK, Rejected after Cancel (the
// project then is as it was when the window opened).
#pragma once

#include <QDialog>
#include <functional>
#include <memory>

#include "commands/geometry_table.h"
#include "model/context.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTableWidget;

namespace qw {

class GeometryWindow : public QDialog {
    Q_OBJECT
public:
    explicit GeometryWindow(Context& ctx, QWidget* parent = nullptr);
    ~GeometryWindow() override;

    // Show: called once the geometry passed its check and the pulses are
    // built (the 2D view opens there).
    std::function<void()> showAntenna;
    // The S and L keys: called after the table is in the project, to place
    // sources and loads; the pulses are built again and the table redrawn
    // afterwards. Without it the keys do nothing else.
    std::function<void()> placeSourcesLoads;
    // Help: opens the user guide at a context number.
    std::function<void(int)> showHelp;

    GeometryTable& Table() { return *table_; }
    QTableWidget* Grid() const { return grid_; }
    // The floating cell editor, visible while a cell is edited.
    QLineEdit* CellEditor() const { return editor_; }

    // Copy and paste through the clipboard, as Ctrl+C and Ctrl+V do.
    void CopySelection();
    void PasteClipboard();
    void Undo();
    void Redo();
    // Redraws every cell from the project.
    void Refresh();

    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void done(int result) override;

private:
    void BuildControls();
    QPushButton* Button(const char* name, const QString& caption, const QString& hint);
    int CurrentRow() const;
    int CurrentColumn() const;
    CellBlock Selection() const;
    void OpenEditor(const QString& text, bool selectAll);
    void CommitEditor();
    void AbandonEditor();
    bool GridKey(QKeyEvent* key);
    void DeleteSelectedRows(bool ask);
    void AddWire();
    void InsertWire();
    void RotateWires();
    void ScaleOrShift(bool scale);
    void RunTaper();
    void ShowWireLength();
    void Print();
    void ShowAntenna();
    void RefreshPulses();
    void PlaceSourcesLoads();
    void EditLocks();
    void Ok();
    void Message(const std::string& text, const std::string& title = "");

    Context& ctx_;
    std::unique_ptr<GeometryTable> table_;
    QTableWidget* grid_ = nullptr;
    QLineEdit* editor_ = nullptr;
    int editRow_ = 0, editColumn_ = 0;
    bool committing_ = false;
    int axis_ = 3;
    QPushButton* axisButton_ = nullptr;
    QPushButton* unitButton_ = nullptr;
    QLineEdit* theta_ = nullptr;
    QLineEdit* scaleValue_ = nullptr;
    QLineEdit* shiftValue_ = nullptr;
    QCheckBox* connect_ = nullptr;
    QLabel* wireLength_ = nullptr;
    QGroupBox* taperPanel_ = nullptr;
    QLineEdit* diam_[2] = {nullptr, nullptr};
    QLineEdit* segment_[2] = {nullptr, nullptr};
    QRadioButton* segDim_[2] = {nullptr, nullptr};
    QRadioButton* tip_[3] = {nullptr, nullptr, nullptr};
};

// The optimizer's lock list ("Variables Locks"): a check box for every
// wire, load and source; a checked box locks that variable.
class LockListDialog : public QDialog {
    Q_OBJECT
public:
    LockListDialog(Context& ctx, QWidget* parent = nullptr);

private:
    Context& ctx_;
};

// The help context of the geometry editor.
inline constexpr int kGeometryHelpContext = 215;

}  // namespace qw
