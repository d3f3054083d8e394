// The main window on the offscreen platform: the commands wired to the
// engine, computations as jobs on a worker thread (the window stays live,
// Stop, questions asked from a job), drops, and what it keeps in the
// settings. The commands themselves are tested without a window in
// tests/commands/main_commands_test.cpp.
#include "ui/main_window.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QUrl>
#include <QProgressBar>
#include <QThread>
#include <QTimer>
#include <QEventLoop>
#include <QtTest/QTest>
#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>

#include "commands/main_commands.h"
#include "model/settings.h"
#include "solver/solver.h"
#include "support/temp_dir.h"
#include "ui/geometry_window.h"
#include "ui/pattern_window.h"
#include "ui/qt_host.h"
#include "ui/source_load_window.h"
#include "ui/view3d_window.h"

namespace qw {
namespace {

const std::string kExamples = QW_EXAMPLES_DIR;
const std::string kBench = QW_BENCH_DIR;

// Runs `act` on the next turn of the event loop: from inside a modal dialog
// or a computation's ShowProgress.
void Soon(const std::function<void()>& act) { QTimer::singleShot(0, act); }

// The desktop's host with messages and the band dialog answered by the
// test; each answer notes whether it was given on the GUI thread.
struct AnsweringHost : QtHost {
    std::function<MessageAnswer(const Message&)> answer;
    std::optional<SweepRange> band;
    std::vector<bool> bandAskedOnGuiThread;
    MessageAnswer ShowMessage(const Message& m) override { return answer ? answer(m) : QtHost::ShowMessage(m); }
    std::optional<SweepRange> RequestFrequencyRange(const SweepRange& current) override {
        if (!band) return QtHost::RequestFrequencyRange(current);
        bandAskedOnGuiThread.push_back(QThread::currentThread() == QCoreApplication::instance()->thread());
        return band;
    }
};

// Runs the event loop until the window's command or job has ended.
bool WaitUntilIdle(const MainWindow& w) {
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (!w.Computing()) loop.quit();
    });
    poll.start(1);
    QTimer::singleShot(120000, &loop, &QEventLoop::quit);
    if (w.Computing()) loop.exec();
    return !w.Computing();
}

// A resonance scan of the 300 pulses of bench/six_wires.qlk through 61
// frequencies: a job that lasts.
constexpr SweepRange kLongScan{130, 160, 0.5};

struct MainWindowTest : ::testing::Test {
    test::TempDir dir;
    AnsweringHost host;
    Context ctx{host};
    std::unique_ptr<MainWindow> window;

    MainWindowTest() {
        InstallSolver(ctx);
        ctx.files.settingsFile = dir.File("QUILLWORK.INI");
        ctx.files.logFolder = dir.Path();
        window = std::make_unique<MainWindow>(ctx, host);
    }
    ~MainWindowTest() override {
        ctx.project.Modified = false;
        window.reset();
    }
    QAction* Command(const char* name) {
        QAction* a = window->Command(name);
        EXPECT_NE(a, nullptr) << name;
        return a;
    }
    QString Panel(int n) { return window->findChild<QLabel*>(QString("StatusPanel%1").arg(n))->text(); }
};

