// The modal dialogs on the offscreen platform: what they show, what OK
// hands back, that a refused OK keeps them open, and where each keeps its
// place. The rules behind the checks and their messages, and the height
// dialog's, are tested without a window in tests/model and tests/commands.
#include <gtest/gtest.h>

#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "commands/project_dialogs.h"
#include "commands/window_position.h"
#include "model/new_project.h"
#include "model/settings.h"
#include "platform/scripted_host.h"
#include "support/temp_dir.h"
#include "ui/far_field_dialog.h"
#include "ui/frequency_dialog.h"
#include "ui/frequency_range_dialog.h"
#include "ui/ground_dialog.h"
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

TEST(GroundDialog, ClassFillsTheValuesATypedValueClearsItAndOkApplies) {
    DialogFixture f;
    GroundDialog d(f.ctx, GroundInputOf(f.p.Env));
    d.show();
    Click(d, "Ctl_GndType3");
    EXPECT_EQ(Text(d, "Ctl_DielMedia"), "13");
    Type(d, "Ctl_CondMedia", "7");  // no class has it
    EXPECT_FALSE(Child<QRadioButton>(d, "Ctl_GndType3")->isChecked());
    Click(d, "Ctl_OK");
    ASSERT_EQ(d.result(), QDialog::Accepted);
    ASSERT_TRUE(ApplyGround(f.ctx, d.Result()));
    EXPECT_EQ(f.p.Env.Dielectric(), 13.0f);
    EXPECT_FLOAT_EQ(f.p.Env.Conductivity(), 0.007f);
}

// A refused OK, and the lenient number reading every dialog's boxes share.
TEST(FarFieldDialog, ShowsRefusesAndReadsTheRequestLeniently) {
    DialogFixture f;
    FarFieldRequest r;
    r.PowerLevel = 12.345f;
    FarFieldDialog d(f.ctx, r);
    EXPECT_EQ(Text(d, "Ctl_Power"), "12.35");
    d.show();
    Type(d, "Ctl_AAStart", "1E+39");  // beyond a 32-bit value
    Click(d, "Ctl_OK");
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(f.host.MessageTexts(), std::vector<std::string>{"Number out of range"});
    Type(d, "Ctl_AAStart", "0");
    Type(d, "Ctl_ZAInc", "5 deg");  // the leading number counts
    Type(d, "Ctl_Power", "1,5");
    Type(d, "Ctl_RDistance", "x");  // no number: 0
    Click(d, "Ctl_OK");
    ASSERT_EQ(d.result(), QDialog::Accepted);
    EXPECT_EQ(d.Result().ZenithStep, 5.0f);
    EXPECT_EQ(d.Result().PowerLevel, 1.5f);
    EXPECT_EQ(d.Result().RadialDistance, 0.0f);
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

// The text is shown with plain line ends and saved with CR LF again.
TEST(ProjectFileWindow, ShowsTheFileAndSavesAnEditedText) {
    DialogFixture f;
    const std::string twoWires =
        "CM two wires\r\nCE\r\nGW 1 5 0 0 0 0 0 1 0.002\r\nGW 2 5 1 0 0 1 0 1 0.002\r\nS 1 3 1 0\r\n";
    test::WriteBytes(f.dir.File("two.qlk"), twoWires);
    f.host.openAnswers.push_back(f.dir.File("two.qlk"));
    ProjectFileWindow w(f.ctx);
    auto* text = Child<QPlainTextEdit>(w, "FileText");
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->toPlainText().toStdString(), "CM two wires\nCE\nGW 1 5 0 0 0 0 0 1 0.002\n"
                                                 "GW 2 5 1 0 0 1 0 1 0.002\nS 1 3 1 0\n");
    w.show();
    text->moveCursor(QTextCursor::End);
    QTest::keyClicks(text, "CM edited");
    f.host.saveAnswers.push_back(f.dir.File("edited.qlk"));
    Click(w, "OK");
    ASSERT_EQ(w.result(), QDialog::Accepted);
    EXPECT_EQ(test::ReadBytes(f.dir.File("edited.qlk")), twoWires + "CM edited");
}

}  // namespace
}  // namespace qw
