// The pattern file: its byte layout, files started anew, the round trip and
// length checks of the reader, and the header's notes. cli_pattern.sh checks
// the block sizes of cuts replaced and kept.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/scripted_host.h"
#include "plots/pattern_store.h"
#include "support/temp_dir.h"

namespace qw {
namespace {

using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

int U16(const std::string& b, std::size_t at) {
    return static_cast<std::uint8_t>(b[at]) | (static_cast<std::uint8_t>(b[at + 1]) << 8);
}

float F32(const std::string& b, std::size_t at) {
    std::uint32_t u = 0;
    for (int i = 3; i >= 0; --i) u = (u << 8) | static_cast<std::uint8_t>(b[at + static_cast<std::size_t>(i)]);
    float f;
    std::memcpy(&f, &u, 4);
    return f;
}

// A cut whose value at position q is q / 10 - 40.
PatternCut Cut(int plane, int step, int span = 360) {
    PatternCut c;
    c.plane = plane;
    c.step = step;
    c.span = span;
    c.firstAngle = plane == kAzimuthPlane ? 0 : -90;
    c.cutAngle = plane == kAzimuthPlane ? 15.0f : 30.0f;
    c.frequency = 14.2f;
    for (int q = 0; q <= 360; ++q) c.values[static_cast<std::size_t>(q)] = static_cast<float>(q) / 10 - 40;
    return c;
}

struct PatternFileFixture : ::testing::Test {
    TempDir dir;
    ScriptedHost host;
    Context ctx{host};
    std::string pf;

