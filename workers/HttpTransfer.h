// A whole file fetched over HTTP by a worker, with the progress the owner
// shows meanwhile.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>

#include "workers/ServerConversation.h"

namespace qvs {

// Values of a worker's TransferResult.
enum TransferState : std::int32_t {
    TransferRunning = 0,
    TransferSucceeded = 1,
    TransferFailed = 2
};

// GETs url and returns the reply body. Progress notifications copy the
// client's counts into progress and show the body so far to observer
// (never a redirect's); completion sets result. Throws when the transfer
// did not succeed, a truncated body included.
std::string FetchOverHttp(const std::string& url, int waitMs, TransferProgress& progress,
                          std::atomic<std::int32_t>& result,
                          const PayloadObserver& observer = nullptr);

} // namespace qvs
