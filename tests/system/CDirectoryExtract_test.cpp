#include "HostilePackages.h"
#include "platform/FileSystem.h"
#include "protocol/CStream.h"
#include "support/TempDir.h"
#include "support/TreeSnapshot.h"
#include "system/CDirectory.h"
#include "system/PackageError.h"
#include "system/PackagePath.h"
#include "system/PackageReader.h"
#include "system/StreamPackageSource.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <stdexcept>
#include <string>

#ifdef __linux__
#include <sys/mount.h>
#endif

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

// A package installs whole or not at all: whatever fails part-way, every
// old file stays byte for byte, and no temporary file or new directory is
// left. The package holds ten files over the ten old ones; the fault hits
// the sixth.
enum class Fault { DiskFull, ReadOnlyFile, FolderInTheWay, CutPackage, ReadError };

// Reads as the package in memory does, but fails once the reader reaches
// failAt, as a disk that cannot read a sector would.
class FailingSource : public StreamPackageSource {
public:
    FailingSource(CStream& stream, std::size_t failAt)
        : StreamPackageSource(stream), stream_(stream), failAt_(failAt) {}
    void ReadPieces(std::size_t count, const ByteSink& sink) override {
        if (stream_.Position() + count > failAt_) {
            throw std::runtime_error("Cannot read file package.ecd");
        }
        StreamPackageSource::ReadPieces(count, sink);
    }

private:
    CStream& stream_;
    std::size_t failAt_;
};

class ExtractFailure : public Extraction, public ::testing::WithParamInterface<Fault> {
protected:
    static constexpr int Files = 10;
    static constexpr int Faulty = 6;
    static std::string Name(int file) { return "f" + std::to_string(file); }
    void TearDown() override {
#ifdef __linux__
        if (mounted_) {
            ::umount2(Inside().c_str(), MNT_DETACH);
        }
#endif
    }
    // 64 KiB each: ten of them do not fit the small file system.
    static PackageBytes TenFiles() {
        PackageBytes bytes;
        bytes.Dir("", 1).Dir("made\\", 0).Int(0).Int(Files);
        for (int file = 1; file <= Files; ++file) {
            bytes.File("", Name(file), std::string(64 << 10, static_cast<char>('0' + file)));
        }
        return bytes;
    }
    bool mounted_ = false;
};

TEST_P(ExtractFailure, LeavesEveryOldFileAndNoTemporary) {
    const Fault fault = GetParam();
    fs::create_directories(Inside());
    if (fault == Fault::DiskFull) {
#ifdef __linux__
        mounted_ = ::mount("tmpfs", Inside().c_str(), "tmpfs", 0, "size=256k") == 0;
#endif
        if (!mounted_) {
            GTEST_SKIP() << "no small file system can be mounted here (needs root on Linux)";
        }
    }
    for (int file = 1; file <= Files; ++file) {
        test::WriteFileBytes(Inside() / Name(file), "old " + Name(file));
    }
    if (fault == Fault::FolderInTheWay) {
        fs::remove(Inside() / Name(Faulty));
        fs::create_directories(Inside() / Name(Faulty) / "kept");
    }
    if (fault == Fault::ReadOnlyFile) {
        ASSERT_TRUE(platform::SetAttributes(Base() + Name(Faulty), platform::AttrReadOnly));
    }
    const Tree before = TreeSnapshot(Inside());
    const PackageBytes bytes = TenFiles();
    const std::size_t sixth = bytes.Bytes().find(std::string(64 << 10, '0' + Faulty));
    CStream package = bytes.Stream(fault == Fault::CutPackage ? sixth + 100 : bytes.Size());
    std::string message;
    try {
        if (fault == Fault::ReadError) {
            FailingSource source(package, sixth + 100);
            CDirectory().ExtractPackage(source, Base());
        } else {
            Extract(package, false);
        }
        FAIL() << "no error";
    } catch (const std::exception& error) {
        message = error.what();
    }
    EXPECT_EQ(TreeSnapshot(Inside()), before) << message;
#ifdef _WIN32
    // The Windows batch does not tell these causes apart yet.
    const char* readOnly = "Cannot create file ";
    const char* folder = "Cannot create file ";
#else
    const char* readOnly = " is read-only";
    const char* folder = ": a folder of that name is in the way";
#endif
    const char* expected[] = {"not enough disk space in ", readOnly, folder, "Stream read error",
                              "Cannot read file package.ecd"};
    EXPECT_NE(message.find(expected[static_cast<int>(fault)]), std::string::npos) << message;
    // One kind of separator in what the player reads.
    EXPECT_EQ(message.find(fs::path::preferred_separator == '/' ? '\\' : '/'), std::string::npos)
        << message;
    platform::SetAttributes(Base() + Name(Faulty), 0);
}

INSTANTIATE_TEST_SUITE_P(EachFault, ExtractFailure,
                         ::testing::Values(Fault::DiskFull, Fault::ReadOnlyFile,
                                           Fault::FolderInTheWay, Fault::CutPackage,
                                           Fault::ReadError));

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
            fs::remove_all(Inside());
            CStream package = item.bytes.Stream();
            if (item.badPath) {
                EXPECT_THROW(Extract(package, startupOnly), PackageError) << item.what;
            } else {
                EXPECT_THROW(Extract(package, startupOnly), StreamReadError) << item.what;
            }
            EXPECT_TRUE(Outside().empty()) << item.what;
            // Not even the whole file before the hostile one, nor the base
            // the package made (the start-up class walk keeps its base).
            EXPECT_TRUE(startupOnly ? fs::is_empty(Inside()) : !fs::exists(Inside())) << item.what;
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
