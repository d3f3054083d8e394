// The 2D view window on the offscreen platform, opened as Plot > 2D View
// and the toolbar's btn2d open it: the checks before it opens, the plane,
// pulse and unit buttons, the colour keys, the click read-out, Ctrl+C,
// resizing and the remembered place. The drawing itself is tested on a
// recording canvas in tests/plots/antenna_view_test.cpp.
#include "ui/antenna_form.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest/QTest>

#include "model/settings.h"
#include "solver/solver.h"
#include "support/temp_dir.h"
#include "ui/main_window.h"
#include "ui/picture_canvas.h"
#include "ui/qt_host.h"

namespace qw {
namespace {

const std::string kExamples = QW_EXAMPLES_DIR;

// Messages are noted and answered OK; the open-file dialog answers from
// the test.
struct NotingHost : QtHost {
    std::vector<std::string> messages;
    std::optional<std::string> openAnswer;
    MessageAnswer ShowMessage(const Message& m) override {
        messages.push_back(m.text);
        return MessageAnswer::Ok;
    }
    std::optional<std::string> OpenFileDialog(const std::string&, const std::string&, const std::string&) override {
        return openAnswer;
    }
};

struct AntennaFormTest : ::testing::Test {
    test::TempDir dir;
    NotingHost host;
    Context ctx{host};
    std::unique_ptr<MainWindow> window;

    AntennaFormTest() {
        InstallSolver(ctx);
        ctx.files.settingsFile = dir.File("QUILLWORK.INI");
        ctx.files.logFolder = dir.Path();
        window = std::make_unique<MainWindow>(ctx, host);
        window->Start("");
    }
    ~AntennaFormTest() override {
        ctx.project.Modified = false;
        window.reset();
    }
    AntennaForm* View() { return window->findChild<AntennaForm*>(QString(), Qt::FindDirectChildrenOnly); }
    AntennaForm* OpenYagi() {
        window->DropFile(QString::fromStdString(kExamples + "/yagi3.qlk"));
        window->Command("btn2d")->trigger();
        AntennaForm* form = View();
        if (form) {
            form->resize(700, 600);
            QApplication::processEvents();
        }
        return form;
    }
};

TEST_F(AntennaFormTest, OpensOnlyOverAGeometry) {
    EXPECT_TRUE(window->Command("Ctl_2D")->isEnabled());
    EXPECT_TRUE(window->Command("btn2d")->isEnabled());
    // No project: the checks ask for one; cancelled, nothing opens.
    window->Command("Ctl_2D")->trigger();
    EXPECT_EQ(View(), nullptr);
    // A project file without wires: the checks say so and nothing opens.
    test::WriteBytes(dir.File("empty.qlk"), "CM nothing yet\r\nCE\r\nF  14.2\r\nFree Space\r\n");
    host.openAnswer = dir.File("empty.qlk");
    host.messages.clear();
    window->Command("Ctl_2D")->trigger();
    EXPECT_EQ(View(), nullptr);
    ASSERT_FALSE(host.messages.empty());
    EXPECT_EQ(host.messages.back(), "No wires found");

    AntennaForm* form = OpenYagi();
    ASSERT_NE(form, nullptr);
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(form->windowTitle(), "Antenna View XY Plane ");
    EXPECT_FALSE(ctx.BatchMode);
    // A second request raises the same window.
    window->Command("Ctl_2D")->trigger();
    EXPECT_EQ(window->findChildren<AntennaForm*>(QString(), Qt::FindDirectChildrenOnly).size(), 1);
}

TEST_F(AntennaFormTest, ButtonsKeysAndReadOut) {
    AntennaForm* form = OpenYagi();
    ASSERT_NE(form, nullptr);
    const QImage& image = form->Picture().Image();
    EXPECT_EQ(image.pixel(2, image.height() - 2), qRgb(255, 255, 255));

    QAction* plane = form->Command("btnxyz");
    plane->trigger();
    EXPECT_EQ(form->windowTitle(), "Antenna View YZ Plane ");
    plane->trigger();
    EXPECT_EQ(form->windowTitle(), "Antenna View XZ Plane ");
    plane->trigger();
    EXPECT_EQ(form->windowTitle(), "Antenna View XY Plane ");
    EXPECT_FALSE(form->Command("btnstop")->isEnabled());

    // Pulses on, then numbers; pulses off switches the numbers off too.
    auto count = [&](QRgb colour) {
        const QImage& img = form->Picture().Image();
        int n = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x) n += img.pixel(x, y) == colour;
        return n;
    };
    const QRgb pulseColour = qRgb(0, 255, 255);
    EXPECT_EQ(count(pulseColour), 0);
    form->Command("btnpulses")->trigger();
    EXPECT_GT(count(pulseColour), 27);
    form->Command("btnpulsenumber")->trigger();
    EXPECT_TRUE(form->ViewState().pulseNumbers);
    form->Command("btnpulses")->trigger();
    EXPECT_FALSE(form->ViewState().pulseNumbers);
    EXPECT_FALSE(form->Command("btnpulsenumber")->isChecked());
    EXPECT_EQ(count(pulseColour), 0);

