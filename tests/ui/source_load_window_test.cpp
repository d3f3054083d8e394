// "Sources & Loads" on the offscreen platform: drops of the window's own
// drag data on the wire and the trash, clicks on placed icons and on the
// wire label, the value boxes, OK and Cancel.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDropEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "model/new_project.h"
#include "model/settings.h"
#include "platform/scripted_host.h"
#include "solver/pulses.h"
#include "solver/solver.h"
#include "support/temp_dir.h"
#include "ui/source_load_window.h"

namespace qw {
namespace {

struct Bench {
    test::TempDir dir;
    ScriptedHost host;
    Context ctx{host};
    Project& p = ctx.project;
    Bench() {
        ctx.files.settingsFile = dir.File(kSettingsFileName);
        InstallSolver(ctx);
        NewProject(ctx);
        p.Frequency = 14;
        p.Env.GroundPresent = kFreeSpace;
        p.WireCount = 2;
        p.Wires[1] = Wire{10, 0, -5, 0, 0, 5, 0, 0.001f};
        p.Wires[2] = Wire{30, 1, -5, 0, 1, 5, 0, 0.001f};
        EXPECT_TRUE(Conclude(ctx, BuildPulseTable(ctx)));
    }
};

// Drops drag data at a pixel of a widget as Qt delivers a drop.
bool Drop(QWidget* target, const QString& what, QPoint at) {
    QMimeData* data = PlacementMimeData(what);
    QDragEnterEvent enter(at, Qt::MoveAction, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    if (!enter.isAccepted()) {
        delete data;
        return false;
    }
    QDropEvent drop(QPointF(at), Qt::MoveAction, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    delete data;
    return drop.isAccepted();
}

QPoint SlotPixel(SourceLoadWindow& w, int slot) {
    return w.View()->ToPixels(w.Working().Slots().SlotX(slot), kSlotWireY).toPoint();
}

template <class T>
T* Child(QWidget& w, const char* name) {
    T* c = w.findChild<T*>(name);
    EXPECT_NE(c, nullptr) << name;
    return c;
}

TEST(SourceLoadWindow, DragsPlaceMoveAndDiscardIconsAndOkWritesTheProject) {
    Bench b;
    SourceLoadWindow w(b.ctx);
    w.show();
    w.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&w));
    EXPECT_EQ(w.windowTitle(), "Sources & Loads");
    EXPECT_EQ(Child<QLineEdit>(w, "Wnbr")->text(), "1");

    // A new source dropped on slot 4 opens its panel.
    EXPECT_TRUE(Drop(w.View(), "new-source", SlotPixel(w, 4) + QPoint(3, -20)));
    ASSERT_EQ(w.Working().SourceCount(), 1);
    EXPECT_EQ(w.Working().SourceAt(1).Pulse, 4);
    EXPECT_TRUE(Child<QWidget>(w, "SourcePanel")->isVisible());
    EXPECT_EQ(Child<QLabel>(w, "SourceLine3")->text(), "4");
    EXPECT_EQ(Child<QLabel>(w, "SourceLine4")->text(), "40.00");
    EXPECT_EQ(Child<QLineEdit>(w, "VM")->text(), "100.00");

    // Too far from the wire, or on the same pulse again: nothing placed.
    EXPECT_FALSE(Drop(w.View(), "new-source", SlotPixel(w, 6) + QPoint(0, 70)));
    EXPECT_FALSE(Drop(w.View(), "new-source", SlotPixel(w, 4)));
    ASSERT_FALSE(b.host.messages.empty());
    EXPECT_EQ(b.host.messages.back().text, "Only one source per Pulse");
    EXPECT_EQ(b.host.messages.back().title, "Source placement");
    EXPECT_EQ(w.Working().SourceCount(), 1);

    // A placed source dragged to slot 7; a load dropped, then discarded.
    EXPECT_TRUE(Drop(w.View(), "source 1", SlotPixel(w, 7)));
    EXPECT_EQ(w.Working().SourceAt(1).Pulse, 7);
    EXPECT_TRUE(Drop(w.View(), "new-load", SlotPixel(w, 2) + QPoint(0, 30)));
    EXPECT_EQ(w.Working().LoadCount(), 1);
    EXPECT_TRUE(Child<QWidget>(w, "LoadPanel")->isVisible());
    EXPECT_TRUE(Drop(w.Trash(), "load 1", QPoint(5, 5)));
    EXPECT_EQ(w.Working().LoadCount(), 0);
    EXPECT_FALSE(Drop(w.Trash(), "new-source", QPoint(5, 5)));

    // A click on the placed icon opens its values; the typed real and
    // imaginary parts give magnitude and phase.
    Child<QPushButton>(w, "COK2")->click();
    EXPECT_FALSE(Child<QWidget>(w, "SourcePanel")->isVisible());
    const QPoint icon = SlotPixel(w, 7) + QPoint(0, -25);
    QTest::mouseClick(w.View(), Qt::LeftButton, Qt::NoModifier, icon);
    ASSERT_TRUE(Child<QWidget>(w, "SourcePanel")->isVisible());
    auto* vr = Child<QLineEdit>(w, "VR");
    auto* vi = Child<QLineEdit>(w, "VI");
    vr->setFocus();
    vr->selectAll();
    QTest::keyClicks(vr, "-3");
    vi->setFocus();
    vi->selectAll();
    QTest::keyClicks(vi, "x4");  // the letter is refused
    EXPECT_EQ(vi->text(), "4");
    EXPECT_EQ(Child<QLineEdit>(w, "VM")->text(), "5.00");
    EXPECT_EQ(Child<QLineEdit>(w, "VP")->text(), "126.87");
    EXPECT_FLOAT_EQ(w.Working().SourceAt(1).Magnitude, 5);
    QTest::mouseClick(Child<QLabel>(w, "L"), Qt::LeftButton);
    EXPECT_EQ(Child<QLabel>(w, "L")->text(), "Current");

    Child<QPushButton>(w, "COK")->click();
    EXPECT_EQ(w.result(), QDialog::Accepted);
    ASSERT_EQ(b.p.SourceCount, 1);
    EXPECT_EQ(b.p.Sources[1].Pulse, 7);
    EXPECT_FLOAT_EQ(b.p.Sources[1].Magnitude, 5);
    EXPECT_NEAR(b.p.Sources[1].Phase, 126.87, 0.01);
    EXPECT_EQ(b.p.Sources[1].Kind, kCurrentSource);
    EXPECT_TRUE(b.p.Modified);
    EXPECT_EQ(Solver(b.ctx).E[1], 7.0f);
}

TEST(SourceLoadWindow, WireLabelWrapsAndTypedWiresAreChecked) {
    Bench b;
    SourceLoadWindow w(b.ctx);
    w.show();
    w.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&w));
    auto* label = Child<QLabel>(w, "LWire");
    EXPECT_EQ(label->text(), "Wire number");
    EXPECT_EQ(label->toolTip(), "Click to Inc/Dec wire#");
    QTest::mouseClick(label, Qt::RightButton);
    EXPECT_EQ(w.Working().Wire(), 2);  // right click on wire 1: the last wire
    EXPECT_EQ(Child<QLineEdit>(w, "Wnbr")->text(), "2");
    QTest::mouseClick(label, Qt::LeftButton);
    EXPECT_EQ(w.Working().Wire(), 1);
    auto* box = Child<QLineEdit>(w, "Wnbr");
    box->setFocus();
    box->selectAll();
    QTest::keyClicks(box, "7");
    QTest::keyClick(box, Qt::Key_Return);
    ASSERT_FALSE(b.host.messages.empty());
    EXPECT_EQ(b.host.messages.back().text, "No Such Wire");
    EXPECT_EQ(w.Working().Wire(), 1);
}

