// The pattern window on the offscreen platform: cuts of the example
// projects drawn and captioned, overlay (and its SVG), the comparison with
// the own file, the picture files, the clipboard, the height and angle
// boxes, the plot options, the cuts as jobs (the window live meanwhile, an
// overlay drawn on a copy of the picture) and a close during a cut. The caption
// lines, the pattern file and the comparison are checked without a window
// by tests/app/cli_pattern.sh.
#include "ui/pattern_window.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QImage>
#include <QPushButton>
#include <QEventLoop>
#include <QRadioButton>
#include <QTimer>
#include <QtTest/QTest>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <functional>
#include <thread>
#include <vector>

#include "commands/checks.h"
#include "commands/main_commands.h"
#include "model/new_project.h"
#include "model/settings.h"
#include "platform/scripted_host.h"
#include "solver/solver.h"
#include "support/scripted_qt_host.h"
#include "support/temp_dir.h"
#include "ui/job_runner.h"
#include "ui/number_box.h"
#include "ui/plot_options_dialog.h"
#include "ui/qt_host.h"

namespace qw {
namespace {

const std::string kExamples = QW_EXAMPLES_DIR;
const std::string kBench = QW_BENCH_DIR;
const QRgb kBluePixel = qRgb(0, 0, 255);

std::vector<QPoint> PixelsOf(const QImage& image, QRgb colour) {
    std::vector<QPoint> found;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) == colour) found.push_back({x, y});
    return found;
}

// The share of the points that still have the colour.
double StillOf(const QImage& image, const std::vector<QPoint>& points, QRgb colour) {
    int kept = 0;
    for (const QPoint& p : points) kept += image.pixel(p) == colour;
    return points.empty() ? 0 : static_cast<double>(kept) / static_cast<double>(points.size());
}

using test::ScriptedQtHost;

// Waits on the worker until `go` is set.
void Hold(const std::atomic<bool>& go) {
    while (!go) std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

struct PatternWindowTest : ::testing::Test {
    test::TempDir dir;
    ScriptedHost script;          // the dialogs and messages of the window
    ScriptedQtHost stopHost{script};  // the jobs' host, and the Stop of a close during a cut
    Context ctx{script};
    JobRunner jobs{ctx, stopHost};
    // Run on the worker before and after a cut's work.
    std::function<void()> beforeWork, afterWork;
    std::unique_ptr<PatternWindow> window;
    int runs = 0;

    PatternWindowTest() {
        InstallSolver(ctx);
        ctx.files.settingsFile = dir.File("QUILLWORK.INI");
        ctx.files.logFolder = dir.Path();
        NewProject(ctx);
        window = std::make_unique<PatternWindow>(
            ctx, stopHost,
            [this](const std::function<void()>& f) {
                ++runs;
                ctx.stop.Reset();  // as the main window starts every command
                f();
            },
            [this](std::function<void(Context&)> work, std::function<void()> finished) {
                ++runs;
                ctx.stop.Reset();
                return jobs.Start(
                    [this, work = std::move(work)](Context& job) {
                        if (beforeWork) beforeWork();
                        work(job);
                        if (afterWork) afterWork();
                    },
                    std::move(finished));
            });
    }

    // Runs the event loop until the window's cut has ended.
    bool WaitForCut() {
        QEventLoop loop;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
            if (!window->Computing()) loop.quit();
        });
        poll.start(1);
        QTimer::singleShot(120000, &loop, &QEventLoop::quit);
        if (window->Computing()) loop.exec();
        return !window->Computing();
    }

    // The example copied into the test's folder (its pattern file goes
    // there), opened and checked as Plot > Far Field does, the window open.
    void OpenExample(const std::string& name) {
        const std::string path = dir.File(name);
        std::filesystem::copy_file(kExamples + "/" + name, path);
        EXPECT_TRUE(OpenNamedProject(ctx, path));
        CheckProject(ctx);
        window->Open();
    }
    // Triggers a command and waits until it (a cut: its job) has ended.
    void Run(const char* command) {
        QAction* a = window->Command(command);
        ASSERT_NE(a, nullptr) << command;
        a->trigger();
        ASSERT_TRUE(WaitForCut()) << command;
    }
    template <typename T>
    T* Child(const char* name) {
        T* w = window->findChild<T*>(name);
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    // Types into a box as the user does and presses Enter.
    void Type(const char* box, const QString& text) {
        auto* b = Child<NumberBox>(box);
        b->setFocus();
        b->selectAll();
        QTest::keyClicks(b, text);
        QTest::keyClick(b, Qt::Key_Return);
    }
    QStringList Captions() { return window->PictureCaptionsText().split('\n'); }
};

