#include "platform/FileSystem.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>

namespace qvs::platform {
namespace {

namespace fs = std::filesystem;

// Written and read with the standard library, independent of the code under test.
void PutFile(const fs::path& path, const std::string& content) {
    std::ofstream out(path, std::ios::binary);
    out << content;
    ASSERT_TRUE(out.good()) << path;
}

std::string GetFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::set<std::string> NamesIn(const std::string& directory) {
    std::set<std::string> names;
    for (const DirectoryEntry& entry : ListDirectory(directory)) {
        names.insert(entry.name);
    }
    return names;
}

std::optional<std::uint32_t> AttributesOfEntry(const std::string& directory,
                                               const std::string& name) {
    for (const DirectoryEntry& entry : ListDirectory(directory)) {
        if (entry.name == name) {
            return entry.attributes;
        }
    }
    return std::nullopt;
}

class FileSystemTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(dir.Path() / "Data" / "Sub");
        fs::create_directory(dir.Path() / "Log");
        PutFile(dir.Path() / "qvsc.ecd", "client code");
        PutFile(dir.Path() / "Data" / "Sub" / "File.TXT", "nested");
    }
    test::TempDir dir;
};

struct LookupCase {
    const char* given;
    const char* onDisk; // the name as stored, "/"-separated
    bool isDirectory;
    const char* content;
};

TEST_F(FileSystemTest, NamesDifferingInCaseOrSeparatorFindTheStoredEntry) {
    const LookupCase cases[] = {
        {"QVSC.ecd", "qvsc.ecd", false, "client code"},
        {"qvsc.ECD", "qvsc.ecd", false, "client code"},
        {"data\\SUB\\file.txt", "Data/Sub/File.TXT", false, "nested"},
        {"DATA/sub/FILE.txt", "Data/Sub/File.TXT", false, "nested"},
        {"dAtA\\sUb\\", "Data/Sub/", true, nullptr},
        {"LOG", "Log", true, nullptr},
    };
    for (const LookupCase& c : cases) {
        SCOPED_TRACE(c.given);
        std::string path = dir.Str() + c.given;
        EXPECT_EQ(IsDirectory(path), c.isDirectory);
        EXPECT_EQ(FileExists(path), !c.isDirectory);
        if (c.content != nullptr) {
            EXPECT_EQ(ReadWholeFile(path), std::optional<std::string>(c.content));
        }
#ifndef _WIN32
        EXPECT_EQ(NativePath(path), dir.Str() + c.onDisk);
#endif
    }
}

#ifndef _WIN32
TEST_F(FileSystemTest, NamesNotOnDiskKeepTheirSpelling) {
    const std::pair<const char*, const char*> cases[] = {
        {"New.File", "New.File"},
        {"DATA\\Sub\\NEW.txt", "Data/Sub/NEW.txt"},
        {"Missing\\Deeper\\QVSC.ecd", "Missing/Deeper/QVSC.ecd"},
        {"qvsc.ecd\\below", "qvsc.ecd/below"},
        {"data//sub", "Data/Sub"},
    };
    for (const auto& [given, expected] : cases) {
        SCOPED_TRACE(given);
        EXPECT_EQ(NativePath(dir.Str() + given), dir.Str() + expected);
    }
}

TEST_F(FileSystemTest, RelativePathsAreResolvedAgainstTheWorkingDirectory) {
    fs::path previous = fs::current_path();
    fs::current_path(dir.Path());
    std::string resolved = NativePath("data\\SUB\\file.txt");
    std::string kept = NativePath("nothing\\here");
    fs::current_path(previous);
    EXPECT_EQ(resolved, "Data/Sub/File.TXT");
    EXPECT_EQ(kept, "nothing/here");
}

TEST(NativePathTest, RootsAndEmptyPathsStayAsTheyAre) {
    const std::pair<const char*, const char*> cases[] = {
        {"", ""}, {"/", "/"}, {"\\", "/"}, {".", "."}, {"./", "./"}};
    for (const auto& [given, expected] : cases) {
        SCOPED_TRACE(given);
        EXPECT_EQ(NativePath(given), expected);
    }
}

TEST_F(FileSystemTest, AnExactMatchWinsAndOtherwiseTheFirstInByteOrder) {
    PutFile(dir.Path() / "abc", "lower");
    PutFile(dir.Path() / "ABC", "upper");
    PutFile(dir.Path() / "aBc", "mixed");
    EXPECT_EQ(ReadWholeFile(dir.Str() + "abc"), "lower");
    EXPECT_EQ(ReadWholeFile(dir.Str() + "aBc"), "mixed");
    EXPECT_EQ(ReadWholeFile(dir.Str() + "Abc"), "upper"); // "ABC" < "aBc" < "abc"
}

