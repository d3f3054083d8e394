// The settings file: reading hand-written files, writing one key in place,
// cut values, and a file that cannot be written.
#include <gtest/gtest.h>

#include <filesystem>

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

TEST(Profile, ReadsKeysWithoutRegardToCaseOrBlanks) {
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
    EXPECT_EQ(GetProfileString(path, "OTHER", "key"), "other value");
}

TEST(Profile, WritingOneKeyKeepsEveryOtherLine) {
    TempDir dir;
    const std::string path = dir.File("a.ini");
    WriteBytes(path, kHandWritten);
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

TEST(Profile, AFolderInPlaceOfTheFileIsNeitherReadNorReplaced) {
    TempDir dir;
    const std::string folder = dir.File("QUILLWORK.INI");
    std::filesystem::create_directory(folder);
    WriteBytes(folder + "/inside", "kept");
    Profile p(folder);
    EXPECT_FALSE(p.Exists());
    EXPECT_NE(p.ReadError(), "");
    p.Set("S", "K", "v");
    EXPECT_NE(p.Save(), "");
    EXPECT_EQ(ReadBytes(folder + "/inside"), "kept");
    // and no temporary file is left behind.
    const auto entries = std::distance(std::filesystem::directory_iterator(dir.Path()), {});
    EXPECT_EQ(entries, 1);
}

}  // namespace
}  // namespace qw
