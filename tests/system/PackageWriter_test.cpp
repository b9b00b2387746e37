#include "support/PackageBytes.h"
#include "support/TempDir.h"
#include "support/TreeSnapshot.h"
#include "system/PackageWriter.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace qvs {
namespace {

using test::PackageBytes;
using test::WriteFileBytes;
namespace fs = std::filesystem;

std::string AllBytes() {
    std::string bytes;
    for (int i = 0; i < 256; ++i) {
        bytes.push_back(static_cast<char>(i));
    }
    return bytes;
}

void MakeSource(const fs::path& root) {
    fs::create_directories(root / "b" / "inner");
    fs::create_directories(root / "a");
    fs::create_directories(root / "b" / "empty");
    WriteFileBytes(root / "z.txt", "zz");
    WriteFileBytes(root / "m.bin", AllBytes());
    WriteFileBytes(root / "b" / "inner" / "x", "");
    WriteFileBytes(root / "b" / "y", "why");
}

TEST(PackageWriter, WritesRecordsPreOrderInByteOrderOfNames) {
    test::TempDir temp;
    MakeSource(temp.Path());
    CStream package;
    PackageWriter::Write(package, temp.Path().string(), "data\\");
    PackageBytes expected;
    expected.Str("data\\")
        .Dir("", 2)
        .Dir("a\\", 0)
        .Int(0)
        .Dir("b\\", 2)
        .Dir("b\\empty\\", 0)
        .Int(0)
        .Dir("b\\inner\\", 0)
        .Int(1)
        .File("b\\inner\\", "x", "")
        .Int(1)
        .File("b\\", "y", "why")
        .Int(2)
        .File("", "m.bin", AllBytes())
        .File("", "z.txt", "zz");
    EXPECT_EQ(package.View(), expected.Bytes());
}

#ifndef _WIN32
TEST(PackageWriter, LinksAreLeftOut) {
    test::TempDir temp;
    fs::create_directories(temp.Path() / "src");
    fs::create_directories(temp.Path() / "secret");
    WriteFileBytes(temp.Path() / "secret" / "key", "k");
    WriteFileBytes(temp.Path() / "src" / "real", "r");
    fs::create_directory_symlink(temp.Path() / "secret", temp.Path() / "src" / "dirlink");
    fs::create_symlink(temp.Path() / "secret" / "key", temp.Path() / "src" / "filelink");
    CStream package;
    PackageWriter::Write(package, temp.File("src"), "");
    EXPECT_EQ(package.View(),
              PackageBytes().Str("").Dir("", 0).Int(1).File("", "real", "r").Bytes());
}
#endif

} // namespace
} // namespace qvs
