#include "workers/ArrivingDigest.h"

namespace qvs {

namespace {

// A hashing thread that falls behind a fast network holds the receiver back
// here rather than letting copies pile up.
constexpr std::size_t MaxQueued = 16 << 20;

} // namespace

ArrivingDigest::ArrivingDigest() : thread_([this] { Run(); }) {}

ArrivingDigest::~ArrivingDigest() {
    End();
}

void ArrivingDigest::Add(std::string_view bytes) {
    if (bytes.empty()) {
        return;
    }
    // Buffers go round: fresh memory for every piece costs more in page
    // faults than the hashing itself. The copy is made outside the lock, so
    // the thread hashes meanwhile.
    std::string piece;
    {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return queued_ < MaxQueued; });
        if (!spare_.empty()) {
            piece = std::move(spare_.back());
            spare_.pop_back();
        }
    }
    piece.assign(bytes);
    const std::lock_guard lock(mutex_);
    queued_ += piece.size();
    pieces_.push_back(std::move(piece));
    changed_.notify_all();
}

std::string ArrivingDigest::Finish(std::string_view rest) {
    End();
    digest_.Add(rest);
    return digest_.HexDigest();
}

void ArrivingDigest::Run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return ended_ || !pieces_.empty(); });
        if (pieces_.empty()) {
            return; // ended, and all of it hashed
        }
        std::string piece = std::move(pieces_.front());
        pieces_.pop_front();
        lock.unlock();
        digest_.Add(piece);
        lock.lock();
        queued_ -= piece.size();
        spare_.push_back(std::move(piece));
        changed_.notify_all();
    }
}

// Lets the thread hash what is queued, then joins it.
void ArrivingDigest::End() {
    {
        const std::lock_guard lock(mutex_);
        ended_ = true;
    }
    changed_.notify_all();
    if (thread_.joinable()) {
        thread_.join();
    }
}

} // namespace qvs
