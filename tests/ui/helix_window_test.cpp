// The helix generator's window offscreen: the fields make the design (in
// the unit chosen, by diameter or circumference, spacing or pitch angle),
// a design that cannot be built disables Create and says why, and Create
// writes the project and hands it to the main program.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QPushButton>
#include <QSpinBox>
#include <cmath>

#include "model/new_project.h"
#include "model/project_reader.h"
#include <fstream>
#include <sstream>
#include "platform/scripted_host.h"
#include "support/temp_dir.h"
#include "ui/helix_window.h"

namespace qw {
namespace {

constexpr double kPi = 3.14159265358979323846;

TEST(HelixWindow, TheFieldsMakeTheDesignInTheUnitChosen) {
    HelixWindow w;
    w.unit->setCurrentIndex(2);  // mm
    w.turns->setValue(4);
    w.sizeKind->setCurrentIndex(1);  // circumference
    w.size->setValue(300);
    w.spacingKind->setCurrentIndex(1);  // pitch angle
    w.spacing->setValue(12.5);
    w.segmentsPerTurn->setValue(10);
    w.wire->setValue(1.5);
    w.hand->setCurrentIndex(1);
    w.base->setCurrentIndex(2);
    w.radialCount->setValue(6);
    w.radialLength->setValue(120);
    const HelixDesign d = w.Design();
    EXPECT_EQ(d.units, kMillimeters);
    EXPECT_NEAR(d.diameter, 0.3 / kPi, 1e-6);
    EXPECT_NEAR(d.spacing, 0.3 * std::tan(12.5 * kPi / 180), 1e-6);
    EXPECT_NEAR(d.wireDiameter, 0.0015, 1e-8);
    EXPECT_NEAR(d.radialLength, 0.12, 1e-7);
    EXPECT_EQ(d.segmentsPerTurn, 10);
    EXPECT_TRUE(d.leftHanded);
    EXPECT_EQ(d.base, HelixBase::kRadials);
    EXPECT_EQ(d.radialCount, 6);
    EXPECT_TRUE(w.create->isEnabled());
    // 7 radial wires, the feed, 40 helix wires; 999.333 MHz for 0.3 m.
    EXPECT_EQ(w.StatusText(), "48 wires, 47 pulses, fed on pulse 7 at 999.333 MHz");
}

TEST(HelixWindow, ADesignBeyondTheLimitsCannotBeCreated) {
    HelixWindow w;
    w.turns->setValue(8);
    w.segmentsPerTurn->setValue(8);
    EXPECT_FALSE(w.create->isEnabled());
    EXPECT_TRUE(w.StatusText().startsWith("The helix needs 64 wires")) << w.StatusText().toStdString();
    w.radialCount->setValue(3);
    EXPECT_FALSE(w.radialCount->isEnabled());  // only with a reflector of radials
}

TEST(HelixWindow, CreateWritesTheProjectAndOpensIt) {
    test::TempDir dir;
    HelixWindow w;
    w.base->setCurrentIndex(1);
    const QString path = QString::fromStdString(dir.File("antenna"));
    QString opened;
    w.askPath = [&] { return path; };
    w.openProject = [&](const QString& p) {
        opened = p;
        return true;
    };
    w.create->click();
    EXPECT_EQ(opened, path + ".qlk");
    EXPECT_EQ(w.StatusText(), "Written to " + path + ".qlk and opened in QUILLWORK");
    std::ifstream in((path + ".qlk").toStdString(), std::ios::binary);
    ASSERT_TRUE(in);
    std::stringstream buffer;
    buffer << in.rdbuf();
    const std::string text = buffer.str();
    ScriptedHost host;
    Context ctx(host);
    NewProject(ctx);
    ReadProjectText(ctx, text, false);
    ASSERT_FALSE(ctx.AbortFlag);
    const Project expected = HelixProject(w.Design());
    ASSERT_EQ(ctx.project.WireCount, expected.WireCount);
    EXPECT_NEAR(ctx.project.Wires[expected.WireCount].Z2, expected.Wires[expected.WireCount].Z2, 1e-6);
    EXPECT_EQ(ctx.project.Env.GroundPresent, kOverGround);

    // A cancelled dialog writes nothing.
    opened.clear();
    w.askPath = [] { return QString(); };
    w.create->click();
    EXPECT_TRUE(opened.isEmpty());
}

}  // namespace
}  // namespace qw
