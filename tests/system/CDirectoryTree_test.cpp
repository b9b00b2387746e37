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
                ASSERT_TRUE(platform::SetAttributes(temp.Str() + "tree\\a\\b\\locked",
                                                    platform::AttrReadOnly));
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
// A link inside the tree is removed as a link; what it points to is kept. A
// name may hold "\", which the file layer reads as a separator: such an entry
// is left alone rather than resolved to another path.
TEST(CDirectoryTree, LinksAndNamesHoldingBackslashesLeadNowhereElse) {
    for (bool deleteTree : {false, true}) {
        test::TempDir temp;
        const fs::path tree = temp.Path() / "tree";
        fs::create_directories(temp.Path() / "outside" / "keep");
        WriteFileBytes(temp.Path() / "outside" / "precious", "P");
        WriteFileBytes(temp.Path() / "victim", "V");
        fs::create_directories(tree / "sub");
        fs::create_directory_symlink(temp.Path() / "outside", tree / "dirlink");
        fs::create_directory_symlink(temp.Path() / "outside", tree / "sub" / "l2");
        fs::create_symlink(temp.Path() / "outside" / "precious", tree / "filelink");
        fs::create_symlink(temp.Path() / "gone", tree / "dangling");
        WriteFileBytes(tree / "..\\victim", "decoy");
        fs::create_directories(tree / "..\\");
        if (deleteTree) {
            CDirectory().DeleteDirectoryTree(temp.Str() + "tree\\");
        } else {
            CDirectory().EmptyDirectory(temp.Str() + "tree\\");
        }
        EXPECT_EQ(TreeSnapshot(temp.Path()), (Tree{{"outside/", ""},
                                                   {"outside/keep/", ""},
                                                   {"outside/precious", "P"},
                                                   {"tree/", ""},
                                                   {"tree/..\\/", ""},
                                                   {"tree/..\\victim", "decoy"},
                                                   {"victim", "V"}}))
            << "deleteTree=" << deleteTree;
    }
}
#endif

} // namespace
} // namespace qvs