    // The unit button runs through the six units, the Units menu following.
    QPushButton* unit = form->UnitButton();
    EXPECT_EQ(unit->objectName(), "Ctl_Unit");
    QStringList captions{unit->text()};
    for (int i = 0; i < 6; ++i) {
        unit->click();
        captions << unit->text();
        if (i == 0) {
            EXPECT_EQ(ctx.project.Units, kFeet);
            EXPECT_TRUE(window->Command("Ctl_Units(1)")->isChecked());
            EXPECT_FALSE(window->Command("Ctl_Units(0)")->isChecked());
        }
    }
    EXPECT_EQ(captions, (QStringList{"Meters", "Feet", "Inches", "cm", "mm", "wlngth", "Meters"}));

    // Colour keys: B turns the background black, and is kept for the settings.
    QTest::keyClick(form, Qt::Key_B);
    EXPECT_EQ(ctx.options.Colours.Back, 0);
    EXPECT_EQ(form->Picture().Image().pixel(2, form->Picture().Image().height() - 2), qRgb(0, 0, 0));
    QTest::keyClick(form, Qt::Key_W);
    EXPECT_EQ(ctx.options.Colours.Wire, 10);
    QTest::keyClick(form, Qt::Key_N);
    EXPECT_EQ(form->ViewState().pulseNumberColour, 1);

    // A click shows the point under the mouse.
    QWidget* picture = form->findChild<QWidget*>("Pic2D");
    ASSERT_NE(picture, nullptr);
    const ViewFrame f = FitView(ctx.project, kPlaneXY, form->Picture().Width(), form->Picture().Height());
    const QPoint at(static_cast<int>((2100 - f.left) * form->Picture().Width() / (f.right - f.left)),
                    static_cast<int>((f.top - 4800) * form->Picture().Height() / (f.top - f.bottom)));
    QTest::mouseClick(picture, Qt::LeftButton, {}, at);
    const QString text = form->ReadOut();
    ASSERT_TRUE(text.startsWith("X = ")) << text.toStdString();
    const QStringList parts = text.mid(4).split(", Y = ");
    ASSERT_EQ(parts.size(), 2);
    EXPECT_NEAR(parts[0].toDouble(), 2.1, 0.05);
    EXPECT_NEAR(parts[1].toDouble(), 4.8, 0.05);

    // Ctrl+C puts the picture on the clipboard.
    QGuiApplication::clipboard()->clear();
    QTest::keyClick(form, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->image().size(), form->Picture().Image().size());

    // A resize draws the view again at the new size.
    form->resize(900, 420);
    QApplication::processEvents();
    EXPECT_EQ(form->Picture().Width(), picture->width());
    EXPECT_EQ(form->Picture().Height(), picture->height());

    form->close();
    QApplication::processEvents();
    EXPECT_FALSE(GetSetting(ctx, kWindowsSection, "2DView").empty());
}

}  // namespace
}  // namespace qw
