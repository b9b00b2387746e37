#include "platform/FileSystem.h"
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
namespace fs = std::filesystem;
using test::TreeSnapshot;
using test::WriteFileBytes;

void MakeSampleTree(const fs::path& root) {
    fs::create_directories(root / "a" / "b" / "c");
    fs::create_directories(root / "empty");
    WriteFileBytes(root / "top.txt", "t");
    WriteFileBytes(root / "a" / "one", "1");
    WriteFileBytes(root / "a" / "b" / "c" / "deep", "d");
}

void MakeReadOnly(const std::string& path) {
    const auto attributes = platform::GetAttributes(path);
    ASSERT_TRUE(attributes.has_value());
    ASSERT_TRUE(platform::SetAttributes(path, *attributes | platform::AttrReadOnly));
}

// Emptying keeps the folder, deleting removes it too; a read-only file stays
// and so do the folders holding it; a sibling is never touched.
TEST(CDirectoryTree, EmptyAndDeleteRemoveAllButReadOnlyFiles) {
    for (bool deleteTree : {false, true}) {
        for (bool locked : {false, true}) {
            test::TempDir temp;
            MakeSampleTree(temp.Path() / "tree");
            WriteFileBytes(temp.Path() / "sibling", "s");
            Tree expected{{"sibling", "s"}};
            if (locked) {
                WriteFileBytes(temp.Path() / "tree" / "a" / "b" / "locked", "L");
                MakeReadOnly(temp.Str() + "tree\\a\\b\\locked");
                expected.insert({{"tree/a/", ""}, {"tree/a/b/", ""}, {"tree/a/b/locked", "L"}});
            }
            if (locked || !deleteTree) {
                expected["tree/"] = "";
            }
            CDirectory directory;
            if (deleteTree) {
                directory.DeleteDirectoryTree(temp.Str() + "tree\\");
            } else {
                directory.EmptyDirectory(temp.Str() + "tree\\");
            }
            EXPECT_EQ(TreeSnapshot(temp.Path()), expected)
                << "deleteTree=" << deleteTree << " locked=" << locked;
        }
    }
}

TEST(CDirectoryTree, MissingDirectoryOrMissingSeparatorChangesNothing) {
    test::TempDir temp;
    MakeSampleTree(temp.Path() / "tree");
    const Tree before = TreeSnapshot(temp.Path());
    CDirectory directory;
    directory.EmptyDirectory(temp.Str() + "nothing\\");
    directory.DeleteDirectoryTree(temp.Str() + "nothing\\");
    directory.EmptyDirectory(temp.Str() + "tree");
    directory.DeleteDirectoryTree(temp.Str() + "tree");
    directory.DeleteDirectoryTree(temp.Str() + "tree\\empty");
    EXPECT_EQ(TreeSnapshot(temp.Path()), before);
}

#ifndef _WIN32
// A link inside the tree is removed as a link; what it points to is kept.
TEST(CDirectoryTree, LinksAreRemovedNeverFollowed) {
    for (bool deleteTree : {false, true}) {
        test::TempDir temp;
        fs::create_directories(temp.Path() / "outside" / "keep");
        WriteFileBytes(temp.Path() / "outside" / "precious", "P");
        fs::create_directories(temp.Path() / "tree" / "sub");
        fs::create_directory_symlink(temp.Path() / "outside", temp.Path() / "tree" / "dirlink");
        fs::create_directory_symlink(temp.Path() / "outside", temp.Path() / "tree" / "sub" / "l2");
        fs::create_symlink(temp.Path() / "outside" / "precious", temp.Path() / "tree" / "filelink");
        fs::create_symlink(temp.Path() / "gone", temp.Path() / "tree" / "dangling");
        CDirectory directory;
        if (deleteTree) {
            directory.DeleteDirectoryTree(temp.Str() + "tree\\");
        } else {
            directory.EmptyDirectory(temp.Str() + "tree\\");
        }
        Tree expected{{"outside/", ""}, {"outside/keep/", ""}, {"outside/precious", "P"}};
        if (!deleteTree) {
            expected["tree/"] = "";
        }
        EXPECT_EQ(TreeSnapshot(temp.Path()), expected) << "deleteTree=" << deleteTree;
    }
}

// On POSIX a name may hold "\", which the file layer reads as a separator:
// such an entry is left alone rather than resolved to another path.
TEST(CDirectoryTree, NamesHoldingBackslashesAreNotResolvedElsewhere) {
    test::TempDir temp;
    WriteFileBytes(temp.Path() / "victim", "V");
    fs::create_directories(temp.Path() / "tree");
    WriteFileBytes(temp.Path() / "tree" / "..\\victim", "decoy");
    fs::create_directories(temp.Path() / "tree" / "..\\");
    CDirectory().DeleteDirectoryTree(temp.Str() + "tree\\");
    const Tree tree = TreeSnapshot(temp.Path());
    EXPECT_EQ(tree.count("victim"), 1U);
    EXPECT_EQ(tree.at("victim"), "V");
}
#endif

} // namespace
} // namespace qvs
