#include "platform/AtomicFileBatch.h"
#include "platform/FileSystem.h"
#include "support/RawFile.h"
#include "support/TempDir.h"
#include "support/TreeSnapshot.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace qvs::platform {
namespace {

namespace fs = std::filesystem;
using Tree = std::map<std::string, std::string>;

// An installation. The nested file is larger than the pieces a file is read
// in, and not a multiple of them; qvsc.ecd is empty. Batches compare the
// whole tree with the one before, so a temporary left behind shows up.
class FileSystemTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(dir.Path() / "Data" / "Sub");
        fs::create_directory(dir.Path() / "Log");
        test::WriteRawFile(dir.Path() / "qvsc.ecd", "");
        test::WriteRawFile(dir.Path() / "old.txt", "old content that is longer than the new");
        std::string nested(200000, '\0');
        for (std::size_t i = 0; i < nested.size(); ++i) {
            nested[i] = static_cast<char>((i * 7 + i / 251) & 0xFF);
        }
        test::WriteRawFile(dir.Path() / "Data" / "Sub" / "File.TXT", nested);
        before = test::TreeSnapshot(dir.Path());
    }
    std::string Path(const std::string& name) const { return dir.Str() + name; }
    Tree OnDisk() const { return test::TreeSnapshot(dir.Path()); }
    test::TempDir dir;
    Tree before;
};
using AtomicFileBatchTest = FileSystemTest;

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

// WriteFileAtomically is a batch of one, so its guarantees are checked here;
// that it keeps the mode of a replaced file shows in the launcher patch test.
// The message names the file with the platform's separators only, then why
// where the platform knows (the Windows batch does not tell causes apart yet).
void ExpectCreateError(const std::function<void()>& action, const std::string& path,
                       const std::string& why = "") {
    std::string shown = path;
    const char native = static_cast<char>(fs::path::preferred_separator);
    std::replace(shown.begin(), shown.end(), native == '/' ? '\\' : '/', native);
    try {
        action();
        ADD_FAILURE() << "no error for " << path;
    } catch (const FileCreateError& error) {
#ifdef _WIN32
        const std::string said;
#else
        const std::string& said = why;
#endif
        EXPECT_EQ(std::string(error.what()), "Cannot create file " + shown + said) << why;
    }
}

// Names in other scripts, outside the Basic Multilingual Plane and beyond
// MAX_PATH, through every file function; std::filesystem, which reaches the
// disk by its own route, sees the same names, so none was stored mangled.
TEST_F(FileSystemTest, NamesInAnyScriptAndOfAnyLengthWorkThroughout) {
    const std::string deep = std::string(120, 'd') + "\\" + std::string(120, 'e');
    const struct {
        std::string folder; // below dir, "\\"-separated, created level by level
        std::string file;
    } cases[] = {
        {"J\xC3\xBCrgen \xE7\x8E\x8B\xE4\xBC\x9F \xCE\xA9\xCE\xBC\xCE\xAD\xCE\xB3\xCE\xB1",
         "\xCE\xA9.txt"},
        {"\xF0\x9F\x8E\xB2", "w\xC3\xBCrfel \xF0\x9F\x8E\xB2.ecd"},
        {deep + "\\J\xC3\xBCrgen", std::string(60, 'f') + "\xE7\x8E\x8B.txt"},
    };
    std::size_t longest = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.folder);
        std::string folder = dir.Str();
        for (std::size_t start = 0; start <= c.folder.size();) {
            const std::size_t end = std::min(c.folder.find('\\', start), c.folder.size());
            folder += c.folder.substr(start, end - start) + "\\";
            ASSERT_TRUE(MakeDirectory(folder));
            start = end + 1;
        }
        const std::string path = folder + c.file;
        longest = std::max(longest, path.size());
        WriteFileAtomically(path, std::string_view("first"));
        AtomicFileBatch batch;
        batch.Add(path, std::string_view("second"));
        batch.Commit();
        EXPECT_EQ(ReadWholeFile(path), "second");
        std::vector<std::string> names;
        for (const DirectoryEntry& entry : ListDirectory(folder)) {
            names.push_back(entry.name);
        }
        EXPECT_THAT(names, ::testing::UnorderedElementsAre(".", "..", c.file));
        const std::string native = NativePath(path);
        const fs::path independent(std::u8string(native.begin(), native.end()));
        EXPECT_EQ(test::ReadRawFile(independent), "second");

        EXPECT_TRUE(RemoveFile(path));
        EXPECT_FALSE(FileExists(path));
        for (std::string level = folder; level.size() > dir.Str().size();) {
            EXPECT_TRUE(RemoveEmptyDirectory(level));
            level.erase(level.find_last_of("\\/", level.size() - 2) + 1);
        }
        EXPECT_EQ(OnDisk(), before);
    }
    EXPECT_GT(longest, 260U);
}

