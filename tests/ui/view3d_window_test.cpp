// The 3D view on the offscreen platform: its caption and default zoom, the
// keys (Alt steps, Shift pans, colours, Space through the wires), the mouse
// and the wheel, the currents and the 3D pattern as jobs (the pattern's
// file, a click on the progress bar stopping it), the plot options with
// the polar grid's step disabled, and Ctrl+C.
#include "ui/view3d_window.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QEventLoop>
#include <QMouseEvent>
#include <QProgressBar>
#include <QTimer>
#include <QWheelEvent>
#include <QtTest/QTest>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <thread>

#include "commands/checks.h"
#include "commands/main_commands.h"
#include "model/new_project.h"
#include "platform/canvas.h"
#include "platform/scripted_host.h"
#include "solver/solver.h"
#include "support/scripted_qt_host.h"
#include "support/temp_dir.h"
#include "ui/job_runner.h"
#include "ui/number_box.h"
#include "ui/qt_host.h"

namespace qw {
namespace {

const std::string kExamples = QW_EXAMPLES_DIR;

using test::ScriptedQtHost;

struct View3DWindowTest : ::testing::Test {
    test::TempDir dir;
    ScriptedHost script;
    ScriptedQtHost jobHost{script};
    Context ctx{script};
    JobRunner jobs{ctx, jobHost};
    std::atomic<bool> go{true};
    int field = kTotalField;
    std::unique_ptr<View3DWindow> window;
    QWidget* picture = nullptr;

    View3DWindowTest() {
        InstallSolver(ctx);
        ctx.files.settingsFile = dir.File("QUILLWORK.INI");
        ctx.files.logFolder = dir.Path();
        NewProject(ctx);
        window = std::make_unique<View3DWindow>(
            ctx, jobHost,
            [this](std::function<void(Context&)> work, std::function<void()> finished) {
                ctx.stop.Reset();
                return jobs.Start(
                    [this, work = std::move(work)](Context& job) {
                        while (!go) std::this_thread::sleep_for(std::chrono::milliseconds(1));
                        work(job);
                    },
                    std::move(finished));
            },
            [this] { return field; });
        picture = window->findChild<QWidget*>("Picture1");
    }

