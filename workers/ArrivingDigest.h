// The SHA-256 of a file's content, taken on a thread of its own while the
// file still arrives, so that checking its signature adds next to nothing to
// a fast transfer. The trailer's length is known only once the file is
// whole, so the last UpdateTrailer::MaxSize bytes seen are always held back.
// The file reaches it one of two ways: offered from the receiver's growing
// buffer (copied, as that buffer may move), or appended piece by piece and
// kept here, hashed in place.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "protocol/CStream.h"
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
    // The next bytes of the file, kept here in chunks that never move.
    void Append(std::string_view bytes);
    // Everything appended, in one piece.
    void CopyTo(CStream& file) const;
    // The digest of file's first contentSize bytes as 64 lower-case hex
    // digits, file being everything that was offered and more.
    std::string Finish(std::string_view file, std::uint64_t contentSize);

private:
    struct Piece {
        std::string owned;     // a copy, or
        std::string_view kept; // bytes of chunks_
    };

    void Run();
    void End();
    void HandOver(std::uint64_t safe);
    void Queue(Piece piece);

    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Piece> pieces_;
    std::vector<std::string> spare_; // hashed copies, for their memory
    std::deque<std::string> chunks_; // appended bytes; never reallocated
    std::uint64_t appended_ = 0;
    std::size_t queued_ = 0;
    bool ended_ = false;
    std::uint64_t offered_ = 0; // bytes of the file handed to the thread
    bool restarted_ = false;    // what was offered shrank: not one file
    Sha256 digest_;
    std::thread thread_; // last: starts once the rest is ready
};

} // namespace qvs
