// The main window on the offscreen platform: the commands wired to the
// engine, Stop during a computation, drops, and what it keeps in the
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
#include <QMessageBox>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QUrl>
#include <QProgressBar>
#include <QTimer>
#include <QtTest/QTest>
#include <functional>

#include "model/settings.h"
#include "solver/solver.h"
#include "support/temp_dir.h"
#include "ui/pattern_window.h"
#include "ui/qt_host.h"

namespace qw {
namespace {

const std::string kExamples = QW_EXAMPLES_DIR;
const std::string kBench = QW_BENCH_DIR;

// Runs `act` on the next turn of the event loop: from inside a modal dialog
// or a computation's ShowProgress.
void Soon(const std::function<void()>& act) { QTimer::singleShot(0, act); }

struct MainWindowTest : ::testing::Test {
    test::TempDir dir;
    QtHost host;
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
    for (const char* name : {"Ctl_3D", "CtlGeometry", "CtlSources", "CtlOpt", "btnoptimiz", "btn3d"})
        EXPECT_FALSE(Command(name)->isEnabled()) << name;
    host.EnableCommand("CtlOpt", true);  // whatever the commands ask
    EXPECT_FALSE(Command("CtlOpt")->isEnabled());

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
}

TEST_F(MainWindowTest, StopEndsAComputationAndOnlyStopWorksMeanwhile) {
    window->Start(kBench + "/six_wires.qlk");
    std::vector<std::string> enabledDuringRun;
    // The first ShowProgress lets this run: it looks at the commands and
    // then clicks the progress bar.
    Soon([&] {
        for (QAction* a : window->findChildren<QAction*>())
            if (a->isEnabled() && !a->objectName().isEmpty()) enabledDuringRun.push_back(a->objectName().toStdString());
        QTest::mouseClick(window->findChild<QProgressBar*>("ProgressBar1"), Qt::LeftButton);
    });
    Command("CtlCompZ")->trigger();
    EXPECT_EQ(enabledDuringRun, std::vector<std::string>{"btnstop"});
    EXPECT_TRUE(ctx.AbortFlag);
    EXPECT_FALSE(window->MainTextContents().contains("IMPEDANCE"));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    // The next run is not stopped by the old request.
    Command("CtlCompZ")->trigger();
    EXPECT_TRUE(window->MainTextContents().contains("IMPEDANCE"));
    EXPECT_TRUE(Panel(1).startsWith("run time: 00:0"));
}

TEST_F(MainWindowTest, ClosingDuringAComputationStopsItFirst) {
    window->Start(kBench + "/six_wires.qlk");
    window->show();
    Soon([&] { window->close(); });
    Command("CtlCompZ")->trigger();
    EXPECT_FALSE(window->MainTextContents().contains("IMPEDANCE"));
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
