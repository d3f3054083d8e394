// The optimizer window on the offscreen platform: its boxes on opening,
// the click-to-step labels and the Delta buttons, a run as a job whose
// status text is what the command line prints, the log beside the project,
// Revert, the targets of a phased array and closing during a run.
#include "ui/optimizer_window.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QEventLoop>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QtTest/QTest>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <thread>

#include "commands/main_commands.h"
#include "commands/optimize_command.h"
#include "model/new_project.h"
#include "platform/scripted_host.h"
#include "solver/solver.h"
#include "support/scripted_qt_host.h"
#include "support/temp_dir.h"
#include "ui/job_runner.h"
#include "ui/qt_host.h"

namespace qw {
namespace {

const std::string kExamples = QW_EXAMPLES_DIR;

using test::ScriptedQtHost;

struct OptimizerWindowTest : ::testing::Test {
    test::TempDir dir;
    ScriptedHost script;
    ScriptedQtHost jobHost{script};
    Context ctx{script};
    JobRunner jobs{ctx, jobHost};
    std::atomic<bool> go{true};
    std::unique_ptr<OptimizerWindow> window;

    OptimizerWindowTest() {
        InstallSolver(ctx);
        ctx.files.settingsFile = dir.File("QUILLWORK.INI");
        ctx.files.logFolder = dir.Path();
        NewProject(ctx);
        window = std::make_unique<OptimizerWindow>(
            ctx,
            [this](std::function<void(Context&)> work, std::function<void()> finished) {
                ctx.stop.Reset();
                return jobs.Start(
                    [this, work = std::move(work)](Context& job) {
                        while (!go) std::this_thread::sleep_for(std::chrono::milliseconds(1));
                        work(job);
                    },
                    std::move(finished));
            },
            dir.Path());
    }
    ~OptimizerWindowTest() override { window.reset(); }

