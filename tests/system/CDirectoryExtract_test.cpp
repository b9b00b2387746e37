#include "platform/FileSystem.h"
#include "protocol/CStream.h"
#include "support/PackageBytes.h"
#include "support/TempDir.h"
#include "support/TreeSnapshot.h"
#include "system/CDirectory.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

namespace qvs {
namespace {

using Tree = std::map<std::string, std::string>;
using test::PackageBytes;
using test::TreeSnapshot;

// A size past the end fails before the file is started, so before its
// folder is found missing.
TEST(CDirectoryExtract, ASizePastTheEndFailsBeforeTheFileIsStarted) {
    test::TempDir temp;
    CStream cut = PackageBytes().Dir("", 0).Int(1).Str("").Str("f").Int(4).Raw("abc").Stream();
    EXPECT_THROW(CDirectory().ExtractPackage(cut, temp.Str() + "missing\\cls\\"), StreamReadError);
}

// The startup class matches in any case and keeps its stored name; the walk
// ends right after the first one, and writes only folders without one.
TEST(CDirectoryExtract, OnlyTheFirstStartupClassIsWritten) {
    const struct {
        const char* what;
        PackageBytes bytes;
        Tree expected;
        std::size_t unread; // bytes after the walk's end
    } cases[] = {
        {"first of two",
         PackageBytes()
             .Dir("", 1)
             .Dir("a\\", 0)
             .Int(1)
             .File("a\\", "sTaRtUp.ClAsS", "first")
             .Int(1)
             .File("", "startup.class", "second"),
         {{"a/", ""}, {"a/sTaRtUp.ClAsS", "first"}},
         29},
        {"none",
         PackageBytes()
             .Dir("", 1)
             .Dir("sub\\", 0)
             .Int(1)
             .File("sub\\", "startup.class ", "a")
             .Int(1)
             .File("", "startup_class", "b"),
         {{"sub/", ""}},
         0},
    };
    for (const auto& item : cases) {
        test::TempDir temp;
        CStream package = item.bytes.Stream();
        CDirectory().ExtractStartupClass(package, temp.Str());
        EXPECT_EQ(TreeSnapshot(temp.Path()), item.expected) << item.what;
        EXPECT_EQ(package.Position(), package.Size() - item.unread) << item.what;
    }
#ifdef _WIN32
    test::TempDir temp;
    CStream package = cases[1].bytes.Stream();
    CDirectory().ExtractStartupClass(package, temp.Str() + "cls\\");
    const auto attributes = platform::GetAttributes(temp.Str() + "cls\\");
    ASSERT_TRUE(attributes.has_value());
    EXPECT_TRUE(*attributes & platform::AttrHidden);
#endif
}

// Files are written together at the end of a package; a fault part-way must
// still leave the files before it written, whole, the rest untouched, and no
// temporary file anywhere.
class ExtractFailure : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directories(temp_.Path() / "sub");
        for (const char* name : {"a", "sub/ro", "sub/c"}) {
            test::WriteFileBytes(temp_.Path() / name, std::string("old ") + name);
        }
    }
    static PackageBytes ThreeFiles() {
        PackageBytes bytes;
        bytes.Dir("", 1).Dir("sub\\", 0).Int(0).Int(3);
        bytes.File("", "A", "new a").File("SUB\\", "RO", "new ro").File("sub\\", "c", "new c");
        return bytes;
    }
    test::TempDir temp_;
};

TEST_F(ExtractFailure, AReadOnlyFileStopsTheExtractionAfterTheFilesBeforeIt) {
    const std::string readOnly = temp_.Str() + "sub\\ro";
    ASSERT_TRUE(platform::SetAttributes(readOnly, platform::AttrReadOnly));
    CStream package = ThreeFiles().Stream();
    try {
        CDirectory().ExtractPackage(package, temp_.Str());
        FAIL() << "no error";
    } catch (const platform::FileCreateError& error) {
        EXPECT_EQ(std::string(error.what()), "Cannot create file " + temp_.Str() + "SUB\\RO");
    }
    EXPECT_EQ(
        TreeSnapshot(temp_.Path()),
        (Tree{{"a", "new a"}, {"sub/", ""}, {"sub/c", "old sub/c"}, {"sub/ro", "old sub/ro"}}));
    platform::SetAttributes(readOnly, 0);
}

TEST_F(ExtractFailure, ATruncatedPackageKeepsOnlyTheWholeFilesBeforeTheCut) {
    const PackageBytes bytes = ThreeFiles();
    CStream package = bytes.Stream(bytes.Size() - 1);
    EXPECT_THROW(CDirectory().ExtractPackage(package, temp_.Str()), StreamReadError);
    EXPECT_EQ(TreeSnapshot(temp_.Path()),
              (Tree{{"a", "new a"}, {"sub/", ""}, {"sub/c", "old sub/c"}, {"sub/ro", "new ro"}}));
    // Whole, it replaces every file, named in any case.
    CStream whole = bytes.Stream();
    CDirectory().ExtractPackage(whole, temp_.Str());
    EXPECT_EQ(TreeSnapshot(temp_.Path()),
              (Tree{{"a", "new a"}, {"sub/", ""}, {"sub/c", "new c"}, {"sub/ro", "new ro"}}));
}

} // namespace
} // namespace qvs
