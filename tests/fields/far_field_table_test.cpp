// The Far Field command: its refusals, the dialog, the exact lines of the
// main window and the log, the grid, progress and Stop.
#include "fields/far_field_table.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "fields/far_field.h"
#include "support/solved_antenna.h"
#include "model/log_commands.h"
#include "model/number_text.h"

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
        a.p.MatrixState = 2;
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
    bool Run() {
        FarFieldOutput out;
        out.logLines = [this](const std::string& line) { echoed.push_back(line); };
        return ComputeFarField(a.ctx, out);
    }
    // The log's lines after its header line and the empty line.
    std::vector<std::string> Log() {
        a.ctx.log.Flush();
        std::vector<std::string> lines = FileLines(dir.File("q.log"));
        if (lines.size() < 2) {
            ADD_FAILURE() << "the log has no header";
            return {};
        }
        lines.erase(lines.begin(), lines.begin() + 2);
        return lines;
    }
    // The data rows of a table whose header has `headerLines` lines.
    std::vector<std::string> Rows(std::size_t headerLines) {
        std::vector<std::string> lines = Log();
        return {lines.begin() + static_cast<std::ptrdiff_t>(std::min(headerLines, lines.size())), lines.end()};
    }
};

std::string Spaces(int n) { return std::string(static_cast<std::size_t>(n), ' '); }

double ValueAt(const std::string& row, std::size_t column) { return Val(row.substr(column - 1)); }

TEST(ComputeFarField, GainTableLinesAreExact) {
    ShortElement e;
    FarFieldRequest& r = e.Request();
    r.ZenithStart = -90;
    r.ZenithStep = 90;
    r.ZenithSteps = 2;
    r.AzimuthStart = 0;
    r.AzimuthStep = 45;
    r.AzimuthSteps = 1;
    ASSERT_TRUE(e.Run());

    const std::vector<std::string> main = {"File : test.qlk FAR FIELD  Db  Power :  .5 Watts",
                                           "Zen : -90\xBA to  90\xBA", "Az  :  0\xBA to  45\xBA", ""};
    EXPECT_EQ(e.a.host.mainText, main);

    const std::vector<std::string> log = e.Log();
    const std::vector<std::string> header = {
        "=====================================",
        "File : test.qlk FAR FIELD  in " + Spaces(12) + " Db " + Spaces(10) + " Power : " + Spaces(5) + " .5 " +
            Spaces(10) + " Watts",
        " From Zenith : -90 \xBA" + Spaces(8) + " to  90 \xBA",
        " in  90 " + Spaces(6) + "\xBA Increments",
        " From Azimuth :  0 \xBA" + Spaces(8) + " to  45 \xBA",
        " in  45 " + Spaces(6) + "\xBA Increments",
        "",
        "Far Field Pattern DATA ",
        "ZENITH        AZIMUTH       VERTICAL      HORIZONTAL    TOTAL",
        "ANGLE         ANGLE         PATTERN (DB)  PATTERN (DB)  PATTERN (DB)",
    };
    ASSERT_EQ(log.size(), header.size() + 6);
    for (std::size_t i = 0; i < header.size(); ++i) EXPECT_EQ(log[i], header[i]) << i;

    // All zenith angles of the first azimuth, then those of the next. The
    // angles and the gains stand at columns 1, 15, 29, 43 and 57.
    const std::vector<std::string> rows(log.begin() + 10, log.end());
    const char* prefixes[] = {"-90 ", " 0 ", " 90 ", "-90 ", " 0 ", " 90 "};
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const std::string& row = rows[i];
        const std::string azimuth = i < 3 ? " 0 " : " 45 ";
        EXPECT_EQ(row.substr(0, 28), test::Padded(prefixes[i], 14) + test::Padded(azimuth, 14)) << row;
        const double zenith = i % 3 == 0 ? -90 : (i % 3 == 1 ? 0 : 90);
        const std::string horizontal = row.substr(42, 14);
        EXPECT_EQ(horizontal, test::Padded("-999.00", 14)) << row;  // no E_phi at all
        if (zenith == 0) {
            EXPECT_EQ(row.substr(28), test::Padded("-999.00", 14) + test::Padded("-999.00", 14) + "-999.00")
                << row;  // along the element
        } else {
            EXPECT_NEAR(ValueAt(row, 29), ShortElement::GainDb(zenith), 0.0011) << row;
            EXPECT_EQ(ValueAt(row, 57), ValueAt(row, 29)) << row;
            EXPECT_EQ(row[28], ' ');  // " #0.00#": a blank for a positive gain
        }
    }
    // The echo got exactly the lines of the log, and the status is back.
    EXPECT_EQ(e.echoed, log);
    EXPECT_EQ(e.a.host.status[1], "");
    EXPECT_FALSE(e.a.host.busy);
}

