// A whole file fetched over HTTP by a worker, with the progress the owner
// shows meanwhile.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "workers/ServerConversation.h"

namespace qvs {

// Values of a worker's TransferResult.
enum TransferState : std::int32_t {
    TransferRunning = 0,
    TransferSucceeded = 1,
    TransferFailed = 2
};

// Takes the body's pieces as they arrive, in place of keeping them.
using BodySink = std::function<void(std::string_view piece)>;

// GETs url and returns the reply body, or hands it to sink (never a
// redirect's) and returns nothing. Progress notifications copy the client's
// counts into progress; completion sets result. Throws when the transfer did
// not succeed, a truncated body included.
std::string FetchOverHttp(const std::string& url, int waitMs, TransferProgress& progress,
                          std::atomic<std::int32_t>& result, const BodySink& sink = nullptr);

} // namespace qvs
