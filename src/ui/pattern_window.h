// The pattern window ("Far Field Plot"): one azimuth or zenith cut of the
// radiation pattern on a polar grid with its captions, the comparison with
// a cut stored in another pattern file, and the picture's commands (clear,
// load, save as BMP, PNG or SVG, export to PDF, print, copy).
//
// The cuts run as jobs on a worker thread (the window and the main window
// stay live, Stop ends them); the other commands run on the GUI thread.
//
// The picture is a bitmap drawn by the plotting engine. Each drawing that
// starts a new picture (a cut without overlay, a comparison, Clear) takes
// the size the picture area has at that moment; an overlaid cut draws onto
// the picture as it is. On screen the picture is scaled to the area with
// its aspect ratio kept, so a resized window shows the old picture until
// the next cut draws one of the new size.
#pragma once

#include <QMainWindow>
#include <QString>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "model/context.h"
#include "plots/pattern_plot.h"

class QAction;
class QCheckBox;
class QPrinter;
class QPushButton;
class QButtonGroup;

namespace qw {

class NumberBox;
class PictureCanvas;
class PictureBox;
class QtHost;

class PatternWindow : public QMainWindow {
    Q_OBJECT

public:
    // Starts a job: `work` runs on a worker thread over a copy of the
    // context, which becomes the window's context when it has ended; then
    // `finished` runs on the GUI thread. False when it declined (another
    // command runs).
    using JobStarter = std::function<bool(std::function<void(Context&)> work, std::function<void()> finished)>;

    // `run` runs a command with the main window's other commands disabled
    // (it may decline while another command runs); `runJob` starts the
    // cuts as jobs under the same rules; `host` is asked to stop a
    // computation when the window is closed during one.
    PatternWindow(Context& ctx, QtHost& host, std::function<void(const std::function<void()>&)> run,
                  JobStarter runJob, QWidget* parent = nullptr);
    ~PatternWindow() override;

    // Plot > Far Field once the project passed its checks: no plot plane
    // yet, results in dB, the window shown at its remembered place and
    // raised.
    void Open();

    // The picture as drawn (its own size, not the size shown).
    const QImage& Picture() const;
    // A command by its toolbar key ("Azim", "Zen", "Compare", "Options",
    // "Print", "Show") or menu name ("mnuClear", "mnuLoadPic", "mnuSavePic",
    // "mnuSaveSvg", "mnuExportPdf", "mnuCopy"); nullptr when unknown.
    QAction* Command(const QString& name) const;
    // The caption lines of the last cut drawn, one per line, as the log
    // gets them.
    QString PictureCaptionsText() const;
    // A command or a cut runs (a cut until its job has ended).
    bool Computing() const { return computing_; }
    // The field type chosen (1 total, 2 horizontal, 3 vertical).
    int FieldType() const { return view_.FieldType; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QAction* AddCommand(const QString& name, const QString& caption, std::function<void()> act);
    void BuildMenus();
    void BuildToolbar();
    QWidget* BuildControls();

    // Runs work through `run` with the window's controls disabled; false
    // when it did not run.
    bool Compute(const std::function<void()>& work);
    void EnableControls(bool enabled);

    // The commands. A cut runs as a job: it draws on a canvas and a view
    // of its own, adopted when the job has ended.
    void DrawCut(int plane);
    void Compare();
    void Options();
    void Print();
    void ClearPicture();
    void LoadPicture();
    void SavePicture();
    void SaveSvg();
    void ExportPdf();
    void CopyPicture();

    // The boxes: what was typed is applied when the box is left, on Enter,
    // and at the start of every cut.
    bool ApplyHeight();
    void ApplyAngle();
    void SetAngle(float angle);
    void ShowHeight();
    void CycleHeightUnit();
    void SyncChecks();

    QSize PictureSize() const;
    void Adopt(std::unique_ptr<PictureCanvas> canvas);

    Context& ctx_;
    QtHost& host_;
    std::function<void(const std::function<void()>&)> run_;
    JobStarter runJob_;
    PatternView view_;
    std::unique_ptr<PictureCanvas> canvas_;
    std::vector<std::string> captions_;
    int heightUnit_ = 1;  // 1 m, 2 ft, 3 in, 4 cm, 5 mm, 6 wavelengths
    bool computing_ = false;
    bool closePending_ = false;

    std::map<QString, QAction*> commands_;
    std::unique_ptr<QPrinter> printer_;
    PictureBox* picture_ = nullptr;
    QWidget* controls_ = nullptr;
    QPushButton* angleButton_ = nullptr;
    NumberBox* angleBox_ = nullptr;
    QPushButton* heightButton_ = nullptr;
    NumberBox* heightBox_ = nullptr;
    QButtonGroup* fieldType_ = nullptr;
    QCheckBox* overlay_ = nullptr;
    QCheckBox* marker3dB_ = nullptr;
};

// The caption of the height unit button for a unit 1..6.
QString HeightUnitCaption(int unit);

// The angle box's rule: an entry whose whole-number part lies outside
// 1..360 becomes (value + 360) mod 360, rounded to a whole degree and
// brought into 0..359; others stay as they are.
double WrapCutAngle(double value);

}  // namespace qw
