// The Far Field command: its refusals, the dialog, the exact lines of the
// main window and the log, the grid, and Stop.
#include "fields/far_field_table.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "commands/log_commands.h"
#include "fields/far_field.h"
#include "model/number_value.h"
#include "support/solved_antenna.h"

namespace qw {
namespace {

using test::FileLines;
using test::SolvedAntenna;

constexpr double kPi = 3.14159265358979323846;

// A short element at the origin: a wire of two segments, 0.1 wavelength long
// along z, carrying 1 A on its one pulse with 0.5 W of input power. Its
// field is known in closed form: each half radiates F = k (L/2) / 2, so
// E_theta = -j c 2F (-sin theta) and E_phi = 0.
struct ShortElement {
    test::TempDir dir;
    SolvedAntenna a;
    std::vector<std::string> echoed;

    ShortElement() {
        a.Wire(2, 0, 0, -0.05f, 0, 0, 0.05f);
        a.Source(1);
        a.Build(false);
        SolverState& st = a.St();
        st.CR[1] = 1;
        st.CI[1] = 0;
        st.Pin = 0.5f;
        st.ZinR = 50;
        st.ZinX = 0;
        a.MarkSolved();
        EXPECT_TRUE(OpenLog(a.ctx, dir.File("q.log")));
    }
    static double Etheta(double zenithDeg) {
        const double k = 2 * kPi * 299.8 / 299.8, F = k * 0.05 / 2;
        return 29.979221 * 2 * F * std::fabs(std::sin(zenithDeg * kPi / 180));
    }
    static double GainDb(double zenithDeg) {
        return 4.343 * std::log(Etheta(zenithDeg) * Etheta(zenithDeg) * 0.016678 / 0.5);
    }
    FarFieldRequest& Request() { return a.ctx.farField; }
    // Zenith from -90 and azimuth from 0 by the given steps.
    void Grid(float zenithStep, float zenithSteps, float azimuthStep, int azimuthSteps) {
        Request().ZenithStep = zenithStep;
        Request().ZenithSteps = zenithSteps;
        Request().AzimuthStep = azimuthStep;
        Request().AzimuthSteps = azimuthSteps;
    }
    // The table's outcome; its fault shown on the scripted host, as a command does.
    Result Run() {
        FarFieldOutput out;
        out.logLines = [this](const std::string& line) { echoed.push_back(line); };
        const Result result = ComputeFarField(a.ctx, out);
        Conclude(a.ctx, result);
        return result;
    }
    // The log's lines after its header line, the empty line and `skip` more
    // (10 skip a gain table's header).
    std::vector<std::string> Log(std::size_t skip = 0) {
        a.ctx.log.Flush();
        const std::vector<std::string> lines = FileLines(dir.File("q.log"));
        EXPECT_GE(lines.size(), 2u) << "the log has no header";
        return {lines.begin() + static_cast<std::ptrdiff_t>(std::min(skip + 2, lines.size())), lines.end()};
    }
};

std::string Spaces(int n) { return std::string(static_cast<std::size_t>(n), ' '); }

double ValueAt(const std::string& row, std::size_t column) { return Val(row.substr(column - 1)); }

TEST(ComputeFarField, GainTableLinesAreExact) {
    ShortElement e;
    e.Grid(90, 2, 45, 1);
    ASSERT_TRUE(e.Run().completed());
    // cli_farfield.sh pins the other header lines; here the power's padding.
    EXPECT_EQ(e.a.host.mainText[2], "Az  :  0\xBA to  45\xBA");
    const std::vector<std::string> log = e.Log();
    ASSERT_EQ(log.size(), 16u);
    EXPECT_EQ(log[1], "File : test.qlk FAR FIELD  in " + Spaces(12) + " Db " + Spaces(10) + " Power : " +
                          Spaces(5) + " .5 " + Spaces(10) + " Watts");
    // All zenith angles of the first azimuth, then those of the next. The
    // angles and the gains stand at columns 1, 15, 29, 43 and 57.
    const char* zeniths[] = {"-90 ", " 0 ", " 90 "};
    for (std::size_t i = 0; i < 6; ++i) {
        const std::string& row = log[10 + i];
        EXPECT_EQ(row.substr(0, 28), test::Padded(zeniths[i % 3], 14) + test::Padded(i < 3 ? " 0 " : " 45 ", 14));
        EXPECT_EQ(row.substr(42, 14), test::Padded("-999.00", 14)) << row;  // no E_phi at all
        if (i % 3 == 1) {
            EXPECT_EQ(row.substr(28, 14), test::Padded("-999.00", 14)) << row;  // along the element
        } else {
            EXPECT_NEAR(ValueAt(row, 29), ShortElement::GainDb(90), 0.0011) << row;
            EXPECT_EQ(ValueAt(row, 57), ValueAt(row, 29)) << row;
            EXPECT_EQ(row[28], ' ');  // " #0.00#": a blank for a positive gain
        }
    }
    EXPECT_EQ(e.echoed, log);  // the echo got exactly the lines of the log
}

TEST(ComputeFarField, FieldTableLinesAreExact) {
    ShortElement e;
    FarFieldRequest answer = e.Request();
    answer.ZenithStep = 45;
    answer.ZenithSteps = 1;
    answer.AzimuthSteps = 0;
    answer.ResultsInDb = false;
    answer.PowerLevel = 2;  // four times the input power: the fields double
    answer.RadialDistance = 1000;
    e.a.host.farFieldAnswers.push_back(answer);
    ASSERT_TRUE(e.Run().completed());
    EXPECT_FLOAT_EQ(e.Request().FieldScale, 2);
    const std::vector<std::string> log = e.Log();
    ASSERT_EQ(log.size(), 14u);
    EXPECT_EQ(log[10], "ZENITH   AZIMUTH" + Spaces(12) + "     E(THETA)     " + Spaces(10) + "     E(PHI)");
    EXPECT_EQ(log[11],
              " ANGLE    ANGLE" + Spaces(13) + " MAG(V/M)    PHASE(DEG)" + Spaces(5) + " MAG(V/M)    PHASE(DEG)");
    // At zenith -90 E_theta = -j c 2F: phase -90 (its real part is 0), and
    // E_phi = 0 has magnitude and phase 0.
    const std::string& row = log[12];
    EXPECT_EQ(row.substr(0, 28), test::Padded("-90 ", 14) + test::Padded(" 0 ", 14));
    EXPECT_NEAR(ValueAt(row, 29), ShortElement::Etheta(90) / 1000 * 2, 0.0011) << row;
    EXPECT_EQ(row.substr(42), test::Padded("-90.00", 14) + test::Padded(" 0.00", 14) + " 0.00") << row;
    EXPECT_NEAR(ValueAt(log[13], 29), ShortElement::Etheta(45) / 1000 * 2, 0.0011) << log[13];
}

TEST(ComputeFarField, StepCountsAreRoundedAndLimited) {
    ShortElement e;
    e.Grid(2, 2.6f, 2, -4);  // 3 steps: four zenith angles; 0 steps: one azimuth
    ASSERT_TRUE(e.Run().completed());
    EXPECT_EQ(e.Request().ZenithSteps, 3);
    EXPECT_EQ(e.Request().AzimuthSteps, 0);
    EXPECT_EQ(e.Log(10).size(), 4u);
    EXPECT_EQ(e.a.host.mainText[1], "Zen : -90\xBA to -84\xBA");

    ShortElement many;
    many.Grid(0.1f, 1e9f, 2, 0);
    ASSERT_TRUE(many.Run().completed());
    EXPECT_EQ(many.Request().ZenithSteps, 3600);
    EXPECT_EQ(many.Log(10).size(), 3601u);
}

TEST(ComputeFarField, CancelStopAndTheInputPowerPreset) {
    ShortElement e;
    e.Request().PowerLevel = 123;
    e.Grid(2, 0, 2, 0);
    e.a.host.farFieldAnswers.push_back(std::nullopt);
    EXPECT_TRUE(e.Run().cancelled());
    EXPECT_TRUE(e.a.ctx.AbortFlag);
    EXPECT_TRUE(e.Log().empty());
    // With the queue empty the dialog answers OK with what it showed: the
    // power level preset to the input power.
    ASSERT_TRUE(e.Run().completed());
    EXPECT_EQ(e.Request().PowerLevel, 0.5f);

    // Stop pressed during the first azimuth: its rows stay, nothing more.
    ShortElement s;
    s.Grid(2, 4, 2, 3);
    s.a.host.stopAfterProgressCalls = 2;
    EXPECT_TRUE(s.Run().stopped());
    EXPECT_TRUE(s.a.ctx.AbortFlag);
    EXPECT_TRUE(s.a.host.MessageTexts().empty());  // a stop is not a failure
    EXPECT_EQ(s.Log(10).size(), 5u);
    EXPECT_EQ(s.a.host.status[1], "");
    EXPECT_FALSE(s.a.host.busy);
}

TEST(ComputeFarField, ImpedanceGuard) {
    const struct {
        float R, X;
        const char* refusal;
    } cases[] = {
        {-0.4f, 10, "Antenna Z = -0.40 +  j 10.00\r\nand will generate overflows"},
        {50, -2500, "Antenna Z = 50.00 -  j 2500.00\r\nand will generate overflows"},
        {-0.6f, 10, nullptr},
        {0.5f, 2000, nullptr},
    };
    for (const auto& c : cases) {
        ShortElement e;
        e.a.St().ZinR = c.R;
        e.a.St().ZinX = c.X;
        e.Grid(2, 0, 2, 0);
        EXPECT_EQ(e.Run().completed(), !c.refusal) << c.R << " " << c.X;
        EXPECT_EQ(e.a.host.MessageTexts(), c.refusal ? std::vector<std::string>{c.refusal} : std::vector<std::string>{});
        EXPECT_EQ(e.Log(10).size(), c.refusal ? 0u : 1u);
    }
}

TEST(ComputeFarField, TableRowsAreTheFieldOfEachDirection) {
    // A large table (its columns may be computed on several threads) holds
    // exactly the values of FieldAtDirection, in order.
    SolvedAntenna a(144);
    for (int w = 1; w <= 3; ++w) a.Wire(60, 0, 0.4f * (w - 1), -0.5f, 0, 0.4f * (w - 1), 0.5f, 0.00125f);
    a.Source(30);
    a.p.Env.GroundPresent = kOverGround;
    a.p.Env.GroundKind = kRealGround;
    a.p.Env.SetRealGround(13, 0.005f);
    a.p.Height = 2;
    a.Build();
    a.ctx.farField = {.ZenithStep = 4, .ZenithSteps = 45, .AzimuthStep = 7, .AzimuthSteps = 51};
    std::vector<FarFieldRow> rows;
    FarFieldOutput out;
    out.rows = [&rows](const FarFieldRow& row) { rows.push_back(row); };
    ASSERT_TRUE(ComputeFarField(a.ctx, out).completed());
    ASSERT_EQ(rows.size(), 46u * 52u);
    FarFieldSetup s;
    ASSERT_TRUE(PrepareFarField(a.ctx, s, true));
    for (std::size_t n = 0; n < rows.size(); ++n) {  // whole angles: the sums of the steps are exact
        const float azimuth = 7.0f * static_cast<float>(n / 46), zenith = -90 + 4.0f * static_cast<float>(n % 46);
        DirectionGains g;
        FieldAtDirection(a.ctx, s, azimuth, zenith, &g);
        ASSERT_TRUE(rows[n].azimuth == azimuth && rows[n].zenith == zenith) << n;
        ASSERT_TRUE(rows[n].gains.vertical == g.vertical && rows[n].gains.horizontal == g.horizontal &&
                    rows[n].gains.total == g.total)
            << n;
    }
}

}  // namespace
}  // namespace qw
