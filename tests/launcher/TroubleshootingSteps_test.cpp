#include "launcher/TroubleshootingSteps.h"

#include "platform/FileSystem.h"
#include "support/RawFile.h"
#include "support/RecordingPrompts.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace qvs {
namespace {

namespace fs = std::filesystem;

class TroubleshootingStepsTest : public ::testing::Test {
protected:
    test::TempDir dir;
    test::RecordingPrompts prompts;

    // Files on disk carry the lower-case names the updater writes.
    void Put(const char* name) { test::WriteRawFile(dir.Path() / name, "data"); }
    bool Exists(const char* name) const { return fs::exists(dir.Path() / name); }

    std::string Deleted(const char* name) const {
        return "Successfully deleted " + dir.Str() + name +
               ".  Restart Quorvash and press the 'Play Button' To see if that fixed your problem.";
    }
    std::string Missing(const char* name) const {
        return "Could not delete " + dir.Str() + name + " : the file did not exist";
    }
    std::string InUse(const char* name) const {
        return "Could not delete " + dir.Str() + name + " : the file is currently in use";
    }
};

TEST_F(TroubleshootingStepsTest, ClientCodeStepDeletesCodeAndVersionFile) {
    Put("qvsc.ecd");
    Put("qvsc.dat");
    Put("qvs.dat");
    DeleteClientCodeFiles(dir.Str(), prompts);
    EXPECT_FALSE(Exists("qvsc.ecd"));
    EXPECT_FALSE(Exists("qvsc.dat"));
    EXPECT_TRUE(Exists("qvs.dat"));
    EXPECT_EQ(prompts.messages, std::vector<std::string>{Deleted("QVSC.ecd")});
}

TEST_F(TroubleshootingStepsTest, MissingCodeFileStillDeletesVersionFileSilently) {
    Put("qvsc.dat");
    DeleteClientCodeFiles(dir.Str(), prompts);
    EXPECT_FALSE(Exists("qvsc.dat"));
    EXPECT_EQ(prompts.messages, std::vector<std::string>{Missing("QVSC.ecd")});
}

TEST_F(TroubleshootingStepsTest, MissingVersionFileIsNoError) {
    Put("QVSC.ecd");
    DeleteClientCodeFiles(dir.Str(), prompts);
    EXPECT_FALSE(Exists("QVSC.ecd"));
    EXPECT_EQ(prompts.messages, std::vector<std::string>{Deleted("QVSC.ecd")});
}

TEST_F(TroubleshootingStepsTest, CodeFileThatCannotBeDeletedIsReportedInUse) {
    Put("qvsc.ecd");
    Put("qvsc.dat");
    ASSERT_TRUE(platform::SetAttributes(dir.File("qvsc.ecd"), platform::AttrReadOnly));
    DeleteClientCodeFiles(dir.Str(), prompts);
    EXPECT_TRUE(Exists("qvsc.ecd"));
    EXPECT_FALSE(Exists("qvsc.dat"));
    EXPECT_EQ(prompts.messages, std::vector<std::string>{InUse("QVSC.ecd")});
    platform::SetAttributes(dir.File("qvsc.ecd"), 0);
}

TEST_F(TroubleshootingStepsTest, DirectoryNamedLikeCodeFileCountsAsMissing) {
    fs::create_directory(dir.Path() / "qvsc.ecd");
    DeleteClientCodeFiles(dir.Str(), prompts);
    EXPECT_TRUE(fs::is_directory(dir.Path() / "qvsc.ecd"));
    EXPECT_EQ(prompts.messages, std::vector<std::string>{Missing("QVSC.ecd")});
}

TEST_F(TroubleshootingStepsTest, DataStepDeletesOnlyDataVersionFile) {
    Put("qvs.dat");
    Put("qvsc.dat");
    Put("qvsc.ecd");
    DeleteDataVersionFile(dir.Str(), prompts);
    EXPECT_FALSE(Exists("qvs.dat"));
    EXPECT_TRUE(Exists("qvsc.dat"));
    EXPECT_TRUE(Exists("qvsc.ecd"));
    EXPECT_EQ(prompts.messages, std::vector<std::string>{Deleted("QVS.dat")});
}

TEST_F(TroubleshootingStepsTest, DataStepReportsMissingFile) {
    Put("qvsc.dat");
    DeleteDataVersionFile(dir.Str(), prompts);
    EXPECT_TRUE(Exists("qvsc.dat"));
    EXPECT_EQ(prompts.messages, std::vector<std::string>{Missing("QVS.dat")});
}

TEST_F(TroubleshootingStepsTest, DataStepReportsFileInUse) {
    Put("QVS.DAT");
    ASSERT_TRUE(platform::SetAttributes(dir.File("QVS.DAT"), platform::AttrReadOnly));
    DeleteDataVersionFile(dir.Str(), prompts);
    EXPECT_TRUE(Exists("QVS.DAT"));
    EXPECT_EQ(prompts.messages, std::vector<std::string>{InUse("QVS.dat")});
    platform::SetAttributes(dir.File("QVS.DAT"), 0);
}

} // namespace
} // namespace qvs
