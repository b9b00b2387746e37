#include "workers/CRequestECDFileThread.h"

#include <optional>

#include "platform/FileSystem.h"
#include "protocol/UpdateReplies.h"
#include "protocol/UpdateRequests.h"
#include "system/PackageInstaller.h"
#include "workers/HttpTransfer.h"
#include "workers/SignedTransfer.h"

namespace qvs {

void CRequestECDFileThread::FetchFromServer() {
    const auto digest = SignedTransfer::StartDigest(Values());
    std::optional<std::size_t> fileStart;
    PayloadObserver offer;
    if (digest) {
        offer = [&](std::string_view received) {
            fileStart = fileStart ? fileStart : ECDFileReplyFileStart(received);
            if (fileStart) {
                digest->Offer(received.substr(*fileStart));
            }
        };
    }
    CStream payload = RunUpdateServerConversation(
        Socket, Host(), Port(),
        BuildRequestECDFileRequest(Values().RequestName, Values().RequestVersion),
        MessageType::RequestECDFile, WaitMs(), &Progress, offer);
    ECDFileReply reply = ParseRequestECDFileReply(payload);
    payload.Clear(); // the file is held once while it is written or unpacked
    Socket.Close();
    SignedTransfer::CheckPackage(Values(), reply.file.View(), digest.get());
    if (reply.fileName.find(Values().ShortName + "c") != std::string::npos) {
        StoreClientCode(reply.file);
    } else {
        Unpack(reply.file);
    }
}

void CRequestECDFileThread::FetchOverWeb() {
    const WorkerValues& values = Values();
    const std::string url =
        values.WebBaseUrl + values.RequestName + std::to_string(values.RequestVersion) + ".ecd";
    const auto digest = SignedTransfer::StartDigest(values);
    CStream file;
    if (digest) {
        // Kept by the digest and hashed in place while it arrives.
        FetchOverHttp(url, WaitMs(), Progress, TransferResult,
                      [&digest](std::string_view piece) { digest->Append(piece); });
        digest->CopyTo(file);
    } else {
        const std::string body = FetchOverHttp(url, WaitMs(), Progress, TransferResult);
        file.Write(body.data(), body.size());
    }
    SignedTransfer::CheckPackage(values, file.View(), digest.get());
    file.SetPosition(0);
    if (!values.RequestName.empty() && values.RequestName.back() == 'c') {
        StoreClientCode(file);
    } else {
        Unpack(file);
    }
}

// Written whole or not at all, so a failure keeps the earlier client code.
void CRequestECDFileThread::StoreClientCode(const CStream& file) const {
    platform::WriteFileAtomically(Values().ClientCodeFile(), file.View());
}

void CRequestECDFileThread::Unpack(CStream& file) {
    file.Decode();
    PackageInstaller(directory_, Values().InstallDir).Install(file);
}

} // namespace qvs