TEST(ComputeFarField, FieldTableLinesAreExact) {
    ShortElement e;
    FarFieldRequest answer = e.Request();
    answer.ZenithStart = -90;
    answer.ZenithStep = 45;
    answer.ZenithSteps = 1;
    answer.AzimuthSteps = 0;
    answer.ResultsInDb = false;
    answer.PowerLevel = 2;  // four times the input power: the fields double
    answer.RadialDistance = 1000;
    e.a.host.farFieldAnswers.push_back(answer);
    ASSERT_TRUE(e.Run());
    EXPECT_FLOAT_EQ(e.Request().FieldScale, 2);
    EXPECT_EQ(e.a.host.mainText[0], "File : test.qlk FAR FIELD  Volts/m  Power :  2 Watts");

    const std::vector<std::string> log = e.Log();
    ASSERT_EQ(log.size(), 14u);
    EXPECT_EQ(log[1], "File : test.qlk FAR FIELD  in " + Spaces(12) + " Volts/m " + Spaces(5) +
                          " Power : " + Spaces(5) + " 2 " + Spaces(11) + " Watts");
    EXPECT_EQ(log[8], Spaces(14) + "RADIAL DISTANCE =  1000  METERS");
    EXPECT_EQ(log[9], Spaces(14) + "POWER LEVEL =  2  WATTS");
    EXPECT_EQ(log[10], "ZENITH   AZIMUTH" + Spaces(12) + "     E(THETA)     " + Spaces(10) + "     E(PHI)");
    EXPECT_EQ(log[11],
              " ANGLE    ANGLE" + Spaces(13) + " MAG(V/M)    PHASE(DEG)" + Spaces(5) + " MAG(V/M)    PHASE(DEG)");
    // At zenith -90 E_theta = -j c 2F: phase -90 (its real part is 0), and
    // E_phi = 0 has magnitude and phase 0.
    const std::string& row = log[12];
    EXPECT_EQ(row.substr(0, 28), test::Padded("-90 ", 14) + test::Padded(" 0 ", 14));
    EXPECT_NEAR(ValueAt(row, 29), ShortElement::Etheta(90) / 1000 * 2, 0.0011) << row;
    EXPECT_EQ(row.substr(42), test::Padded("-90.00", 14) + test::Padded(" 0.00", 14) + " 0.00") << row;
    // Zenith -45: a smaller field, same phase.
    EXPECT_NEAR(ValueAt(log[13], 29), ShortElement::Etheta(45) / 1000 * 2, 0.0011) << log[13];
}

TEST(ComputeFarField, StepCountsAreRoundedAndLimited) {
    {
        ShortElement e;
        e.Request().ZenithSteps = 2.6f;  // 3: four zenith angles
        e.Request().AzimuthSteps = -4;   // 0: one azimuth
        ASSERT_TRUE(e.Run());
        EXPECT_EQ(e.Request().ZenithSteps, 3);
        EXPECT_EQ(e.Request().AzimuthSteps, 0);
        EXPECT_EQ(e.Rows(10).size(), 4u);
        EXPECT_EQ(e.a.host.mainText[1], "Zen : -90\xBA to -84\xBA");
    }
    {
        ShortElement e;
        e.Request().ZenithSteps = 1e9f;
        e.Request().ZenithStep = 0.1f;
        e.Request().AzimuthSteps = 0;
        ASSERT_TRUE(e.Run());
        EXPECT_EQ(e.Request().ZenithSteps, 3600);
        const std::vector<std::string> rows = e.Rows(10);
        ASSERT_EQ(rows.size(), 3601u);
        // The angles are sums of 0.1 in single precision; the end of the
        // header is a product.
        float zenith = -90;
        for (int i = 0; i < 3600; ++i) zenith = zenith + 0.1f;
        EXPECT_EQ(rows.back().substr(0, 14), test::Padded(Str(zenith) + " ", 14));
        EXPECT_EQ(e.a.host.mainText[1], "Zen : -90\xBA to " + Str(-90.0f + 0.1f * 3600.0f) + "\xBA");
    }
}

