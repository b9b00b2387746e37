#include "HostilePackages.h"
#include "platform/FileSystem.h"
#include "protocol/CStream.h"
#include "support/Scramble.h"
#include "support/TempDir.h"
#include "support/TreeSnapshot.h"
#include "support/WireBytes.h"
#include "system/CDirectory.h"
#include "system/PackageError.h"
#include "system/ScrambledPackageFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace qvs {
namespace {

using Tree = std::map<std::string, std::string>;
using test::PackageBytes;
using test::TreeSnapshot;

// What an extraction left: every file and directory in the parent folder
// (so writes outside the target show too) and the error, by kind and text.
using Outcome = std::pair<Tree, std::string>;

std::string Patterned(std::size_t size, unsigned seed) {
    std::string content(size, '\0');
    for (std::size_t i = 0; i < size; ++i) {
        content[i] = static_cast<char>((i * seed + i / 251) % 256);
    }
    return content;
}

// Reading the package from its scrambled file, a window at a time, must
// leave exactly what unscrambling it whole in memory leaves: the same files,
// the same error, whatever the window size.
class ScrambledPackageFileTest : public ::testing::Test {
protected:
    using Extraction = std::function<void(const std::string& base)>;

    Outcome Run(const Extraction& extract) {
        std::filesystem::remove_all(parent_.Path() / "inside");
        std::string error;
        try {
            extract(parent_.Str() + "inside\\");
        } catch (const StreamReadError& e) {
            error = std::string("StreamReadError: ") + e.what();
        } catch (const PackageError& e) {
            error = std::string("PackageError: ") + e.what();
        } catch (const platform::FileCreateError& e) {
            error = std::string("FileCreateError: ") + e.what();
        }
        Tree tree = TreeSnapshot(parent_.Path());
        tree.erase("package.ecd");
        return {tree, error};
    }

    // The directory record part of plain, extracted both ways.
    void ExpectSameOutcome(const std::string& plain, const std::string& what,
                           std::initializer_list<std::size_t> windows = {
                               1, 5, ScrambledPackageFile::DefaultWindow}) {
        CStream whole = test::StreamOf(plain);
        const Outcome fromMemory =
            Run([&whole](const std::string& base) { CDirectory().ExtractPackage(whole, base); });
        const std::string path = parent_.File("package.ecd");
        test::WriteFileBytes(path, test::Scramble(plain));
        for (const std::size_t window : windows) {
            const Outcome fromFile = Run([&path, window](const std::string& base) {
                ScrambledPackageFile file(path, ScrambledPackageFile::WholeFile, window);
                CDirectory().ExtractPackage(file, base);
            });
            EXPECT_EQ(fromFile, fromMemory) << what << ", window " << window;
        }
    }

    test::TempDir parent_;
};

TEST_F(ScrambledPackageFileTest, AWholePackageGivesTheSameFiles) {
    const std::string big = Patterned((3 << 20) + 17, 7);
    ExpectSameOutcome(test::NestedPackage(big).Bytes(), "nested",
                      {4093, ScrambledPackageFile::DefaultWindow});
    EXPECT_EQ(test::ReadFileBytes(parent_.Path() / "inside" / "new" / "dir" / "two"), big);
}

TEST_F(ScrambledPackageFileTest, TruncatedAndHostilePackagesGiveTheSameOutcome) {
    const std::string plain = test::NestedPackage(Patterned(40, 3)).Bytes();
    for (std::size_t length = 0; length < plain.size(); length += 5) {
        ExpectSameOutcome(plain.substr(0, length), "cut at " + std::to_string(length));
    }
    for (const test::HostilePackage& item : test::HostilePackages()) {
        ExpectSameOutcome(item.bytes.Bytes(), item.what);
    }
    // A declared size the rest cannot hold, longer than a window: it fails
    // before the file is started, leaving no temporary.
    PackageBytes cut;
    cut.Dir("", 0).Int(2).File("", "whole", "W").File("", "cut", Patterned(5000, 11));
    ExpectSameOutcome(cut.Bytes().substr(0, cut.Size() - 1000), "content cut short", {256});
}

TEST_F(ScrambledPackageFileTest, AFileThatCannotBeOpenedIsNamed) {
    const std::string path = parent_.File("missing.ecd");
    try {
        ScrambledPackageFile file(path);
        FAIL() << "no error";
    } catch (const std::runtime_error& error) {
        EXPECT_EQ(std::string(error.what()), "Cannot read file " + path);
    }
}

} // namespace
} // namespace qvs
