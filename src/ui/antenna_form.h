// The antenna window `AntForm` ("2DView"): flat views of the wires in the
// XY, YZ or XZ plane with pulses, pulse numbers, wire lengths, sources and
// loads, the unit button, the colour keys and the read-out of a clicked
// point. The window is built to serve the frequency-sweep plots as well: a
// mode says which it shows, and the toolbar's Print and Stop and the
// read-out box belong to both.
//
// Keys: B, F, W, S, L, P, N advance the background, foreground, wire,
// source, load, pulse and pulse-number colour; Ctrl+C copies the picture.
//
// In sweep mode the window draws the impedance (R-X plane or Smith chart),
// SWR, gain or F/B plot point by point as a background job hands the
// points over; a left click reopens the plot's limits and sweeps again, a
// double click or Stop ends the sweep, and closing the window stops it
// first (the window goes once the work has unwound).
#pragma once

#include <QMainWindow>
#include <QString>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "model/context.h"
#include "plots/antenna_view.h"
#include "plots/sweep_plot.h"

class QAction;
class QLineEdit;
class QPrinter;
class QPushButton;
class QTimer;

namespace qw {

class PictureBox;
class PictureCanvas;

class AntennaForm : public QMainWindow {
    Q_OBJECT

public:
    // Starts a computation as a job of the main window (false when one is
    // running); `finished` runs on this thread when it has ended.
    using JobStarter = std::function<bool(std::function<void(Context&)>, std::function<void()>)>;

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

    // Sweep mode: the plot of `kind` for the band and limits of the
    // settings, computed by a job on every core. False when the job could
    // not start (another computation runs).
    bool OpenSweep(SweepPlotKind kind, JobStarter runJob);
    bool Sweeping() const { return sweeping_; }
    bool InSweepMode() const { return mode_ == Mode::Sweep; }
    const std::vector<PlotSample>& Points() const { return points_; }
    // The impedance plot in the R-X plane or on the Smith chart.
    void ShowSmith(bool smith);
    // Ends a running sweep after the points under way.
    void StopSweep();
    // A left click on the plot: the limits again, then the sweep again.
    void ReopenLimits();

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
    enum class Mode { View2D, Sweep };

    QAction* AddCommand(const QString& name, const QString& caption, std::function<void()> act);
    void BuildMenus();
    void BuildToolbar();
    void CycleUnit();
    void ShowUnitCaption();
    void ShowModeControls();
    bool StartSweep();
    void AddPoint(const PlotSample& point);
    void SweepEnded();
    void RedrawPlot();
    void FitCanvas();
    SweepPlotKind ShownKind() const;
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

    // Sweep mode.
    SweepPlotKind kind_ = SweepPlotKind::Impedance;
    bool smith_ = false;
    JobStarter runJob_;
    std::unique_ptr<SweepPlot> plot_;
    std::vector<PlotSample> points_;
    bool sweeping_ = false;
    bool closePending_ = false;   // closed during a sweep: close once it ended
    bool limitsPending_ = false;  // clicked during a sweep: the limits once it ended
    QTimer* clickTimer_ = nullptr;  // a single click waits to be no double click
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

// Plot > Impedance (kind Impedance: the checks, then "Frequency Range") and
// Plot > SWR, Gain, F/B (the checks, then "PlotLimits"): unless cancelled,
// BatchMode is set and the window of parent's shows the sweep. Returns the
// window, or nullptr when nothing was shown.
AntennaForm* OpenSweepPlot(Context& ctx, SweepPlotKind kind, QWidget* parent, AntennaForm::JobStarter runJob,
                           std::function<bool()> busy = {});

}  // namespace qw
