#include "platform/FileSystem.h"
#include "support/RawFile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace qvs::platform {
namespace {

namespace fs = std::filesystem;

// The nested file is larger than the pieces a file is read in, and not a
// multiple of them; the other file is empty.
class FileSystemTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(dir.Path() / "Data" / "Sub");
        fs::create_directory(dir.Path() / "Log");
        test::WriteRawFile(dir.Path() / "qvsc.ecd", "");
        std::string nested(200000, '\0');
        for (std::size_t i = 0; i < nested.size(); ++i) {
            nested[i] = static_cast<char>((i * 7 + i / 251) & 0xFF);
        }
        test::WriteRawFile(dir.Path() / "Data" / "Sub" / "File.TXT", nested);
    }
    test::TempDir dir;
};

struct LookupCase {
    const char* given;
    const char* native; // "/"-separated: the stored name, or the given one where nothing is
    int kind;           // 0 nothing, 1 file, 2 directory
};

// Of names differing only in letter case, an exact match wins, otherwise the
// first in byte order ("ABC" < "aBc" < "abc"); only ASCII letters fold.
TEST_F(FileSystemTest, NamesDifferingInCaseOrSeparatorFindTheStoredEntry) {
    std::vector<LookupCase> cases = {
        {"QVSC.ecd", "qvsc.ecd", 1},
        {"data\\SUB\\file.txt", "Data/Sub/File.TXT", 1},
        {"DATA/sub/FILE.txt", "Data/Sub/File.TXT", 1},
        {"dAtA\\sUb\\", "Data/Sub/", 2},
        {"LOG", "Log", 2},
        {"data//sub", "Data/Sub", 2},
        {"DATA\\Sub\\NEW.txt", "Data/Sub/NEW.txt", 0},
        {"Missing\\Deeper\\QVSC.ecd", "Missing/Deeper/QVSC.ecd", 0},
        {"qvsc.ecd\\below", "qvsc.ecd/below", 0},
        {"QVSC.ecd2", "QVSC.ecd2", 0}, // lengths must match
    };
#ifndef _WIN32
    for (const char* name : {"abc", "ABC", "aBc", "\xC3\xA9t\xC3\xA9"}) {
        test::WriteRawFile(dir.Path() / name, name);
    }
    cases.insert(cases.end(), {{"aBc", "aBc", 1},
                               {"Abc", "ABC", 1},
                               {"\xC3\xA9T\xC3\xA9", "\xC3\xA9t\xC3\xA9", 1},
                               {"\xC3\x89T\xC3\x89", "\xC3\x89T\xC3\x89", 0}});
#endif
    for (const LookupCase& c : cases) {
        SCOPED_TRACE(c.given);
        const std::string path = dir.Str() + c.given;
        EXPECT_EQ(FileExists(path), c.kind == 1);
        EXPECT_EQ(IsDirectory(path), c.kind == 2);
        EXPECT_EQ(ReadWholeFile(path),
                  c.kind == 1 ? test::ReadRawFile(dir.Path() / c.native) : std::nullopt);
#ifndef _WIN32
        EXPECT_EQ(NativePath(path), dir.Str() + c.native);
#endif
    }
}

// A read-only file is reported so and cannot be removed until that is
// cleared. How directory walks use these is CDirectoryTree's to check.
TEST_F(FileSystemTest, AttributesAndRemoval) {
    EXPECT_FALSE(GetAttributes(dir.Str() + "nothing").has_value());
    EXPECT_FALSE(SetAttributes(dir.Str() + "nothing", AttrReadOnly));
    const std::string file = dir.Str() + "QVSC.ECD";
    const std::uint32_t before = GetAttributes(file).value_or(0);
    ASSERT_TRUE(SetAttributes(file, before | AttrReadOnly));
    EXPECT_NE(GetAttributes(file).value_or(0) & AttrReadOnly, 0U);
    EXPECT_FALSE(RemoveFile(file));
    ASSERT_TRUE(SetAttributes(file, before));
    EXPECT_EQ(GetAttributes(file).value_or(AttrReadOnly) & AttrReadOnly, 0U);
    EXPECT_TRUE(RemoveFile(dir.Str() + "Qvsc.Ecd"));
    EXPECT_FALSE(fs::exists(dir.Path() / "qvsc.ecd"));
    EXPECT_FALSE(RemoveFile(dir.Str() + "qvsc.ecd"));
    EXPECT_FALSE(RemoveFile(dir.Str() + "Log\\"));

    EXPECT_FALSE(RemoveEmptyDirectory(dir.Str() + "DATA\\"));
    EXPECT_FALSE(RemoveEmptyDirectory(dir.Str() + "Data\\Sub\\File.TXT"));
    EXPECT_FALSE(RemoveEmptyDirectory(dir.Str() + "Missing\\"));
    EXPECT_TRUE(fs::exists(dir.Path() / "Data" / "Sub" / "File.TXT"));
    EXPECT_TRUE(RemoveEmptyDirectory(dir.Str() + "log\\"));
    EXPECT_FALSE(fs::exists(dir.Path() / "Log"));
}

} // namespace
} // namespace qvs::platform
