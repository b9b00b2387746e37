#include "workers/CDownloadWebFileThread.h"

#include "platform/AsciiCase.h"
#include "platform/FileSystem.h"
#include "protocol/UpdateRequests.h"
#include "workers/HttpTransfer.h"
#include "workers/SignedTransfer.h"

namespace qvs {

namespace {

// The launcher's name on the update web host and on the update server.
constexpr const char* webLauncherName = "QVS.exe";
constexpr const char* serverLauncherName = "qvs.exe";

} // namespace

CDownloadWebFileThread::CDownloadWebFileThread(WorkerValues& values, std::string fileName,
                                               int waitMs, std::uint16_t port)
    : CFileTransferThread(values, {}, port, waitMs), FileName(std::move(fileName)) {}

// Atomic writes: a failed download keeps the earlier file whole.
void CDownloadWebFileThread::FetchOverWeb() {
    const std::string body =
        FetchOverHttp(Values().WebBaseUrl + webLauncherName, WaitMs(), Progress, TransferResult);
    SignedTransfer::CheckLauncher(Values(), body);
    platform::WriteFileAtomically(TargetPath(), body);
}

void CDownloadWebFileThread::FetchFromServer() {
    // ServerHost is read now: the game server status check may have replaced it.
    const CStream payload = RunUpdateServerConversation(
        Socket, Values().ServerHost, Port(), BuildDownloadWebFileRequest(serverLauncherName),
        MessageType::DownloadWebFile, WaitMs(), &Progress);
    SignedTransfer::CheckLauncher(Values(), payload.View());
    platform::WriteFileAtomically(LauncherPath(), payload.View());
    Socket.Close();
}

std::string CDownloadWebFileThread::LauncherPath() const {
    return Values().InstallDir + platform::UpperAscii(Values().ShortName);
}

std::string CDownloadWebFileThread::TargetPath() const {
    return platform::EqualIgnoringCase(FileName, serverLauncherName) ? LauncherPath() : FileName;
}

} // namespace qvs
