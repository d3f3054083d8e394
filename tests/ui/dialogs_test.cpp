// The modal dialogs on the offscreen platform: what they show, what OK and
// Cancel hand back, and that a refused OK keeps them open.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <cstdlib>

#include "model/new_project.h"
#include "model/project_dialogs.h"
#include "model/settings.h"
#include "model/window_position.h"
#include "platform/scripted_host.h"
#include "support/temp_dir.h"
#include "ui/far_field_dialog.h"
#include "ui/frequency_dialog.h"
#include "ui/frequency_range_dialog.h"
#include "ui/ground_dialog.h"
#include "ui/height_dialog.h"
#include "ui/near_field_dialog.h"
#include "ui/number_box.h"
#include "ui/project_file_window.h"

namespace qw {
namespace {

struct DialogFixture {
    test::TempDir dir;
    ScriptedHost host;
    Context ctx{host};
    Project& p = ctx.project;
    DialogFixture() {
        ctx.files.settingsFile = dir.File(kSettingsFileName);
        NewProject(ctx);
    }
};

template <typename W = NumberBox>
W* Child(QWidget& dialog, const char* name) {
    W* w = dialog.findChild<W*>(QString::fromLatin1(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
}

// Replaces a box's text as a user would.
void Type(QWidget& dialog, const char* box, const QString& text) {
    NumberBox* b = Child(dialog, box);
    if (!b) return;
    b->selectAll();
    QTest::keyClicks(b, text);
}

// Clicks a button; an option button on its indicator, at its left.
void Click(QWidget& dialog, const char* name) {
    auto* b = Child<QAbstractButton>(dialog, name);
    if (!b) return;
    if (qobject_cast<QRadioButton*>(b))
        QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(6, b->height() / 2));
    else
        QTest::mouseClick(b, Qt::LeftButton);
}

QString Text(QWidget& dialog, const char* box) {
    NumberBox* b = Child(dialog, box);
    return b ? b->text() : QString();
}

// Saves the dialog's picture when QW_DIALOG_SHOTS names a folder.
void Shot(QWidget& dialog, const char* name) {
    const char* folder = std::getenv("QW_DIALOG_SHOTS");
    if (folder) dialog.grab().save(QString::fromLocal8Bit(folder) + "/" + name + ".png");
}

TEST(NumberBox, ReadsLenientlyAndSelectsItsTextOnFocus) {
    QWidget w;
    auto* a = new NumberBox("A", &w);
    auto* b = new NumberBox("B", &w);
    a->setGeometry(0, 0, 80, 20);
    b->setGeometry(0, 30, 80, 20);
    b->setText("3,25");
    EXPECT_DOUBLE_EQ(b->Value(), 3.25);
    b->setText(" -12.5 MHz");
    EXPECT_DOUBLE_EQ(b->Value(), -12.5);
    b->setText("abc");
    EXPECT_DOUBLE_EQ(b->Value(), 0);
    b->setText("1.5E+3");
    EXPECT_DOUBLE_EQ(b->Value(), 1500);

    w.show();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    a->setFocus();
    QApplication::processEvents();
    EXPECT_FALSE(b->hasSelectedText());
    QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(5, 10));  // a click would place the caret
    QApplication::processEvents();
    EXPECT_TRUE(b->hasFocus());
    EXPECT_EQ(b->selectedText(), "1.5E+3");
}

TEST(GroundDialog, ShowsTheGroundAndItsClass) {
    DialogFixture f;
    GroundInput average;
    average.perfect = false;
    average.dielectric = 13;
    average.conductivityMs = 5;
    average.boundary = kLinearBoundary;
    average.radialCount = 0;
    average.radialLength = 0;
    GroundDialog d(f.ctx, average);
    EXPECT_EQ(d.windowTitle(), "Environment Settings");
    EXPECT_TRUE(Child<QRadioButton>(d, "Ctl_GndType3")->isChecked());
    EXPECT_EQ(Child<QRadioButton>(d, "Ctl_GndType3")->text(), "Average");
    EXPECT_EQ(Text(d, "Ctl_DielMedia"), "13");
    EXPECT_EQ(Text(d, "Ctl_CondMedia"), "5");
    EXPECT_TRUE(Child<QRadioButton>(d, "Ctl_Linear")->isChecked());
    EXPECT_EQ(Text(d, "Ctl_NRadials"), "0");

    // A typed value that is no class clears the class; OK hands it back.
    d.show();
    Type(d, "Ctl_CondMedia", "7");
    for (const char* name : {"Ctl_GndType1", "Ctl_GndType2", "Ctl_GndType3", "Ctl_GndType4", "Ctl_GndType5"})
        EXPECT_FALSE(Child<QRadioButton>(d, name)->isChecked()) << name;
    Click(d, "Ctl_OK");
    EXPECT_EQ(d.result(), QDialog::Accepted);
    const GroundInput r = d.Result();
    EXPECT_FALSE(r.perfect);
    EXPECT_TRUE(r.changed);
    EXPECT_EQ(r.dielectric, 13.0f);
    EXPECT_EQ(r.conductivityMs, 7.0f);
    EXPECT_EQ(r.boundary, kLinearBoundary);
    // The position is kept under "Environ".
    EXPECT_FALSE(StoredWindowPosition(f.ctx, "Environ").empty());
}

TEST(GroundDialog, ClassChoiceRadialsAndUnchangedOk) {
    DialogFixture f;
    GroundDialog d(f.ctx, GroundInputOf(f.p.Env));  // a new project: perfect ground
    EXPECT_EQ(Text(d, "Ctl_DielMedia"), "Perfect");
    EXPECT_EQ(Text(d, "Ctl_CondMedia"), "Perfect");
    EXPECT_EQ(d.focusWidget(), Child<QPushButton>(d, "Ctl_PERFECT"));
    d.show();
    Click(d, "Ctl_GndType3");
    EXPECT_EQ(Text(d, "Ctl_DielMedia"), "13");
    EXPECT_EQ(Text(d, "Ctl_CondMedia"), "5");
    Click(d, "Ctl_Linear");
    Type(d, "Ctl_NRadials", "4");
    Type(d, "Ctl_RRadials", "5");
    Click(d, "Ctl_OK");
    ASSERT_EQ(d.result(), QDialog::Accepted);
    ASSERT_TRUE(ApplyGround(f.ctx, d.Result()));
    EXPECT_EQ(f.p.Env.GroundKind, kRealGround);
    EXPECT_EQ(f.p.Env.Dielectric(), 13.0f);
    EXPECT_EQ(f.p.Env.Conductivity(), 0.005f);
    EXPECT_EQ(f.p.Env.RadialCount, 4);
    EXPECT_EQ(f.p.Env.Boundary, kCircularBoundary);  // radials force a circular boundary
    EXPECT_TRUE(f.p.Modified);

    // Opened again and closed without a change: nothing is modified.
    f.p.Modified = false;
    GroundDialog same(f.ctx, GroundInputOf(f.p.Env));
    EXPECT_TRUE(Child<QRadioButton>(same, "Ctl_GndType3")->isChecked());
    EXPECT_EQ(Text(same, "Ctl_RRadials"), "5");
    same.show();
    Click(same, "Ctl_OK");
    ASSERT_EQ(same.result(), QDialog::Accepted);
    EXPECT_FALSE(same.Result().changed);
    ASSERT_TRUE(ApplyGround(f.ctx, same.Result()));
    EXPECT_FALSE(f.p.Modified);
}

TEST(GroundDialog, InvalidInputKeepsItOpenAndPerfectAccepts) {
    DialogFixture f;
    GroundDialog d(f.ctx, GroundInputOf(f.p.Env));
    d.show();
    Click(d, "Ctl_GndType2");
    Type(d, "Ctl_NRadials", "10");
    Type(d, "Ctl_RRadials", "0");
    Click(d, "Ctl_OK");
    EXPECT_TRUE(d.isVisible());
    ASSERT_EQ(f.host.messages.size(), 1u);
    EXPECT_EQ(f.host.messages[0].text, "Ground Parameters not initialized");
    EXPECT_EQ(f.host.messages[0].title, "Bad Ground");
    EXPECT_FALSE(f.p.GroundDefined);

    Type(d, "Ctl_RRadials", "-3");  // negative lengths are refused too
    Click(d, "Ctl_OK");
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(f.host.messages.size(), 2u);

    Type(d, "Ctl_NRadials", "1E+6");  // no 16-bit count
    Click(d, "Ctl_OK");
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(f.host.messages.back().text, "Number out of range");
    EXPECT_EQ(f.host.messages.back().title, "Environment Settings");

    Click(d, "Ctl_PERFECT");
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(d.result(), QDialog::Accepted);
    EXPECT_TRUE(d.Result().perfect);

    // Cancel and Esc reject.
    GroundDialog c(f.ctx, GroundInputOf(f.p.Env));
    c.show();
    QTest::keyClick(&c, Qt::Key_Escape);
    EXPECT_EQ(c.result(), QDialog::Rejected);
    EXPECT_FALSE(c.isVisible());
}

TEST(FrequencyDialog, TooLowStaysOpenAndCloseCancels) {
    DialogFixture f;
    f.p.Frequency = 14.2f;
    FrequencyDialog d(f.ctx, 14.2f);
    EXPECT_EQ(d.windowTitle(), "Operating Frequency");
    EXPECT_EQ(Text(d, "FValue"), "14.2");
    d.show();
    Type(d, "FValue", "0.05");
    Click(d, "OK");
    EXPECT_TRUE(d.isVisible());
    ASSERT_EQ(f.host.messages.size(), 1u);
    EXPECT_EQ(f.host.messages[0].text, "\r\nFrequency is Zero or too low");
    EXPECT_EQ(f.host.messages[0].title, "Frequency Value too small");
    EXPECT_TRUE(f.ctx.AbortFlag);

    Type(d, "FValue", "7,1");
    Click(d, "OK");
    EXPECT_EQ(d.result(), QDialog::Accepted);
    EXPECT_EQ(d.Result(), 7.1f);
    EXPECT_FALSE(f.ctx.AbortFlag);
    EXPECT_FALSE(StoredWindowPosition(f.ctx, "Freq").empty());

    // The window's close button and Esc act as Cancel: nothing is checked.
    FrequencyDialog closed(f.ctx, 7.1f);
    closed.show();
    Type(closed, "FValue", "0");
    closed.close();
    EXPECT_EQ(closed.result(), QDialog::Rejected);
    FrequencyDialog esc(f.ctx, 7.1f);
    esc.show();
    QTest::keyClick(&esc, Qt::Key_Escape);
    EXPECT_EQ(esc.result(), QDialog::Rejected);
    EXPECT_EQ(f.host.messages.size(), 1u);
}

TEST(FrequencyRangeDialog, ZeroValuesAreRefused) {
    DialogFixture f;
    FrequencyRangeDialog d(f.ctx, SweepRange{14, 14.35f, 0.05f});
    EXPECT_EQ(d.windowTitle(), "Frequency Range");
    EXPECT_EQ(Text(d, "CtlLowerF"), "14");
    EXPECT_EQ(Text(d, "CtlUpperF"), "14.35");
    EXPECT_EQ(Text(d, "CtlStepF"), ".05");
    d.show();
    Type(d, "CtlStepF", "0");
    Click(d, "CtlOK");
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(f.host.MessageTexts(), std::vector<std::string>{"Zero Values not allowed"});
    EXPECT_EQ(f.host.messages[0].title, "Error");
    Type(d, "CtlLowerF", "21.45");  // limits in either order
    Type(d, "CtlUpperF", "21");
    Type(d, "CtlStepF", ".1");
    Click(d, "CtlOK");
    ASSERT_EQ(d.result(), QDialog::Accepted);
    EXPECT_EQ(d.Result().Lower, 21.45f);
    EXPECT_EQ(d.Result().Upper, 21.0f);
    EXPECT_EQ(d.Result().Step, 0.1f);
    EXPECT_FALSE(StoredWindowPosition(f.ctx, "FreqRange").empty());
}

TEST(FarFieldDialog, ShowsAndReadsTheRequest) {
    DialogFixture f;
    FarFieldRequest r;
    r.PowerLevel = 12.345f;
    FarFieldDialog d(f.ctx, r);
    EXPECT_EQ(d.windowTitle(), "Far Field Parameters");
    EXPECT_EQ(Text(d, "Ctl_ZAStart"), "-90");
    EXPECT_EQ(Text(d, "Ctl_ZACnt"), "90");
    EXPECT_EQ(Text(d, "Ctl_AACnt"), "180");
    EXPECT_EQ(Text(d, "Ctl_Power"), "12.35");
    EXPECT_EQ(Text(d, "Ctl_RDistance"), "100000");
    EXPECT_TRUE(Child<QRadioButton>(d, "Ctl_Dbs")->isChecked());
    EXPECT_EQ(Child<QRadioButton>(d, "Ctl_Dbs")->text(), "dB");
    d.show();
    Type(d, "Ctl_ZAStart", "0");
    Type(d, "Ctl_ZAInc", "5 deg");  // the leading number counts
    Type(d, "Ctl_AACnt", "36.5");   // rounded half to even
    Type(d, "Ctl_Power", "1,5");
    Type(d, "Ctl_RDistance", "x");  // no number: 0
    Click(d, "Ctl_Volts");
    Click(d, "Ctl_OK");
    ASSERT_EQ(d.result(), QDialog::Accepted);
    const FarFieldRequest a = d.Result();
    EXPECT_EQ(a.ZenithStart, 0.0f);
    EXPECT_EQ(a.ZenithStep, 5.0f);
    EXPECT_EQ(a.AzimuthSteps, 36);
    EXPECT_EQ(a.PowerLevel, 1.5f);
    EXPECT_EQ(a.RadialDistance, 0.0f);
    EXPECT_FALSE(a.ResultsInDb);
    EXPECT_FALSE(StoredWindowPosition(f.ctx, "FFinfo").empty());

    r.PowerLevel = 100;
    FarFieldDialog big(f.ctx, r);
    EXPECT_EQ(Text(big, "Ctl_Power"), "100.0");
    big.show();
    Type(big, "Ctl_AAStart", "1E+39");  // beyond a 32-bit value
    Click(big, "Ctl_OK");
    EXPECT_TRUE(big.isVisible());
    EXPECT_EQ(f.host.messages.back().text, "Number out of range");
    Click(big, "Ctl_Cancel");
    EXPECT_EQ(big.result(), QDialog::Rejected);
}

TEST(NearFieldDialog, ShowsAndReadsTheRequest) {
    DialogFixture f;
    NearFieldRequest r;
    r.StartZ = 2.5f;
    r.CountY = 4;
    r.PowerLevel = 0.5f;
    NearFieldDialog d(f.ctx, r);
    EXPECT_EQ(d.windowTitle(), "Near Fields Parameters");
    EXPECT_EQ(Text(d, "Ctl_ZI"), "2.5");
    EXPECT_EQ(Text(d, "Ctl_YC"), "1");
    EXPECT_EQ(Text(d, "Ctl_NY"), "4");
    EXPECT_EQ(Text(d, "Ctl_Power"), "0.5");
    EXPECT_TRUE(Child<QRadioButton>(d, "Ctl_EField")->isChecked());
    d.show();
    Click(d, "Ctl_Hfield");
    Type(d, "Ctl_XI", "-1.5");
    Type(d, "Ctl_XC", ".25");
    Type(d, "Ctl_NX", "2.5");  // rounded half to even
    Type(d, "Ctl_NZ", "3.7");
    Click(d, "Ctl_OK");
    ASSERT_EQ(d.result(), QDialog::Accepted);
    const NearFieldRequest a = d.Result();
    EXPECT_FALSE(a.ElectricField);
    EXPECT_EQ(a.StartX, -1.5f);
    EXPECT_EQ(a.StepX, 0.25f);
    EXPECT_EQ(a.StartZ, 2.5f);
    EXPECT_EQ(a.CountX, 2);
    EXPECT_EQ(a.CountY, 4);
    EXPECT_EQ(a.CountZ, 4);
    EXPECT_EQ(a.PowerLevel, 0.5f);
    EXPECT_FALSE(StoredWindowPosition(f.ctx, "NFInfo").empty());
}

TEST(HeightDialog, FeetMetresOkAndCancel) {
    DialogFixture f;
    f.p.Units = kInches;
    f.p.Height = 3.048f;
    f.p.Env.GroundPresent = kFreeSpace;
    HeightDialog d(f.ctx);
    EXPECT_EQ(d.windowTitle(), "Antenna Height");
    EXPECT_EQ(Text(d, "HeightValue"), "10.00");
    EXPECT_TRUE(Child<QRadioButton>(d, "HFeet")->isChecked());
    d.show();
    Click(d, "Hmeters");
    EXPECT_EQ(Text(d, "HeightValue"), "3.048");
    Type(d, "HeightValue", "-2");
    Click(d, "OK");
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(f.host.MessageTexts(), std::vector<std::string>{"Negative Height not allowed"});
    Type(d, "HeightValue", "12");
    Click(d, "OK");
    ASSERT_EQ(d.result(), QDialog::Accepted);
    EXPECT_EQ(f.p.Height, 12.0f);
    EXPECT_EQ(f.p.Env.GroundPresent, kOverGround);
    EXPECT_TRUE(f.p.HeightChanged);

    HeightDialog c(f.ctx);  // opens in feet again
    EXPECT_EQ(Text(c, "HeightValue"), "39.37");
    c.show();
    Type(c, "HeightValue", "99");
    Click(c, "Hmeters");
    EXPECT_EQ(Text(c, "HeightValue"), "30.1753");  // 99 x 0.3048006
    Click(c, "HFeet");
    EXPECT_EQ(Text(c, "HeightValue"), "99.00");
    Click(c, "Cancel");
    EXPECT_EQ(c.result(), QDialog::Rejected);
    EXPECT_EQ(f.p.Height, 12.0f);
    EXPECT_TRUE(f.ctx.AbortFlag);
}

const std::string kTwoWires =
    "CM two wires\r\nCE\r\nGW 1 5 0 0 0 0 0 1 0.002\r\nGW 2 5 1 0 0 1 0 1 0.002\r\nS 1 3 1 0\r\n";

TEST(ProjectFileWindow, ShowsTheFileAndSavesAnEditedText) {
    DialogFixture f;
    test::WriteBytes(f.dir.File("two.qlk"), kTwoWires);
    f.host.openAnswers.push_back(f.dir.File("two.qlk"));
    ProjectFileWindow w(f.ctx);
    EXPECT_TRUE(w.Loaded());
    EXPECT_EQ(w.windowTitle().toStdString(), "Project " + f.dir.File("two.qlk"));
    auto* text = Child<QPlainTextEdit>(w, "FileText");
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->toPlainText().toStdString(), "CM two wires\nCE\nGW 1 5 0 0 0 0 0 1 0.002\n"
                                                 "GW 2 5 1 0 0 1 0 1 0.002\nS 1 3 1 0\n");
    EXPECT_EQ(Child<QLabel>(w, "WireCount")->text(), " 2");
    w.show();
    text->moveCursor(QTextCursor::End);
    QTest::keyClicks(text, "CM edited");
    f.host.saveAnswers.push_back(f.dir.File("edited.qlk"));
    Click(w, "OK");
    ASSERT_EQ(w.result(), QDialog::Accepted);
    EXPECT_EQ(test::ReadBytes(f.dir.File("edited.qlk")), kTwoWires + "CM edited");
    EXPECT_TRUE(f.ctx.AbortFlag);  // the edited project is to be opened again
    EXPECT_FALSE(f.p.GeometryDefined);
}

TEST(ProjectFileWindow, UnchangedOkAcceptsAndCancelledOpenIsANewProject) {
    DialogFixture f;
    test::WriteBytes(f.dir.File("two.qlk"), kTwoWires);
    f.host.openAnswers.push_back(f.dir.File("two.qlk"));
    ProjectFileWindow w(f.ctx);
    w.show();
    Click(w, "OK");
    ASSERT_EQ(w.result(), QDialog::Accepted);
    EXPECT_FALSE(f.ctx.AbortFlag);
    EXPECT_TRUE(f.p.GeometryDefined);
    EXPECT_EQ(f.p.WireCount, 2);

    ProjectFileWindow none(f.ctx);  // the open dialog is cancelled
    EXPECT_FALSE(none.Loaded());
    EXPECT_EQ(none.windowTitle(), "New Project");
    none.show();
    Click(none, "OK");  // nothing read, nothing typed: nothing to accept
    EXPECT_EQ(none.result(), QDialog::Rejected);
    EXPECT_TRUE(f.ctx.AbortFlag);
    EXPECT_FALSE(f.p.GeometryDefined);
}

TEST(Dialogs, FixedSizeWithNamedControls) {
    DialogFixture f;
    f.p.Height = 10;
    GroundInput g;
    g.perfect = false;
    g.dielectric = 13;
    g.conductivityMs = 5;
    GroundDialog ground(f.ctx, g);
    HeightDialog height(f.ctx);
    FrequencyDialog frequency(f.ctx, 14.1f);
    FarFieldDialog far(f.ctx, FarFieldRequest{});
    NearFieldDialog near(f.ctx, NearFieldRequest{});
    FrequencyRangeDialog range(f.ctx, SweepRange{14, 14.35f, 0.05f});
    const std::pair<QDialog*, const char*> all[] = {{&ground, "ground"}, {&height, "height"},
                                                    {&frequency, "frequency"}, {&far, "farfield"},
                                                    {&near, "nearfield"}, {&range, "range"}};
    for (auto [d, name] : all) {
        d->show();
        QApplication::processEvents();
        EXPECT_EQ(d->minimumSize(), d->maximumSize()) << name;
        EXPECT_GT(d->width(), 100) << name;
        // Every box is wide enough for its number.
        for (NumberBox* box : d->findChildren<NumberBox*>()) {
            EXPECT_FALSE(box->objectName().isEmpty()) << name;
            EXPECT_GE(box->width(), box->fontMetrics().horizontalAdvance(box->text())) << name;
        }
        Shot(*d, name);
    }
    for (const char* control : {"Ctl_PERFECT", "Ctl_Circular", "Ctl_Linear", "Ctl_NRadials", "Ctl_RRadials"})
        EXPECT_NE(ground.findChild<QWidget*>(control), nullptr) << control;
    for (const char* control : {"Ctl_AAStart", "Ctl_AAInc", "Ctl_ZAInc", "Ctl_Volts", "Ctl_OK", "Ctl_Cancel"})
        EXPECT_NE(far.findChild<QWidget*>(control), nullptr) << control;
    for (const char* control : {"Ctl_YI", "Ctl_ZC", "Ctl_NZ", "Ctl_Hfield", "Ctl_Power"})
        EXPECT_NE(near.findChild<QWidget*>(control), nullptr) << control;
}

}  // namespace
}  // namespace qw
