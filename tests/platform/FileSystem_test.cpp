#include "platform/FileSystem.h"
#include "support/RawFile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

namespace qvs::platform {
namespace {

namespace fs = std::filesystem;

// Every listed name with its attributes.
std::map<std::string, std::uint32_t> Listing(const std::string& directory) {
    std::map<std::string, std::uint32_t> names;
    for (const DirectoryEntry& entry : ListDirectory(directory)) {
        names.emplace(entry.name, entry.attributes);
    }
    return names;
}

// The nested file is larger than the pieces a file is read in, and not a
// multiple of them; the other file is empty.
class FileSystemTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(dir.Path() / "Data" / "Sub");
        fs::create_directory(dir.Path() / "Log");
        test::WriteRawFile(dir.Path() / "qvsc.ecd", "");
        for (std::size_t i = 0; i < nested.size(); ++i) {
            nested[i] = static_cast<char>((i * 7 + i / 251) & 0xFF);
        }
        test::WriteRawFile(dir.Path() / "Data" / "Sub" / "File.TXT", nested);
    }
    test::TempDir dir;
    std::string nested = std::string(200000, '\0');
};

struct LookupCase {
    const char* given;
    const char* native; // "/"-separated: the stored name, or the given one where nothing is
    int kind;           // 0 nothing, 1 file, 2 directory
};

TEST_F(FileSystemTest, NamesDifferingInCaseOrSeparatorFindTheStoredEntry) {
    const LookupCase cases[] = {
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

#ifndef _WIN32
TEST_F(FileSystemTest, ByteOrderAmongCaseTwins) {
    for (const char* name : {"abc", "ABC", "aBc", "\xC3\xA9t\xC3\xA9"}) {
        test::WriteRawFile(dir.Path() / name, name);
    }
    // An exact match wins, otherwise the first in byte order: "ABC" < "aBc" < "abc".
    EXPECT_EQ(ReadWholeFile(dir.Str() + "aBc"), "aBc");
    EXPECT_EQ(ReadWholeFile(dir.Str() + "Abc"), "ABC");
    EXPECT_EQ(ReadWholeFile(dir.Str() + "\xC3\xA9T\xC3\xA9"), "\xC3\xA9t\xC3\xA9");
    EXPECT_FALSE(FileExists(dir.Str() + "\xC3\x89T\xC3\x89")); // only ASCII letters fold
}
#endif

TEST_F(FileSystemTest, ListingHoldsDotEntriesDirectoriesAndFilesWithAttributes) {
    const auto listing = Listing(dir.Str());
    EXPECT_EQ(ListDirectory(dir.Str()).size(), 5U);
    for (const char* name : {".", "..", "Data", "Log"}) {
        ASSERT_TRUE(listing.contains(name)) << name;
        EXPECT_EQ(listing.at(name) & (AttrDirectory | AttrReadOnly | AttrSymlink), AttrDirectory);
    }
    ASSERT_TRUE(listing.contains("qvsc.ecd"));
    EXPECT_EQ(listing.at("qvsc.ecd") & (AttrDirectory | AttrReadOnly | AttrSymlink), 0U);
    EXPECT_EQ(Listing(dir.Str() + "data/SUB\\").size(), 3U);
    EXPECT_TRUE(ListDirectory(dir.Str() + "Nowhere\\").empty());
    EXPECT_TRUE(ListDirectory(dir.Str() + "qvsc.ecd").empty());
}

// A read-only file is reported so and cannot be removed until that is
// cleared; hidden on a directory keeps it a writable directory.
TEST_F(FileSystemTest, AttributesAndRemoval) {
    const std::string log = dir.Str() + "LOG\\";
    EXPECT_TRUE(SetAttributes(log, GetAttributes(log).value_or(0) | AttrHidden));
    EXPECT_EQ(GetAttributes(log).value_or(0) & (AttrDirectory | AttrReadOnly), AttrDirectory);
#ifdef _WIN32
    EXPECT_NE(GetAttributes(log).value_or(0) & AttrHidden, 0U);
#endif
    EXPECT_FALSE(GetAttributes(dir.Str() + "nothing").has_value());
    EXPECT_FALSE(SetAttributes(dir.Str() + "nothing", AttrReadOnly));

    const std::string file = dir.Str() + "QVSC.ECD";
    const std::uint32_t before = GetAttributes(file).value_or(0);
    ASSERT_TRUE(SetAttributes(file, before | AttrReadOnly));
    EXPECT_NE(GetAttributes(file).value_or(0) & AttrReadOnly, 0U);
    EXPECT_NE(Listing(dir.Str())["qvsc.ecd"] & AttrReadOnly, 0U);
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

#ifndef _WIN32
// A link is listed as a link, never as a directory, and removing one keeps its target.
TEST_F(FileSystemTest, ALinkToADirectoryIsNeverWalkedOrEmptied) {
    for (auto remove : {&RemoveEmptyDirectory, &RemoveFile}) {
        fs::create_directory_symlink(dir.Path() / "Data", dir.Path() / "link");
        EXPECT_EQ(Listing(dir.Str())["link"], std::uint32_t{AttrSymlink});
        EXPECT_EQ(GetAttributes(dir.Str() + "LINK\\"), std::optional<std::uint32_t>(AttrSymlink));
        EXPECT_TRUE(IsDirectory(dir.Str() + "link")); // following it is still possible
        EXPECT_TRUE(remove(dir.Str() + "Link\\"));
        EXPECT_FALSE(fs::exists(fs::symlink_status(dir.Path() / "link")));
        EXPECT_EQ(test::ReadRawFile(dir.Path() / "Data" / "Sub" / "File.TXT"), nested);
    }
}
#endif

} // namespace
} // namespace qvs::platform
