// The pattern window on the offscreen platform: cuts of the example
// projects drawn and captioned, overlay (and its SVG), the comparison, the
// picture files, the clipboard, the height and angle boxes, the plot
// options, and a close during a computation.
#include "ui/pattern_window.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QImage>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QtTest/QTest>
#include <cmath>
#include <filesystem>
#include <functional>
#include <vector>

#include "commands/main_commands.h"
#include "model/checks.h"
#include "model/log_commands.h"
#include "model/new_project.h"
#include "model/settings.h"
#include "platform/scripted_host.h"
#include "solver/solver.h"
#include "support/temp_dir.h"
#include "ui/number_box.h"
#include "ui/plot_options_dialog.h"
#include "ui/qt_host.h"

namespace qw {
namespace {

const std::string kExamples = QW_EXAMPLES_DIR;
const QRgb kBluePixel = qRgb(0, 0, 255);
const QRgb kRedPixel = qRgb(255, 0, 0);

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

struct PatternWindowTest : ::testing::Test {
    test::TempDir dir;
    ScriptedHost script;  // the dialogs and messages of the window
    QtHost stopHost;      // the Stop of a close during a computation
    Context ctx{script};
    std::unique_ptr<PatternWindow> window;
    int runs = 0;

    PatternWindowTest() {
        InstallSolver(ctx);
        ctx.files.settingsFile = dir.File("QUILLWORK.INI");
        ctx.files.logFolder = dir.Path();
        NewProject(ctx);
        window = std::make_unique<PatternWindow>(ctx, stopHost, [this](const std::function<void()>& f) {
            ++runs;
            f();
        });
    }
    ~PatternWindowTest() override { window.reset(); }

