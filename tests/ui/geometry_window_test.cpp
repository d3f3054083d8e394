// The geometry editor on the offscreen platform, driven by keys and clicks:
// the floating cell editor, the grid's keys, the clipboard, undo, OK and
// Cancel. The table's rules are tested without a window in tests/commands.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include "model/new_project.h"
#include "model/settings.h"
#include "platform/scripted_host.h"
#include "solver/solver.h"
#include "support/temp_dir.h"
#include "ui/geometry_window.h"

namespace qw {
namespace {

struct Editor {
    test::TempDir dir;
    ScriptedHost host;
    Context ctx{host};
    Project& p = ctx.project;
    Editor() {
        ctx.files.settingsFile = dir.File(kSettingsFileName);
        InstallSolver(ctx);
        NewProject(ctx);
        p.Frequency = 14;
        p.Env.GroundPresent = kFreeSpace;
        p.WireCount = 2;
        p.Wires[1] = Wire{11, 0, -5, 0, 0, 5, 0, 0.001f};
        p.Wires[2] = Wire{11, 1, -5, 0, 1, 5, 0, 0.001f};
    }
};

void Click(QWidget& w, const char* name) {
    auto* b = w.findChild<QPushButton*>(name);
    ASSERT_NE(b, nullptr) << name;
    QTest::mouseClick(b, Qt::LeftButton);
}

TEST(GeometryWindow, TypedCellsWithTheFloatingEditorAndOk) {
    Editor e;
    GeometryWindow w(e.ctx);
    w.show();
    QTableWidget* grid = w.Grid();
    EXPECT_EQ(w.windowTitle(), "Geometry[*]");
    EXPECT_EQ(grid->rowCount(), 3);  // two wires and the empty row
    EXPECT_EQ(grid->item(0, kColY1)->text(), "-5.000");
    grid->setFocus();
    grid->setCurrentCell(0, kColX1);
    QTest::keyClicks(grid, "2");
    ASSERT_TRUE(w.CellEditor()->isVisible());
    QTest::keyClicks(w.CellEditor(), ",5");
    EXPECT_EQ(w.CellEditor()->text(), "2.5");
    QTest::keyClick(w.CellEditor(), Qt::Key_Return);
    EXPECT_FALSE(w.CellEditor()->isVisible());
    EXPECT_EQ(e.p.Wires[1].X1, 2.5f);
    EXPECT_EQ(grid->item(0, kColX1)->text(), " 2.500");
    // Esc abandons an edit.
    grid->setCurrentCell(0, kColSeg);
    QTest::keyClicks(grid, "7");
    QTest::keyClick(w.CellEditor(), Qt::Key_Escape);
    EXPECT_EQ(e.p.Wires[1].Segments, 11);
    // Typing below the last wire.
    grid->setCurrentCell(2, kColX1);
    QTest::keyClicks(grid, "1");
    EXPECT_EQ(e.host.messages.back().text, "You should Add a wire first");
    Click(w, "Ctl_OK");
    EXPECT_EQ(w.result(), QDialog::Accepted);
    EXPECT_TRUE(e.p.GeometryDefined);
    EXPECT_TRUE(e.p.Modified);
}

TEST(GeometryWindow, KeysClipboardUndoAndCancel) {
    Editor e;
    const Project opened = e.p;
    GeometryWindow w(e.ctx);
    w.show();
    QTableWidget* grid = w.Grid();
    grid->setFocus();
    grid->setRangeSelected(QTableWidgetSelectionRange(0, kColX1, 1, kColSrcLd), true);
    grid->setCurrentCell(0, kColX1, QItemSelectionModel::NoUpdate);
    QTest::keyClick(grid, Qt::Key_C, Qt::ControlModifier);
    EXPECT_TRUE(QApplication::clipboard()->text().startsWith("0\t-5\t0\t0\t5\t0\t0.002\t11\t"));
    EXPECT_TRUE(QApplication::clipboard()->text().contains("\r\n"));
    // Ctrl+Delete removes the rows at once; Ctrl+V brings them back.
    QTest::keyClick(grid, Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(e.p.WireCount, 0);
    grid->setCurrentCell(0, kColX1);
    QTest::keyClick(grid, Qt::Key_V, Qt::ControlModifier);
    ASSERT_EQ(e.p.WireCount, 2);
    EXPECT_EQ(e.p.Wires[2].X1, 1.0f);
    // Shift+Delete asks first; Cancel keeps the rows.
    e.host.messageAnswers = {MessageAnswer::Cancel};
    grid->setCurrentCell(1, kColX1);
    QTest::keyClick(grid, Qt::Key_Delete, Qt::ShiftModifier);
    EXPECT_EQ(e.host.messages.back().text, "This will delete the selected rows");
    EXPECT_EQ(e.p.WireCount, 2);
    Click(w, "CtlAddWire");
    EXPECT_EQ(e.p.WireCount, 3);
    // Ctrl+Z twice: the add, then the paste, undone.
    QTest::keyClick(&w, Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(&w, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(e.p.WireCount, 0);
    QTest::keyClick(&w, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(e.p.WireCount, 2);
    // The unit button cycles the display.
    Click(w, "Ctl_Unit");
    EXPECT_EQ(w.findChild<QPushButton*>("Ctl_Unit")->text(), "Feet");
    EXPECT_EQ(grid->item(0, kColY2)->text(), " 16.4042");
    Click(w, "Ctl_Cancel");
    EXPECT_EQ(w.result(), QDialog::Rejected);
    EXPECT_EQ(std::memcmp(&e.p.Wires, &opened.Wires, sizeof opened.Wires), 0);
    EXPECT_EQ(e.p.WireCount, 2);
    EXPECT_FALSE(e.p.Modified);
    EXPECT_TRUE(e.ctx.AbortFlag);
}

TEST(GeometryWindow, ShowChecksBuildsThePulsesAndCallsItsHook) {
    Editor e;
    e.p.SourceCount = 1;
    e.p.Sources[1].Pulse = 16;
    GeometryWindow w(e.ctx);
    int shown = 0, placed = 0;
    w.showAntenna = [&] { ++shown; };
    w.placeSourcesLoads = [&] {
        ++placed;
        e.p.Sources[1].Pulse = 17;
    };
    w.show();
    Click(w, "Ctl_ShowAntenna");
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(e.p.PulseCount, 20);
    EXPECT_EQ(w.Grid()->item(1, kColSrcLd)->text(), "S6 ");
    w.Grid()->setFocus();
    QTest::keyClicks(w.Grid(), "s");
    EXPECT_EQ(placed, 1);
    EXPECT_EQ(w.Grid()->item(1, kColSrcLd)->text(), "S7 ");
    QTest::keyClick(&w, Qt::Key_Z, Qt::ControlModifier);  // the placement is undone too
    EXPECT_EQ(e.p.Sources[1].Pulse, 16);
    // A zero-length wire stops Show with the check's message.
    e.p.Wires[2].X2 = 1;
    e.p.Wires[2].Y2 = -5;
    Click(w, "Ctl_ShowAntenna");
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(e.host.messages.back().text, "Wire # 2 is zero length");
}

TEST(GeometryWindow, TaperPanelReplacesTheCurrentWire) {
    Editor e;
    GeometryWindow w(e.ctx);
    w.show();
    w.Grid()->setCurrentCell(0, kColX1);
    Click(w, "btnTaper");
    auto type = [&w](const char* name, const char* text) { w.findChild<QLineEdit*>(name)->setText(text); };
    type("edFromDiam(0)", "0.001");  // given the wrong way round: exchanged
    type("edFromDiam(1)", "0.004");
    type("edFromSegment(0)", "0.1");
    type("edFromSegment(1)", "0.4");
    Click(w, "btnOKTaper");
    EXPECT_EQ(w.findChild<QLineEdit*>("edFromDiam(0)")->text(), "0.004");
    EXPECT_EQ(e.p.WireCount, 6);  // 2 + 2 + the middle wire, and wire 2
    EXPECT_EQ(e.p.Wires[6].X1, 1.0f);
    EXPECT_EQ(e.p.Wires[5].Y2, 5.0f);
}

}  // namespace
}  // namespace qw