TEST_F(FileSystemTest, OnlyAsciiLettersAreFoldedAndLengthsMustMatch) {
    PutFile(dir.Path() / "\xC3\xA9t\xC3\xA9.txt", "accented");
    EXPECT_FALSE(FileExists(dir.Str() + "\xC3\x89T\xC3\x89.TXT"));
    EXPECT_TRUE(FileExists(dir.Str() + "\xC3\xA9T\xC3\xA9.TXT"));
    EXPECT_FALSE(FileExists(dir.Str() + "QVSC.ecd2"));
    EXPECT_FALSE(FileExists(dir.Str() + "QVSC.ec"));
}
#endif

TEST_F(FileSystemTest, MakeDirectoryCreatesExactlyOneLevel) {
    EXPECT_TRUE(MakeDirectory(dir.Str() + "Fresh"));
    EXPECT_TRUE(fs::is_directory(dir.Path() / "Fresh"));
    EXPECT_TRUE(MakeDirectory(dir.Str() + "DATA\\sub\\Deeper"));
    EXPECT_TRUE(fs::is_directory(dir.Path() / "Data" / "Sub" / "Deeper"));

    EXPECT_FALSE(MakeDirectory(dir.Str() + "One\\Two"));
    EXPECT_FALSE(fs::exists(dir.Path() / "One"));
    EXPECT_FALSE(MakeDirectory(dir.Str() + "log")); // "Log" already exists
    EXPECT_FALSE(MakeDirectory(dir.Str() + "QVSC.ECD"));
}

TEST_F(FileSystemTest, ListingHoldsDotEntriesDirectoriesAndFiles) {
    std::vector<DirectoryEntry> entries = ListDirectory(dir.Str());
    std::set<std::string> names;
    for (const DirectoryEntry& entry : entries) {
        names.insert(entry.name);
    }
    EXPECT_EQ(names, (std::set<std::string>{".", "..", "Data", "Log", "qvsc.ecd"}));
    EXPECT_EQ(entries.size(), names.size());

    for (const char* name : {".", "..", "Data", "Log"}) {
        SCOPED_TRACE(name);
        std::uint32_t attributes = AttributesOfEntry(dir.Str(), name).value_or(0);
        EXPECT_NE(attributes & AttrDirectory, 0U);
        EXPECT_EQ(attributes & (AttrReadOnly | AttrSymlink), 0U);
    }
    std::uint32_t file = AttributesOfEntry(dir.Str(), "qvsc.ecd").value_or(AttrDirectory);
    EXPECT_EQ(file & (AttrDirectory | AttrReadOnly | AttrSymlink), 0U);
}

TEST_F(FileSystemTest, ListingAcceptsEitherSeparatorAndAnyCase) {
    EXPECT_EQ(NamesIn(dir.Str() + "DATA\\sub\\"), (std::set<std::string>{".", "..", "File.TXT"}));
    EXPECT_EQ(NamesIn(dir.Str() + "data/SUB"), (std::set<std::string>{".", "..", "File.TXT"}));
}

TEST_F(FileSystemTest, ListingOfWhatIsNoDirectoryIsEmpty) {
    EXPECT_TRUE(ListDirectory(dir.Str() + "Nowhere\\").empty());
    EXPECT_TRUE(ListDirectory(dir.Str() + "qvsc.ecd").empty());
}

TEST_F(FileSystemTest, ReadOnlyIsReportedAndCanBeCleared) {
    std::string file = dir.Str() + "QVSC.ECD";
    std::uint32_t before = GetAttributes(file).value_or(0);
    ASSERT_TRUE(SetAttributes(file, before | AttrReadOnly));
    EXPECT_NE(GetAttributes(file).value_or(0) & AttrReadOnly, 0U);
    EXPECT_NE(AttributesOfEntry(dir.Str(), "qvsc.ecd").value_or(0) & AttrReadOnly, 0U);

    ASSERT_TRUE(SetAttributes(file, before & ~std::uint32_t{AttrReadOnly}));
    EXPECT_EQ(GetAttributes(file).value_or(AttrReadOnly) & AttrReadOnly, 0U);
    EXPECT_EQ(GetFile(dir.Path() / "qvsc.ecd"), "client code");
}

TEST_F(FileSystemTest, HiddenCanBeAddedToADirectoryKeepingItsOtherAttributes) {
    std::string log = dir.Str() + "LOG\\";
    std::uint32_t before = GetAttributes(log).value_or(0);
    ASSERT_NE(before & AttrDirectory, 0U);
    EXPECT_TRUE(SetAttributes(log, before | AttrHidden));
    std::uint32_t after = GetAttributes(log).value_or(0);
    EXPECT_NE(after & AttrDirectory, 0U);
    EXPECT_EQ(after & AttrReadOnly, 0U);
#ifdef _WIN32
    EXPECT_NE(after & AttrHidden, 0U);
#endif
    EXPECT_TRUE(IsDirectory(log));
}

