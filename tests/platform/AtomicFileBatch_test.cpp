#include "platform/AtomicFileBatch.h"
#include "platform/FileSystem.h"
#include "support/TempDir.h"
#include "support/TreeSnapshot.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <span>
#include <stdexcept>
#include <string>

namespace qvs::platform {
namespace {

namespace fs = std::filesystem;
using Tree = std::map<std::string, std::string>;

void PutFile(const fs::path& path, const std::string& content) {
    std::ofstream out(path, std::ios::binary);
    out << content;
    ASSERT_TRUE(out.good()) << path;
}

// Every file below root with its content, directories with an empty one, so
// a temporary left behind or a byte out of place shows up.
Tree OnDisk(const fs::path& root) {
    return test::TreeSnapshot(root);
}

void ExpectCreateError(const std::function<void()>& action, const std::string& path) {
    try {
        action();
        ADD_FAILURE() << "no error for " << path;
    } catch (const FileCreateError& error) {
        EXPECT_EQ(std::string(error.what()), "Cannot create file " + path);
    }
}

class AtomicFileBatchTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(dir.Path() / "Data" / "Sub");
        PutFile(dir.Path() / "old.txt", "old content that is longer than the new");
        PutFile(dir.Path() / "Data" / "Sub" / "Keep.bin", "keep");
    }
    std::string Path(const std::string& name) const { return dir.Str() + name; }
    Tree Before() const {
        return {{"Data/", ""},
                {"Data/Sub/", ""},
                {"Data/Sub/Keep.bin", "keep"},
                {"old.txt", "old content that is longer than the new"}};
    }
    test::TempDir dir;
};

TEST_F(AtomicFileBatchTest, NothingChangesBeforeCommitAndEveryByteAfterIt) {
    const std::string binary("\x00\x01\xFF\r\n\x1A\x00end", 10);
    // Larger than the pieces a big file is written in, and not a multiple of
    // them, with bytes that show any piece out of place.
    std::string big((9 << 20) + 12345, '\0');
    for (std::size_t i = 0; i < big.size(); ++i) {
        big[i] = static_cast<char>(i * 7 % 251);
    }
    AtomicFileBatch batch;
    batch.Add(Path("old.txt"), std::string_view("new"));
    batch.Add(Path("Data\\binary.ecd"), binary);
    batch.Add(Path("Data\\Sub\\empty.dat"), std::string_view());
    batch.Add(Path("Data/Sub/big.bin"), big);
    EXPECT_EQ(batch.Pending(), 4U);
    for (const auto& [name, content] : Before()) {
        EXPECT_EQ(OnDisk(dir.Path()).at(name), content) << name;
    }

    batch.Commit();
    EXPECT_EQ(batch.Pending(), 0U);
    Tree expected = Before();
    expected["old.txt"] = "new";
    expected["Data/binary.ecd"] = binary;
    expected["Data/Sub/empty.dat"] = "";
    expected["Data/Sub/big.bin"] = big;
    EXPECT_EQ(OnDisk(dir.Path()), expected);
}

// Large batches are flushed another way than small ones; both must land.
TEST_F(AtomicFileBatchTest, ManyFilesInSeveralDirectoriesAreAllWritten) {
    for (std::size_t count : {std::size_t{3}, std::size_t{100}}) {
        SCOPED_TRACE(count);
        AtomicFileBatch batch;
        Tree expected = Before();
        const char* directories[] = {"", "Data/", "Data/Sub/"};
        for (std::size_t i = 0; i < count; ++i) {
            const std::string name = std::string(directories[i % 3]) + "f" + std::to_string(i);
            const std::string content = std::to_string(count) + ":" + std::string(i, 'x');
            batch.Add(Path(name), content);
            expected[name] = content;
        }
        batch.Commit();
        EXPECT_EQ(OnDisk(dir.Path()), expected);
    }
}

// Small and large batches: a large one is being flushed in the background
// when it is dropped.
TEST_F(AtomicFileBatchTest, ABatchNotCommittedLeavesOldFilesAndNoTemporaries) {
    for (int fresh : {1, 40}) {
        AtomicFileBatch batch;
        batch.Add(Path("old.txt"), std::string_view("new"));
        batch.Add(Path("Data\\Sub\\Keep.bin"), std::string_view("changed"));
        for (int i = 0; i < fresh; ++i) {
            batch.Add(Path("Data\\fresh" + std::to_string(i)), std::string_view("fresh"));
        }
    }
    EXPECT_EQ(OnDisk(dir.Path()), Before());
}

TEST_F(AtomicFileBatchTest, AFileThatCannotBeAddedLeavesTheOthersInTheBatch) {
    PutFile(dir.Path() / "plain", "a file, not a directory");
    const char* cases[] = {
        "Missing\\x.dat", // directory does not exist
        "plain\\x.dat",   // parent is a regular file
        "Data",           // target is a directory
        "Data\\",         // no file name at all
    };
    AtomicFileBatch batch;
    batch.Add(Path("first"), std::string_view("1"));
    for (const char* name : cases) {
        SCOPED_TRACE(name);
        ExpectCreateError([&] { batch.Add(Path(name), std::string_view("x")); }, Path(name));
    }
    batch.Add(Path("Data\\last"), std::string_view("2"));
    EXPECT_EQ(batch.Pending(), 2U);
    batch.Commit();

    Tree expected = Before();
    expected["plain"] = "a file, not a directory";
    expected["first"] = "1";
    expected["Data/last"] = "2";
    EXPECT_EQ(OnDisk(dir.Path()), expected);
}

