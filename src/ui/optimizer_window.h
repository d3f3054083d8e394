// The optimizer window ("Optimizer"): the target, its limits and the
// direction of gain and F/B, the variables, Delta, Go, Stop, OK, the lock
// list, the status text of the run and its live chart, and Revert.
//
// A run is a job of the main window over a copy of the project; the status
// lines, log lines and chart points come back to this thread as they
// happen, and the project reached becomes the open project when the run
// ends or is stopped.
#pragma once

#include <QImage>
#include <QLabel>
#include <QWidget>
#include <functional>
#include <optional>
#include <vector>

#include "model/context.h"
#include "model/line_file.h"
#include "plots/optimizer_chart.h"
#include "sweeps/optimizer.h"

class QCheckBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace qw {

// A label that steps a number box: a left click adds 1, any other button
// subtracts 1.
class StepLabel : public QLabel {
    Q_OBJECT
public:
    StepLabel(const QString& text, QLineEdit* box, QWidget* parent);

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    QLineEdit* box_;
};

class OptimizerWindow : public QWidget {
    Q_OBJECT

public:
    using JobStarter = std::function<bool(std::function<void(Context&)>, std::function<void()>)>;
    // `documents`: the folder of the working files when the project's own
    // folder cannot be written.
    OptimizerWindow(Context& ctx, JobStarter runJob, std::string documents, QWidget* parent = nullptr);
    ~OptimizerWindow() override;

    // Opens (or raises) the window as it opens afresh: boxes cleared,
    // target 0 (gain for more than one source), the log started anew.
    void Open();
    bool Running() const { return running_; }
    // The status picture's text and the log file's path.
    QString StatusText() const;
    std::string LogPath() const { return logPath_; }
    const std::vector<OptimizerChartPoint>& ChartPoints() const { return points_; }
    float Delta() const { return delta_; }

    void Go();
    void StopRun();
    void Revert();
    void ScaleDelta(int doublings);  // the Delta buttons and the "+"/"-" keys

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void SelectTarget(int target);
    void Status(const QString& text, bool clear);
    void DrawChart();
    void RunEnded();
    void UpdateButtons();
    OptimizerRequest Request() const;

    Context& ctx_;
    JobStarter runJob_;
    std::string documents_;
    Optimizer optimizer_;
    LineFile log_;
    std::string logPath_;
    float delta_ = kStartDelta;
    int steps_ = 0;
    bool running_ = false;
    std::optional<Document> beforeFirstRun_;
    std::vector<OptimizerChartPoint> points_;
    OptimizerOutcome outcome_;

    QRadioButton* target_[4] = {};
    QLabel* limitLabel_[2] = {};
    QLineEdit* box_[4] = {};
    QCheckBox* dim_[3] = {};
    QCheckBox* load_[3] = {};
    QCheckBox* src_[2] = {};
    QPushButton* go_ = nullptr;
    QPushButton* stop_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* revert_ = nullptr;
    QPushButton* locks_ = nullptr;
    QPushButton* deltaButton_[2] = {};
    QPlainTextEdit* dwin_ = nullptr;
    QLabel* chart_ = nullptr;
    QImage chartImage_;
};

}  // namespace qw
