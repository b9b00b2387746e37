// Starting a detached program and waiting for a process to end, with a real
// child.
#include <gtest/gtest.h>

#include <filesystem>

#include "PatchFixture.h"
#include "platform/DetachedProcess.h"

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

} // namespace
} // namespace qvs::test
