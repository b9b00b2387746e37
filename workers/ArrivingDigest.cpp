#include "workers/ArrivingDigest.h"

#include "signing/UpdateTrailer.h"

namespace qvs {

namespace {

// A hashing thread that falls behind a fast network holds the receiver
// back here rather than a second copy of the file.
constexpr std::size_t MaxQueued = 16 << 20;
// Handed over in pieces of at least this size, so the thread wakes a few
// times per file rather than for every piece of the network; what remains
// at the end is hashed by Finish.
constexpr std::size_t MinPiece = 256 << 10;
// Appended bytes are kept in chunks of this size.
constexpr std::size_t ChunkSize = 1 << 20;

} // namespace

ArrivingDigest::ArrivingDigest() : thread_([this] { Run(); }) {}

ArrivingDigest::~ArrivingDigest() {
    End();
}

void ArrivingDigest::Offer(std::string_view received) {
    if (received.size() < offered_) {
        restarted_ = true;
    }
    const std::uint64_t safe =
        received.size() > UpdateTrailer::MaxSize ? received.size() - UpdateTrailer::MaxSize : 0;
    if (restarted_ || safe < offered_ + MinPiece) {
        return;
    }
    Piece piece;
    {
        // Buffers go round: fresh memory for every piece costs more in page
        // faults than the hashing itself.
        const std::lock_guard lock(mutex_);
        if (!spare_.empty()) {
            piece.owned = std::move(spare_.back());
            spare_.pop_back();
        }
    }
    piece.owned.assign(received.substr(offered_, safe - offered_));
    offered_ = safe;
    Queue(std::move(piece));
}

void ArrivingDigest::Append(std::string_view bytes) {
    while (!bytes.empty()) {
        if (chunks_.empty() || chunks_.back().size() == ChunkSize) {
            chunks_.emplace_back().reserve(ChunkSize);
        }
        std::string& chunk = chunks_.back();
        const std::size_t count = std::min(bytes.size(), ChunkSize - chunk.size());
        chunk.append(bytes.substr(0, count)); // within its capacity: it stays put
        bytes.remove_prefix(count);
        appended_ += count;
    }
    if (appended_ > UpdateTrailer::MaxSize) {
        HandOver(appended_ - UpdateTrailer::MaxSize);
    }
}

// Queues the kept bytes up to safe, a chunk's part at a time.
void ArrivingDigest::HandOver(std::uint64_t safe) {
    if (safe < offered_ + MinPiece) {
        return;
    }
    while (offered_ < safe) {
        const std::string& chunk = chunks_[static_cast<std::size_t>(offered_ / ChunkSize)];
        const auto at = static_cast<std::size_t>(offered_ % ChunkSize);
        const auto count =
            static_cast<std::size_t>(std::min<std::uint64_t>(ChunkSize - at, safe - offered_));
        offered_ += count;
        Queue({{}, std::string_view(chunk).substr(at, count)});
    }
}

void ArrivingDigest::CopyTo(CStream& file) const {
    file.Reserve(static_cast<std::size_t>(appended_));
    for (const std::string& chunk : chunks_) {
        file.Write(chunk.data(), chunk.size());
    }
}

void ArrivingDigest::Queue(Piece piece) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return queued_ < MaxQueued; });
    queued_ += piece.owned.size() + piece.kept.size();
    pieces_.push_back(std::move(piece));
    changed_.notify_all();
}

std::string ArrivingDigest::Finish(std::string_view file, std::uint64_t contentSize) {
    End();
    if (restarted_ || offered_ > contentSize || contentSize > file.size()) {
        Sha256 whole; // not what was offered: the slow way, still right
        whole.Add(file.substr(0, std::min<std::uint64_t>(contentSize, file.size())));
        return whole.HexDigest();
    }
    digest_.Add(file.substr(offered_, contentSize - offered_));
    return digest_.HexDigest();
}

void ArrivingDigest::Run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return ended_ || !pieces_.empty(); });
        if (pieces_.empty()) {
            return; // ended, and all of it hashed
        }
        Piece piece = std::move(pieces_.front());
        pieces_.pop_front();
        lock.unlock();
        digest_.Add(piece.owned.empty() ? piece.kept : piece.owned);
        lock.lock();
        queued_ -= piece.owned.size() + piece.kept.size();
        if (!piece.owned.empty()) {
            spare_.push_back(std::move(piece.owned));
        }
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
