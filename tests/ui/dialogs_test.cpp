// The modal dialogs on the offscreen platform: what they show, what OK and
// Cancel hand back, that a refused OK keeps them open, and where each keeps
// its place. The rules behind the checks are tested without a window in
// tests/model and tests/commands.
#include <gtest/gtest.h>

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

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

TEST(GroundDialog, ClassTypedValuesRadialsAndUnchangedOk) {
    DialogFixture f;
    GroundDialog d(f.ctx, GroundInputOf(f.p.Env));  // a new project: perfect ground
    EXPECT_EQ(Text(d, "Ctl_DielMedia"), "Perfect");
    d.show();
    Click(d, "Ctl_GndType3");
    EXPECT_EQ(Text(d, "Ctl_DielMedia"), "13");
    EXPECT_EQ(Text(d, "Ctl_CondMedia"), "5");
    // A typed value that is no class clears the class.
    Type(d, "Ctl_CondMedia", "7");
    for (const char* name : {"Ctl_GndType1", "Ctl_GndType2", "Ctl_GndType3", "Ctl_GndType4", "Ctl_GndType5"})
        EXPECT_FALSE(Child<QRadioButton>(d, name)->isChecked()) << name;
    Click(d, "Ctl_Linear");
    Type(d, "Ctl_NRadials", "4");
    Type(d, "Ctl_RRadials", "5");
    Click(d, "Ctl_OK");
    ASSERT_EQ(d.result(), QDialog::Accepted);
    ASSERT_TRUE(ApplyGround(f.ctx, d.Result()));
    EXPECT_EQ(f.p.Env.Dielectric(), 13.0f);
    EXPECT_FLOAT_EQ(f.p.Env.Conductivity(), 0.007f);
    EXPECT_EQ(f.p.Env.RadialCount, 4);
    EXPECT_EQ(f.p.Env.Boundary, kCircularBoundary);  // radials force a circular boundary
    EXPECT_TRUE(f.p.Modified);

    // Opened again and closed without a change: nothing changed.
    GroundDialog same(f.ctx, GroundInputOf(f.p.Env));
    same.show();
    Click(same, "Ctl_OK");
    ASSERT_EQ(same.result(), QDialog::Accepted);
    EXPECT_FALSE(same.Result().changed);
}

TEST(GroundDialog, InvalidInputKeepsItOpenPerfectAcceptsEscRejects) {
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

    Type(d, "Ctl_RRadials", "5");
    Type(d, "Ctl_NRadials", "1E+6");  // no 16-bit count
    Click(d, "Ctl_OK");
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(f.host.messages.back().text, "Number out of range");
    EXPECT_EQ(f.host.messages.back().title, "Environment Settings");

    Click(d, "Ctl_PERFECT");
    EXPECT_EQ(d.result(), QDialog::Accepted);
    EXPECT_TRUE(d.Result().perfect);

    GroundDialog c(f.ctx, GroundInputOf(f.p.Env));
    c.show();
    QTest::keyClick(&c, Qt::Key_Escape);
    EXPECT_EQ(c.result(), QDialog::Rejected);
    EXPECT_FALSE(c.isVisible());
}

TEST(FrequencyDialog, TooLowStaysOpenAndCloseCancels) {
    DialogFixture f;
    FrequencyDialog d(f.ctx, 14.2f);
    EXPECT_EQ(Text(d, "FValue"), "14.2");
    d.show();
    Type(d, "FValue", "0.05");
    Click(d, "OK");
    EXPECT_TRUE(d.isVisible());
    ASSERT_EQ(f.host.messages.size(), 1u);
    EXPECT_EQ(f.host.messages[0].text, "\r\nFrequency is Zero or too low");
    EXPECT_EQ(f.host.messages[0].title, "Frequency Value too small");
    Type(d, "FValue", "7,1");
    Click(d, "OK");
    EXPECT_EQ(d.result(), QDialog::Accepted);
    EXPECT_EQ(d.Result(), 7.1f);
    EXPECT_FALSE(f.ctx.AbortFlag);

    // The window's close button acts as Cancel: nothing is checked.
    FrequencyDialog closed(f.ctx, 7.1f);
    closed.show();
    Type(closed, "FValue", "0");
    closed.close();
    EXPECT_EQ(closed.result(), QDialog::Rejected);
    EXPECT_EQ(f.host.messages.size(), 1u);
}

