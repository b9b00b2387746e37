#include "HostilePackages.h"
#include "platform/FileSystem.h"
#include "protocol/CStream.h"
#include "support/TempDir.h"
#include "support/TreeSnapshot.h"
#include "system/CDirectory.h"
#include "system/PackageError.h"
#include "system/PackagePath.h"
#include "system/PackageReader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

namespace qvs {
namespace {

using Tree = std::map<std::string, std::string>;
using test::PackageBytes;
using test::TreeSnapshot;
namespace fs = std::filesystem;

// Unpacks into parent\inside\ so that anything written next to it shows.
class Extraction : public ::testing::Test {
protected:
    std::string Base() const { return parent_.Str() + "inside\\"; }
    fs::path Inside() const { return parent_.Path() / "inside"; }
    // Everything in the parent apart from the inside directory's own tree.
    Tree Outside() const {
        Tree tree = TreeSnapshot(parent_.Path());
        std::erase_if(tree, [](const auto& item) { return item.first.rfind("inside/", 0) == 0; });
        return tree;
    }
    void Extract(CStream& package, bool startupOnly) const {
        if (startupOnly) {
            CDirectory().ExtractStartupClass(package, Base());
        } else {
            CDirectory().ExtractPackage(package, Base());
        }
    }
    test::TempDir parent_;
};

// A size past the end fails before the file is started, so before its
// folder is found missing.
TEST_F(Extraction, ASizePastTheEndFailsBeforeTheFileIsStarted) {
    CStream cut = PackageBytes().Dir("", 0).Int(1).Str("").Str("f").Int(4).Raw("abc").Stream();
    EXPECT_THROW(CDirectory().ExtractPackage(cut, Base() + "missing\\cls\\"), StreamReadError);
}

// A folder with one file, then one file at the top.
PackageBytes TwoFiles(const std::string& folder, const char* inFolder, const char* atTop) {
    PackageBytes bytes;
    bytes.Dir("", 1).Dir(folder, 0).Int(1).File(folder, inFolder, "first");
    return bytes.Int(1).File("", atTop, "second");
}

// The startup class matches in any case and keeps its stored name; the walk
// ends right after the first one, and writes only folders without one. The
// base it makes is hidden.
TEST_F(Extraction, OnlyTheFirstStartupClassIsWritten) {
    const struct {
        const char* what;
        PackageBytes bytes;
        Tree expected;
        std::size_t unread; // bytes after the walk's end
    } cases[] = {
        {"first of two",
         TwoFiles("a\\", "sTaRtUp.ClAsS", "startup.class"),
         {{"a/", ""}, {"a/sTaRtUp.ClAsS", "first"}},
         29},
        {"none", TwoFiles("sub\\", "startup.class ", "startup_class"), {{"sub/", ""}}, 0},
    };
    for (const auto& item : cases) {
        fs::remove_all(Inside());
        CStream package = item.bytes.Stream();
        Extract(package, true);
        EXPECT_EQ(TreeSnapshot(Inside()), item.expected) << item.what;
        EXPECT_EQ(package.Position(), package.Size() - item.unread) << item.what;
#ifdef _WIN32
        EXPECT_TRUE(platform::GetAttributes(Base()).value_or(0) & platform::AttrHidden);
#endif
    }
}

// Files are written together at the end of a package; a fault part-way must
// still leave the files before it written, whole, the rest untouched, and no
// temporary file anywhere.
class ExtractFailure : public Extraction {
protected:
    void SetUp() override {
        fs::create_directories(Inside() / "sub");
        for (const char* name : {"a", "sub/ro", "sub/c"}) {
            test::WriteFileBytes(Inside() / name, std::string("old ") + name);
        }
    }
    static PackageBytes ThreeFiles() {
        PackageBytes bytes;
        bytes.Dir("", 1).Dir("sub\\", 0).Int(0).Int(3);
        bytes.File("", "A", "new a").File("SUB\\", "RO", "new ro").File("sub\\", "c", "new c");
        return bytes;
    }
};

TEST_F(ExtractFailure, AReadOnlyFileStopsTheExtractionAfterTheFilesBeforeIt) {
    const std::string readOnly = Base() + "sub\\ro";
    ASSERT_TRUE(platform::SetAttributes(readOnly, platform::AttrReadOnly));
    CStream package = ThreeFiles().Stream();
    try {
        Extract(package, false);
        FAIL() << "no error";
    } catch (const platform::FileCreateError& error) {
        EXPECT_EQ(std::string(error.what()), "Cannot create file " + Base() + "SUB\\RO");
    }
    EXPECT_EQ(
        TreeSnapshot(Inside()),
        (Tree{{"a", "new a"}, {"sub/", ""}, {"sub/c", "old sub/c"}, {"sub/ro", "old sub/ro"}}));
    platform::SetAttributes(readOnly, 0);
}

TEST_F(ExtractFailure, ATruncatedPackageKeepsOnlyTheWholeFilesBeforeTheCut) {
    const PackageBytes bytes = ThreeFiles();
    CStream package = bytes.Stream(bytes.Size() - 1);
    EXPECT_THROW(Extract(package, false), StreamReadError);
    EXPECT_EQ(TreeSnapshot(Inside()),
              (Tree{{"a", "new a"}, {"sub/", ""}, {"sub/c", "old sub/c"}, {"sub/ro", "new ro"}}));
    // Whole, it replaces every file, named in any case.
    CStream whole = bytes.Stream();
    Extract(whole, false);
    EXPECT_EQ(TreeSnapshot(Inside()),
              (Tree{{"a", "new a"}, {"sub/", ""}, {"sub/c", "new c"}, {"sub/ro", "new ro"}}));
}

// Cut anywhere, a package fails with a read error and writes nothing outside.
TEST_F(Extraction, EveryTruncationFailsWithStreamReadErrorAndStaysInside) {
    const PackageBytes bytes = test::NestedPackage();
    for (std::size_t length = 0; length < bytes.Size(); ++length) {
        for (bool startupOnly : {false, true}) {
            CStream package = bytes.Stream(length);
            EXPECT_THROW(Extract(package, startupOnly), StreamReadError) << "length " << length;
            CDirectory().DeleteDirectoryTree(Base());
            EXPECT_TRUE(Outside().empty()) << "length " << length;
        }
    }
    CStream whole = bytes.Stream();
    Extract(whole, false);
    EXPECT_EQ(TreeSnapshot(Inside()), (Tree{{"d/", ""},
                                            {"d/e/", ""},
                                            {"d/e/deep", "DEEP"},
                                            {"d/mid", ""},
                                            {"new/", ""},
                                            {"new/dir/", ""},
                                            {"new/dir/two", "22"},
                                            {"one", "1"},
                                            {"StartUp.class", "\xCA\xFE"}}));
    EXPECT_EQ(whole.Position(), whole.Size());
}

// Refused before the hostile record writes anything, inside the base or beside it.
TEST_F(Extraction, HostilePackagesAreRefusedBeforeWriting) {
    for (const test::HostilePackage& item : test::HostilePackages()) {
        for (bool startupOnly : {false, true}) {
            if (startupOnly && !item.startupToo) {
                continue; // a file not named startup.class is never written
            }
            CStream package = item.bytes.Stream();
            if (item.badPath) {
                EXPECT_THROW(Extract(package, startupOnly), PackageError) << item.what;
            } else {
                EXPECT_THROW(Extract(package, startupOnly), StreamReadError) << item.what;
            }
            EXPECT_TRUE(Outside().empty()) << item.what;
            Tree inside = TreeSnapshot(Inside());
            inside.erase("a"); // the whole file before the hostile one may be written
            EXPECT_TRUE(inside.empty()) << item.what;
        }
    }
}

TEST_F(Extraction, BaseEndingInDotCannotBeMergedIntoParentReference) {
    PackageBytes bytes;
    bytes.Dir("", 0).Int(1).File(".\\", "x", "evil");
    CStream package = bytes.Stream();
    fs::create_directories(Inside());
    EXPECT_THROW(CDirectory().ExtractPackage(package, parent_.Str() + "inside\\."), PackageError);
    EXPECT_TRUE(Outside().empty());
    // The text check alone refuses it, before the folder boundary is looked at.
    EXPECT_THROW(PackagePath::CheckInside(parent_.Str() + "inside\\.", ".\\x"), PackageError);
}

#ifndef _WIN32
// "linkout" is a link to a folder beside the base: no text check sees it.
TEST_F(Extraction, LinkedDirectoriesLeadingOutAreRefusedBeforeWriting) {
    const struct {
        const char* directory;
        const char* fileDirectory;
        const char* fileName;
    } cases[] = {
        {"", "linkout\\", "x.txt"}, {"", "LINKOUT\\", "x.txt"},  {"", "linkout\\new\\", "x.txt"},
        {"linkout\\", "", "f"},     {"linkout\\new\\", "", "f"}, {"", "ok\\linkout\\", "x.txt"},
    };
    fs::create_directories(Inside() / "ok");
    fs::create_directory(parent_.Path() / "elsewhere");
    fs::create_directory_symlink(parent_.Path() / "elsewhere", Inside() / "linkout");
    fs::create_directory_symlink(parent_.Path() / "elsewhere", Inside() / "ok" / "linkout");
    for (const auto& path : cases) {
        for (bool startupOnly : {false, true}) {
            PackageBytes bytes;
            const std::string name = startupOnly ? "StartUp.class" : path.fileName;
            bytes.Dir("", path.directory[0] ? 1 : 0);
            if (path.directory[0]) {
                bytes.Dir(path.directory, 0).Int(0);
            }
            bytes.Int(2).File("", "first", "1").File(path.fileDirectory, name, "evil");
            CStream package = bytes.Stream();
            EXPECT_THROW(Extract(package, startupOnly), PackageError);
            EXPECT_TRUE(fs::is_empty(parent_.Path() / "elsewhere"))
                << path.directory << "|" << path.fileDirectory;
        }
    }
}

// A name at the file system's limit still fits its temporary beside it.
TEST_F(Extraction, LongestFileNamesAreExtracted) {
    const std::string name(255, 'n');
    CStream package = PackageBytes().Dir("", 0).Int(1).File("", name, "long").Stream();
    Extract(package, false);
    EXPECT_EQ(TreeSnapshot(Inside()), (Tree{{name, "long"}}));
}
#endif

PackageBytes NestedDirectories(int levels) {
    PackageBytes bytes;
    std::string path;
    bytes.Dir(path, 1);
    for (int level = 1; level <= levels; ++level) {
        path += "d\\";
        bytes.Dir(path, level == levels ? 0 : 1);
    }
    for (int level = 0; level <= levels; ++level) {
        bytes.Int(0);
    }
    return bytes;
}

TEST_F(Extraction, NestingIsLimited) {
    CStream allowed = NestedDirectories(PackageReader::MaxDepth).Stream();
    EXPECT_NO_THROW(Extract(allowed, false));
    EXPECT_EQ(allowed.Position(), allowed.Size());

    CStream tooDeep = NestedDirectories(PackageReader::MaxDepth + 1).Stream();
    EXPECT_THROW(CDirectory().ExtractPackage(tooDeep, parent_.Str() + "other\\"), PackageError);
    // A flood of nested records must fail the same way, not overflow the stack.
    PackageBytes flood;
    for (int i = 0; i < 100000; ++i) {
        flood.Dir("", 1);
    }
    flood.Raw(std::string(64, '\0'));
    CStream floodStream = flood.Stream();
    EXPECT_THROW(CDirectory().ExtractStartupClass(floodStream, parent_.Str() + "flood\\"),
                 PackageError);
    EXPECT_FALSE(fs::exists(parent_.Path() / "flood" / "d"));
}

} // namespace
} // namespace qvs
