#include "workers/CRequestECDFileThread.h"

#include "platform/AtomicFileBatch.h"
#include "protocol/UpdateRequests.h"
#include "system/PackageInstaller.h"
#include "system/ScrambledPackageFile.h"
#include "workers/DownloadFile.h"
#include "workers/HttpTransfer.h"
#include "workers/PackageDownload.h"
#include "workers/ServerFileReply.h"

#include <span>

namespace qvs {

void CRequestECDFileThread::FetchFromServer() {
    const WorkerValues& values = Values();
    Fetch([&](const PieceSink& sink) {
        const std::size_t length = StartUpdateServerReply(
            Socket, Host(), Port(),
            BuildRequestECDFileRequest(values.RequestName, values.RequestVersion),
            MessageType::RequestECDFile, WaitMs(), &Progress);
        ServerFileReply reply(values.RequestName, values.RequestVersion, length, sink);
        ReceivePieces(Socket, length, WaitMs(), &Progress,
                      [&reply](std::string_view piece) { reply.Take(piece); });
        reply.Finish();
        Socket.Close();
    });
}

void CRequestECDFileThread::FetchOverWeb() {
    const WorkerValues& values = Values();
    const std::string url =
        values.WebBaseUrl + values.RequestName + std::to_string(values.RequestVersion) + ".ecd";
    Fetch([&](const PieceSink& sink) {
        FetchOverHttp(url, WaitMs(), Progress, TransferResult, sink);
    });
}

void CRequestECDFileThread::Fetch(const Transfer& transfer) {
    const std::string& name = Values().RequestName;
    if (!name.empty() && name.back() == 'c') {
        FetchClientCode(transfer);
    } else {
        FetchDataPackage(transfer);
    }
}

// The file arrives in the temporary that replaces "qvsc.ecd", whole or not
// at all, once it is checked.
void CRequestECDFileThread::FetchClientCode(const Transfer& transfer) {
    PackageDownload download(Values());
    platform::AtomicFileBatch file;
    file.Add(Values().ClientCodeFile(), [&](const platform::AtomicFileBatch::ContentWriter& write) {
        transfer([&](std::string_view piece) {
            write(std::as_bytes(std::span(piece.data(), piece.size())));
            download.Append(piece);
        });
    });
    download.Verify();
    file.Commit();
}

// Unpacked from the temporary file, only as far as its signed content goes.
void CRequestECDFileThread::FetchDataPackage(const Transfer& transfer) {
    PackageDownload download(Values());
    DownloadFile file(Values().InstallDir);
    transfer([&](std::string_view piece) {
        file.Write(piece);
        download.Append(piece);
    });
    file.Close();
    ScrambledPackageFile package(file.Path(), download.Verify());
    PackageInstaller(directory_, Values().InstallDir).Install(package);
}

} // namespace qvs