TEST_F(FileSystemTest, AttributesOfAMissingPathAreUnknown) {
    EXPECT_FALSE(GetAttributes(dir.Str() + "nothing").has_value());
    EXPECT_FALSE(SetAttributes(dir.Str() + "nothing", AttrReadOnly));
    EXPECT_FALSE(fs::exists(dir.Path() / "nothing"));
}

TEST_F(FileSystemTest, ARemovedFileIsGoneWhateverTheCaseGiven) {
    EXPECT_TRUE(RemoveFile(dir.Str() + "Qvsc.Ecd"));
    EXPECT_FALSE(fs::exists(dir.Path() / "qvsc.ecd"));
    EXPECT_FALSE(RemoveFile(dir.Str() + "qvsc.ecd"));
}

TEST_F(FileSystemTest, RemoveFileLeavesReadOnlyFilesAndDirectories) {
    std::string file = dir.Str() + "qvsc.ecd";
    ASSERT_TRUE(SetAttributes(file, GetAttributes(file).value_or(0) | AttrReadOnly));
    EXPECT_FALSE(RemoveFile(file));
    EXPECT_EQ(GetFile(dir.Path() / "qvsc.ecd"), "client code");

    EXPECT_FALSE(RemoveFile(dir.Str() + "Log"));
    EXPECT_FALSE(RemoveFile(dir.Str() + "Log\\"));
    EXPECT_TRUE(fs::is_directory(dir.Path() / "Log"));
}

TEST_F(FileSystemTest, RemoveEmptyDirectoryRemovesOnlyEmptyOnes) {
    EXPECT_FALSE(RemoveEmptyDirectory(dir.Str() + "DATA\\"));
    EXPECT_FALSE(RemoveEmptyDirectory(dir.Str() + "qvsc.ecd"));
    EXPECT_FALSE(RemoveEmptyDirectory(dir.Str() + "Missing\\"));
    EXPECT_TRUE(fs::is_directory(dir.Path() / "Data" / "Sub"));
    EXPECT_TRUE(fs::exists(dir.Path() / "qvsc.ecd"));

    EXPECT_TRUE(RemoveEmptyDirectory(dir.Str() + "log\\"));
    EXPECT_FALSE(fs::exists(dir.Path() / "Log"));
}

TEST_F(FileSystemTest, ReadWholeFileIsByteExactAcrossBufferBoundaries) {
    std::string content;
    for (std::size_t i = 0; i < 200000; ++i) {
        content.push_back(static_cast<char>((i * 7 + i / 251) & 0xFF));
    }
    PutFile(dir.Path() / "big.bin", content);
    PutFile(dir.Path() / "empty", "");
    EXPECT_EQ(ReadWholeFile(dir.Str() + "BIG.bin"), content);
    EXPECT_EQ(ReadWholeFile(dir.Str() + "EMPTY"), std::string());
    EXPECT_FALSE(ReadWholeFile(dir.Str() + "absent").has_value());
    EXPECT_FALSE(ReadWholeFile(dir.Str() + "Data").has_value());
}

#ifndef _WIN32
TEST_F(FileSystemTest, ALinkIsListedAsLinkNeverAsDirectory) {
    fs::create_directory_symlink(dir.Path() / "Data", dir.Path() / "link");
    std::uint32_t listed = AttributesOfEntry(dir.Str(), "link").value_or(0);
    EXPECT_EQ(listed, std::uint32_t{AttrSymlink});
    EXPECT_EQ(GetAttributes(dir.Str() + "LINK"), std::optional<std::uint32_t>(AttrSymlink));
    EXPECT_EQ(GetAttributes(dir.Str() + "LINK\\"), std::optional<std::uint32_t>(AttrSymlink));
    EXPECT_TRUE(IsDirectory(dir.Str() + "link")); // following it is still possible
}

TEST_F(FileSystemTest, RemovingALinkToADirectoryKeepsTheTarget) {
    using Remove = bool (*)(std::string_view);
    const std::pair<const char*, Remove> removers[] = {
        {"RemoveEmptyDirectory", &RemoveEmptyDirectory},
        {"RemoveFile", &RemoveFile},
    };
    for (const auto& [name, remove] : removers) {
        SCOPED_TRACE(name);
        fs::create_directory_symlink(dir.Path() / "Data", dir.Path() / "link");
        EXPECT_TRUE(remove(dir.Str() + "Link\\"));
        EXPECT_FALSE(fs::exists(fs::symlink_status(dir.Path() / "link")));
        EXPECT_EQ(GetFile(dir.Path() / "Data" / "Sub" / "File.TXT"), "nested");
    }
}
#endif

TEST(FileCreateErrorTest, MessageNamesTheFileAsGiven) {
    EXPECT_STREQ(FileCreateError("cls\\MainClass\\StartUp.class").what(),
                 "Cannot create file cls\\MainClass\\StartUp.class");
}

} // namespace
} // namespace qvs::platform