    // The example copied into the test's folder (its pattern file goes
    // there), opened and checked as Plot > Far Field does, the window open.
    std::string OpenExample(const std::string& name) {
        const std::string path = dir.File(name);
        std::filesystem::copy_file(kExamples + "/" + name, path);
        EXPECT_TRUE(OpenNamedProject(ctx, path));
        CheckProject(ctx);
        EXPECT_FALSE(ctx.AbortFlag);
        window->Open();
        return path;
    }
    QAction* Command(const char* name) {
        QAction* a = window->Command(name);
        EXPECT_NE(a, nullptr) << name;
        return a;
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
    ASSERT_TRUE(OpenLog(ctx, dir.File("cuts.log")));
    Type("Ctl_Angle", "30");
    Command("Azim")->trigger();
    EXPECT_EQ(runs, 1);
    EXPECT_TRUE(script.messages.empty()) << script.MessageTexts().front();
    EXPECT_FALSE(PixelsOf(window->Picture(), kBluePixel).empty());
    // The lines `quillwork-cli pattern dipole.qlk --azimuth-cut 30` prints.
    EXPECT_EQ(Captions(), QStringList({"DIPOLE.QLK Azimuth Total Field", " Frequency  =  14.200 Mhz",
                                       " Antenna Height is :  10 m  ( 32.8084ft) Ground Diel. =  13  Cond. =  5",
                                       " Zenith Angle =  30 deg.", " Max = 6.92 dBi", " F/B = 0.00 dB",
                                       QString::fromUtf8(" Lobe at : 0º (BW:92º)"),
                                       QString::fromUtf8(" Lobe at : 180º (BW:90º)"), " 0 dB = 6.92 dBi"}));
    // The captions went to the log as they were written.
    FlushLog(ctx);
    const std::string log = test::ReadBytes(dir.File("cuts.log"));
    EXPECT_NE(log.find(" Zenith Angle =  30 deg.\r\n Max = 6.92 dBi\r\n F/B = 0.00 dB\r\n Lobe at : 0\xBA (BW:92\xBA)"),
              std::string::npos)
        << log;
    // The cut is stored beside the project.
    EXPECT_TRUE(std::filesystem::exists(dir.File("dipole.PF")));

    // `--zenith-cut 0`.
    Type("Ctl_Angle", "0");
    Command("Zen")->trigger();
    EXPECT_FALSE(PixelsOf(window->Picture(), kBluePixel).empty());
    EXPECT_EQ(Captions(), QStringList({"DIPOLE.QLK Zenith Total Field", " Frequency  =  14.200 Mhz",
                                       " Antenna Height is :  10 m ( 32.8084ft) Ground Diel. =  13  Cond. =  5",
                                       " Azimuth Angle =  0 deg.", " Max = 6.92 dBi",
                                       QString::fromUtf8(" Lobe at : 150º (BW:36º)"),
                                       QString::fromUtf8(" Lobe at : 30º (BW:36º)"), " 0 dB = 6.92 dBi"}));
    // The angle button: left the take-off angle, right the lobe angle.
    QTest::mouseClick(Child<QPushButton>("btnAngle"), Qt::LeftButton);
    EXPECT_EQ(Child<NumberBox>("Ctl_Angle")->text(), "30");
    Type("Ctl_Angle", "30");
    Command("Azim")->trigger();
    QTest::mouseClick(Child<QPushButton>("btnAngle"), Qt::RightButton);
    EXPECT_EQ(Child<NumberBox>("Ctl_Angle")->text(), "0");  // the lobe straight ahead
}

TEST_F(PatternWindowTest, OverlayKeepsThePreviousDrawingForOneCut) {
    OpenExample("yagi3.qlk");
    Type("Ctl_Angle", "20");
    Command("Azim")->trigger();
    const QImage first = window->Picture();
    const std::vector<QPoint> firstCurve = PixelsOf(first, kBluePixel);
    ASSERT_GT(firstCurve.size(), 100u);

    Child<QCheckBox>("ChkOverlay")->setChecked(true);
    Type("Ctl_Angle", "0");
    Command("Zen")->trigger();
    EXPECT_EQ(window->Picture().size(), first.size());
    // The grid drawn again covers a few of the old curve's pixels at most.
    EXPECT_GT(StillOf(window->Picture(), firstCurve, kBluePixel), 0.9);
    EXPECT_TRUE(Captions().front().endsWith("Zenith Total Field"));
    EXPECT_FALSE(Child<QCheckBox>("ChkOverlay")->isChecked());  // for one cut only
    // Both overlaid cuts go into the SVG.
    script.saveAnswers = {dir.File("cut.svg")};
    Command("mnuSaveSvg")->trigger();
    const std::string svg = test::ReadBytes(dir.File("cut.svg"));
    EXPECT_NE(svg.find("YAGI3.QLK Azimuth Total Field"), std::string::npos);
    EXPECT_NE(svg.find("YAGI3.QLK Zenith Total Field"), std::string::npos);
    script.saveAnswers = {dir.File("cut.pdf")};
    Command("mnuExportPdf")->trigger();
    EXPECT_EQ(test::ReadBytes(dir.File("cut.pdf")).substr(0, 5), "%PDF-");
    EXPECT_TRUE(script.messages.empty());

    Command("Zen")->trigger();
    EXPECT_LT(StillOf(window->Picture(), firstCurve, kBluePixel), 0.5);
    // Clear empties the picture.
    Command("mnuClear")->trigger();
    EXPECT_TRUE(PixelsOf(window->Picture(), kBluePixel).empty());
}

TEST_F(PatternWindowTest, CompareWithTheOwnFileAndWithAnother) {
    OpenExample("dipole.qlk");
    Command("Azim")->trigger();
    const QImage cut = window->Picture();
    script.openAnswers = {dir.File("DIPOLE.pf")};
    Command("Compare")->trigger();
    EXPECT_EQ(script.MessageTexts(), std::vector<std::string>{"This is your current antenna"});
    ASSERT_EQ(script.dialogs.size(), 1u);
    EXPECT_EQ(script.dialogs[0].filter, "Pattern File (*.PF)|*.PF");
    EXPECT_TRUE(window->Picture() == cut);  // nothing drawn

    // Cancelled: nothing at all.
    Command("Compare")->trigger();
    EXPECT_EQ(script.messages.size(), 1u);

    // Another file with the same cut: blue and red curves.
    std::filesystem::copy_file(dir.File("dipole.PF"), dir.File("other.PF"));
    script.openAnswers = {dir.File("other.PF")};
    Command("Compare")->trigger();
    EXPECT_EQ(script.messages.size(), 1u);
    EXPECT_FALSE(PixelsOf(window->Picture(), kRedPixel).empty());
    EXPECT_FALSE(PixelsOf(window->Picture(), kBluePixel).empty());
}

TEST_F(PatternWindowTest, PicturesSavedAsBmpAndPngLoadBack) {
    OpenExample("dipole.qlk");
    Command("Zen")->trigger();
    const QImage drawn = window->Picture();
    const std::vector<QPoint> probes = {{0, 0}, PixelsOf(drawn, kBluePixel).front(),
                                        {drawn.width() / 2, drawn.height() / 2},
                                        {drawn.width() - 1, drawn.height() - 1}};
    for (const char* name : {"cut.bmp", "cut.png"}) {
        script.saveAnswers = {dir.File(name)};
        Command("mnuSavePic")->trigger();
        EXPECT_EQ(script.dialogs.back().filter, "Bitmap (*.bmp)|*.bmp|PNG Picture (*.png)|*.png");
        Command("mnuClear")->trigger();
        script.openAnswers = {dir.File(name)};
        Command("mnuLoadPic")->trigger();
        const QImage loaded = window->Picture();
        ASSERT_EQ(loaded.size(), drawn.size()) << name;
        for (const QPoint& p : probes)
            EXPECT_EQ(loaded.pixel(p), drawn.pixel(p)) << name << " " << p.x() << "," << p.y();
        // A loaded bitmap cannot be written as SVG.
        EXPECT_FALSE(Command("mnuSaveSvg")->isEnabled());
    }
    EXPECT_EQ(test::ReadBytes(dir.File("cut.bmp")).substr(0, 2), "BM");
    EXPECT_TRUE(script.messages.empty());

    // A file that is no picture is reported, and the picture stays.
    test::WriteBytes(dir.File("not.png"), "no picture");
    script.openAnswers = {dir.File("not.png")};
    Command("mnuLoadPic")->trigger();
    ASSERT_EQ(script.messages.size(), 1u);
    EXPECT_EQ(script.messages[0].title, "Load Picture");
    EXPECT_EQ(window->Picture().size(), drawn.size());
}

TEST_F(PatternWindowTest, CopyPutsThePictureOnTheClipboard) {
    OpenExample("dipole.qlk");
    Command("Azim")->trigger();
    QGuiApplication::clipboard()->setText("old");
    // Ctrl+C reaches the window's shortcut once the window is active.
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    QTest::keyClick(window.get(), Qt::Key_C, Qt::ControlModifier);
    const QImage copied = QGuiApplication::clipboard()->image();
    ASSERT_FALSE(copied.isNull());
    EXPECT_EQ(copied.size(), window->Picture().size());
    EXPECT_EQ(copied.convertToFormat(QImage::Format_RGB32), window->Picture().convertToFormat(QImage::Format_RGB32));
}

TEST_F(PatternWindowTest, HeightBoxSetsTheHeightTheNextCutIsComputedAt) {
    OpenExample("dipole.qlk");  // 10 m at 14.2 MHz
    Command("Zen")->trigger();
    ASSERT_FALSE(ctx.project.Modified);
    auto* button = Child<QPushButton>("btnHeight");
    auto* box = Child<NumberBox>("Ctl_Height");
    // The unit button cycles through six units; only an edit sets the height.
    const QStringList captions = {"Height '", "Height \"", "Hght cm", "Hght mm", "Hght wlgth", "Height m."};
    const QStringList heights = {"32.81", "393.70", "1000.00", "10000.00", "0.47", "10.00"};
    for (int i = 0; i < 6; ++i) {
        QTest::mouseClick(button, Qt::LeftButton);
        EXPECT_EQ(button->text(), captions[i]);
        EXPECT_EQ(box->text(), heights[i]) << captions[i].toStdString();
    }
    EXPECT_FLOAT_EQ(ctx.project.Height, 10);
    EXPECT_FALSE(ctx.project.Modified);

    // In feet, 50 typed: the cut follows without Enter.
    QTest::mouseClick(button, Qt::LeftButton);
    box->setFocus();
    box->selectAll();
    QTest::keyClicks(box, "50");
    Command("Zen")->trigger();
    EXPECT_NEAR(ctx.project.Height, 15.24, 1e-4);
    EXPECT_TRUE(ctx.project.Modified);
    EXPECT_FALSE(ctx.project.HeightChanged);  // the pulses were built at the new height
    // As `quillwork-cli pattern dipole.qlk --zenith-cut 0 --height 15.24003`.
    const QStringList lines = Captions();
    ASSERT_EQ(lines.size(), 9);
    EXPECT_TRUE(lines[2].startsWith(" Antenna Height is :  15.24 m ( ")) << lines[2].toStdString();
    EXPECT_EQ(lines[4], " Max = 7.52 dBi");
    EXPECT_EQ(lines[6], QString::fromUtf8(" Lobe at : 90º (BW:58º)"));

    // A negative height is refused and the box shows the height in force.
    Type("Ctl_Height", "-5");
    EXPECT_EQ(script.MessageTexts(), std::vector<std::string>{"Negative value not allowed"});
    EXPECT_NEAR(ctx.project.Height, 15.24, 1e-4);
    EXPECT_EQ(box->text(), "50.00");
}

TEST_F(PatternWindowTest, AngleBoxWrapsWholeNumbersOutside1To360) {
    OpenExample("dipole.qlk");
    auto* box = Child<NumberBox>("Ctl_Angle");
    const std::vector<std::pair<QString, QString>> cases = {
        {"-10", "350"}, {"400", "40"}, {"360", "360"}, {"0", "0"}, {"45.5", "45.5"}, {"-720", "0"}, {"0.5", "0"}};
    for (const auto& [typed, shown] : cases) {
        Type("Ctl_Angle", typed);
        EXPECT_EQ(box->text(), shown) << typed.toStdString();
    }
    // The cut follows the box.
    Type("Ctl_Angle", "-90");
    Command("Zen")->trigger();
    EXPECT_EQ(Captions()[3], " Azimuth Angle =  270 deg.");
    // Far outside: still a whole degree in 0..359.
    for (double v : {1e30, -1e12, -359.5}) {
        EXPECT_GE(WrapCutAngle(v), 0) << v;
        EXPECT_LT(WrapCutAngle(v), 360) << v;
        EXPECT_EQ(WrapCutAngle(v), std::floor(WrapCutAngle(v))) << v;
    }
}

TEST_F(PatternWindowTest, PlotOptionsSetTheGridAndAreStored) {
    // Through the Options button: "Down to" 35 with a step of 10 is -30.
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<PlotOptionsDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->findChild<NumberBox*>("CtlGridDbStep")->setText("10");
        dialog->findChild<NumberBox*>("CtlMinDbValue")->setText("35");
        dialog->findChild<QRadioButton*>("CtlLin")->setChecked(true);
        dialog->findChild<QPushButton*>("CtlOK")->click();
    });
    Command("Options")->trigger();
    EXPECT_EQ(ctx.options.MinDb, -30);
    EXPECT_EQ(ctx.options.GridStep, 10);
    EXPECT_EQ(GetSetting(ctx, "PlotOptions", "Min dB down"), "-30");
    EXPECT_EQ(GetSetting(ctx, "PlotOptions", "Log plot"), "2");

