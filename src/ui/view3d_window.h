// The 3D view ("3D View & Currents - " + file name): the wires in a
// rotatable, zoomable projection with pulses, sources, loads, the current
// along every wire and the 3D pattern, driven by its toolbar, the keyboard
// and the mouse. The currents and the pattern are computed as jobs; the
// pattern's progress shows in the window's bar, a click on which stops it.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <map>
#include <memory>

#include "model/context.h"
#include "plots/pattern3d.h"
#include "plots/view3d_projection.h"
#include "plots/view3d_scene.h"

class QAction;
class QPrinter;
class QProgressBar;

namespace qw {

class Canvas;

class QtHost;
class View3DPicture;

class View3DWindow : public QMainWindow {
    Q_OBJECT

public:
    using JobStarter = std::function<bool(std::function<void(Context&)> work, std::function<void()> finished)>;

    // `runJob` starts the currents and the pattern as jobs; `fieldType`
    // tells the pattern window's field type (1 total, 2 horizontal,
    // 3 vertical); `host` is asked to stop a job when the window is closed
    // during one.
    View3DWindow(Context& ctx, QtHost& host, JobStarter runJob, std::function<int()> fieldType,
                 QWidget* parent = nullptr);
    ~View3DWindow() override;

    // Plot > 3D View & Currents: the antenna's size and centre and the
    // default zoom taken anew, the window shown at its remembered place.
    void Open();

    // A toolbar command by its key ("bnCurrent", "bnZoomIn", ...).
    QAction* Command(const QString& key) const;
    const View3DState& View() const { return view_; }
    bool Computing() const { return computing_; }
    bool HasPattern() const { return hasPattern_; }
    const Pattern3DGrid& Pattern() const { return pattern_; }
    bool HasCurrents() const { return hasCurrents_; }
    // The picture as shown, at the picture area's size.
    QImage Picture() const;

    // What the picture does with a key and with the mouse.
    void KeyPressed(QKeyEvent* event);
    void MouseDragged(QPoint to, bool pan);
    void MousePressed(QPoint at);
    void WheelTurned(int steps);
    void Paint(QPainter& painter, int width, int height);
    // The view, currents, pattern and wire information drawn on a canvas.
    void Draw(Canvas& canvas);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildToolbar();
    QAction* AddCommand(const QString& key, const QString& caption, const QString& tip, std::function<void()> act,
                        bool checkable = false);
    void Redraw();
    void SyncChecks();
    void SetCurrents(bool on);
    void SetPattern(bool on);
    void ComputeCurrents();
    void ComputePattern();
    void Options();
    void Print();
    void Copy();
    void NextColour(int ProgramOptions::ViewColours::*member);
    void StopJob();

    Context& ctx_;
    QtHost& host_;
    JobStarter runJob_;
    std::function<int()> fieldType_;
    View3DState view_;
    Scene3D scene_;
    WireCurrentRows currents_;
    bool hasCurrents_ = false;
    Pattern3DGrid pattern_;
    bool hasPattern_ = false;
    bool computing_ = false;
    bool closePending_ = false;
    QPoint lastMouse_;

    std::map<QString, QAction*> commands_;
    std::unique_ptr<QPrinter> printer_;
    View3DPicture* picture_ = nullptr;
    QProgressBar* progress_ = nullptr;
};

}  // namespace qw