TEST_F(AtomicFileBatchTest, AFailedRenameKeepsEarlierFilesNewAndLaterFilesOld) {
    AtomicFileBatch batch;
    batch.Add(Path("old.txt"), std::string_view("new"));
    batch.Add(Path("Data\\blocked"), std::string_view("never"));
    batch.Add(Path("Data\\Sub\\Keep.bin"), std::string_view("changed"));
    // A directory that appears where a file was to go cannot be replaced.
    fs::create_directories(dir.Path() / "Data" / "blocked" / "inner");
    PutFile(dir.Path() / "Data" / "blocked" / "inner" / "f", "f");

    ExpectCreateError([&] { batch.Commit(); }, Path("Data\\blocked"));
    EXPECT_EQ(batch.Pending(), 0U);
    Tree expected = Before();
    expected["old.txt"] = "new";
    expected["Data/blocked/"] = "";
    expected["Data/blocked/inner/"] = "";
    expected["Data/blocked/inner/f"] = "f";
    EXPECT_EQ(OnDisk(dir.Path()), expected);
}

TEST_F(AtomicFileBatchTest, AReadOnlyFileIsRefusedAndKept) {
    const std::string readOnly = Path("Data\\Sub\\Keep.bin");
    ASSERT_TRUE(SetAttributes(readOnly, GetAttributes(readOnly).value_or(0) | AttrReadOnly));
    AtomicFileBatch batch;
    ExpectCreateError([&] { batch.Add(Path("DATA\\sub\\KEEP.BIN"), std::string_view("x")); },
                      Path("DATA\\sub\\KEEP.BIN"));
    batch.Add(Path("old.txt"), std::string_view("new"));
    batch.Commit();

    Tree expected = Before();
    expected["old.txt"] = "new";
    EXPECT_EQ(OnDisk(dir.Path()), expected);
    EXPECT_NE(GetAttributes(readOnly).value_or(0) & AttrReadOnly, 0U);
    SetAttributes(readOnly, GetAttributes(readOnly).value_or(0) & ~AttrReadOnly);
}

TEST_F(AtomicFileBatchTest, NamesDifferingInCaseReplaceOneFileInOrder) {
    AtomicFileBatch batch;
    batch.Add(Path("OLD.TXT"), std::string_view("first"));
    batch.Add(Path("data\\SUB\\keep.bin"), std::string_view("replaced"));
    batch.Add(Path("New.txt"), std::string_view("one"));
    batch.Add(Path("NEW.TXT"), std::string_view("two"));
    batch.Add(Path("old.txt"), std::string_view("second"));
    batch.Commit();

    Tree expected = Before();
    expected["old.txt"] = "second";
    expected["Data/Sub/Keep.bin"] = "replaced";
    expected["New.txt"] = "two";
    EXPECT_EQ(OnDisk(dir.Path()), expected);
}

TEST_F(AtomicFileBatchTest, ABatchCanBeCommittedAgain) {
    AtomicFileBatch batch;
    batch.Commit(); // nothing to do
    batch.Add(Path("a"), std::string_view("1"));
    batch.Commit();
    batch.Add(Path("a"), std::string_view("2"));
    batch.Add(Path("b"), std::string_view("3"));
    batch.Commit();

    Tree expected = Before();
    expected["a"] = "2";
    expected["b"] = "3";
    EXPECT_EQ(OnDisk(dir.Path()), expected);
}

// A streamed file is the concatenation of its pieces, whatever their sizes:
// pieces that straddle the points where a large file is handed to the disk,
// an empty piece, and a fill that writes nothing at all.
TEST_F(AtomicFileBatchTest, AStreamedFileIsItsPiecesInOrder) {
    std::string big((9 << 20) + 4321, '\0');
    for (std::size_t i = 0; i < big.size(); ++i) {
        big[i] = static_cast<char>(i * 13 % 253);
    }
    const std::size_t cuts[] = {0,         1, 4095, (4 << 20) - 1, (4 << 20) + 2, (8 << 20) + 77,
                                big.size()};
    AtomicFileBatch batch;
    batch.Add(Path("old.txt"), [&big, &cuts](const AtomicFileBatch::ContentWriter& write) {
        for (std::size_t i = 0; i + 1 < std::size(cuts); ++i) {
            write(std::as_bytes(std::span(big.data() + cuts[i], cuts[i + 1] - cuts[i])));
        }
    });
    batch.Add(Path("Data\\nothing"), [](const AtomicFileBatch::ContentWriter&) {});
    batch.Commit();

    Tree expected = Before();
    expected["old.txt"] = big;
    expected["Data/nothing"] = "";
    EXPECT_EQ(OnDisk(dir.Path()), expected);
}

// The source of a streamed file may fail part-way (a package file that ends
// early): that file's temporary goes, the error passes on unchanged, and the
// files added before it are still committed.
TEST_F(AtomicFileBatchTest, AFillThatThrowsLeavesNoTemporaryAndKeepsTheBatch) {
    AtomicFileBatch batch;
    batch.Add(Path("Data\\first"), std::string_view("first"));
    EXPECT_THROW(batch.Add(Path("old.txt"),
                           [](const AtomicFileBatch::ContentWriter& write) {
                               write(std::as_bytes(std::span("partial", 7)));
                               throw std::out_of_range("source ended");
                           }),
                 std::out_of_range);
    EXPECT_EQ(batch.Pending(), 1U);
    EXPECT_EQ(OnDisk(dir.Path()).size(), Before().size() + 1) << "only the first temporary";
    batch.Commit();

    Tree expected = Before();
    expected["Data/first"] = "first";
    EXPECT_EQ(OnDisk(dir.Path()), expected);
}

} // namespace
} // namespace qvs::platform