    // A step of 0 is refused with the reason; the dialog stays open.
    PlotOptionsDialog dialog(ctx);
    dialog.show();
    dialog.findChild<NumberBox*>("CtlGridDbStep")->setText("0");
    dialog.findChild<QPushButton*>("CtlOK")->click();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(script.MessageTexts(), std::vector<std::string>{"The grid step must be at least 1 dB"});
    EXPECT_EQ(ctx.options.GridStep, 10);
    dialog.reject();
}

TEST_F(PatternWindowTest, ClosingDuringACutStopsItAndClosesAfterwards) {
    // The desktop's Host, so that the computation lets events run.
    OpenExample("yagi3.qlk");
    ctx.host = &stopHost;
    stopHost.Attach(&ctx, nullptr, nullptr);
    ASSERT_LT(ctx.project.MatrixState, 2);  // the cut solves first
    bool closedDuring = false;
    QTimer::singleShot(0, [&] {
        window->close();
        closedDuring = window->Computing() && window->isVisible();
    });
    Command("Azim")->trigger();
    EXPECT_TRUE(closedDuring);
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(PixelsOf(window->Picture(), kBluePixel).empty());
    EXPECT_NE(GetSetting(ctx, "Windows", "PlotScr"), "");
    // Opened again, it works.
    window->Open();
    ctx.AbortFlag = false;
    Command("Azim")->trigger();
    EXPECT_FALSE(PixelsOf(window->Picture(), kBluePixel).empty());
    stopHost.Attach(nullptr, nullptr, nullptr);
}

}  // namespace
}  // namespace qw