TEST_F(MainWindowTest, LaterWindowsStayDisabledAndPlotFarFieldChecksFirst) {
    window->Start("");
    for (const char* name : {"CtlSources", "CtlOpt", "btnoptimiz"})
        EXPECT_FALSE(Command(name)->isEnabled()) << name;
    EXPECT_TRUE(Command("CtlGeometry")->isEnabled());
    EXPECT_TRUE(Command("btngrid")->isEnabled());
    EXPECT_FALSE(Command("btnsrc")->isEnabled());
    host.EnableCommand("CtlSources", true);  // as a read project does
    EXPECT_TRUE(Command("btnsrc")->isEnabled());
    EXPECT_FALSE(Command("btnload")->isEnabled());
    host.EnableCommand("CtlSources", false);
    EXPECT_FALSE(Command("btnsrc")->isEnabled());
    // The optimizer follows the project: reading one enables it.
    host.EnableCommand("CtlOpt", true);
    EXPECT_TRUE(Command("CtlOpt")->isEnabled());
    host.EnableCommand("CtlOpt", false);

    // Without a project the checks ask for one; cancelled, nothing opens.
    Soon([] {
        QWidget* dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        dialog->close();
    });
    Command("Ctl_PlotFF")->trigger();
    EXPECT_EQ(window->Pattern(), nullptr);

    window->DropFile(QString::fromStdString(kExamples + "/dipole.qlk"));
    Command("btnfarfield")->trigger();
    ASSERT_NE(window->Pattern(), nullptr);
    EXPECT_TRUE(window->Pattern()->isVisible());
    // The 3D view opens from the toolbar too, named after the project.
    EXPECT_TRUE(Command("Ctl_3D")->isEnabled());
    Command("btn3d")->trigger();
    ASSERT_NE(window->View3D(), nullptr);
    EXPECT_TRUE(window->View3D()->isVisible());
    EXPECT_EQ(window->View3D()->windowTitle(), QStringLiteral("3D View & Currents - dipole.qlk"));
}

TEST_F(MainWindowTest, AComputationRunsAsAJobWhileTheWindowStaysLive) {
    window->Start(kBench + "/six_wires.qlk");
    window->show();
    const Revisions before = ctx.revisions;
    int ticks = 0;  // timer turns seen while the job computes
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        if (window->Computing()) ++ticks;
    });
    ticker.start(1);
    host.band = kLongScan;
    Command("CtlResonance")->trigger();
    // Back in the event loop at once, the job still going.
    EXPECT_TRUE(window->Computing());
    EXPECT_FALSE(Command("CtlResonance")->isEnabled());
    EXPECT_TRUE(Command("btnstop")->isEnabled());
    EXPECT_FALSE(window->MainTextContents().contains("IMPEDANCE"));
    window->resize(800, 600);
    ASSERT_TRUE(WaitUntilIdle(*window));
    ticker.stop();
    EXPECT_GE(ticks, 10);
    EXPECT_EQ(host.bandAskedOnGuiThread, std::vector<bool>{true});
    // The job's results are the project's: its report, its band.
    EXPECT_TRUE(window->MainTextContents().contains("At 160.000 Mhz"));
    EXPECT_FALSE(ctx.AbortFlag);
    EXPECT_TRUE(Command("CtlResonance")->isEnabled());
    EXPECT_EQ(ctx.options.ResonanceStep, 0.5f);

    // Compute Impedance: the report and the solved tables come back.
    ticks = 0;
    ticker.start(0);
    Command("CtlCompZ")->trigger();
    ASSERT_TRUE(WaitUntilIdle(*window));
    // (The 300 pulses take a few milliseconds now: the event loop turns at
    // least once while the job runs, however fast it is.)
    EXPECT_GE(ticks, 1);
    EXPECT_TRUE(window->MainTextContents().contains("IMPEDANCE"));
    EXPECT_TRUE(Panel(1).startsWith("run time: 00:0"));
    EXPECT_TRUE(PulsesCurrent(ctx));
    EXPECT_TRUE(SolutionCurrent(ctx));
}

