// Starting a detached program and waiting for a process to end, with a real
// child; the program-file check the patch relies on.
#include <gtest/gtest.h>

#include <filesystem>

#include "PatchFixture.h"
#include "platform/DetachedProcess.h"
#include "platform/ExecutableFormat.h"

namespace qvs::test {
namespace {

using namespace std::chrono_literals;

TEST(DetachedProcessTest, StartsInWorkingDirectoryWithArguments) {
    TempDir dir;
    const auto id = platform::StartDetached(PatchChildPath(), {"one", "two words"}, dir.Str());
    ASSERT_TRUE(id.has_value());
    EXPECT_NE(*id, 0u);
    EXPECT_EQ(WaitForMarker(dir.Path()), "started one two words");
    EXPECT_TRUE(platform::WaitForProcessEnd(*id, 30s));
}

TEST(DetachedProcessTest, MissingProgramIsReported) {
    TempDir dir;
    EXPECT_FALSE(platform::StartDetached(dir.File("no-such-program"), {}, dir.Str()));
}

TEST(DetachedProcessTest, MissingWorkingDirectoryIsReported) {
    TempDir dir;
    EXPECT_FALSE(platform::StartDetached(PatchChildPath(), {}, dir.File("gone")));
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::current_path() / "marker.txt"));
}

TEST(DetachedProcessTest, WaitEndsOnlyWhenProcessHasEnded) {
    TempDir dir;
    const auto id = platform::StartDetached(PatchChildPath(), {"sleep=2000"}, dir.Str());
    ASSERT_TRUE(id.has_value());
    // It sleeps far longer than this first wait.
    EXPECT_FALSE(platform::WaitForProcessEnd(*id, 100ms));
    EXPECT_TRUE(platform::WaitForProcessEnd(*id, 60s));
    // Once ended, it stays ended.
    EXPECT_TRUE(platform::WaitForProcessEnd(*id, 0ms));
}

TEST(DetachedProcessTest, IdOfNoProcessCountsAsEnded) {
    TempDir dir;
    const auto id = platform::StartDetached(PatchChildPath(), {"sleep=0"}, dir.Str());
    ASSERT_TRUE(id.has_value());
    ASSERT_TRUE(platform::WaitForProcessEnd(*id, 60s));
    EXPECT_TRUE(platform::WaitForProcessEnd(0x7ffffff0u, 0ms));
}

struct ImageCase {
    std::string bytes;
    bool posix;
    bool windows;
};

class ExecutableImageTest : public testing::TestWithParam<ImageCase> {};

TEST_P(ExecutableImageTest, RecognisesPrograms) {
#ifdef _WIN32
    EXPECT_EQ(platform::IsExecutableImage(GetParam().bytes), GetParam().windows);
#else
    EXPECT_EQ(platform::IsExecutableImage(GetParam().bytes), GetParam().posix);
#endif
}

INSTANTIATE_TEST_SUITE_P(Headers, ExecutableImageTest,
                         testing::Values(ImageCase{std::string("\x7f"
                                                               "ELF\x02\x01",
                                                               6),
                                                   true, false},
                                         ImageCase{"#!/bin/sh\n", true, false},
                                         ImageCase{"MZ\x90\x00", false, true},
                                         ImageCase{"", false, false},
                                         ImageCase{"\x7f"
                                                   "EL",
                                                   false, false},
                                         ImageCase{"<html>", false, false},
                                         ImageCase{"mz", false, false},
                                         ImageCase{" #!", false, false}));

TEST(ExecutableImageTest, TheTestChildIsAProgram) {
    EXPECT_TRUE(platform::IsExecutableImage(ReadRawFile(PatchChildPath()).value_or("")));
}

TEST(MakeRunnableTest, MissingFileFails) {
    TempDir dir;
#ifdef _WIN32
    EXPECT_TRUE(platform::MakeRunnable(dir.File("none")));
#else
    EXPECT_FALSE(platform::MakeRunnable(dir.File("none")));
    EXPECT_FALSE(platform::MakeRunnable(dir.Str()));
#endif
}

#ifndef _WIN32
TEST(MakeRunnableTest, AddsExecuteWhereReadIsAllowed) {
    TempDir dir;
    struct Case {
        std::filesystem::perms before;
        std::filesystem::perms after;
    };
    for (const Case c : {Case{std::filesystem::perms(0644), std::filesystem::perms(0755)},
                         Case{std::filesystem::perms(0600), std::filesystem::perms(0700)},
                         Case{std::filesystem::perms(0640), std::filesystem::perms(0750)},
                         Case{std::filesystem::perms(0755), std::filesystem::perms(0755)}}) {
        WriteRawFile(dir.Path() / "p", "#!/bin/sh\n");
        std::filesystem::permissions(dir.Path() / "p", c.before);
        EXPECT_TRUE(platform::MakeRunnable(dir.File("p")));
        EXPECT_EQ(std::filesystem::status(dir.Path() / "p").permissions(), c.after);
    }
}
#endif

} // namespace
} // namespace qvs::test
