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

TEST(PackageWriter, WritesRecordsPreOrderInByteOrderOfNamesLeavingLinksOut) {
    test::TempDir temp;
    const fs::path& root = temp.Path();
    fs::create_directories(root / "b" / "inner");
    fs::create_directories(root / "a");
    fs::create_directories(root / "b" / "empty");
    WriteFileBytes(root / "z.txt", "zz");
    WriteFileBytes(root / "m.bin", AllBytes());
    WriteFileBytes(root / "b" / "inner" / "x", "");
    WriteFileBytes(root / "b" / "y", "why");
#ifndef _WIN32
    // Links are left out, whatever they lead to.
    fs::create_directory_symlink(root / "b", root / "dirlink");
    fs::create_symlink(root / "z.txt", root / "filelink");
#endif
    CStream package;
    PackageWriter::Write(package, root.string(), "data\\");
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

} // namespace
} // namespace qvs
