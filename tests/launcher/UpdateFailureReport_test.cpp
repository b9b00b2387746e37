#include "launcher/UpdateFailureReport.h"

#include "launcher/CConfig.h"
#include "launcher/IUpdaterErrorView.h"
#include "launcher/ProcessValues.h"
#include "launcher/UpdateRecord.h"
#include "support/RawFile.h"
#include "support/RecordingShell.h"
#include "support/TempDir.h"

#include <gmock/gmock.h>

namespace qvs::test {
namespace {

using ::testing::ElementsAre;
using Lines = std::vector<std::string>;

class RecordingErrorView : public IUpdaterErrorView {
public:
    bool ShowUpdaterError(const Lines& shownLines) override {
        lines = shownLines;
        log.push_back("window");
        return answerOk;
    }
    void PlayClickSound() override { log.push_back("sound"); }
    void CloseMainWindow() override { log.push_back("close"); }
    void LaunchGame() override { log.push_back("launch"); }

    bool answerOk = false;
    Lines lines;
    std::vector<std::string> log;
};

// The lines follow the failed step, its "once worked" flag (any letter case)
// and its failure counter; the step is recorded by name. Cancel or the close
// box plays anyway; OK opens the manual patch instead.
TEST(UpdateFailureReportTest, ExplanationAndAnswers) {
    const std::string firewall =
        "You or your network administrator may have made recent modificatons to your firewall or router configurations that prevents communication with the Automatic Update Server.";
    const std::string manually =
        "If this continues to happen it may be necessry to download the game patches manually.";
    const std::string onceDownloaded = "At one time your machine was able to download these files.";
    const std::string clientCode =
        "It has been determined that you do not have the latest client code available.";
    const std::tuple<UpdateError, std::string, std::string, Lines> cases[] = {
        {UpdateError::Ping,
         "esCouldNotPingAutoUpdateServer",
         "CAN_PING=true\r\nNUM_FAILED_PINGS=3",
         {"At one time you were able to ping the Automatic Update Server.",
          "You have now failed to ping the Automatic Update Server 3 times.",
          "The Automatic Update Server may not be running or you or your network administrator may have made recent modificatons to your firewall or router configurations that prevents communication with the Automatic Update Server.",
          manually}},
        {UpdateError::Ping,
         "esCouldNotPingAutoUpdateServer",
         "NUM_FAILED_PINGS=2",
         {"You have now failed to ping the Automatic Update Server 2 times.",
          "The Automatic Update Server may not be running.  If this continues to happen it may be necessary to download the patches manually."}},
        {UpdateError::VersionQuery,
         "esCouldNotContactAutoUpdater",
         "CAN_DETERMINE_VERSIONS=TRUE\r\nNUM_FAILED_VERSION_CONTACT=abc",
         {"At one time your machine was able to determine if you have the current version necessary to play Quorvash.",
          "Your machine has now failed to determine if it has the correct version 1 times.",
          firewall, manually}},
        {UpdateError::VersionQuery,
         "esCouldNotContactAutoUpdater",
         "CAN_DETERMINE_VERSIONS=FALSE\r\nNUM_FAILED_VERSION_CONTACT=12",
         {"Your machine has now failed to determine if it has the correct version 12 times.",
          manually}},
        {UpdateError::LauncherFile,
         "esCouldNotDownloadNewExe",
         "CAN_PING=TRUE\r\nCAN_DOWNLOAD_FILES=TRUE\r\nNUM_FAILED_EXE_DOWNLOADS=4",
         {"It has been determined that a critical update is needed to continue running quorvash properly.",
          "Your QVS.exe file is out of date.  Please download the patch manually since your machine was unable to receive the update.",
          "You have failed to download the new QVS.exe 4 times."}},
        {UpdateError::DataFiles,
         "esCouldNotDownloadNewFiles",
         "CAN_DOWNLOAD_FILES=TRUE\r\nNUM_FAILED_DOWNLOAD_NEW_FILES=5",
         {"It has been determined that you are missing some art and//or sound files.",
          "You machine has failed to download these files 5 times", onceDownloaded, firewall,
          manually}},
        {UpdateError::ClientCode,
         "esCouldNotDownloadNewClientCode",
         "CAN_DOWNLOAD_CLIENT_CODE=True\r\nNUM_FAILED_CLIENT_DOWNLOAD=1",
         {clientCode, "You machine has failed to download these files 1 times", onceDownloaded,
          firewall, manually}},
        {UpdateError::ClientCode,
         "esCouldNotDownloadNewClientCode",
         "CAN_DOWNLOAD_FILES=TRUE",
         {clientCode, "You machine has failed to download these files 0 times", manually}}};
    TempDir dir;
    ProcessValues values(dir.Str());
    values.Config = std::make_unique<CConfig>(dir.File("qvs.cfg"));
    values.Workers.WebBaseUrl = "http://updates.quorvash.test/updates/";
    RecordingErrorView view;
    RecordingShell shell;
    for (const auto& [status, statusText, stored, lines] : cases) {
        WriteRawFile(values.Config->Path(), "[AUI]\r\n" + stored + "\r\n");
        values.UpdateErrorStatus = status;
        view.log.clear();
        UpdateFailureReport(values, view, shell).Report();
        EXPECT_EQ(view.lines, lines) << stored;
        EXPECT_THAT(view.log, ElementsAre("window", "launch"));
        EXPECT_EQ(values.Config->ReadValue("ERROR", "LAST_ERROR_STATUS", ""), statusText);
    }
    view.answerOk = true;
    view.log.clear();
    UpdateFailureReport(values, view, shell).Report();
    EXPECT_THAT(view.log, ElementsAre("window", "sound", "close"));
    EXPECT_THAT(shell.urls, ElementsAre("http://updates.quorvash.test/updates/patch.exe"));
}

TEST(UpdateRecordCounter, CountsUpFromWhatIsStored) {
    TempDir dir;
    CConfig config(dir.File("qvs.cfg"));
    UpdateRecord record(config);
    const std::pair<const char*, const char*> cases[] = {
        {"", "1"},    {"41", "42"},         {"abc", "1"},
        {"7x", "1"},  {"-3", "-2"},         {"+4", "5"},
        {"+-4", "1"}, {"99999999999", "1"}, {"2147483647", "2147483647"}};
    for (const auto& [stored, after] : cases) {
        config.WriteValue("AUI", "NUM_FAILED_PINGS", stored);
        record.CountUp("NUM_FAILED_PINGS");
        EXPECT_EQ(config.ReadValue("AUI", "NUM_FAILED_PINGS", ""), after) << '"' << stored << '"';
    }
}

} // namespace
} // namespace qvs::test