    bool Wait() {
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

    void OpenYagi() {
        const std::string path = dir.File("yagi3.qlk");
        std::filesystem::copy_file(kExamples + "/yagi3.qlk", path);
        ASSERT_TRUE(OpenNamedProject(ctx, path));
        CheckProject(ctx);
        window->Open();
        ASSERT_NE(picture, nullptr);
    }
    void Key(int key, Qt::KeyboardModifiers m = Qt::NoModifier) { QTest::keyClick(picture, Qt::Key(key), m); }
    void Trigger(const char* key) {
        QAction* a = window->Command(key);
        ASSERT_NE(a, nullptr) << key;
        a->trigger();
    }
};

// The share of pixels close to a colour.
int PixelsNear(const QImage& image, Rgb c) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor p = image.pixelColor(x, y);
            n += std::abs(p.red() - c.r) + std::abs(p.green() - c.g) + std::abs(p.blue() - c.b) < 40;
        }
    return n;
}

TEST_F(View3DWindowTest, CaptionZoomKeysMouseAndWheel) {
    OpenYagi();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("3D View & Currents - yagi3.qlk"));
    EXPECT_FLOAT_EQ(window->View().Zoom, 100 / 10.6f);
    for (int k = 0; k < 10; ++k) Key(Qt::Key_Right);
    EXPECT_EQ(window->View().ViewAngle2, -10);
    Key(Qt::Key_Right, Qt::AltModifier);
    EXPECT_EQ(window->View().ViewAngle2, 40);
    Key(Qt::Key_Up);
    EXPECT_EQ(window->View().ViewAngle1, -65);
    Key(Qt::Key_End, Qt::AltModifier);
    EXPECT_EQ(window->View().ViewAngle0, 50);
    Key(Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_EQ(window->View().PanX, 1);
    EXPECT_EQ(window->View().ViewAngle2, 40);
    const float zoom = window->View().Zoom;
    Key(Qt::Key_Plus, Qt::AltModifier | Qt::KeypadModifier);
    EXPECT_FLOAT_EQ(window->View().Zoom, 2 * zoom);
    Key(Qt::Key_Minus, Qt::KeypadModifier);
    EXPECT_FLOAT_EQ(window->View().Zoom, 2 * zoom - 0.5f);

    // Colours advance through the 16 of the palette.
    ctx.options.Colours.Back = 15;
    Key(Qt::Key_B);
    EXPECT_EQ(ctx.options.Colours.Back, 0);
    const int wire = ctx.options.Colours.Wire;
    Key(Qt::Key_W);
    EXPECT_EQ(ctx.options.Colours.Wire, (wire + 1) % 16);
    // Space through the wires and back.
    Key(Qt::Key_Space);
    Key(Qt::Key_Space);
    EXPECT_EQ(window->View().InfoWire, 3);
    Key(Qt::Key_Space);
    EXPECT_EQ(window->View().InfoWire, 1);
    Key(Qt::Key_Space, Qt::ShiftModifier);
    EXPECT_EQ(window->View().InfoWire, 3);
    Key(Qt::Key_M);
    EXPECT_TRUE(window->View().Marker);

    // A left drag turns, a right drag pans, the wheel zooms.
    const float a2 = window->View().ViewAngle2, a1 = window->View().ViewAngle1;
    QTest::mousePress(picture, Qt::LeftButton, {}, QPoint(100, 100));
    QMouseEvent move(QEvent::MouseMove, QPointF(110, 105), picture->mapToGlobal(QPointF(110, 105)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(picture, &move);
    EXPECT_NE(window->View().ViewAngle2, a2);
    EXPECT_NE(window->View().ViewAngle1, a1);
    QTest::mouseRelease(picture, Qt::LeftButton, {}, QPoint(110, 105));
    const float panX = window->View().PanX;
    QTest::mousePress(picture, Qt::RightButton, {}, QPoint(50, 50));
    QMouseEvent pan(QEvent::MouseMove, QPointF(53, 50), picture->mapToGlobal(QPointF(53, 50)), Qt::NoButton,
                    Qt::RightButton, Qt::NoModifier);
    QApplication::sendEvent(picture, &pan);
    EXPECT_EQ(window->View().PanX, panX + 3);
    const float before = window->View().Zoom;
    QWheelEvent wheel(QPointF(50, 50), picture->mapToGlobal(QPointF(50, 50)), QPoint(), QPoint(0, 120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(picture, &wheel);
    EXPECT_FLOAT_EQ(window->View().Zoom, 2 * before);

    // Toolbar turns act as Alt steps.
    const float turned = window->View().ViewAngle2;
    Trigger("bnLeft");
    EXPECT_EQ(window->View().ViewAngle2, WrapViewAngle(turned - 50));
}

TEST_F(View3DWindowTest, CurrentsAndPatternAreJobsAndTheBarStopsThePattern) {
    OpenYagi();
    window->resize(700, 560);
    window->show();
    Trigger("bnCurrent");
    ASSERT_TRUE(Wait());
    EXPECT_TRUE(window->HasCurrents());
    EXPECT_TRUE(window->View().ShowCurrents);
    EXPECT_TRUE(window->Command("bnCurrent")->isChecked());
    const Rgb positive = PaletteColour(ctx.options.Colours.PosCurrent);
    const int withCurrents = PixelsNear(window->Picture(), positive);
    Trigger("bnCurrent");
    EXPECT_FALSE(window->View().ShowCurrents);
    // The source's mark has the same colour; the curves are gone.
    EXPECT_GT(withCurrents, PixelsNear(window->Picture(), positive) + 200);

    field = kHorizontalField;
    Trigger("bn3DPattern");
    ASSERT_TRUE(Wait());
    ASSERT_TRUE(window->HasPattern());
    EXPECT_EQ(window->Pattern().fieldType, kHorizontalField);
    EXPECT_EQ(std::filesystem::file_size(dir.File("yagi3.PLT")), 73u * 80);
    EXPECT_TRUE(window->View().ShowPattern);

    // Off, then on again and stopped with a click on the bar.
    Trigger("bn3DPattern");
    EXPECT_FALSE(window->View().ShowPattern);
    go = false;
    Trigger("bn3DPattern");
    auto* bar = window->findChild<QProgressBar*>("PrBar1");
    ASSERT_NE(bar, nullptr);
    EXPECT_TRUE(bar->isVisible());
    QTest::mouseClick(bar, Qt::LeftButton);
    go = true;
    ASSERT_TRUE(Wait());
    EXPECT_FALSE(window->View().ShowPattern);
    EXPECT_FALSE(bar->isVisible());
    EXPECT_FALSE(window->Command("bn3DPattern")->isChecked());
}

TEST_F(View3DWindowTest, OptionsDisableTheGridStepAndCtrlCCopiesThePicture) {
    OpenYagi();
    bool stepEnabled = true, seen = false;
    QTimer::singleShot(200, [&] {
        QWidget* dialog = QApplication::activeModalWidget();
        if (!dialog) return;
        seen = true;
        if (auto* step = dialog->findChild<NumberBox*>("CtlGridDbStep")) stepEnabled = step->isEnabled();
        dialog->close();
    });
    Trigger("bnOptions");
    EXPECT_TRUE(seen);
    EXPECT_FALSE(stepEnabled);

    QGuiApplication::clipboard()->clear();
    Key(Qt::Key_C, Qt::ControlModifier);
    const QImage copied = QGuiApplication::clipboard()->image();
    EXPECT_EQ(copied.size(), window->Picture().size());
    EXPECT_GT(PixelsNear(copied, PaletteColour(ctx.options.Colours.Wire)), 50);

    // Picture > Save as SVG writes the drawing's own lines and captions;
    // Save Picture a PNG of the picture's size.
    script.saveAnswers = {dir.File("view.svg"), dir.File("view.png")};
    Trigger("mnuSaveSvg");
    const std::string svg = test::ReadBytes(dir.File("view.svg"));
    EXPECT_NE(svg.find("<svg"), std::string::npos);
    EXPECT_NE(svg.find("X axis"), std::string::npos);
    EXPECT_NE(svg.find("<line"), std::string::npos);
    Trigger("mnuSavePic");
    EXPECT_EQ(QImage(QString::fromStdString(dir.File("view.png"))).size(), window->Picture().size());
}

}  // namespace
}  // namespace qw
