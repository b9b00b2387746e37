// The SignedDigest of a file's bytes, taken on a thread of its own while the file
// still arrives, so that checking its signature adds next to nothing to a
// fast transfer. Bytes are copied in (the receiver's buffer is reused) and
// hashed in order.
#pragma once

#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "signing/SignedDigest.h"

namespace qvs {

class ArrivingDigest {
public:
    ArrivingDigest();
    ~ArrivingDigest();
    ArrivingDigest(const ArrivingDigest&) = delete;
    ArrivingDigest& operator=(const ArrivingDigest&) = delete;

    // The next bytes; waits while the thread is far behind.
    void Add(std::string_view bytes);
    // The digest of everything added and then rest, as 64 lower-case hex
    // digits. Call once.
    std::string Finish(std::string_view rest);

private:
    void Run();
    void End();

    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::string> pieces_;
    std::vector<std::string> spare_; // hashed copies, for their memory
    std::size_t queued_ = 0;
    bool ended_ = false;
    SignedDigest digest_;
    std::thread thread_; // last: starts once the rest is ready
};

} // namespace qvs
