// The SHA-256 of a file's content, taken on a thread of its own while the
// file still arrives, so that checking its signature adds next to nothing to
// a fast transfer. The trailer's length is known only once the file is
// whole, so the last UpdateTrailer::MaxSize bytes seen are always held back.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "signing/Sha256.h"

namespace qvs {

class ArrivingDigest {
public:
    ArrivingDigest();
    ~ArrivingDigest();
    ArrivingDigest(const ArrivingDigest&) = delete;
    ArrivingDigest& operator=(const ArrivingDigest&) = delete;

    // received: the whole file so far; it only grows between calls.
    void Offer(std::string_view received);
    // The digest of file's first contentSize bytes as 64 lower-case hex
    // digits, file being everything that was offered and more.
    std::string Finish(std::string_view file, std::uint64_t contentSize);

private:
    void Run();
    void End();

    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::string> pieces_; // copies: the receive buffer may move
    std::vector<std::string> spare_; // hashed pieces, for their memory
    std::size_t queued_ = 0;
    bool ended_ = false;
    std::uint64_t offered_ = 0; // bytes of the file handed to the thread
    bool restarted_ = false;    // what was offered shrank: not one file
    Sha256 digest_;
    std::thread thread_; // last: starts once the rest is ready
};

} // namespace qvs
