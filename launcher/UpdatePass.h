// One update pass, run by the main window's sequence timer after Play Game:
// reachability, a newer launcher, the latest versions, the missing data sets
// and the newest client code, one worker at a time; the counters in qvs.cfg;
// then the hand-over to the failure report or the game launch.
#pragma once

#include "launcher/UpdateRecord.h"
#include "system/UpdateLog.h"

#include <cstdint>
#include <string>

namespace qvs {

class IPrompts;
class IShell;
class INetworkInformationView;
class IUpdateView;
struct ProcessValues;
struct TransferProgress;
struct WorkerOutcome;
class WorkerFrame;

class UpdatePass {
public:
    UpdatePass(ProcessValues& values, IUpdateView& view, INetworkInformationView& network,
               IPrompts& prompts, IShell& shell);

    // The whole pass. It ends in exactly one of: the restart through the
    // patch program, the failure report, the game launch. An error that
    // escapes it has closed the download display first.
    void Run();

private:
    void RunSteps();
    bool Failed() const;
    void CheckReachability();
    // True when a new launcher arrived and the launcher is restarting.
    bool FetchNewLauncher();
    bool DownloadLauncher(bool useServer);
    void Restart();
    void QueryLatestVersions();
    void FetchDataSets();
    // False when a version could not be fetched.
    bool FetchMissingDataSets(bool useServer);
    void FetchClientCode();
    bool RequestClientCode(bool useServer);
    bool RequestEcdFile(bool useServer);
    void CloseDisplay();
    void RecordVersions();
    void HandOver();

    // Each runs one worker; item and host name the request in the log.
    template <typename Query> bool RunQuery(const std::string& item);
    bool Download(WorkerFrame& worker, const TransferProgress& progress, const std::string& item,
                  const std::string& host);
    bool Succeeded(const WorkerOutcome& outcome, const std::string& item, const std::string& host);
    std::string ServerAddress(const std::string& host) const;
    void WriteVersion(const std::string& section, const std::string& key, std::int32_t value);
    std::string WebHostCaps() const;
    std::string ServerHostCaps() const;

    ProcessValues& values_;
    IUpdateView& view_;
    INetworkInformationView& network_;
    IPrompts& prompts_;
    IShell& shell_;
    UpdateRecord record_;
    UpdateLog log_;
    int updateIndex_ = 1;
    int updateCount_ = 0;
};

} // namespace qvs
