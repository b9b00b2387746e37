#include "workers/HttpTransfer.h"

#include <algorithm>
#include <limits>

#include "http/CHttpClient.h"
#include "http/HttpError.h"

namespace qvs {

namespace {

std::int32_t Clamped(std::uint64_t count) {
    constexpr auto max = static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max());
    return static_cast<std::int32_t>(std::min(count, max));
}

} // namespace

std::string FetchOverHttp(const std::string& url, int waitMs, TransferProgress& progress,
                          std::atomic<std::int32_t>& result, const BodySink& sink) {
    result = TransferRunning;
    CHttpClient client(waitMs);
    client.OnPacketRecvd = [&] {
        progress.BytesTotal = Clamped(client.Total());
        progress.BytesReceived = Clamped(client.Received());
    };
    if (sink) {
        client.OnBodyData = [&sink](const char* data, std::size_t size) { sink({data, size}); };
    }
    client.OnSuccess = [&](CHttpClient::Command) { result = TransferSucceeded; };
    client.OnFailure = [&](CHttpClient::Command) { result = TransferFailed; };
    try {
        client.Get(url);
    } catch (...) {
        result = TransferFailed;
        throw;
    }
    if (result != TransferSucceeded) {
        result = TransferFailed;
        throw HttpError(client.FailureReason().empty() ? "no complete reply from " + url
                                                       : client.FailureReason() + ": " + url);
    }
    return client.Body();
}

} // namespace qvs