TEST_F(PatternWindowTest, AzimuthAndZenithCutsDrawAndCaptionAsTheEngineWrites) {
    OpenExample("dipole.qlk");
    Type("Ctl_Angle", "30");
    Run("Azim");
    EXPECT_EQ(runs, 1);
    EXPECT_TRUE(script.messages.empty()) << script.MessageTexts().front();
    EXPECT_FALSE(PixelsOf(window->Picture(), kBluePixel).empty());
    // The lines `quillwork-cli pattern dipole.qlk --azimuth-cut 30` prints.
    EXPECT_EQ(Captions(), QStringList({"DIPOLE.QLK Azimuth Total Field", " Frequency  =  14.200 Mhz",
                                       " Antenna Height is :  10 m  ( 32.8084ft) Ground Diel. =  13  Cond. =  5",
                                       " Zenith Angle =  30 deg.", " Max = 6.92 dBi", " F/B = 0.00 dB",
                                       QString::fromUtf8(" Lobe at : 0º (BW:92º)"),
                                       QString::fromUtf8(" Lobe at : 180º (BW:90º)"), " 0 dB = 6.92 dBi"}));
    Type("Ctl_Angle", "0");  // `--zenith-cut 0`
    Run("Zen");
    EXPECT_FALSE(PixelsOf(window->Picture(), kBluePixel).empty());
    const QStringList zenith = Captions();
    ASSERT_EQ(zenith.size(), 8);
    EXPECT_EQ(zenith[0], "DIPOLE.QLK Zenith Total Field");
    EXPECT_EQ(zenith[5], QString::fromUtf8(" Lobe at : 150º (BW:36º)"));
    // The angle button: left the take-off angle, right the lobe angle.
    QTest::mouseClick(Child<QPushButton>("btnAngle"), Qt::LeftButton);
    EXPECT_EQ(Child<NumberBox>("Ctl_Angle")->text(), "30");
    Run("Azim");
    QTest::mouseClick(Child<QPushButton>("btnAngle"), Qt::RightButton);
    EXPECT_EQ(Child<NumberBox>("Ctl_Angle")->text(), "0");  // the lobe straight ahead
}

TEST_F(PatternWindowTest, OverlayKeepsThePreviousDrawingForOneCut) {
    OpenExample("yagi3.qlk");
    Type("Ctl_Angle", "0");
    Run("Zen");
    const std::vector<QPoint> zenith = PixelsOf(window->Picture(), kBluePixel);
    Type("Ctl_Angle", "20");
    Run("Azim");
    const QImage first = window->Picture();
    const std::vector<QPoint> firstCurve = PixelsOf(first, kBluePixel);
    ASSERT_GT(firstCurve.size(), 100u);
    ASSERT_GT(zenith.size(), 100u);
    EXPECT_LT(StillOf(first, zenith, kBluePixel), 0.5);

    // The overlaid cut draws on a copy: when its work has ended on the
    // worker, the picture shown is still the one before.
    std::atomic<bool> drawnOnWorker = false, looked = false;
    bool unchangedWhileRunning = false;
    afterWork = [&] {
        drawnOnWorker = true;
        Hold(looked);
    };
    QTimer watcher;
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        if (!drawnOnWorker || looked) return;
        unchangedWhileRunning = window->Computing() && window->Picture() == first;
        looked = true;
    });
    watcher.start(1);
    Child<QCheckBox>("ChkOverlay")->setChecked(true);
    Type("Ctl_Angle", "0");
    Run("Zen");
    watcher.stop();
    afterWork = nullptr;
    EXPECT_TRUE(looked && unchangedWhileRunning);
    // Adopted at the end: the earlier curve stays (the grid drawn again
    // covers a few of its pixels at most) and the new one is there.
    EXPECT_GT(StillOf(window->Picture(), firstCurve, kBluePixel), 0.9);
    EXPECT_GT(StillOf(window->Picture(), zenith, kBluePixel), 0.9);
    EXPECT_FALSE(Child<QCheckBox>("ChkOverlay")->isChecked());  // for one cut only
    // Both overlaid cuts go into the SVG.
    script.saveAnswers = {dir.File("cut.svg")};
    Run("mnuSaveSvg");
    const std::string svg = test::ReadBytes(dir.File("cut.svg"));
    EXPECT_NE(svg.find("YAGI3.QLK Azimuth Total Field"), std::string::npos);
    EXPECT_NE(svg.find("YAGI3.QLK Zenith Total Field"), std::string::npos);

    Run("Zen");
    EXPECT_LT(StillOf(window->Picture(), firstCurve, kBluePixel), 0.5);
    Run("mnuClear");
    EXPECT_TRUE(PixelsOf(window->Picture(), kBluePixel).empty());
}