TEST(ComputeFarField, ProgressOncePerAzimuthAndStop) {
    ShortElement e;
    e.Request().ZenithSteps = 4;
    e.Request().AzimuthSteps = 3;
    ASSERT_TRUE(e.Run());
    EXPECT_EQ(e.a.host.progress, (std::vector<double>{0, 0, 0.25, 0.5, 0.75}));

    // Stop pressed during the first azimuth: its rows stay, nothing more.
    ShortElement s;
    s.Request().ZenithSteps = 4;
    s.Request().AzimuthSteps = 3;
    s.a.host.stopAfterProgressCalls = 2;
    EXPECT_FALSE(s.Run());
    EXPECT_TRUE(s.a.ctx.AbortFlag);
    EXPECT_EQ(s.Rows(10).size(), 5u);
    EXPECT_EQ(s.a.host.status[1], "");
    EXPECT_FALSE(s.a.host.busy);
}

TEST(ComputeFarField, CancelledDialogAndTheInputPowerPreset) {
    ShortElement e;
    e.Request().PowerLevel = 123;
    e.Request().ZenithSteps = 0;
    e.Request().AzimuthSteps = 0;
    e.a.host.farFieldAnswers.push_back(std::nullopt);
    EXPECT_FALSE(e.Run());
    EXPECT_TRUE(e.a.ctx.AbortFlag);
    EXPECT_TRUE(e.a.host.mainText.empty());
    EXPECT_TRUE(e.Log().empty());
    // With the queue empty the dialog answers OK with what it showed: the
    // power level preset to the input power.
    ASSERT_TRUE(e.Run());
    EXPECT_EQ(e.a.host.fieldDialogs, 2);
    EXPECT_EQ(e.Request().PowerLevel, 0.5f);
    EXPECT_EQ(e.a.host.mainText[0], "File : test.qlk FAR FIELD  Db  Power :  .5 Watts");
}
TEST(ComputeFarField, ImpedanceGuard) {
    const struct {
        float R, X;
        bool refused;
        const char* text;
    } cases[] = {
        {-0.4f, 10, true, "Antenna Z = -0.40 +  j 10.00\r\nand will generate overflows"},
        {50, -2500, true, "Antenna Z = 50.00 -  j 2500.00\r\nand will generate overflows"},
        {-0.6f, 10, false, ""},
        {0.5f, 2000, false, ""},
    };
    for (const auto& c : cases) {
        ShortElement e;
        e.a.St().ZinR = c.R;
        e.a.St().ZinX = c.X;
        e.Request().ZenithSteps = 0;
        e.Request().AzimuthSteps = 0;
        EXPECT_EQ(e.Run(), !c.refused) << c.R << " " << c.X;
        if (c.refused) {
            ASSERT_EQ(e.a.host.messages.size(), 1u);
            EXPECT_EQ(e.a.host.messages[0].text, c.text);
            EXPECT_EQ(e.a.host.messages[0].title, "Abnormal Impedance");
            EXPECT_EQ(e.a.host.fieldDialogs, 0);
            EXPECT_TRUE(e.Log().empty());
        } else {
            EXPECT_TRUE(e.a.host.messages.empty());
            EXPECT_EQ(e.Rows(10).size(), 1u);
        }
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
    a.ctx.farField.ZenithStep = 4;
    a.ctx.farField.ZenithSteps = 45;
    a.ctx.farField.AzimuthStep = 7;
    a.ctx.farField.AzimuthSteps = 51;
    std::vector<FarFieldRow> rows;
    FarFieldOutput out;
    out.rows = [&rows](const FarFieldRow& r) { rows.push_back(r); };
    ASSERT_TRUE(ComputeFarField(a.ctx, out));
    ASSERT_EQ(rows.size(), 46u * 52u);
    FarFieldSetup s;
    ASSERT_TRUE(PrepareFarField(a.ctx, s, true));
    std::size_t n = 0;
    float azimuth = 0;
    for (int i = 0; i <= 51; ++i, azimuth = azimuth + 7) {
        float zenith = -90;
        for (int j = 0; j <= 45; ++j, zenith = zenith + 4, ++n) {
            DirectionGains g;
            FieldAtDirection(a.ctx, s, azimuth, zenith, &g);
            ASSERT_EQ(rows[n].azimuth, azimuth);
            ASSERT_EQ(rows[n].zenith, zenith);
            ASSERT_EQ(rows[n].gains.vertical, g.vertical) << n;
            ASSERT_EQ(rows[n].gains.horizontal, g.horizontal) << n;
            ASSERT_EQ(rows[n].gains.total, g.total) << n;
        }
    }
}

}  // namespace
}  // namespace qw