    void SetUp() override {
        ctx.project.FileName = dir.File("DIPOLE.QLK");
        ctx.project.Height = 10;
        ctx.project.Env.GroundPresent = kFreeSpace;
        pf = dir.File("DIPOLE.PF");
    }
    std::string Save(const PatternCut& c) {
        return SavePatternCut(ctx, c, c.span, static_cast<float>(c.firstAngle), static_cast<float>(c.step));
    }
};

TEST(PatternFileName, FileNamePartUpToItsFirstDot) {
    EXPECT_EQ(PatternFileName("/home/u/.config/ants/dipole.qlk"), "/home/u/.config/ants/dipole.PF");
    EXPECT_EQ(PatternFileName("/data/beam"), "/data/beam.PF");
    EXPECT_EQ(PatternFileName("x/a.b.qlk"), "x/a.PF");
}

TEST_F(PatternFileFixture, AzimuthCutWithFiveDegreeStepHasItsByteLayout) {
    ASSERT_EQ(Save(Cut(kAzimuthPlane, 5)), "");
    const std::string b = ReadBytes(pf);
    // Header.
    const std::string source = "Quillwork Workshop, QUILLWORK", title = "DIPOLE.QLK", env = "Height =  10m",
                      notes = "Free Space";
    const std::size_t head = 8 + source.size() + title.size() + env.size() + notes.size();
    EXPECT_EQ(b.substr(0, 8), std::string({10, static_cast<char>(head), 0, static_cast<char>(source.size()),
                                           static_cast<char>(title.size()), static_cast<char>(env.size()),
                                           static_cast<char>(notes.size()), 0}));
    EXPECT_EQ(b.substr(8, head - 8), source + title + env + notes);
    // Block.
    ASSERT_EQ(b.size(), head + 315);
    const std::size_t k = head;
    // BlkType total, BlkLen = 27 + 4 x 72, no title or notes.
    EXPECT_EQ(b.substr(k, 7), std::string("\x01\x3B\x01\x00\x00\x00\x00", 7));
    EXPECT_FLOAT_EQ(F32(b, k + 7), 14.2f);
    EXPECT_EQ(b[k + 11], 0);            // azimuth plane
    EXPECT_FLOAT_EQ(F32(b, k + 12), 15.0f);
    EXPECT_EQ(b[k + 16], 0);            // SYMETRY
    EXPECT_EQ(U16(b, k + 17), 72);
    EXPECT_FLOAT_EQ(F32(b, k + 19), 0.0f);
    EXPECT_EQ(b.substr(k + 23, 4), std::string("\x00\x00\xA0\x40", 4));  // little-endian 5.0
    EXPECT_FLOAT_EQ(F32(b, k + 27), -40.0f);
    EXPECT_FLOAT_EQ(F32(b, k + 27 + 4), -39.5f);       // position 5
    EXPECT_FLOAT_EQ(F32(b, k + 27 + 4 * 71), -4.5f);   // position 355
}

TEST_F(PatternFileFixture, ChangedProjectOtherVersionOrBadLengthsStartTheFileAnew) {
    Save(Cut(kAzimuthPlane, 5));
    const std::string oneBlock = ReadBytes(pf);
    Save(Cut(kZenithPlane, 2, 180));
    ctx.project.Modified = true;
    Save(Cut(kAzimuthPlane, 5));
    EXPECT_EQ(ReadBytes(pf), oneBlock);

    ctx.project.Modified = false;
    Save(Cut(kZenithPlane, 2, 180));
    std::string b = ReadBytes(pf);
    b[0] = 9;  // another version
    WriteBytes(pf, b);
    Save(Cut(kAzimuthPlane, 5));
    EXPECT_EQ(ReadBytes(pf), oneBlock);

    Save(Cut(kZenithPlane, 2, 180));
    b = ReadBytes(pf);
    const std::size_t head = static_cast<std::size_t>(U16(b, 1));
    b[head + 1] = 0x3C;  // BlkLen 316 disagrees with 72 points
    WriteBytes(pf, b);
    PatternFileHeader h;
    PatternBlock blk;
    EXPECT_FALSE(FindPatternBlock(ctx, pf, kZenithPlane, h, blk));
    Save(Cut(kZenithPlane, 2, 180));
    b = ReadBytes(pf);
    EXPECT_EQ(b.size(), head + 27 + 4 * 90);
    EXPECT_EQ(b[head + 11], 1);
}

TEST_F(PatternFileFixture, DbdCutsAreStoredInDbi) {
    PatternCut c = Cut(kAzimuthPlane, 90);
    c.gainInDbi = false;
    const PatternBlock b = MakePatternBlock(c, 360, 0, 90);
    ASSERT_EQ(b.OfPoints, 4);
    EXPECT_FLOAT_EQ(b.Data[0], -40 + 2.15f);
    EXPECT_FLOAT_EQ(b.Data[3], -13 + 2.15f);
    EXPECT_EQ(b.BlkLen, 27 + 16);
    // A step that no cut has is held to the block's limit.
    EXPECT_EQ(MakePatternBlock(c, 360, 0, 1e-9f).OfPoints, 361);
}

TEST_F(PatternFileFixture, RealAndPerfectGroundNotes) {
    ctx.project.Env.GroundPresent = kOverGround;
    ctx.project.Env.GroundKind = kRealGround;
    ctx.project.Env.SetRealGround(13.999f, 0.0056789f);
    ctx.project.Env.RadialCount = 16;
    ctx.project.Env.RadialLength = 10;
    const PatternFileHeader h = MakePatternHeader(ctx.project, 30);
    EXPECT_EQ(h.Notes, "Angle =  30 deg.\r\nGround Diel. =  13.99  Cond. =  5.67\r\n 16 Radials of  10 m  ( 32.8084 ft)");
    EXPECT_EQ(h.NoteLen, static_cast<std::int16_t>(h.Notes.size()));
    ctx.project.Env.GroundKind = kPerfectGround;
    EXPECT_EQ(MakePatternHeader(ctx.project, 30).Notes, "Perfect Ground");
}

TEST(PatternReader, EveryLengthIsChecked) {
    PatternBlock b;
    b.OfPoints = 3;
    b.Title = "t";
    b.Notes = "notes";
    b.Data[2] = 7.5f;
    SetBlockLengths(b);
    EXPECT_EQ(b.BlkLen, 27 + 12 + 1 + 5);
    std::string good;
    WritePatternBlock(good, b);
    {
        PatternReader in(good);
        PatternBlock r;
        std::size_t start = 99;
        ASSERT_EQ(ReadPatternBlock(in, r, &start), PatternRead::Ok);
        EXPECT_EQ(start, 0u);
        EXPECT_EQ(r.Title, "t");
        EXPECT_EQ(r.Notes, "notes");
        EXPECT_FLOAT_EQ(r.Data[2], 7.5f);
        EXPECT_EQ(ReadPatternBlock(in, r, &start), PatternRead::End);
        EXPECT_EQ(start, good.size());
    }
    const auto read = [](std::string bytes) {
        PatternReader in(bytes);
        PatternBlock r;
        return ReadPatternBlock(in, r);
    };
    const auto with = [&good](std::size_t at, char byte) { return good.substr(0, at) + byte + good.substr(at + 1); };
    EXPECT_EQ(read(good.substr(0, good.size() - 1)), PatternRead::Invalid);  // truncated
    EXPECT_EQ(read(with(18, 0x02)), PatternRead::Invalid);                   // 515 points
    EXPECT_EQ(read(with(6, '\xFF')), PatternRead::Invalid);                  // NoteLen < 0
    EXPECT_EQ(read(with(1, static_cast<char>(good[1] + 1))), PatternRead::Invalid);  // BlkLen

    PatternFileHeader h;
    h.Source = std::string(300, 's');
    h.Notes = "n";
    SetHeaderLengths(h);
    EXPECT_EQ(h.HeadLen, 8 + 255 + 1);
    std::string hb;
    WritePatternHeader(hb, h);
    PatternFileHeader r;
    const std::string badBytes = hb.substr(0, 1) + static_cast<char>(hb[1] + 1) + hb.substr(2);
    PatternReader ok(hb), bad(badBytes);  // HeadLen one too many
    EXPECT_EQ(ReadPatternHeader(ok, r), PatternRead::Ok);
    EXPECT_EQ(r.Source, h.Source);
    EXPECT_EQ(ReadPatternHeader(bad, r), PatternRead::Invalid);
}

TEST(PatternFileAngles, AoFilesKeepAZenithAngleInTheirAzimuthCuts) {
    PatternFileHeader h;
    PatternBlock b;
    b.PlaneAngle = 30;
    h.Source = "AO Pro, AO";
    EXPECT_FLOAT_EQ(ShownPlaneAngle(h, b), 60);
    b.Plane = 1;
    EXPECT_FLOAT_EQ(ShownPlaneAngle(h, b), 30);
}

}  // namespace
}  // namespace qw
