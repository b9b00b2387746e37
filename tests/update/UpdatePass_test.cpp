// The update pass from end to end against the real qvs-server on loopback:
// what it fetched, the version files and qvs.cfg afterwards, and the calls
// the main window received.
#include "platform/FileSystem.h"
#include "platform/Process.h"
#include "support/ScriptedServer.h"
#include "support/WireBytes.h"
#include "update/UpdateFixture.h"

#include <gmock/gmock.h>

namespace qvs::test {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::MatchesRegex;
using ::testing::Not;

using UpdatePassTest = UpdateFixture;

// A good ping also switches the error display back on; what the observed
// address advises is NetworkAdvice_test's.
TEST_F(UpdatePassTest, EverythingCurrentLaunchesWithoutDisplayOrQuestion) {
    Install(5, 2);
    ServeDataVersions(1, 5);
    ServeClientCode(2);
    Start();
    values.Config->WriteValue("AUI", "NUM_FAILED_PINGS", "3");
    values.Config->WriteValue("OPTIONS", "DISABLE_ERROR_DISPLAY", "TRUE");
    RunPass();

    EXPECT_THAT(view.log, ElementsAre("launch"));
    EXPECT_TRUE(prompts.questions.empty());
    EXPECT_TRUE(shell.programs.empty()); // the served launcher is the running one
    EXPECT_EQ(Cfg("ERROR", "LAST_ERROR_STATUS"), "esNoError");
    EXPECT_EQ(Cfg("AUI", "CAN_PING"), "TRUE");
    EXPECT_EQ(Cfg("AUI", "NUM_FAILED_PINGS"), "0");
    EXPECT_EQ(Cfg("AUI", "CAN_DETERMINE_VERSIONS"), "TRUE");
    EXPECT_EQ(Cfg("AUI", "CAN_DOWNLOAD_FILES"), "TRUE");
    EXPECT_EQ(Cfg("AUI", "CAN_DOWNLOAD_CLIENT_CODE"), "<none>");
    EXPECT_EQ(Cfg("AUI", "LAST_DOWNLOAD"), "<none>");
    EXPECT_EQ(Cfg("LATEST_CLIENT_VERSION", "CURRENT_VERSION"), "5");
    EXPECT_EQ(Cfg("LATEST_CLIENT_VERSION", "CURRENT_CLASS_VERSION"), "2");
    EXPECT_EQ(Cfg("CLIENT_VERSION", "CURRENT_VERSION"), "5");
    EXPECT_EQ(Cfg("CLIENT_VERSION", "CURRENT_CLASS_VERSION"), "2");
    EXPECT_EQ(Cfg("OPTIONS", "DISABLE_ERROR_DISPLAY"), "FALSE");
    EXPECT_EQ(values.Workers.ObservedAddress, "127.0.0.1");
}

TEST_F(UpdatePassTest, MissingDataSetsAreFetchedOneByOneThenTheNewsIsOffered) {
    Install(3, 2);
    ServeDataVersions(1, 5);
    ServeClientCode(2);
    Start();
    prompts.answers = {true};
    RunPass();

    const std::string begin =
        std::string("begin 2 Downloading latest client artwork, sound, etc | ") + WebHostName;
    EXPECT_THAT(view.log,
                ElementsAre(begin, "current 1", "current 2", "end ",
                            "news " + values.Workers.WebBaseUrl + "update_news.html", "launch"));
    // qvs.dat is rewritten after each file: 3 before the first, 4 before the second.
    EXPECT_THAT(view.installedAtStep, ElementsAre(3, 4));
    EXPECT_EQ(view.InstalledDataVersion(), 5);
    EXPECT_EQ(Installed("data4.txt"), "data 4");
    EXPECT_EQ(Installed("data5.txt"), "data 5");
    EXPECT_EQ(Installed("data3.txt"), "<missing>");
    EXPECT_THAT(prompts.questions, ElementsAre("Would you like to view the latest update news?"));
    EXPECT_EQ(Cfg("AUI", "LAST_DOWNLOAD"), WebHostCaps);
    EXPECT_EQ(Cfg("CLIENT_VERSION", "CURRENT_VERSION"), "5");
}

// qvs.dat cannot be rewritten (read-only, as on a full disk it cannot be
// written): the error leaves the pass, but not before the display closed.
TEST_F(UpdatePassTest, ErrorDuringTheDownloadsClosesTheDisplayFirst) {
    Install(3, 2);
    ServeDataVersions(1, 5);
    Start();
    std::filesystem::permissions(install.File("qvs.dat"), std::filesystem::perms::owner_read);
    EXPECT_THROW(RunPass(), platform::FileCreateError);
    EXPECT_FALSE(view.IsDownloadShown());
    ASSERT_FALSE(view.log.empty());
    EXPECT_EQ(view.log.back(), "end Failed to download needed files");
}

TEST_F(UpdatePassTest, DataFileMissingEverywhereFailsWithStatusFour) {
    Install(3, 1);
    ServeDataVersions(1, 3);
    ServeDataVersions(5, 5); // version 4 is announced by 5 but served by no one
    ServeClientCode(2);
    Start();
    values.Config->WriteValue("AUI", "NUM_FAILED_DOWNLOAD_NEW_FILES", "2");
    RunPass();

    EXPECT_THAT(view.log, Contains("end failed to download file(s)"));
    EXPECT_THAT(view.log, Not(Contains("line2 Downloading latest client code")));
    EXPECT_EQ(view.log.back(), "report");
    EXPECT_EQ(view.InstalledDataVersion(), 3);
    EXPECT_EQ(values.UpdateErrorStatus, UpdateError::DataFiles);
    EXPECT_EQ(Cfg("AUI", "LAST_DOWNLOAD"), "COULD_NOT_DOWNLOAD");
    EXPECT_EQ(Cfg("AUI", "NUM_FAILED_DOWNLOAD_NEW_FILES"), "3");
    EXPECT_EQ(Cfg("CLIENT_VERSION", "CURRENT_VERSION"), "3");
    EXPECT_EQ(Cfg("CLIENT_VERSION", "CURRENT_CLASS_VERSION"), "1");
    EXPECT_EQ(Installed("qvsc.ecd"), "<missing>");
    EXPECT_TRUE(prompts.questions.empty());
    // One line per failed attempt, each naming the file, where from and why.
    const std::string log = Installed("Log/update.log");
    EXPECT_THAT(log, MatchesRegex("(.* UTC qvs: qvs4\\.ecd from [^ ]+: [a-z]+: [^\n]+\n){2}"));
    EXPECT_THAT(log, HasSubstr("qvs4.ecd from " + values.Workers.WebBaseUrl + ": http: "));
    EXPECT_THAT(log, HasSubstr("qvs4.ecd from " + values.UpdateServerHost + ":"));
}

TEST_F(UpdatePassTest, ClientCodeBehindWithZeroCountIsFetchedWithTheDisplayClosed) {
    Install(5, 1);
    ServeDataVersions(1, 4);
    ServeClientCode(1);
    ServeClientCode(2);
    Start();
    RunPass();

    EXPECT_THAT(view.log,
                ElementsAre("line2 Downloading latest client code", "current 1", "launch"));
    EXPECT_TRUE(prompts.questions.empty());
    EXPECT_EQ(Installed("qvsc.ecd"), ScrambledPackage("MainClass\\", "StartUp.class", "client 2"));
    EXPECT_EQ(Installed("qvsc.dat"), Le32(2));
    EXPECT_EQ(Cfg("AUI", "CAN_DOWNLOAD_CLIENT_CODE"), "TRUE");
    EXPECT_EQ(Cfg("AUI", "NUM_FAILED_CLIENT_DOWNLOAD"), "0");
    EXPECT_EQ(Cfg("CLIENT_VERSION", "CURRENT_CLASS_VERSION"), "2");
}

// Nothing listening, an update server that answers the ping with another
// request's reply (a newer launcher's version), one that stalls: the ping
// failed, so nothing else, not even a launcher, is asked for. Each failure
// is counted, the versions are still recorded, and the error display
// setting decides the hand-over.
TEST_F(UpdatePassTest, UnreachableServerCountsThePingFailureAndStillRecordsTheVersions) {
    Install(4, 2);
    Start(false);
    values.WorkerWaitMs = 300;
    const struct {
        ScriptedServer::Script script; // none: nothing listens
        const char* errorDisplayOff;
        const char* lastErrorStatus;
        const char* handOver;
    } cases[] = {
        {{}, "FALSE", "<none>", "report"},
        {{ScriptedServer::Hold()}, "true", "<none>", "report"}, // only in capitals
        {{ScriptedServer::Receive(8),
          ScriptedServer::Send(Le32(3) + Le32(16) + Le32(1) + Le32(0) + Le32(0) + Le32(9))},
         "TRUE",
         "esNoError",
         "launch"},
    };
    for (const auto& c : cases) {
        const int failures = static_cast<int>(&c - cases) + 1;
        SCOPED_TRACE(failures);
        std::optional<ScriptedServer> scripted;
        if (!c.script.empty()) {
            values.UpdateServerPort = scripted.emplace(c.script).Port();
        }
        values.Config->WriteValue("OPTIONS", "DISABLE_ERROR_DISPLAY", c.errorDisplayOff);
        values.UpdateErrorStatus = UpdateError::None; // as at each start
        view.log.clear();
        RunPass();

        EXPECT_THAT(view.log, ElementsAre(c.handOver));
        EXPECT_EQ(values.UpdateErrorStatus, UpdateError::Ping);
        EXPECT_EQ(Cfg("AUI", "NUM_FAILED_PINGS"), std::to_string(failures));
        EXPECT_EQ(Cfg("AUI", "CAN_PING"), "<none>");
        EXPECT_EQ(Cfg("LATEST_CLIENT_VERSION", "CURRENT_VERSION"), "0");
        EXPECT_EQ(Cfg("CLIENT_VERSION", "CURRENT_VERSION"), "4");
        EXPECT_EQ(Cfg("CLIENT_VERSION", "CURRENT_CLASS_VERSION"), "2");
        EXPECT_EQ(Cfg("ERROR", "LAST_ERROR_STATUS"), c.lastErrorStatus);
        EXPECT_TRUE(network.shown.empty());
    }
}

TEST_F(UpdatePassTest, NewLauncherIsFetchedAndThePatchProgramRestartsIt) {
    Install(1, 1);
    ServeDataVersions(1, 2);
    ServeClientCode(1);
    server.Serve("QVS.exe", Launcher(7));
    Start();
    RunPass();

    EXPECT_EQ(Installed("QVS"), Launcher(7));
    EXPECT_EQ(Installed("qvs.exe"), Launcher(1));
    EXPECT_THAT(view.log,
                ElementsAre(std::string("begin 1 Downloading latest QVS.exe file | ") + WebHostName,
                            "end ", "close"));
    EXPECT_THAT(prompts.messages,
                ElementsAre("An Update has completed that requires QVS to be restarted. Press OK "
                            "to restart Quorvash"));
    ASSERT_EQ(shell.programs.size(), 1u);
    const ProgramStart& patch = shell.programs[0];
    const std::string pid = std::to_string(platform::CurrentProcessId());
    EXPECT_EQ(patch.program, "UpdateQvsPatch");
    EXPECT_EQ(patch.parameters, " " + pid + " qvs");
    EXPECT_THAT(patch.arguments, ElementsAre(pid, "qvs"));
    EXPECT_EQ(patch.workingDirectory, install.Str());
    EXPECT_EQ(Cfg("AUI", "DOWNLOADED_EXE"), "TRUE");
    EXPECT_EQ(Cfg("AUI", "NUM_FAILED_EXE_DOWNLOADS"), "0");
    EXPECT_EQ(Cfg("AUI", "LAST_DOWNLOAD"), WebHostCaps);
    // Nothing after the restart: no version query, no data set, no hand-over.
    EXPECT_EQ(Cfg("LATEST_CLIENT_VERSION", "CURRENT_VERSION"), "<none>");
    EXPECT_EQ(Installed("data2.txt"), "<missing>");
}

} // namespace
} // namespace qvs::test
