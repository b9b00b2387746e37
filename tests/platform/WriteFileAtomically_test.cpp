#include "platform/FileSystem.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>

namespace qvs::platform {
namespace {

namespace fs = std::filesystem;

void PutFile(const fs::path& path, const std::string& content) {
    std::ofstream out(path, std::ios::binary);
    out << content;
    ASSERT_TRUE(out.good()) << path;
}

std::string GetFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Everything in the directory, so a temporary file left behind shows up.
std::set<std::string> NamesOnDisk(const fs::path& directory) {
    std::set<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(directory)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

void ExpectCreateError(const std::string& path) {
    try {
        WriteFileAtomically(path, std::string_view("new content"));
        ADD_FAILURE() << "no error for " << path;
    } catch (const FileCreateError& error) {
        EXPECT_EQ(std::string(error.what()), "Cannot create file " + path);
    }
}

class WriteFileAtomicallyTest : public ::testing::Test {
protected:
    test::TempDir dir;
};

TEST_F(WriteFileAtomicallyTest, WritesEveryByteOfANewFile) {
    const std::string binary("\x00\x01\xFF\r\n\x1A\x00end", 10);
    const std::pair<const char*, std::string> cases[] = {
        {"binary.ecd", binary},
        {"empty.dat", std::string()},
        {"big.bin", std::string(300000, '\xA5') + "tail"},
    };
    for (const auto& [name, content] : cases) {
        SCOPED_TRACE(name);
        WriteFileAtomically(dir.File(name), content);
        EXPECT_EQ(GetFile(dir.Path() / name), content);
    }
    EXPECT_EQ(NamesOnDisk(dir.Path()),
              (std::set<std::string>{"binary.ecd", "empty.dat", "big.bin"}));
}

TEST_F(WriteFileAtomicallyTest, AcceptsBytes) {
    const std::byte bytes[] = {std::byte{0}, std::byte{0x80}, std::byte{0xFF}};
    WriteFileAtomically(dir.File("qvs.dat"), std::span<const std::byte>(bytes));
    EXPECT_EQ(GetFile(dir.Path() / "qvs.dat"), std::string("\x00\x80\xFF", 3));
}

TEST_F(WriteFileAtomicallyTest, ReplacesAnExistingFileCompletely) {
    PutFile(dir.Path() / "qvs.cfg", "a much longer old content that must not survive");
    WriteFileAtomically(dir.File("qvs.cfg"), std::string_view("short"));
    EXPECT_EQ(GetFile(dir.Path() / "qvs.cfg"), "short");
    EXPECT_EQ(NamesOnDisk(dir.Path()), (std::set<std::string>{"qvs.cfg"}));
}

TEST_F(WriteFileAtomicallyTest, ReplacesTheFileWhoseNameDiffersInCase) {
    fs::create_directories(dir.Path() / "Data" / "Sub");
    PutFile(dir.Path() / "qvsc.ecd", "old");
    PutFile(dir.Path() / "Data" / "Sub" / "File.txt", "old nested");

    WriteFileAtomically(dir.Str() + "QVSC.ecd", std::string_view("new"));
    WriteFileAtomically(dir.Str() + "DATA\\sub\\FILE.TXT", std::string_view("new nested"));

    EXPECT_EQ(GetFile(dir.Path() / "qvsc.ecd"), "new");
    EXPECT_EQ(GetFile(dir.Path() / "Data" / "Sub" / "File.txt"), "new nested");
    EXPECT_EQ(NamesOnDisk(dir.Path()), (std::set<std::string>{"Data", "qvsc.ecd"}));
    EXPECT_EQ(NamesOnDisk(dir.Path() / "Data" / "Sub"), (std::set<std::string>{"File.txt"}));
}

TEST_F(WriteFileAtomicallyTest, UnwritableTargetsThrowAndLeaveNothingBehind) {
    PutFile(dir.Path() / "plain", "a file, not a directory");
    fs::create_directory(dir.Path() / "Folder");
    const char* cases[] = {
        "Missing\\qvsc.ecd", // directory does not exist
        "plain\\qvsc.ecd",   // parent is a regular file
        "Folder",            // target is a directory
        "Folder\\",          // no file name at all
    };
    for (const char* name : cases) {
        SCOPED_TRACE(name);
        ExpectCreateError(dir.Str() + name);
    }
    EXPECT_EQ(NamesOnDisk(dir.Path()), (std::set<std::string>{"plain", "Folder"}));
    EXPECT_TRUE(NamesOnDisk(dir.Path() / "Folder").empty());
    EXPECT_EQ(GetFile(dir.Path() / "plain"), "a file, not a directory");
}

TEST_F(WriteFileAtomicallyTest, AReadOnlyFileIsNotOverwritten) {
    PutFile(dir.Path() / "qvsc.ecd", "old");
    std::string path = dir.Str() + "QVSC.ECD";
    ASSERT_TRUE(SetAttributes(path, GetAttributes(path).value_or(0) | AttrReadOnly));

    ExpectCreateError(path);
    EXPECT_EQ(GetFile(dir.Path() / "qvsc.ecd"), "old");
    EXPECT_EQ(NamesOnDisk(dir.Path()), (std::set<std::string>{"qvsc.ecd"}));
    EXPECT_NE(GetAttributes(path).value_or(0) & AttrReadOnly, 0U);
}

TEST_F(WriteFileAtomicallyTest, ARelativeNameIsWrittenInTheWorkingDirectory) {
    PutFile(dir.Path() / "qvs.dat", "old");
    fs::path previous = fs::current_path();
    fs::current_path(dir.Path());
    bool written = true;
    try {
        WriteFileAtomically("QVS.DAT", std::string_view("new"));
    } catch (const FileCreateError&) {
        written = false;
    }
    fs::current_path(previous);
    EXPECT_TRUE(written);
    EXPECT_EQ(GetFile(dir.Path() / "qvs.dat"), "new");
    EXPECT_EQ(NamesOnDisk(dir.Path()), (std::set<std::string>{"qvs.dat"}));
}

#ifndef _WIN32
TEST_F(WriteFileAtomicallyTest, KeepsTheModeOfTheReplacedFile) {
    using fs::perms;
    const std::pair<const char*, perms> cases[] = {
        {"UpdateQvsPatch", perms::owner_all | perms::group_read | perms::group_exec},
        {"private.cfg", perms::owner_read | perms::owner_write},
    };
    for (const auto& [name, mode] : cases) {
        SCOPED_TRACE(name);
        PutFile(dir.Path() / name, "old");
        fs::permissions(dir.Path() / name, mode);
        WriteFileAtomically(dir.File(name), std::string_view("new"));
        EXPECT_EQ(fs::status(dir.Path() / name).permissions(), mode);
        EXPECT_EQ(GetFile(dir.Path() / name), "new");
    }
}

TEST_F(WriteFileAtomicallyTest, ANewFileIsReadableByAll) {
    WriteFileAtomically(dir.File("qvs.dat"), std::string_view("1"));
    using fs::perms;
    EXPECT_EQ(fs::status(dir.Path() / "qvs.dat").permissions(),
              perms::owner_read | perms::owner_write | perms::group_read | perms::others_read);
}
#endif

} // namespace
} // namespace qvs::platform