// What a user does with a new antenna: New Project opens the geometry
// table; a wire is typed, S places a source on it, OK; a frequency; the
// impedance is computed, without a card typed anywhere.
TEST_F(MainWindowTest, FromNewProjectToAComputedImpedance) {
    window->Start("");
    window->show();
    std::vector<std::string> told;
    host.answer = [&](const Message& m) {
        told.push_back(m.text);
        return DefaultAnswer(m);
    };
    bool edited = false;
    Soon([&] {
        auto* table = qobject_cast<GeometryWindow*>(QApplication::activeModalWidget());
        ASSERT_NE(table, nullptr);
        ASSERT_EQ(table->Table().AddWire(), 1);
        const char* cells[] = {"0", "-5", "10", "0", "5", "10", "0.002", "11"};
        for (int c = kColX1; c <= kColSeg; ++c) ASSERT_TRUE(table->Table().SetCell(1, c, cells[c - kColX1])) << c;
        table->Refresh();
        Soon([&] {
            auto* placement = qobject_cast<SourceLoadWindow*>(QApplication::activeModalWidget());
            ASSERT_NE(placement, nullptr);
            ASSERT_FALSE(placement->Working().AddSource(1, 5));
            placement->findChild<QPushButton*>("COK")->click();
        });
        table->Grid()->setFocus();
        table->Grid()->setCurrentCell(0, kColX1);
        QTest::keyClick(table->Grid(), Qt::Key_S);
        EXPECT_EQ(table->Grid()->item(0, kColSrcLd)->text().trimmed(), "S5");
        table->findChild<QPushButton*>("Ctl_OK")->click();
        edited = true;
    });
    Command("CtlNewPrj")->trigger();
    ASSERT_TRUE(edited);
    EXPECT_TRUE(ctx.project.GeometryDefined);
    ASSERT_EQ(ctx.project.SourceCount, 1);
    EXPECT_EQ(ctx.project.Sources[1].Pulse, 5);
    EXPECT_TRUE(std::find(told.begin(), told.end(), "No Sources defined") == told.end());

    Command(kFreeSpaceCommand)->trigger();
    Soon([&] {
        QWidget* dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        auto* box = dialog->findChild<QLineEdit*>("FValue");
        ASSERT_NE(box, nullptr);
        box->setText("14.2");
        dialog->findChild<QPushButton*>("OK")->click();
    });
    Command("CtlFrequency")->trigger();
    EXPECT_FLOAT_EQ(ctx.project.Frequency, 14.2f);

    Command("CtlCompZ")->trigger();
    ASSERT_TRUE(WaitUntilIdle(*window));
    EXPECT_TRUE(window->MainTextContents().contains("IMPEDANCE")) << window->MainTextContents().toStdString();
    EXPECT_TRUE(SolutionCurrent(ctx));
}

TEST_F(MainWindowTest, APatternCutRunsAsAJobUnderTheWindowsRules) {
    // A copy: the cut writes the pattern file beside the project.
    const std::string path = dir.File("six_wires.qlk");
    std::filesystem::copy_file(kBench + "/six_wires.qlk", path);
    window->Start(path);
    Command("Ctl_PlotFF")->trigger();
    PatternWindow* pattern = window->Pattern();
    ASSERT_NE(pattern, nullptr);
    ASSERT_FALSE(SolutionCurrent(ctx));
    pattern->Command("Azim")->trigger();
    // The job has started and this thread is back: only Stop is enabled.
    EXPECT_TRUE(window->Computing());
    EXPECT_TRUE(pattern->Computing());
    std::vector<std::string> enabled;
    for (QAction* a : window->findChildren<QAction*>())
        if (a->isEnabled() && !a->objectName().isEmpty()) enabled.push_back(a->objectName().toStdString());
    EXPECT_EQ(enabled, std::vector<std::string>{"btnstop"});
    ASSERT_TRUE(WaitUntilIdle(*window));
    // Its results are the project's and the window's.
    EXPECT_FALSE(pattern->Computing());
    EXPECT_FALSE(ctx.AbortFlag);
    EXPECT_TRUE(SolutionCurrent(ctx));
    EXPECT_TRUE(pattern->PictureCaptionsText().startsWith("SIX_WIRES.QLK Azimuth Total Field"));
    EXPECT_TRUE(Command("CtlCompZ")->isEnabled());
    EXPECT_TRUE(pattern->Command("Zen")->isEnabled());
    EXPECT_TRUE(std::filesystem::exists(dir.File("six_wires.PF")));
}

