// WriteFileAtomically is a batch of one, so its guarantees are checked here;
// that it keeps the mode of a replaced file shows in the launcher patch test.
#include "platform/AtomicFileBatch.h"
#include "platform/FileSystem.h"
#include "support/RawFile.h"
#include "support/TempDir.h"
#include "support/TreeSnapshot.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <span>
#include <stdexcept>
#include <string>

namespace qvs::platform {
namespace {

namespace fs = std::filesystem;
using Tree = std::map<std::string, std::string>;

void ExpectCreateError(const std::function<void()>& action, const std::string& path) {
    try {
        action();
        ADD_FAILURE() << "no error for " << path;
    } catch (const FileCreateError& error) {
        EXPECT_EQ(std::string(error.what()), "Cannot create file " + path);
    }
}

// The whole tree is compared, so a temporary left behind shows up.
class AtomicFileBatchTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(dir.Path() / "Data" / "Sub");
        test::WriteRawFile(dir.Path() / "old.txt", "old content that is longer than the new");
        test::WriteRawFile(dir.Path() / "Data" / "Sub" / "Keep.bin", "keep");
        before = test::TreeSnapshot(dir.Path());
    }
    std::string Path(const std::string& name) const { return dir.Str() + name; }
    Tree OnDisk() const { return test::TreeSnapshot(dir.Path()); }
    test::TempDir dir;
    Tree before;
};

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
    batch.Add(Path("data\\SUB\\keep.bin"),
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
    EXPECT_EQ(OnDisk().at("Data/Sub/Keep.bin"), "keep");

    batch.Commit();
    EXPECT_EQ(batch.Pending(), 0U);
    Tree expected = before;
    expected["old.txt"] = "new";
    expected["Data/binary.ecd"] = binary;
    expected["Data/Sub/empty.dat"] = "";
    expected["Data/Sub/big.bin"] = big;
    expected["Data/Sub/Keep.bin"] = big;
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
            target.Add(Path("Data\\Sub\\Keep.bin"), std::string_view("changed"));
            wanted["Data/Sub/Keep.bin"] = "changed";
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
    const std::string readOnly = Path("Data\\Sub\\Keep.bin");
    ASSERT_TRUE(SetAttributes(readOnly, GetAttributes(readOnly).value_or(0) | AttrReadOnly));
    const char* cases[] = {
        "Missing\\x.dat",     // directory does not exist
        "plain\\x.dat",       // parent is a regular file
        "Data",               // target is a directory
        "Data\\",             // no file name at all
        "DATA\\sub\\KEEP.BIN" // read-only: Windows cannot replace it either
    };
    AtomicFileBatch batch;
    batch.Add(Path("first"), std::string_view("1"));
    for (const char* name : cases) {
        ExpectCreateError([&] { batch.Add(Path(name), std::string_view("x")); }, Path(name));
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
    batch.Add(Path("Data\\Sub\\Keep.bin"), std::string_view("changed"));
    // A directory that appears where a file was to go cannot be replaced.
    fs::create_directories(dir.Path() / "Data" / "blocked" / "inner");
    test::WriteRawFile(dir.Path() / "Data" / "blocked" / "inner" / "f", "f");

    ExpectCreateError([&] { batch.Commit(); }, Path("Data\\blocked"));
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