    void OpenExample(const char* name) {
        const std::string path = dir.File(name);
        std::filesystem::copy_file(kExamples + "/" + name, path);
        ASSERT_TRUE(OpenNamedProject(ctx, path));
    }
    template <class T>
    T* Find(const char* name) {
        T* w = window->findChild<T*>(name);
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    bool Wait() {
        QEventLoop loop;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
            if (!window->Running()) loop.quit();
        });
        poll.start(1);
        QTimer::singleShot(60000, &loop, &QEventLoop::quit);
        if (window->Running()) loop.exec();
        QCoreApplication::processEvents();
        return !window->Running();
    }
};

TEST_F(OptimizerWindowTest, OpeningLabelsAndSteps) {
    OpenExample("loaded.qlk");
    window->Open();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Optimizer"));
    EXPECT_TRUE(Find<QRadioButton>("OpT(0)")->isChecked());
    EXPECT_EQ(Find<QLabel>("L1(0)")->text(), QStringLiteral("|Zi|<="));
    EXPECT_EQ(Find<QLineEdit>("CtV(0)")->text(), QStringLiteral("0.1"));
    EXPECT_FALSE(Find<QLineEdit>("CtV(1)")->isVisible());
    EXPECT_EQ(Find<QLineEdit>("CtV(2)")->text(), QStringLiteral("20"));  // the elevation setting
    EXPECT_EQ(Find<QLineEdit>("CtV(3)")->text(), QStringLiteral("0"));
    Find<QRadioButton>("OpT(2)")->click();
    EXPECT_EQ(Find<QLabel>("L1(0)")->text(), QStringLiteral("Gain >="));
    EXPECT_EQ(Find<QLabel>("L1(1)")->text(), QStringLiteral("F/B <="));
    EXPECT_EQ(Find<QLineEdit>("CtV(0)")->text(), QStringLiteral("10"));
    EXPECT_TRUE(Find<QLineEdit>("CtV(1)")->isVisible());
    QTest::mouseClick(Find<QLabel>("L1(0)"), Qt::LeftButton);
    EXPECT_EQ(Find<QLineEdit>("CtV(0)")->text(), QStringLiteral("11"));
    QTest::mouseClick(Find<QLabel>("L1(1)"), Qt::RightButton);
    EXPECT_EQ(Find<QLineEdit>("CtV(1)")->text(), QStringLiteral("9"));
    Find<QPushButton>("btn_deltaopt(0)")->click();
    EXPECT_EQ(window->StatusText(), QStringLiteral("Step : 0 Delta = 2.0E-04"));
    QTest::keyClick(window.get(), '-');
    QTest::keyClick(window.get(), '-');
    EXPECT_FLOAT_EQ(window->Delta(), 0.00005f);
    // No variables: the run says so and changes nothing.
    window->Go();
    ASSERT_TRUE(Wait());
    EXPECT_TRUE(window->StatusText().endsWith("Stopped! No variables"));
    EXPECT_TRUE(std::filesystem::exists(dir.File("QUILLWORK.OPT")));
}

TEST_F(OptimizerWindowTest, RunMatchesTheCommandLineAndReverts) {
    OpenExample("loaded.qlk");
    window->Open();
    const Document before = ctx.document();
    ctx.locks.Load[2] = true;
    Find<QCheckBox>("swLoad(1)")->setChecked(true);
    window->Go();
    ASSERT_TRUE(Wait());

    // The same run headless, its status kept as the command line keeps it.
    Context copy(before, ctx.session());
    InstallSolver(copy);
    copy.locks.Load[2] = true;
    std::string lastStep;
    std::vector<std::string> closing;
    OptimizerSink sink;
    sink.status = [&](const std::string& t, bool clear) {
        if (clear) {
            lastStep = t;
            closing.clear();
        } else {
            closing.push_back(t);
        }
    };
    Optimizer o;
    OptimizerRequest r;
    r.loads = kVaryL;
    ASSERT_TRUE(RunOptimizer(copy, o, r, dir.Path(), sink).completed());
    QString expected = QString::fromStdString(lastStep);
    for (const auto& line : closing) expected += "\n" + QString::fromStdString(line);
    EXPECT_EQ(window->StatusText(), expected);
    EXPECT_TRUE(window->StatusText().endsWith("Stopped!"));

    // The project reached is the open project's, named workopt.qlk beside it.
    EXPECT_EQ(ctx.project.Loads[1].Reactance, copy.project.Loads[1].Reactance);
    EXPECT_NE(ctx.project.Loads[1].Reactance, before.project.Loads[1].Reactance);
    EXPECT_EQ(ctx.project.Loads[2].Reactance, before.project.Loads[2].Reactance);
    EXPECT_EQ(ctx.project.FileName, dir.File("workopt.qlk"));
    EXPECT_GE(window->ChartPoints().size(), 3u);
    window->close();  // OK closes the log
    const std::string log = test::ReadBytes(dir.File("QUILLWORK.OPT"));
    EXPECT_EQ(log.rfind("Optimizing " + dir.File("loaded.qlk") + "\r\nResonance L Loads\r\nStep : 0 Delta", 0), 0u);

    Find<QPushButton>("btnRevert")->click();
    EXPECT_EQ(ctx.project.Loads[1].Reactance, before.project.Loads[1].Reactance);
    EXPECT_EQ(ctx.project.FileName, before.project.FileName);
    EXPECT_FALSE(Find<QPushButton>("btnRevert")->isEnabled());
}

TEST_F(OptimizerWindowTest, PhasedArrayTargetsAndCloseStops) {
    OpenExample("yagi3.qlk");
    Project& p = ctx.project;
    p.Sources[2] = p.Sources[1];
    p.Sources[2].Pulse = 5;
    p.SourceCount = 2;
    ctx.Changed(Change::Sources);
    window->Open();
    EXPECT_FALSE(Find<QRadioButton>("OpT(0)")->isEnabled());
    EXPECT_FALSE(Find<QRadioButton>("OpT(1)")->isEnabled());
    EXPECT_TRUE(Find<QRadioButton>("OpT(2)")->isChecked());
    Find<QCheckBox>("swDim(0)")->setChecked(true);
    Find<QLineEdit>("CtV(0)")->setText("99");
    go = false;
    window->Go();
    EXPECT_TRUE(window->Running());
    window->close();  // acts as Stop
    go = true;
    ASSERT_TRUE(Wait());
    EXPECT_FALSE(ctx.AbortFlag && !ctx.stop.Requested());
    EXPECT_EQ(p.SourceCount, 2);
    EXPECT_TRUE(ctx.project.FileName.ends_with("workopt.qlk"));
}

}  // namespace
}  // namespace qw