TEST_F(MainWindowTest, StopEndsAJobAndOnlyStopWorksMeanwhile) {
    window->Start(kBench + "/six_wires.qlk");
    const Revisions before = ctx.revisions;
    const float frequency = ctx.project.Frequency;
    auto* bar = window->findChild<QProgressBar*>("ProgressBar1");
    ASSERT_NE(bar, nullptr);
    std::vector<std::string> enabledDuringRun;
    std::chrono::steady_clock::time_point stopAt;
    bool clicked = false;
    // The job's first step on the progress bar: a look at the commands,
    // then a click on the bar.
    QObject::connect(bar, &QProgressBar::valueChanged, window.get(), [&](int value) {
        if (clicked || value <= 0 || !window->Computing()) return;
        clicked = true;
        for (QAction* a : window->findChildren<QAction*>())
            if (a->isEnabled() && !a->objectName().isEmpty()) enabledDuringRun.push_back(a->objectName().toStdString());
        stopAt = std::chrono::steady_clock::now();
        QTest::mouseClick(bar, Qt::LeftButton);
    });
    host.band = kLongScan;
    Command("CtlResonance")->trigger();
    ASSERT_TRUE(WaitUntilIdle(*window));
    const auto took = std::chrono::steady_clock::now() - stopAt;
    RecordProperty("stop_ms", static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(took).count()));
    ASSERT_TRUE(clicked);
    EXPECT_EQ(enabledDuringRun, std::vector<std::string>{"btnstop"});
    EXPECT_TRUE(ctx.AbortFlag);
    EXPECT_FALSE(window->MainTextContents().contains("At 160.000 Mhz"));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(bar->value(), 0);
    EXPECT_EQ(ctx.revisions, before);
    EXPECT_EQ(ctx.project.Frequency, frequency);
    EXPECT_TRUE(Command("CtlResonance")->isEnabled());

    // The next run is not stopped by the old request.
    QObject::disconnect(bar, nullptr, window.get(), nullptr);
    host.band.reset();
    Command("CtlCompZ")->trigger();
    ASSERT_TRUE(WaitUntilIdle(*window));
    EXPECT_FALSE(ctx.AbortFlag);
    EXPECT_TRUE(window->MainTextContents().contains("IMPEDANCE"));
}

TEST_F(MainWindowTest, AJobWaitsForItsQuestionAnsweredOnTheGuiThread) {
    // The vertical stands at height 0 over ground: the warning is asked.
    window->Start(kExamples + "/vertical.qlk");
    ASSERT_FALSE(ctx.options.HeightWarningOff);
    struct Asked {
        bool onGuiThread = false;
        bool jobRunning = false;
        bool reportBeforeAnswer = true;
        std::string title;
    };
    std::vector<Asked> asked;
    MessageAnswer reply = MessageAnswer::No;
    host.answer = [&](const Message& m) {
        Asked a;
        a.onGuiThread = QThread::currentThread() == QCoreApplication::instance()->thread();
        a.jobRunning = window->Computing();
        a.title = m.title;
        // The window lives on while the question is open; the job waits.
        QTest::qWait(50);
        a.reportBeforeAnswer = window->MainTextContents().contains("IMPEDANCE");
        asked.push_back(a);
        return reply;
    };

    // Declined: the job ends cancelled and the warning stays on.
    Command("CtlCompZ")->trigger();
    ASSERT_TRUE(WaitUntilIdle(*window));
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].title, "Warning");
    EXPECT_TRUE(asked[0].onGuiThread);
    EXPECT_TRUE(asked[0].jobRunning);
    EXPECT_TRUE(ctx.AbortFlag);
    EXPECT_FALSE(ctx.options.HeightWarningOff);
    EXPECT_FALSE(window->MainTextContents().contains("IMPEDANCE"));

    // Accepted: the job goes on after the answer, and the option it turned
    // off is the project's.
    reply = MessageAnswer::Yes;
    Command("CtlCompZ")->trigger();
    ASSERT_TRUE(WaitUntilIdle(*window));
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_TRUE(asked[1].onGuiThread);
    EXPECT_TRUE(asked[1].jobRunning);
    EXPECT_FALSE(asked[1].reportBeforeAnswer);
    EXPECT_FALSE(ctx.AbortFlag);
    EXPECT_TRUE(ctx.options.HeightWarningOff);
    EXPECT_TRUE(window->MainTextContents().contains("IMPEDANCE"));
}