#ifdef _WIN32
// Windows names are UTF-16: a name that is not valid UTF-8 has no meaning
// there, and is refused rather than turned into "?".
TEST_F(FileSystemTest, ANameThatIsNotUtf8IsRefusedAndSaysSo) {
    const std::string bad = Path("bad\xFF\xC3.txt");
    ExpectCreateError([&] { WriteFileAtomically(bad, std::string_view("x")); },
                      dir.Str() + "bad\\xFF\\xC3.txt (the name is not valid UTF-8)");
    EXPECT_FALSE(MakeDirectory(Path("bad\xED\xA0\x80"))); // an encoded surrogate
    EXPECT_FALSE(CreatePrivateFile(bad, "x"));
    EXPECT_FALSE(FileExists(bad));
    EXPECT_EQ(ReadWholeFile(bad), std::nullopt);
    EXPECT_EQ(OnDisk(), before);
}
#endif

// Content as one piece or streamed in pieces that straddle the points where a
// large file is handed to the disk; names differing in case replace one file.
TEST_F(AtomicFileBatchTest, NothingChangesBeforeCommitAndEveryByteAfterIt) {
    const std::string binary("\x00\x01\xFF\r\n\x1A\x00end", 10);
    // Larger than the pieces a big file is written in, and not a multiple of
    // them; its bytes show any piece written out of place.
    std::string big((9 << 20) + 12345, '\0');
    for (std::size_t i = 0; i < big.size(); ++i) {
        big[i] = static_cast<char>(i * 7 % 251);
    }
    const std::size_t cuts[] = {0,         1, 4095, (4 << 20) - 1, (4 << 20) + 2, (8 << 20) + 77,
                                big.size()};
    AtomicFileBatch batch;
    batch.Commit(); // nothing to do
    batch.Add(Path("OLD.TXT"), std::string_view("first"));
    batch.Add(Path("Data\\binary.ecd"), binary);
    batch.Add(Path("Data\\Sub\\empty.dat"), std::string_view());
    batch.Add(Path("Data/Sub/big.bin"), big);
    batch.Add(Path("data\\SUB\\file.txt"),
              [&big, &cuts](const AtomicFileBatch::ContentWriter& write) {
                  for (std::size_t i = 0; i + 1 < std::size(cuts); ++i) {
                      write(std::as_bytes(std::span(big.data() + cuts[i], cuts[i + 1] - cuts[i])));
                  }
              });
    batch.Add(Path("Data\\nothing"), [](const AtomicFileBatch::ContentWriter&) {});
    batch.Add(Path("New.txt"), std::string_view("one"));
    batch.Add(Path("NEW.TXT"), std::string_view("two"));
    batch.Add(Path("old.txt"), std::string_view("new"));
    EXPECT_EQ(OnDisk().at("old.txt"), before.at("old.txt"));
    EXPECT_EQ(OnDisk().at("Data/Sub/File.TXT"), before.at("Data/Sub/File.TXT"));

    batch.Commit();
    EXPECT_EQ(batch.Pending(), 0U);
    Tree expected = before;
    expected["old.txt"] = "new";
    expected["Data/binary.ecd"] = binary;
    expected["Data/Sub/empty.dat"] = "";
    expected["Data/Sub/big.bin"] = big;
    expected["Data/Sub/File.TXT"] = big;
    expected["Data/nothing"] = "";
    expected["New.txt"] = "two";
    // Compared without printing: a diff of megabytes would take minutes.
    const Tree after = OnDisk();
    EXPECT_EQ(after.size(), expected.size());
    for (const auto& [name, content] : after) {
        EXPECT_TRUE(expected.contains(name) && expected[name] == content) << name;
    }
}

