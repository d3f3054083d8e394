// The settings file: reading hand-written files, writing one key in place,
// and cut values.
#include <gtest/gtest.h>

#include "platform/profile.h"
#include "support/temp_dir.h"

namespace qw {
namespace {

using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

// A file as a person or another program may have written it: LF line ends,
// blanks around "=", odd case, comments, a key before any section, a
// duplicate key and a byte of Windows-1252.
const char* const kHandWritten =
    "stray=before sections\n"
    "; a comment line\n"
    "[ defaults ]\n"
    "  DefaultFrequency =  7.05  \n"
    "coaximpedance=75\n"
    "Unit\xB5=5 \xB5m\n"
    "coaxImpedance=99\n"
    "no equals sign here\n"
    "\n"
    "[Other]\n"
    "Key=other value\n";

TEST(Profile, ReadsKeysWithoutRegardToCaseOrBlanksAndWritesOneInPlace) {
    TempDir dir;
    const std::string path = dir.File("a.ini");
    WriteBytes(path, kHandWritten);
    const Profile p(path);
    EXPECT_TRUE(p.Exists());
    EXPECT_EQ(p.Get("DEFAULTS", "DefaultFrequency"), "7.05");
    EXPECT_EQ(p.Get("Defaults", "CoaxImpedance"), "75");  // the first of two
    EXPECT_EQ(p.Get("DEFAULTS", "UNIT\xB5"), "5 \xB5m");
    EXPECT_EQ(p.Get("other", "KEY"), "other value");
    EXPECT_EQ(p.Get("DEFAULTS", "Key"), std::nullopt);  // another section's key
    EXPECT_EQ(p.Get("DEFAULTS", "stray"), std::nullopt);
    // Writing one key keeps every other line.
    EXPECT_EQ(WriteProfileString(path, "DEFAULTS", "CoaxImpedance", " 50"), "");
    EXPECT_EQ(WriteProfileString(path, "DEFAULTS", "NewKey", "new"), "");   // after the section's last line
    EXPECT_EQ(WriteProfileString(path, "Windows", "Main", " 1, 2, 3, 4"), "");  // a new section at the end
    EXPECT_EQ(ReadBytes(path),
              "stray=before sections\r\n"
              "; a comment line\r\n"
              "[ defaults ]\r\n"
              "  DefaultFrequency =  7.05  \r\n"
              "CoaxImpedance= 50\r\n"
              "Unit\xB5=5 \xB5m\r\n"
              "coaxImpedance=99\r\n"
              "no equals sign here\r\n"
              "NewKey=new\r\n"
              "\r\n"
              "[Other]\r\n"
              "Key=other value\r\n"
              "\r\n"
              "[Windows]\r\n"
              "Main= 1, 2, 3, 4\r\n");
}

TEST(Profile, ANewFileAndValuesCutAt255CharactersAndAtALineBreak) {
    TempDir dir;
    const std::string path = dir.File("new.ini");
    Profile p(path);
    EXPECT_FALSE(p.Exists());
    EXPECT_EQ(p.ReadError(), "");
    p.Set("LIMITS", "GainHi", " 10");
    p.Set("limits", "gainhi", " 12");  // the same key
    EXPECT_EQ(p.Save(), "");
    EXPECT_EQ(ReadBytes(path), "[LIMITS]\r\ngainhi= 12\r\n");

    ASSERT_EQ(WriteProfileString(path, "S", "Long", std::string(300, 'x')), "");
    EXPECT_EQ(GetProfileString(path, "S", "Long"), std::string(255, 'x'));
    // A line break would start a line of its own: a key or a section.
    ASSERT_EQ(WriteProfileString(path, "S", "Name", "Courier\r\n[Evil]\r\nx=1"), "");
    EXPECT_EQ(GetProfileString(path, "S", "Name"), "Courier");
    EXPECT_EQ(GetProfileString(path, "Evil", "x"), "");
}

}  // namespace
}  // namespace qw