TEST_F(MainWindowTest, ClosingDuringAComputationStopsItFirst) {
    window->Start(kBench + "/six_wires.qlk");
    window->show();
    Soon([&] { window->close(); });
    host.band = kLongScan;
    Command("CtlResonance")->trigger();
    ASSERT_TRUE(WaitUntilIdle(*window));
    EXPECT_FALSE(window->MainTextContents().contains("At 160.000 Mhz"));
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(GetSetting(ctx, kWindowsSection, "Main").empty());
}

TEST_F(MainWindowTest, AFileDroppedOnTheTextOpens) {
    window->Start("");
    auto* text = window->findChild<QPlainTextEdit*>("MainText");
    ASSERT_NE(text, nullptr);
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString(kExamples + "/yagi3.qlk"))});
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(text->viewport(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(text->viewport(), &drop);
    EXPECT_EQ(ctx.project.WireCount, 3);
    EXPECT_EQ(Panel(2), "yagi3.qlk");
    EXPECT_EQ(window->windowTitle(), "QUILLWORK v1.0 - yagi3.qlk[*]");
}

TEST_F(MainWindowTest, ToolbarLayoutAndPlaceSurviveARestart) {
    window->Start("");
    window->SetToolbarKeys({"btnstop", "btnzcompute", "btnopen"});
    window->setGeometry(40, 50, 700, 500);
    window->close();
    MainWindow again(ctx, host);
    again.Start("");
    EXPECT_EQ(again.ToolbarKeys(), (std::vector<std::string>{"btnstop", "btnzcompute", "btnopen"}));
    EXPECT_EQ(again.size(), QSize(700, 500));
}

TEST_F(MainWindowTest, ExportToPdfWritesTheReport) {
    window->Start(kExamples + "/dipole.qlk");
    Command("CtlCompZ")->trigger();
    ASSERT_TRUE(WaitUntilIdle(*window));
    Soon([&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->selectFile(QString::fromStdString(dir.File("report")));
        QMetaObject::invokeMethod(dialog, "accept");
    });
    Command("CtlExportPdf")->trigger();
    EXPECT_EQ(test::ReadBytes(dir.File("report.pdf")).substr(0, 5), "%PDF-");
}

TEST(QtHost, FileFiltersAndMessageBoxes) {
    EXPECT_EQ(QtNameFilters("QLK Project (*.qlk)|*.qlk|NEC File (*.nec)|*.nec"),
              QStringList({"QLK Project (*.qlk *.QLK)", "NEC File (*.nec *.NEC)"}));
    EXPECT_EQ(DefaultSuffix("QLK Project (*.qlk)|*.qlk"), "qlk");
    EXPECT_EQ(DefaultSuffix("All (*.*)|*.*"), "");

    QtHost host;  // messages: the default button, plain line ends, the program's title
    Soon([] { QTest::keyClick(QApplication::activeModalWidget(), Qt::Key_Return); });
    EXPECT_EQ(host.ShowMessage({"Save changes ?", "Project was modified", MessageIcon::Critical,
                                MessageButtons::YesNoCancel, 2}),
              MessageAnswer::No);
    Soon([] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->text(), "Your Decimal point\nis set");
        EXPECT_EQ(box->windowTitle(), "QUILLWORK");
        box->button(QMessageBox::Ok)->click();
    });
    EXPECT_EQ(host.ShowMessage({"Your Decimal point\r\nis set", "", MessageIcon::None, MessageButtons::Ok, 1}),
              MessageAnswer::Ok);
}

}  // namespace
}  // namespace qw
