#include "PackageBytes.h"
#include "platform/FileSystem.h"
#include "protocol/CStream.h"
#include "support/TempDir.h"
#include "support/TreeSnapshot.h"
#include "system/CDirectory.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <string>

namespace qvs {
namespace {

using Tree = std::map<std::string, std::string>;
using test::PackageBytes;
using test::TreeSnapshot;

// Files are written together at the end of a package; a fault part-way must
// still leave the files before it written, whole, the rest untouched, and no
// temporary file anywhere.
class ExtractFailure : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directories(temp_.Path() / "sub");
        for (const char* name : {"a", "sub/ro", "sub/c"}) {
            std::ofstream(temp_.Path() / name, std::ios::binary) << "old " << name;
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
}

TEST_F(ExtractFailure, AWholePackageReplacesEveryFileNamedInAnyCase) {
    CStream package = ThreeFiles().Stream();
    CDirectory().ExtractPackage(package, temp_.Str());
    EXPECT_EQ(TreeSnapshot(temp_.Path()),
              (Tree{{"a", "new a"}, {"sub/", ""}, {"sub/c", "new c"}, {"sub/ro", "new ro"}}));
}

} // namespace
} // namespace qvs
