#include "launcher/UpdateFailureReport.h"

#include "launcher/CConfig.h"
#include "launcher/IShell.h"
#include "launcher/IUpdaterErrorView.h"
#include "launcher/ProcessValues.h"
#include "launcher/UpdateRecord.h"

namespace qvs {

namespace {

using Lines = std::vector<std::string>;

constexpr const char* Firewall =
    "You or your network administrator may have made recent modificatons to your firewall or router configurations that prevents communication with the Automatic Update Server.";
constexpr const char* Manually =
    "If this continues to happen it may be necessry to download the game patches manually.";

Lines PingFailure(bool couldPing, const std::string& count) {
    const std::string failed =
        "You have now failed to ping the Automatic Update Server " + count + " times.";
    if (!couldPing) {
        return {
            failed,
            "The Automatic Update Server may not be running.  If this continues to happen it may be necessary to download the patches manually."};
    }
    return {
        "At one time you were able to ping the Automatic Update Server.", failed,
        "The Automatic Update Server may not be running or you or your network administrator may have made recent modificatons to your firewall or router configurations that prevents communication with the Automatic Update Server.",
        Manually};
}

Lines VersionFailure(bool couldDetermine, const std::string& count) {
    const std::string failed =
        "Your machine has now failed to determine if it has the correct version " + count +
        " times.";
    if (!couldDetermine) {
        return {failed, Manually};
    }
    return {
        "At one time your machine was able to determine if you have the current version necessary to play Quorvash.",
        failed, Firewall, Manually};
}

Lines LauncherFailure(const std::string& count) {
    return {
        "It has been determined that a critical update is needed to continue running quorvash properly.",
        "Your QVS.exe file is out of date.  Please download the patch manually since your machine was unable to receive the update.",
        "You have failed to download the new QVS.exe " + count + " times."};
}

// Data sets and client code share everything but the first line.
Lines DownloadFailure(const char* firstLine, bool couldDownload, const std::string& count) {
    const std::string failed = "You machine has failed to download these files " + count + " times";
    if (!couldDownload) {
        return {firstLine, failed, Manually};
    }
    return {firstLine, failed, "At one time your machine was able to download these files.",
            Firewall, Manually};
}

} // namespace

UpdateFailureReport::UpdateFailureReport(ProcessValues& values, IUpdaterErrorView& view,
                                         IShell& shell)
    : values_(values), view_(view), shell_(shell) {}

void UpdateFailureReport::Report() {
    CConfig& config = *values_.Config;
    const UpdateRecord record(config);
    const Lines lines = Explanation(values_.UpdateErrorStatus, record);
    config.WriteValue("ERROR", "LAST_ERROR_STATUS", ErrorStatusText(values_.UpdateErrorStatus));
    if (view_.ShowUpdaterError(lines)) {
        view_.PlayClickSound();
        shell_.OpenUrl(values_.Workers.WebBaseUrl + "patch.exe");
        view_.CloseMainWindow();
        return;
    }
    view_.LaunchGame();
}

std::string UpdateFailureReport::ErrorStatusText(UpdateError status) {
    using enum UpdateError;
    switch (status) {
    case Ping:
        return "esCouldNotPingAutoUpdateServer";
    case VersionQuery:
        return "esCouldNotContactAutoUpdater";
    case LauncherFile:
        return "esCouldNotDownloadNewExe";
    case DataFiles:
        return "esCouldNotDownloadNewFiles";
    case ClientCode:
        return "esCouldNotDownloadNewClientCode";
    case None:
        break;
    }
    return "";
}

Lines UpdateFailureReport::Explanation(UpdateError status, const UpdateRecord& record) {
    using enum UpdateError;
    auto count = [&record](const char* key) { return std::to_string(record.FailureCount(key)); };
    switch (status) {
    case Ping:
        return PingFailure(record.IsFlagSet("CAN_PING"), count("NUM_FAILED_PINGS"));
    case VersionQuery:
        return VersionFailure(record.IsFlagSet("CAN_DETERMINE_VERSIONS"),
                              count("NUM_FAILED_VERSION_CONTACT"));
    case LauncherFile:
        return LauncherFailure(count("NUM_FAILED_EXE_DOWNLOADS"));
    case DataFiles:
        return DownloadFailure(
            "It has been determined that you are missing some art and//or sound files.",
            record.IsFlagSet("CAN_DOWNLOAD_FILES"), count("NUM_FAILED_DOWNLOAD_NEW_FILES"));
    case ClientCode:
        return DownloadFailure(
            "It has been determined that you do not have the latest client code available.",
            record.IsFlagSet("CAN_DOWNLOAD_CLIENT_CODE"), count("NUM_FAILED_CLIENT_DOWNLOAD"));
    case None:
        break;
    }
    return {};
}

void UpdateFailureReport::DisableErrorDisplay(CConfig& config, bool disabled) {
    config.WriteValue("OPTIONS", "DISABLE_ERROR_DISPLAY", disabled ? "TRUE" : "FALSE");
}

} // namespace qvs
