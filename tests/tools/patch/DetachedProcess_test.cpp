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
    // A missing program or working directory is reported, and nothing runs.
    EXPECT_FALSE(platform::StartDetached(dir.File("no-such-program"), {}, dir.Str()));
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
    // Once ended, it stays ended; the id of no process counts as ended.
    EXPECT_TRUE(platform::WaitForProcessEnd(*id, 0ms));
    EXPECT_TRUE(platform::WaitForProcessEnd(0x7ffffff0u, 0ms));
}

TEST(ExecutableImageTest, RecognisesProgramsOfThisPlatformOnly) {
    // 1: a POSIX program, 2: a Windows one, 0: neither.
    const std::pair<std::string, int> cases[] = {
        {"\177ELF\2\1", 1}, {"#!/bin/sh\n", 1}, {"MZ\220", 2}, {"", 0},
        {"\177EL", 0},      {"<html>", 0},      {"mz", 0},     {" #!", 0}};
#ifdef _WIN32
    const int here = 2;
#else
    const int here = 1;
#endif
    for (const auto& [bytes, kind] : cases) {
        EXPECT_EQ(platform::IsExecutableImage(bytes), kind == here) << bytes;
    }
    EXPECT_TRUE(platform::IsExecutableImage(ReadRawFile(PatchChildPath()).value_or("")));
}

TEST(MakeRunnableTest, AddsExecuteWhereReadIsAllowed) {
    TempDir dir;
#ifdef _WIN32
    EXPECT_TRUE(platform::MakeRunnable(dir.File("none")));
#else
    EXPECT_FALSE(platform::MakeRunnable(dir.File("none")));
    EXPECT_FALSE(platform::MakeRunnable(dir.Str()));
    for (const auto& [before, after] : {std::pair{0644, 0755}, std::pair{0600, 0700},
                                        std::pair{0640, 0750}, std::pair{0755, 0755}}) {
        WriteRawFile(dir.Path() / "p", "#!/bin/sh\n");
        std::filesystem::permissions(dir.Path() / "p", std::filesystem::perms(before));
        EXPECT_TRUE(platform::MakeRunnable(dir.File("p")));
        EXPECT_EQ(std::filesystem::status(dir.Path() / "p").permissions(),
                  std::filesystem::perms(after));
    }
#endif
}

} // namespace
} // namespace qvs::test