TEST(FrequencyRangeDialog, ZeroValuesAreRefusedAndLimitsTakenInEitherOrder) {
    DialogFixture f;
    FrequencyRangeDialog d(f.ctx, SweepRange{14, 14.35f, 0.05f});
    EXPECT_EQ(Text(d, "CtlStepF"), ".05");
    d.show();
    Type(d, "CtlStepF", "0");
    Click(d, "CtlOK");
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(f.host.MessageTexts(), std::vector<std::string>{"Zero Values not allowed"});
    EXPECT_EQ(f.host.messages[0].title, "Error");
    Type(d, "CtlLowerF", "21.45");
    Type(d, "CtlUpperF", "21");
    Type(d, "CtlStepF", ".1");
    Click(d, "CtlOK");
    ASSERT_EQ(d.result(), QDialog::Accepted);
    EXPECT_EQ(d.Result().Lower, 21.45f);
    EXPECT_EQ(d.Result().Upper, 21.0f);
    EXPECT_EQ(d.Result().Step, 0.1f);
}

TEST(FarFieldDialog, ShowsAndReadsTheRequest) {
    DialogFixture f;
    FarFieldRequest r;
    r.PowerLevel = 12.345f;
    FarFieldDialog d(f.ctx, r);
    EXPECT_EQ(Text(d, "Ctl_ZAStart"), "-90");
    EXPECT_EQ(Text(d, "Ctl_Power"), "12.35");
    EXPECT_TRUE(Child<QRadioButton>(d, "Ctl_Dbs")->isChecked());
    d.show();
    Type(d, "Ctl_AAStart", "1E+39");  // beyond a 32-bit value
    Click(d, "Ctl_OK");
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(f.host.MessageTexts(), std::vector<std::string>{"Number out of range"});
    Type(d, "Ctl_AAStart", "0");
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
}

// Each dialog keeps its place under its own key, Cancel included.
TEST(Dialogs, EachKeepsItsPlaceUnderItsOwnKey) {
    DialogFixture f;
    GroundDialog ground(f.ctx, GroundInputOf(f.p.Env));
    FrequencyDialog frequency(f.ctx, 14.1f);
    FrequencyRangeDialog range(f.ctx, SweepRange{14, 14.35f, 0.05f});
    FarFieldDialog far(f.ctx, FarFieldRequest{});
    NearFieldDialog near(f.ctx, NearFieldRequest{});
    const std::pair<QDialog*, const char*> all[] = {
        {&ground, "Environ"}, {&frequency, "Freq"}, {&range, "FreqRange"}, {&far, "FFinfo"}, {&near, "NFInfo"}};
    for (auto [d, key] : all) {
        EXPECT_TRUE(StoredWindowPosition(f.ctx, key).empty()) << key;
        d->show();
        QTest::keyClick(d, Qt::Key_Escape);
        EXPECT_EQ(d->result(), QDialog::Rejected) << key;
        EXPECT_FALSE(StoredWindowPosition(f.ctx, key).empty()) << key;
    }
}

// The unit rules are tested in tests/commands; here the window wires them.
TEST(HeightDialog, FeetMetresOkAndCancel) {
    DialogFixture f;
    f.p.Units = kInches;
    f.p.Height = 3.048f;
    HeightDialog d(f.ctx);
    EXPECT_EQ(Text(d, "HeightValue"), "10.00");  // in feet
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

    HeightDialog c(f.ctx);
    c.show();
    Type(c, "HeightValue", "99");
    Click(c, "Cancel");
    EXPECT_EQ(c.result(), QDialog::Rejected);
    EXPECT_EQ(f.p.Height, 12.0f);
}

const std::string kTwoWires =
    "CM two wires\r\nCE\r\nGW 1 5 0 0 0 0 0 1 0.002\r\nGW 2 5 1 0 0 1 0 1 0.002\r\nS 1 3 1 0\r\n";

// The text is shown with plain line ends and saved with CR LF again.
TEST(ProjectFileWindow, ShowsTheFileAndSavesAnEditedText) {
    DialogFixture f;
    test::WriteBytes(f.dir.File("two.qlk"), kTwoWires);
    f.host.openAnswers.push_back(f.dir.File("two.qlk"));
    ProjectFileWindow w(f.ctx);
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

TEST(ProjectFileWindow, CancelledOpenHasNothingToAccept) {
    DialogFixture f;
    ProjectFileWindow none(f.ctx);  // the open dialog is cancelled
    EXPECT_EQ(none.windowTitle(), "New Project");
    none.show();
    Click(none, "OK");
    EXPECT_EQ(none.result(), QDialog::Rejected);
    EXPECT_TRUE(f.ctx.AbortFlag);
    EXPECT_FALSE(f.p.GeometryDefined);
}

}  // namespace
}  // namespace qw
