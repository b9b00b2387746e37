#include "PackageBytes.h"
#include "platform/FileSystem.h"
#include "protocol/CStream.h"
#include "support/TempDir.h"
#include "support/TreeSnapshot.h"
#include "system/CDirectory.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace qvs {
namespace {

using Tree = std::map<std::string, std::string>;
using test::PackageBytes;
using test::TreeSnapshot;

// Root with an empty path, no sub-directories and MainClass\StartUp.class.
PackageBytes SingleClassPackage() {
    PackageBytes bytes;
    bytes.Dir("", 0).Int(1).File("MainClass\\", "StartUp.class", "\xCA\xFE\x01");
    return bytes;
}

TEST(CDirectoryExtract, SingleRecordPackageGivesSameFileWithBothOperations) {
    for (bool startupOnly : {true, false}) {
        test::TempDir temp;
        CStream package = SingleClassPackage().Stream();
        CDirectory directory;
        if (startupOnly) {
            directory.ExtractStartupClass(package, temp.Str() + "cls\\");
        } else {
            directory.ExtractPackage(package, temp.Str() + "cls\\");
        }
        EXPECT_EQ(TreeSnapshot(temp.Path()),
                  (Tree{{"cls/", ""},
                        {"cls/MainClass/", ""},
                        {"cls/MainClass/StartUp.class", "\xCA\xFE\x01"}}))
            << "startupOnly=" << startupOnly;
        EXPECT_EQ(package.Position(), package.Size());
    }
}

TEST(CDirectoryExtract, BaseThatCannotBeCreatedRaisesFileCreateError) {
    test::TempDir temp;
    CStream package = SingleClassPackage().Stream();
    CDirectory directory;
    try {
        directory.ExtractPackage(package, temp.Str() + "missing\\cls\\");
        FAIL() << "no error";
    } catch (const platform::FileCreateError& error) {
        EXPECT_EQ(std::string(error.what()).rfind("Cannot create file ", 0), 0U) << error.what();
        EXPECT_NE(std::string(error.what()).find("StartUp.class"), std::string::npos);
    }
    EXPECT_TRUE(TreeSnapshot(temp.Path()).empty());
}

TEST(CDirectoryExtract, NestedDirectoriesAndEmptyFilesAreWrittenExactly) {
    test::TempDir temp;
    PackageBytes bytes;
    bytes.Dir("", 2)
        .Dir("art\\", 1)
        .Dir("art\\big\\", 0)
        .Int(2)
        .File("art\\big\\", "a.jpg", std::string("\0\1\2\0", 4))
        .File("art\\big\\", "empty.bin", "")
        .Int(0) // art\ has no files of its own
        .Dir("sounds\\", 0)
        .Int(1)
        .File("sounds\\", "click.wav", "RIFF")
        .Int(2)
        .File("", "empty.txt", "")
        .File("", "top.txt", "top");
    CStream package = bytes.Stream();
    CDirectory directory;
    directory.ExtractPackage(package, temp.Str());
    EXPECT_EQ(TreeSnapshot(temp.Path()), (Tree{{"art/", ""},
                                               {"art/big/", ""},
                                               {"art/big/a.jpg", std::string("\0\1\2\0", 4)},
                                               {"art/big/empty.bin", ""},
                                               {"sounds/", ""},
                                               {"sounds/click.wav", "RIFF"},
                                               {"empty.txt", ""},
                                               {"top.txt", "top"}}));
    EXPECT_EQ(package.Position(), package.Size());
}

TEST(CDirectoryExtract, ExistingFileIsOverwrittenAndBaseCreated) {
    test::TempDir temp;
    std::filesystem::create_directories(temp.Path() / "data");
    test::WriteFileBytes(temp.Path() / "data" / "x.txt", "old content that is longer");
    PackageBytes bytes;
    bytes.Dir("", 0).Int(1).File("", "X.TXT", "new");
    CStream package = bytes.Stream();
    CDirectory directory;
    directory.ExtractPackage(package, temp.Str() + "data\\");
    // Names match without regard to case: the existing file is the one replaced.
    EXPECT_EQ(TreeSnapshot(temp.Path() / "data").size(), 1U);
    EXPECT_EQ(platform::ReadWholeFile(temp.Str() + "data\\x.txt"), "new");

    CStream again = bytes.Stream();
    directory.ExtractPackage(again, temp.Str() + "fresh\\");
    EXPECT_EQ(platform::ReadWholeFile(temp.Str() + "fresh\\X.TXT"), "new");
}

TEST(CDirectoryExtract, ZeroSizeFileIsFollowedByTheNextRecord) {
    test::TempDir temp;
    PackageBytes bytes;
    bytes.Dir("", 0).Int(2).File("", "zero", "").File("", "next", "N");
    CStream package = bytes.Stream();
    CDirectory().ExtractPackage(package, temp.Str());
    EXPECT_EQ(TreeSnapshot(temp.Path()), (Tree{{"zero", ""}, {"next", "N"}}));
}

TEST(CDirectoryExtract, StartupClassNameMatchesInAnyCaseAndKeepsStoredName) {
    for (const char* name : {"startup.class", "StartUp.CLASS", "STARTUP.CLASS", "sTaRtUp.ClAsS"}) {
        test::TempDir temp;
        PackageBytes bytes;
        bytes.Dir("", 0).Int(2).File("", "other.class", "o").File("", name, "cls");
        CStream package = bytes.Stream();
        CDirectory().ExtractStartupClass(package, temp.Str());
        EXPECT_EQ(TreeSnapshot(temp.Path()), (Tree{{name, "cls"}})) << name;
    }
}

TEST(CDirectoryExtract, NamesThatOnlyResembleTheStartupClassDoNotMatch) {
    for (const char* name : {"startup.clas", "startup.class ", "xstartup.class", "startup_class"}) {
        test::TempDir temp;
        PackageBytes bytes;
        bytes.Dir("", 0).Int(1).File("", name, "cls");
        CStream package = bytes.Stream();
        CDirectory().ExtractStartupClass(package, temp.Str());
        EXPECT_TRUE(TreeSnapshot(temp.Path()).empty()) << name;
        EXPECT_EQ(package.Position(), package.Size()) << name;
    }
}

TEST(CDirectoryExtract, OnlyTheFirstOfTwoStartupClassesIsWritten) {
    test::TempDir temp;
    PackageBytes bytes;
    bytes.Dir("", 1)
        .Dir("a\\", 0)
        .Int(1)
        .File("a\\", "StartUp.class", "first")
        .Int(1)
        .File("", "startup.class", "second");
    CStream package = bytes.Stream();
    CDirectory().ExtractStartupClass(package, temp.Str());
    EXPECT_EQ(TreeSnapshot(temp.Path()), (Tree{{"a/", ""}, {"a/StartUp.class", "first"}}));
}

TEST(CDirectoryExtract, WalkEndsRightAfterStartupClassInSubDirectory) {
    test::TempDir temp;
    PackageBytes bytes;
    bytes.Dir("", 2).Dir("main\\", 0).Int(2).File("main\\", "StartUp.class", "boot");
    const std::size_t afterClass = bytes.Size();
    // What follows is never read: a second file, another directory record
    // and root files, ending in a truncated count.
    bytes.File("main\\", "later.class", "later").Dir("more\\", 0).Int(0).Int(7).Raw("\x01");
    CStream package = bytes.Stream();
    CDirectory().ExtractStartupClass(package, temp.Str());
    EXPECT_EQ(TreeSnapshot(temp.Path()), (Tree{{"main/", ""}, {"main/StartUp.class", "boot"}}));
    EXPECT_EQ(package.Position(), afterClass);
}

TEST(CDirectoryExtract, EmptyStartupClassIsWrittenAndEndsTheWalk) {
    test::TempDir temp;
    PackageBytes bytes;
    bytes.Dir("", 0).Int(3).File("", "StartUp.class", "");
    const std::size_t afterClass = bytes.Size();
    bytes.File("", "startup.class", "second");
    CStream package = bytes.Stream();
    CDirectory().ExtractStartupClass(package, temp.Str());
    EXPECT_EQ(TreeSnapshot(temp.Path()), (Tree{{"StartUp.class", ""}}));
    EXPECT_EQ(package.Position(), afterClass);
}

TEST(CDirectoryExtract, WithoutStartupClassOnlyDirectoriesAreCreated) {
    test::TempDir temp;
    PackageBytes bytes;
    bytes.Dir("", 1).Dir("sub\\", 0).Int(1).File("sub\\", "a.class", "a").Int(1).File("", "b", "b");
    CStream package = bytes.Stream();
    CDirectory().ExtractStartupClass(package, temp.Str() + "cls\\");
    EXPECT_EQ(TreeSnapshot(temp.Path()), (Tree{{"cls/", ""}, {"cls/sub/", ""}}));
    EXPECT_EQ(package.Position(), package.Size());
#ifdef _WIN32
    const auto attributes = platform::GetAttributes(temp.Str() + "cls\\");
    ASSERT_TRUE(attributes.has_value());
    EXPECT_TRUE(*attributes & platform::AttrHidden);
#endif
}

} // namespace
} // namespace qvs