TEST(SourceLoadWindow, LoadPanelChoosesTheKindAndCancelLeavesTheProject) {
    Bench b;
    SourceLoadWindow w(b.ctx);
    w.show();
    w.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&w));
    ASSERT_TRUE(Drop(w.View(), "new-load", SlotPixel(w, 5) + QPoint(0, 30)));
    Child<QRadioButton>(w, "ZTypeRLC")->click();
    Child<QRadioButton>(w, "ConnectParallel")->click();
    EXPECT_EQ(w.Working().LoadAt(1).Kind, kParallelRLC);
    EXPECT_TRUE(Child<QWidget>(w, "LCLB")->isVisible());
    EXPECT_FALSE(Child<QWidget>(w, "LIbox")->isVisible());
    auto* l = Child<QLineEdit>(w, "LCLB");
    l->setFocus();
    l->selectAll();
    QTest::keyClicks(l, "1.5");
    EXPECT_FLOAT_EQ(w.Working().LoadAt(1).Reactance, 1.5f);
    Child<QPushButton>(w, "CCancel")->click();
    EXPECT_EQ(w.result(), QDialog::Rejected);
    EXPECT_TRUE(b.ctx.AbortFlag);
    EXPECT_EQ(b.p.LoadCount, 0);
    EXPECT_FALSE(b.p.Modified);
}

}  // namespace
}  // namespace qw
