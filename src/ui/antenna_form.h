// The antenna window `AntForm` ("2DView"): flat views of the wires in the
// XY, YZ or XZ plane with pulses, pulse numbers, wire lengths, sources and
// loads, the unit button, the colour keys and the read-out of a clicked
// point. The window is built to serve the frequency-sweep plots as well: a
// mode says which it shows, and the toolbar's Print and Stop and the
// read-out box belong to both.
//
// Keys: B, F, W, S, L, P, N advance the background, foreground, wire,
// source, load, pulse and pulse-number colour; Ctrl+C copies the picture.
#pragma once

#include <QMainWindow>
#include <QString>
#include <functional>
#include <map>
#include <memory>

#include "model/context.h"
#include "plots/antenna_view.h"

class QAction;
class QLineEdit;
class QPrinter;
class QPushButton;

namespace qw {

class PictureBox;
class PictureCanvas;

class AntennaForm : public QMainWindow {
    Q_OBJECT

public:
    // `busy` (may be empty) tells whether another command is running: the
    // unit button and the colour keys then change nothing, since the
    // command's result will replace the project.
    AntennaForm(Context& ctx, std::function<bool()> busy, QWidget* parent = nullptr);
    ~AntennaForm() override;

    // Shows the 2D view of the current plane, at the window's remembered
    // place the first time, and raises it.
    void OpenView();
    // Draws the view again (the project may have changed).
    void Redraw();

    const Context& ViewedContext() const { return ctx_; }
    // A toolbar or menu command: "btnxyz", "btnpulses", "btnpulsenumber",
    // "btnPrint", "btnstop", "mnuSavePic", "mnuSaveSvg", "mnuExportPdf",
    // "mnuCopy"; nullptr when unknown.
    QAction* Command(const QString& name) const;
    QPushButton* UnitButton() const { return unitButton_; }
    QString ReadOut() const;
    const PictureCanvas& Picture() const { return *canvas_; }
    const AntennaViewState& ViewState() const { return state_; }
    // What a left click at this pixel of the picture shows.
    void ClickAt(const QPoint& picturePixel);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    enum class Mode { View2D };  // the sweep plots join here

    QAction* AddCommand(const QString& name, const QString& caption, std::function<void()> act);
    void BuildMenus();
    void BuildToolbar();
    void CycleUnit();
    void ShowUnitCaption();
    bool Busy() const { return busy_ && busy_(); }

    Context& ctx_;
    std::function<bool()> busy_;
    Mode mode_ = Mode::View2D;
    AntennaViewState state_;
    ViewFrame frame_;
    std::uint64_t drawnRevision_ = ~std::uint64_t{0};
    std::unique_ptr<PictureCanvas> canvas_;
    std::unique_ptr<QPrinter> printer_;
    std::map<QString, QAction*> commands_;
    PictureBox* picture_ = nullptr;
    QPushButton* unitButton_ = nullptr;
    QLineEdit* readOut_ = nullptr;
};

// Plot > 2D View and the "btn2d" button: with
// BatchMode cleared and CheckProject passed, "Define Geometry First" when
// the project has no wires; otherwise the 2D view of ctx opens (a window
// of parent's, reused while it is open). Returns the window, or nullptr
// when nothing was shown.
AntennaForm* Open2DView(Context& ctx, QWidget* parent, std::function<bool()> busy = {});
// Opens (or raises) the view of `ctx` without the checks, for a caller that
// has checked the wires itself: the geometry editor's Show button.
AntennaForm* Show2DView(Context& ctx, QWidget* parent, std::function<bool()> busy = {});

}  // namespace qw
