#include "launcher/UpdatePass.h"

#include "launcher/CConfig.h"
#include "launcher/DownloadProgress.h"
#include "launcher/IShell.h"
#include "launcher/IUpdateView.h"
#include "launcher/NetworkAdvice.h"
#include "launcher/ProcessValues.h"
#include "launcher/VersionFile.h"
#include "platform/AsciiCase.h"
#include "platform/Process.h"
#include "platform/ProgramNames.h"
#include "system/IPrompts.h"
#include "system/UpdateLog.h"
#include "workers/CDownloadWebFileThread.h"
#include "workers/CGetCurrentFileVersion.h"
#include "workers/CGetLatestClassVersionThread.h"
#include "workers/CGetLatestVersionThread.h"
#include "workers/CPingThread.h"
#include "workers/CRequestECDFileThread.h"
#include "workers/RunWorker.h"

#include <algorithm>
#include <chrono>
#include <limits>

namespace qvs {

namespace {

constexpr const char* CouldNotDownload = "COULD_NOT_DOWNLOAD";

} // namespace

UpdatePass::UpdatePass(ProcessValues& values, IUpdateView& view, INetworkInformationView& network,
                       IPrompts& prompts, IShell& shell)
    : values_(values), view_(view), network_(network), prompts_(prompts), shell_(shell),
      record_(*values.Config), log_(values.InstallDir(), "qvs") {}

void UpdatePass::Run() {
    try {
        RunSteps();
    } catch (...) {
        // A file that cannot be written (a full disk) ends the pass early;
        // an open display would make Play Game refuse every later click.
        if (view_.IsDownloadShown()) {
            view_.EndUpdateDisplay("Failed to download needed files");
        }
        throw;
    }
}

void UpdatePass::RunSteps() {
    CheckReachability();
    updateIndex_ = 1;
    updateCount_ = 0;
    if (!Failed() && FetchNewLauncher()) {
        return;
    }
    QueryLatestVersions();
    FetchDataSets();
    FetchClientCode();
    CloseDisplay();
    RecordVersions();
    HandOver();
}

bool UpdatePass::Failed() const {
    return values_.Workers.WorkerFailed;
}

void UpdatePass::CheckReachability() {
    if (!RunQuery<CPingThread>("Ping")) {
        values_.UpdateErrorStatus = UpdateError::Ping;
        record_.CountUp("NUM_FAILED_PINGS");
        return;
    }
    CConfig& config = *values_.Config;
    config.WriteValue("AUI", "CAN_PING", "TRUE");
    config.WriteValue("AUI", "NUM_FAILED_PINGS", "0");
    config.WriteValue("OPTIONS", "DISABLE_ERROR_DISPLAY", "FALSE");
    NetworkAdvice(config, network_).AdviseOnAddressDifference(values_.Workers.ObservedAddress);
}

bool UpdatePass::FetchNewLauncher() {
    if (!RunQuery<CGetCurrentFileVersion>("GetCurrentFileVersion") ||
        !values_.Workers.NewLauncherAvailable) {
        return false;
    }
    record_.SetLastDownload(WebHostCaps());
    updateCount_ = 1;
    view_.BeginUpdateDisplay(1, "Downloading latest QVS.exe file", values_.WebHostName);
    view_.ProcessPendingMessages();
    if (!DownloadLauncher(false)) {
        record_.SetLastDownload(ServerHostCaps());
        view_.SetUpdateLine3(values_.ServerHostName);
        if (!DownloadLauncher(true)) {
            record_.SetLastDownload(CouldNotDownload);
            values_.UpdateErrorStatus = UpdateError::LauncherFile;
            record_.CountUp("NUM_FAILED_EXE_DOWNLOADS");
            view_.EndUpdateDisplay("Failed To Download");
            return false;
        }
    }
    view_.EndUpdateDisplay("");
    record_.Succeeded("DOWNLOADED_EXE", "NUM_FAILED_EXE_DOWNLOADS");
    Restart();
    return true;
}

bool UpdatePass::DownloadLauncher(bool useServer) {
    Worker<CDownloadWebFileThread> worker(values_.Workers, "QVS.exe", values_.WorkerWaitMs,
                                          values_.UpdateServerPort);
    worker->UseServer = useServer;
    const std::string host =
        useServer ? ServerAddress(values_.Workers.ServerHost) : values_.Workers.WebBaseUrl;
    return Download(worker.Frame(), worker->Progress, "QVS.exe", host);
}

void UpdatePass::Restart() {
    prompts_.ShowMessage(
        "An Update has completed that requires QVS to be restarted. Press OK to restart Quorvash");
    const std::string processId = std::to_string(platform::CurrentProcessId());
    const std::string& shortName = values_.Workers.ShortName;
    ProgramStart patch;
    patch.program = platform::PatchProgramName;
    patch.parameters = " " + processId + " " + shortName;
    patch.arguments = {processId, shortName};
    patch.workingDirectory = values_.InstallDir();
    patch.hidden = true;
    shell_.StartProgram(patch);
    view_.CloseMainWindow();
}

void UpdatePass::QueryLatestVersions() {
    const std::string& name = values_.Workers.ShortName;
    if (!Failed() && !RunQuery<CGetLatestClassVersionThread>("GetLatestVersion " + name + "c")) {
        values_.UpdateErrorStatus = UpdateError::VersionQuery;
    }
    if (!Failed()) {
        if (RunQuery<CGetLatestVersionThread>("GetLatestVersion " + name)) {
            record_.Succeeded("CAN_DETERMINE_VERSIONS", "NUM_FAILED_VERSION_CONTACT");
        } else {
            values_.UpdateErrorStatus = UpdateError::VersionQuery;
            record_.CountUp("NUM_FAILED_VERSION_CONTACT");
        }
    }
    const WorkerValues& workers = values_.Workers;
    WriteVersion("LATEST_CLIENT_VERSION", "CURRENT_VERSION", workers.LatestDataVersion);
    WriteVersion("LATEST_CLIENT_VERSION", "CURRENT_CLASS_VERSION", workers.LatestClientCodeVersion);
    // In 64 bits: versions a server made up cannot overflow the count.
    const std::int64_t count =
        std::int64_t{workers.LatestDataVersion} - values_.LocalDataVersion +
        (values_.LocalClientCodeVersion < workers.LatestClientCodeVersion ? 1 : 0);
    updateCount_ = static_cast<int>(std::clamp<std::int64_t>(
        count, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

void UpdatePass::FetchDataSets() {
    if (Failed()) {
        return;
    }
    if (updateCount_ > 0) {
        record_.SetLastDownload(WebHostCaps());
        view_.BeginUpdateDisplay(updateCount_, "Downloading latest client artwork, sound, etc",
                                 values_.WebHostName);
        view_.ProcessPendingMessages();
    }
    bool fetched = FetchMissingDataSets(false);
    if (!fetched) {
        record_.SetLastDownload(ServerHostCaps());
        view_.SetUpdateLine3(values_.ServerHostName);
        fetched = FetchMissingDataSets(true);
    }
    if (!fetched) {
        record_.SetLastDownload(CouldNotDownload);
        values_.UpdateErrorStatus = UpdateError::DataFiles;
        record_.CountUp("NUM_FAILED_DOWNLOAD_NEW_FILES");
        view_.EndUpdateDisplay("failed to download file(s)");
    } else {
        record_.Succeeded("CAN_DOWNLOAD_FILES", "NUM_FAILED_DOWNLOAD_NEW_FILES");
    }
}

// Each version by itself, lowest first; qvs.dat is rewritten after every
// success, so a pass that stops part-way resumes at the first missing one.
bool UpdatePass::FetchMissingDataSets(bool useServer) {
    WorkerValues& workers = values_.Workers;
    while (values_.LocalDataVersion < workers.LatestDataVersion) {
        ++values_.LocalDataVersion;
        workers.RequestName = workers.ShortName;
        workers.RequestVersion = values_.LocalDataVersion;
        view_.SetCurrentUpdate(updateIndex_);
        if (!RequestEcdFile(useServer)) {
            --values_.LocalDataVersion;
            return false;
        }
        ++updateIndex_;
        WriteVersionFile(values_.DataVersionFile(), values_.LocalDataVersion);
    }
    return true;
}

void UpdatePass::FetchClientCode() {
    WorkerValues& workers = values_.Workers;
    if (Failed() || values_.LocalClientCodeVersion >= workers.LatestClientCodeVersion) {
        return;
    }
    record_.SetLastDownload(WebHostCaps());
    view_.SetUpdateLine2("Downloading latest client code");
    bool fetched = RequestClientCode(false);
    if (!fetched) {
        record_.SetLastDownload(ServerHostCaps());
        fetched = RequestClientCode(true);
    }
    if (!fetched) {
        record_.SetLastDownload(CouldNotDownload);
        values_.UpdateErrorStatus = UpdateError::ClientCode;
        record_.CountUp("NUM_FAILED_CLIENT_DOWNLOAD");
        return;
    }
    ++updateIndex_;
    values_.LocalClientCodeVersion = workers.LatestClientCodeVersion;
    WriteVersionFile(values_.ClientCodeVersionFile(), values_.LocalClientCodeVersion);
    record_.Succeeded("CAN_DOWNLOAD_CLIENT_CODE", "NUM_FAILED_CLIENT_DOWNLOAD");
}

bool UpdatePass::RequestClientCode(bool useServer) {
    WorkerValues& workers = values_.Workers;
    workers.RequestName = workers.ShortName + "c";
    workers.RequestVersion = workers.LatestClientCodeVersion;
    view_.SetCurrentUpdate(updateIndex_);
    return RequestEcdFile(useServer);
}

bool UpdatePass::RequestEcdFile(bool useServer) {
    const WorkerValues& workers = values_.Workers;
    Worker<CRequestECDFileThread> worker(values_.Workers, values_.UpdateServerHost,
                                         values_.UpdateServerPort, values_.WorkerWaitMs);
    worker->UseServer = useServer;
    const std::string item = workers.RequestName + std::to_string(workers.RequestVersion) + ".ecd";
    const std::string host =
        useServer ? ServerAddress(values_.UpdateServerHost) : workers.WebBaseUrl;
    return Download(worker.Frame(), worker->Progress, item, host);
}

void UpdatePass::CloseDisplay() {
    if (!view_.IsDownloadShown()) {
        return;
    }
    view_.ProcessPendingMessages();
    if (Failed()) {
        view_.EndUpdateDisplay("Failed to download needed files");
        return;
    }
    view_.EndUpdateDisplay("");
    if (prompts_.AskYesNo("Would you like to view the latest update news?")) {
        view_.ShowUpdateNews(values_.Workers.WebBaseUrl + "update_news.html");
        view_.ProcessPendingMessages();
    }
}

void UpdatePass::RecordVersions() {
    WriteVersion("CLIENT_VERSION", "CURRENT_VERSION", values_.LocalDataVersion);
    WriteVersion("CLIENT_VERSION", "CURRENT_CLASS_VERSION", values_.LocalClientCodeVersion);
}

void UpdatePass::HandOver() {
    CConfig& config = *values_.Config;
    const std::string errorDisplayOff =
        config.ReadValue("OPTIONS", "DISABLE_ERROR_DISPLAY", "FALSE");
    if (values_.UpdateErrorStatus != UpdateError::None && errorDisplayOff != "TRUE") {
        view_.ReportUpdateFailure();
        return;
    }
    config.WriteValue("ERROR", "LAST_ERROR_STATUS", "esNoError");
    view_.LaunchGame();
}

// A query blocks the window: no messages are handled while it runs.
template <typename Query> bool UpdatePass::RunQuery(const std::string& item) {
    Worker<Query> worker(values_.Workers, values_.UpdateServerHost, values_.UpdateServerPort,
                         values_.WorkerWaitMs);
    return Succeeded(RunWorker(worker, WaitPolicy::Block()), item,
                     ServerAddress(values_.UpdateServerHost));
}

// Downloads keep the window live: the bar moves, timers and buttons work.
bool UpdatePass::Download(WorkerFrame& worker, const TransferProgress& progress,
                          const std::string& item, const std::string& host) {
    const auto pump = [this] { view_.ProcessPendingMessages(); };
    const auto show = [this](std::int32_t received, std::int32_t total) {
        const DownloadProgress shown = DownloadProgress::Of(received, total);
        view_.ShowProgress(shown.barWidth, shown.percent);
    };
    return Succeeded(RunWorker(worker, WaitPolicy::PumpAndShowProgress(pump, progress, show)), item,
                     host);
}

// One line in "Log/update.log" for each failed request, so support can see
// what went wrong and where; the player sees only the usual windows.
bool UpdatePass::Succeeded(const WorkerOutcome& outcome, const std::string& item,
                           const std::string& host) {
    if (outcome.failed) {
        log_.Append(item + " from " + host + ": " + KindName(outcome.failure.kind) + ": " +
                    outcome.failure.reason);
    }
    return !outcome.failed;
}

std::string UpdatePass::ServerAddress(const std::string& host) const {
    return host + ":" + std::to_string(values_.UpdateServerPort);
}

void UpdatePass::WriteVersion(const std::string& section, const std::string& key,
                              std::int32_t value) {
    values_.Config->WriteValue(section, key, std::to_string(value));
}

std::string UpdatePass::WebHostCaps() const {
    return platform::UpperAscii(values_.WebHostName);
}

std::string UpdatePass::ServerHostCaps() const {
    return platform::UpperAscii(values_.ServerHostName);
}

} // namespace qvs