TEST_F(PatternWindowTest, CompareWithTheOwnFileIsRefused) {
    OpenExample("dipole.qlk");
    Run("Azim");
    const QImage cut = window->Picture();
    script.openAnswers = {dir.File("DIPOLE.pf")};
    Run("Compare");
    EXPECT_EQ(script.MessageTexts(), std::vector<std::string>{"This is your current antenna"});
    EXPECT_TRUE(window->Picture() == cut);  // nothing drawn
}

TEST_F(PatternWindowTest, PicturesSavedAsBmpAndPngLoadBack) {
    OpenExample("dipole.qlk");
    Run("Zen");
    const QImage drawn = window->Picture().convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(PixelsOf(drawn, kBluePixel).empty());
    for (const char* name : {"cut.bmp", "cut.png"}) {
        script.saveAnswers = {dir.File(name)};
        Run("mnuSavePic");
        Run("mnuClear");
        script.openAnswers = {dir.File(name)};
        Run("mnuLoadPic");
        EXPECT_TRUE(window->Picture().convertToFormat(QImage::Format_RGB32) == drawn) << name;
        EXPECT_FALSE(window->Command("mnuSaveSvg")->isEnabled());  // a loaded bitmap has no SVG
    }
    EXPECT_EQ(test::ReadBytes(dir.File("cut.bmp")).substr(0, 2), "BM");
}

TEST_F(PatternWindowTest, CtrlCPutsThePictureOnTheClipboard) {
    OpenExample("dipole.qlk");
    Run("Azim");
    QGuiApplication::clipboard()->setText("old");
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    QTest::keyClick(window.get(), Qt::Key_C, Qt::ControlModifier);
    const QImage copied = QGuiApplication::clipboard()->image();
    EXPECT_EQ(copied.convertToFormat(QImage::Format_RGB32), window->Picture().convertToFormat(QImage::Format_RGB32));
}

TEST_F(PatternWindowTest, HeightAndAngleBoxesSetTheNextCut) {
    OpenExample("dipole.qlk");  // 10 m at 14.2 MHz
    auto* button = Child<QPushButton>("btnHeight");
    auto* box = Child<NumberBox>("Ctl_Height");
    // The unit button shows the height in the next unit; only an edit sets it.
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(button->text(), "Height '");
    EXPECT_EQ(box->text(), "32.81");
    EXPECT_FALSE(ctx.project.Modified);
    // 50 ft typed: the cut follows without Enter.
    box->setFocus();
    box->selectAll();
    QTest::keyClicks(box, "50");
    Run("Zen");
    EXPECT_NEAR(ctx.project.Height, 15.24, 1e-4);
    EXPECT_TRUE(ctx.project.Modified);
    EXPECT_TRUE(PulsesCurrent(ctx));  // the pulses were built at the new height
    // As `quillwork-cli pattern dipole.qlk --zenith-cut 0 --height 15.24003`.
    ASSERT_EQ(Captions().size(), 9);
    EXPECT_TRUE(Captions()[2].startsWith(" Antenna Height is :  15.24 m ( ")) << Captions()[2].toStdString();
    EXPECT_EQ(Captions()[4], " Max = 7.52 dBi");

    // A negative height is refused and the box shows the height in force.
    Type("Ctl_Height", "-5");
    EXPECT_EQ(script.MessageTexts(), std::vector<std::string>{"Negative value not allowed"});
    EXPECT_NEAR(ctx.project.Height, 15.24, 1e-4);
    EXPECT_EQ(box->text(), "50.00");

    // Whole degrees outside 1..360 wrap, and the cut follows the box.
    Type("Ctl_Angle", "-90");
    EXPECT_EQ(Child<NumberBox>("Ctl_Angle")->text(), "270");
    Run("Zen");
    EXPECT_EQ(Captions()[3], " Azimuth Angle =  270 deg.");
}