// Large batches are flushed another way than small ones, in the background
// while they are filled: either lands whole on commit, the batch is used
// again after each commit, and a batch dropped unfinished (a flush still
// running) leaves the old files and no temporaries.
TEST_F(AtomicFileBatchTest, ABatchLandsWholeOnCommitAndNotAtAllWhenDropped) {
    AtomicFileBatch batch;
    Tree expected = before;
    for (std::size_t count : {std::size_t{3}, std::size_t{100}}) {
        Tree wanted = expected;
        const auto fill = [&](AtomicFileBatch& target) {
            const char* directories[] = {"", "Data/", "Data/Sub/"};
            for (std::size_t i = 0; i < count; ++i) {
                const std::string name = std::string(directories[i % 3]) + "f" + std::to_string(i);
                const std::string content = std::to_string(count) + ":" + std::string(i, 'x');
                target.Add(Path(name), content);
                wanted[name] = content;
            }
            target.Add(Path("Data\\Sub\\File.TXT"), std::string_view("changed"));
            wanted["Data/Sub/File.TXT"] = "changed";
        };
        {
            AtomicFileBatch dropped;
            fill(dropped);
        }
        EXPECT_EQ(OnDisk(), expected) << count;
        fill(batch);
        batch.Commit();
        EXPECT_EQ(OnDisk(), wanted) << count;
        expected = wanted;
    }
}

// Neither a file that cannot be created nor a source that fails part-way (a
// package file that ends early; its error passes on unchanged) leaves a
// temporary, and the files added before and after still commit.
TEST_F(AtomicFileBatchTest, AFileThatCannotBeAddedLeavesTheOthersInTheBatch) {
    test::WriteRawFile(dir.Path() / "plain", "a file, not a directory");
    const std::string readOnly = Path("Data\\Sub\\File.TXT");
    ASSERT_TRUE(SetAttributes(readOnly, GetAttributes(readOnly).value_or(0) | AttrReadOnly));
    const std::pair<const char*, std::string> cases[] = {
        {"Missing\\x.dat", ""}, // directory does not exist
        {"plain\\x.dat", ""},   // parent is a regular file
        {"Data", ": a folder of that name is in the way"},
        {"Data\\", ""}, // no file name at all
        // read-only: Windows cannot replace it either
        {"DATA\\sub\\FILE.txt", ": " + dir.Str() + "DATA/sub/FILE.txt is read-only"},
    };
    AtomicFileBatch batch;
    batch.Add(Path("first"), std::string_view("1"));
    for (const auto& [name, why] : cases) {
        const std::string path = Path(name);
        ExpectCreateError([&] { batch.Add(path, std::string_view("x")); }, path, why);
    }
    EXPECT_THROW(batch.Add(Path("old.txt"),
                           [](const AtomicFileBatch::ContentWriter& write) {
                               write(std::as_bytes(std::span("partial", 7)));
                               throw std::out_of_range("source ended");
                           }),
                 std::out_of_range);
    batch.Add(Path("Data\\last"), std::string_view("2"));
    EXPECT_EQ(batch.Pending(), 2U);
    batch.Commit();

    Tree expected = before;
    expected["plain"] = "a file, not a directory";
    expected["first"] = "1";
    expected["Data/last"] = "2";
    EXPECT_EQ(OnDisk(), expected);
    EXPECT_NE(GetAttributes(readOnly).value_or(0) & AttrReadOnly, 0U);
}

TEST_F(AtomicFileBatchTest, AFailedRenameKeepsEarlierFilesNewAndLaterFilesOld) {
    AtomicFileBatch batch;
    batch.Add(Path("old.txt"), std::string_view("new"));
    batch.Add(Path("Data\\blocked"), std::string_view("never"));
    batch.Add(Path("Data\\Sub\\File.TXT"), std::string_view("changed"));
    // A directory that appears where a file was to go cannot be replaced.
    fs::create_directories(dir.Path() / "Data" / "blocked" / "inner");
    test::WriteRawFile(dir.Path() / "Data" / "blocked" / "inner" / "f", "f");

    ExpectCreateError([&] { batch.Commit(); }, Path("Data\\blocked"),
                      ": a folder of that name is in the way");
    EXPECT_EQ(batch.Pending(), 0U);
    Tree expected = before;
    expected["old.txt"] = "new";
    expected["Data/blocked/"] = "";
    expected["Data/blocked/inner/"] = "";
    expected["Data/blocked/inner/f"] = "f";
    EXPECT_EQ(OnDisk(), expected);
}

} // namespace
} // namespace qvs::platform
