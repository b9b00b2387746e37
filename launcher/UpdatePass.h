// One update pass, run by the main window's sequence timer after Play Game:
// reachability, a newer launcher, the latest versions, the missing data sets
// and the newest client code, one worker at a time; the counters in qvs.cfg;
// then the hand-over to the failure report or the game launch.
#pragma once

#include "launcher/UpdateRecord.h"

#include <cstdint>
#include <string>

namespace qvs {

class CFileTransferThread;
class CWorkerThread;
class IPrompts;
class IShell;
class INetworkInformationView;
class IUpdateView;
struct ProcessValues;

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
    void FetchMissingDataSets(bool useServer);
    void FetchClientCode();
    bool RequestClientCode(bool useServer);
    bool RequestEcdFile(bool useServer);
    void CloseDisplay();
    void RecordVersions();
    void HandOver();

    template <typename Query> bool RunQuery();
    void WaitForQuery(CWorkerThread& worker);
    void WaitForDownload(CFileTransferThread& worker);
    void WriteVersion(const std::string& section, const std::string& key, std::int32_t value);
    std::string WebHostCaps() const;
    std::string ServerHostCaps() const;

    ProcessValues& values_;
    IUpdateView& view_;
    INetworkInformationView& network_;
    IPrompts& prompts_;
    IShell& shell_;
    UpdateRecord record_;
    int updateIndex_ = 1;
    int updateCount_ = 0;
};

} // namespace qvs