TEST_F(PatternWindowTest, PlotOptionsSetTheGridAndAreStored) {
    // The Options button's dialog: a step of 0 is refused and the dialog
    // stays; "Down to" 35 with a step of 10 is -30.
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<PlotOptionsDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        auto* ok = dialog->findChild<QPushButton*>("CtlOK");
        dialog->findChild<NumberBox*>("CtlGridDbStep")->setText("0");
        ok->click();
        dialog->findChild<NumberBox*>("CtlGridDbStep")->setText("10");
        dialog->findChild<NumberBox*>("CtlMinDbValue")->setText("35");
        dialog->findChild<QRadioButton*>("CtlLin")->setChecked(true);
        ok->click();
    });
    Run("Options");
    EXPECT_EQ(script.MessageTexts(), std::vector<std::string>{"The grid step must be at least 1 dB"});
    EXPECT_EQ(ctx.options.MinDb, -30);
    EXPECT_EQ(ctx.options.PlotScale, 2);
    EXPECT_EQ(GetSetting(ctx, "PlotOptions", "Min dB down"), "-30");
}

TEST_F(PatternWindowTest, ClosingDuringACutStopsItAndClosesAfterwards) {
    OpenExample("yagi3.qlk");
    ctx.host = &stopHost;
    stopHost.Attach(&ctx, nullptr, nullptr);
    ASSERT_FALSE(SolutionCurrent(ctx));  // the cut solves first
    // The cut's worker waits until the window was closed, so the stop is
    // there before the cut's first step.
    std::atomic<bool> closed = false;
    beforeWork = [&] { Hold(closed); };
    bool closedDuring = false;
    QTimer::singleShot(0, [&] {
        window->close();
        closedDuring = window->Computing() && window->isVisible();
        closed = true;
    });
    Run("Azim");
    EXPECT_TRUE(closedDuring);
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(ctx.AbortFlag);
    EXPECT_TRUE(PixelsOf(window->Picture(), kBluePixel).empty());
    EXPECT_NE(GetSetting(ctx, "Windows", "PlotScr"), "");
    // Opened again, it works.
    beforeWork = nullptr;
    window->Open();
    ctx.AbortFlag = false;
    Run("Azim");
    EXPECT_FALSE(PixelsOf(window->Picture(), kBluePixel).empty());
    stopHost.Attach(nullptr, nullptr, nullptr);
}

TEST_F(PatternWindowTest, ACutOfALargeStructureRunsWhileTheWindowStaysLive) {
    // 300 pulses to fill, factorise and solve before the cut.
    const std::string path = dir.File("six_wires.qlk");
    std::filesystem::copy_file(kBench + "/six_wires.qlk", path);
    ASSERT_TRUE(OpenNamedProject(ctx, path));
    CheckProject(ctx);
    window->Open();
    ASSERT_FALSE(SolutionCurrent(ctx));
    // The job goes on once this thread's timer has turned a few times with
    // the job started: a cut run on this thread, or this thread waiting for
    // the job, would see no turn (the worker gives up waiting after a while).
    std::atomic<bool> started = false, turned = false;
    beforeWork = [&] {
        started = true;
        const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (!turned && std::chrono::steady_clock::now() < giveUp)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    };
    int ticks = 0;  // timer turns on this thread while the job runs
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        if (started && window->Computing() && ++ticks >= 10) turned = true;
    });
    ticker.start(1);
    window->Command("Azim")->trigger();
    // Back in the event loop at once, the cut still going, the controls off.
    EXPECT_TRUE(window->Computing());
    EXPECT_FALSE(window->Command("Zen")->isEnabled());
    EXPECT_FALSE(Child<QWidget>("Controls")->isEnabled());
    window->Command("Zen")->trigger();  // ignored while the cut runs
    window->resize(900, 700);
    ASSERT_TRUE(WaitForCut());
    ticker.stop();
    EXPECT_GE(ticks, 10);
    EXPECT_EQ(runs, 1);
    EXPECT_TRUE(script.messages.empty()) << script.MessageTexts().front();
    // The job's results are the window's and the project's.
    EXPECT_FALSE(PixelsOf(window->Picture(), kBluePixel).empty());
    EXPECT_TRUE(Captions().front().endsWith("Azimuth Total Field")) << Captions().front().toStdString();
    EXPECT_TRUE(SolutionCurrent(ctx));
    EXPECT_TRUE(window->Command("Zen")->isEnabled());
    EXPECT_TRUE(Child<QWidget>("Controls")->isEnabled());
}

}  // namespace
}  // namespace qw
