// The sweep plots in the antenna window on the offscreen platform: the
// Plot menu's commands, the points drawn as the job hands them over, Stop
// in the middle, closing during a sweep, and the Smith chart switch.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPointer>

#include "commands/sweep_plot_command.h"
#include "solver/solver.h"
#include "support/temp_dir.h"
#include "ui/antenna_form.h"
#include "ui/main_window.h"
#include "ui/picture_canvas.h"
#include "ui/qt_host.h"

namespace qw {
namespace {

const std::string kExamples = QW_EXAMPLES_DIR;

// Messages are noted and answered OK; the band dialog answers the band of
// the test.
struct BandHost : QtHost {
    std::vector<std::string> messages;
    std::optional<SweepRange> band;
    MessageAnswer ShowMessage(const Message& m) override {
        messages.push_back(m.text);
        return MessageAnswer::Ok;
    }
    std::optional<SweepRange> RequestFrequencyRange(const SweepRange&) override { return band; }
};

template <typename Done>
bool WaitFor(Done done, int ms = 60000) {
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > ms) return false;
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

struct SweepWindowTest : ::testing::Test {
    test::TempDir dir;
    BandHost host;
    Context ctx{host};
    std::unique_ptr<MainWindow> window;

    SweepWindowTest() {
        InstallSolver(ctx);
        ctx.files.settingsFile = dir.File("QUILLWORK.INI");
        ctx.files.logFolder = dir.Path();
        window = std::make_unique<MainWindow>(ctx, host);
        window->Start("");
        window->DropFile(QString::fromStdString(kExamples + "/dipole.qlk"));
    }
    ~SweepWindowTest() override {
        ctx.project.Modified = false;
        window.reset();
    }
    AntennaForm* Form() { return window->findChild<AntennaForm*>(QString(), Qt::FindDirectChildrenOnly); }
};

TEST_F(SweepWindowTest, ImpedanceSweepStopsInTheMiddleAndKeepsTheFrequency) {
    for (const char* name : {"CtlPlotZ", "CtlPlotSGF(0)", "CtlPlotSGF(1)", "CtlPlotSGF(2)", "btnplotz", "btnplotswr",
                             "btnplotgain", "btnplotfb"})
        EXPECT_TRUE(window->Command(name)->isEnabled()) << name;
    const float f0 = ctx.project.Frequency;
    ASSERT_GT(f0, 0);
    ctx.options.RMin = 0, ctx.options.RMax = 400, ctx.options.XMin = -800, ctx.options.XMax = 800;

    // Cancelled band: nothing opens.
    window->Command("btnplotz")->trigger();
    EXPECT_EQ(Form(), nullptr);

    // A band of 40000 points, stopped after a few.
    host.band = SweepRange{f0 * 0.8f, f0 * 1.2f, f0 * 0.00001f};
    window->Command("btnplotz")->trigger();
    AntennaForm* form = Form();
    ASSERT_NE(form, nullptr);
    EXPECT_TRUE(ctx.BatchMode);
    EXPECT_TRUE(form->Sweeping());
    EXPECT_EQ(form->windowTitle(), "Antenna Resonance");
    EXPECT_TRUE(form->Command("btnstop")->isEnabled());
    ASSERT_TRUE(WaitFor([&] { return form->Points().size() >= 3; }));
    form->Command("btnstop")->trigger();
    ASSERT_TRUE(WaitFor([&] { return !form->Sweeping(); }));
    EXPECT_FALSE(window->Computing());
    const std::size_t got = form->Points().size();
    EXPECT_GE(got, 3u);
    EXPECT_LT(got, 40000u);
    EXPECT_EQ(ctx.project.Frequency, f0);
    EXPECT_FALSE(form->Command("btnstop")->isEnabled());
    // The read-out shows the last point handed over.
    const SweepPlotSetup setup = CleanPlotSetup(PlotSetupOf(ctx, SweepPlotKind::Impedance));
    EXPECT_EQ(form->findChild<QLineEdit*>("XYZtext")->text().toStdString(),
              DescribeSample(setup, form->Points().back()).readout);
    // The points follow the band in frequency order.
    for (std::size_t i = 1; i < got; ++i) EXPECT_GT(form->Points()[i].frequency, form->Points()[i - 1].frequency);

    // The Smith chart shows the same points without computing again.
    form->Command("btnsmith")->trigger();
    EXPECT_EQ(form->windowTitle(), "Antenna Resonance - Smith Chart");
    EXPECT_EQ(form->Points().size(), got);

    form->close();
    QApplication::processEvents();
    EXPECT_FALSE(ctx.BatchMode);
}

TEST_F(SweepWindowTest, ResonanceLinesAndClosingDuringASweep) {
    const float f0 = ctx.project.Frequency;
    ctx.options.RMin = 0, ctx.options.RMax = 400, ctx.options.XMin = -800, ctx.options.XMax = 800;
    host.band = SweepRange{f0 * 0.9f, f0 * 1.1f, f0 * 0.02f};
    window->Command("CtlPlotZ")->trigger();
    AntennaForm* form = Form();
    ASSERT_NE(form, nullptr);
    ASSERT_TRUE(WaitFor([&] { return !form->Sweeping(); }));
    // One main-window line per point inside the limits with |X| < 10.
    const SweepPlotSetup setup = CleanPlotSetup(PlotSetupOf(ctx, SweepPlotKind::Impedance));
    int expected = 0;
    for (const PlotSample& p : form->Points()) expected += !DescribeSample(setup, p).resonance.empty();
    EXPECT_EQ(form->Points().size(), 12u);  // to upper + step
    EXPECT_EQ(window->MainTextContents().count(" Resonance at "), expected);

    // Closing during a sweep stops it; the window goes once the job ended.
    host.band = SweepRange{f0 * 0.5f, f0 * 1.5f, f0 * 0.00002f};
    window->Command("CtlPlotZ")->trigger();
    QPointer<AntennaForm> open(Form());
    ASSERT_TRUE(open && open->Sweeping());
    open->close();
    EXPECT_TRUE(open);  // still there: the work unwinds first
    ASSERT_TRUE(WaitFor([&] { return open.isNull(); }));
    EXPECT_FALSE(window->Computing());
    EXPECT_FALSE(ctx.BatchMode);
    EXPECT_EQ(ctx.project.Frequency, f0);
}

}  // namespace
}  // namespace qw
