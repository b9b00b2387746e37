#include "HostilePackages.h"
#include "protocol/CStream.h"
#include "support/TempDir.h"
#include "support/TreeSnapshot.h"
#include "system/CDirectory.h"
#include "system/PackageError.h"
#include "system/PackagePath.h"
#include "system/PackageReader.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace qvs {
namespace {

using Tree = std::map<std::string, std::string>;
using test::PackageBytes;
using test::TreeSnapshot;

// Unpacks into parent\inside\ so that anything written next to it shows.
class HostilePackage : public ::testing::Test {
protected:
    std::string Base() const { return parent_.Str() + "inside\\"; }
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

// Cut anywhere, a package fails with a read error and writes nothing outside.
TEST_F(HostilePackage, EveryTruncationFailsWithStreamReadErrorAndStaysInside) {
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
    CDirectory().ExtractPackage(whole, Base());
    EXPECT_EQ(TreeSnapshot(parent_.Path() / "inside"), (Tree{{"d/", ""},
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
TEST_F(HostilePackage, HostilePackagesAreRefusedBeforeWriting) {
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
            Tree inside = TreeSnapshot(parent_.Path() / "inside");
            inside.erase("a"); // the whole file before the hostile one may be written
            EXPECT_TRUE(inside.empty()) << item.what;
        }
    }
}

TEST_F(HostilePackage, BaseEndingInDotCannotBeMergedIntoParentReference) {
    PackageBytes bytes;
    bytes.Dir("", 0).Int(1).File(".\\", "x", "evil");
    CStream package = bytes.Stream();
    std::filesystem::create_directories(parent_.Path() / "inside");
    EXPECT_THROW(CDirectory().ExtractPackage(package, parent_.Str() + "inside\\."), PackageError);
    EXPECT_TRUE(Outside().empty());
    // The text check alone refuses it, before the folder boundary is looked at.
    EXPECT_THROW(PackagePath::CheckInside(parent_.Str() + "inside\\.", ".\\x"), PackageError);
}

#ifndef _WIN32
// "linkout" is a link to a folder beside the base: no text check sees it.
TEST_F(HostilePackage, LinkedDirectoriesLeadingOutAreRefusedBeforeWriting) {
    const struct {
        const char* directory;
        const char* fileDirectory;
        const char* fileName;
    } cases[] = {
        {"", "linkout\\", "x.txt"}, {"", "LINKOUT\\", "x.txt"},  {"", "linkout\\new\\", "x.txt"},
        {"linkout\\", "", "f"},     {"linkout\\new\\", "", "f"}, {"", "ok\\linkout\\", "x.txt"},
    };
    namespace fs = std::filesystem;
    fs::create_directories(parent_.Path() / "inside" / "ok");
    fs::create_directory(parent_.Path() / "elsewhere");
    fs::create_directory_symlink(parent_.Path() / "elsewhere",
                                 parent_.Path() / "inside" / "linkout");
    fs::create_directory_symlink(parent_.Path() / "elsewhere",
                                 parent_.Path() / "inside" / "ok" / "linkout");
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
TEST_F(HostilePackage, LongestFileNamesAreExtracted) {
    const std::string name(255, 'n');
    PackageBytes bytes;
    bytes.Dir("", 0).Int(1).File("", name, "long");
    CStream package = bytes.Stream();
    CDirectory().ExtractPackage(package, Base());
    EXPECT_EQ(TreeSnapshot(parent_.Path() / "inside"), (Tree{{name, "long"}}));
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

TEST_F(HostilePackage, NestingIsLimited) {
    CStream allowed = NestedDirectories(PackageReader::MaxDepth).Stream();
    EXPECT_NO_THROW(CDirectory().ExtractPackage(allowed, Base()));
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
    EXPECT_FALSE(std::filesystem::exists(parent_.Path() / "flood" / "d"));
}

} // namespace
} // namespace qvs
