#include "Connection.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <stdexcept>
#include <system_error>
#include <utility>

#include <asio/redirect_error.hpp>
#include <asio/use_awaitable.hpp>
#include <asio/write.hpp>
#include <linux/sockios.h>
#include <sys/ioctl.h>
#include <sys/sendfile.h>
#include <sys/socket.h>

// GCC 12 at -O1 and above pairs the frame of a coroutine below with the
// wrong allocation function once Asio's frame operator new and delete are
// inlined (a false -Wmismatched-new-delete); the frames are Asio's own.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif

namespace qvs {

namespace {

using namespace std::chrono_literals;
using asio::use_awaitable;

// After the reply our side ends first and, when the client sent more than
// the request, the rest is read and dropped briefly: closing with unread
// input would reset the connection and discard the reply (an error page for
// an oversized head).
constexpr auto LingerTime = 1000ms;
constexpr std::size_t MaxDrain = 1 << 20;
// One sendfile call at most; the socket's buffer usually takes less.
constexpr std::size_t SendPiece = 1 << 20;
// Files up to this size go out from memory with their head.
constexpr std::uint64_t SmallFile = 64 * 1024;
// Requests are a few dozen bytes, a web head a few hundred: a small buffer
// keeps thousands of waiting connections cheap.
constexpr std::size_t ReadPiece = 1024;
// The kernel memory a file reply may queue on its socket: without a cap the
// kernel grows it to megabytes for a client that does not read, and ten
// thousand of those exhaust the host's TCP memory. The kernel doubles what
// it is given, for its bookkeeping.
constexpr int SendBufferCap = 256 * 1024;

} // namespace

Connection::Connection(Socket socket, std::string name, std::string address, std::string peer,
                       const Service& service, const ServerOptions& options, RequestLog& log,
                       ConnectionLimits::Slot slot)
    : socket_(std::move(socket)), deadline_(socket_.get_executor()), name_(std::move(name)),
      address_(std::move(address)), peer_(std::move(peer)), service_(service), options_(options),
      log_(log), slot_(std::move(slot)) {}

asio::awaitable<void> Connection::Run() {
    const auto self = shared_from_this(); // alive until the exchange ends
    std::string outcome;
    try {
        outcome = co_await Exchange();
    } catch (const std::exception& error) {
        outcome = Failure(error);
    }
    ++generation_;
    deadline_.cancel();
    // Free before the client can see the end: a launcher that asks again at
    // once must not meet the cap held by its own last request.
    slot_.Release();
    asio::error_code ignored;
    socket_.close(ignored);
    log_.Write(name_, peer_, outcome);
}

asio::awaitable<std::string> Connection::Exchange() {
    Arm(options_.requestTimeout);
    std::string request;
    const bool whole = co_await ReadRequest(request);
    Reply reply = whole ? service_.Answer(request, address_) : service_.CutShort(request);
    described_ = reply.log;
    replying_ = true;
    WatchPace();
    if (reply.file) {
        constexpr int half = SendBufferCap / 2;
        ::setsockopt(socket_.native_handle(), SOL_SOCKET, SO_SNDBUF, &half, sizeof half);
    }
    if (reply.file && reply.file->Size() <= SmallFile) {
        // One write for head and body: cheaper than a sendfile for small files.
        const std::string body = reply.file->ReadAll();
        handed_ += co_await asio::async_write(
            socket_,
            std::array<asio::const_buffer, 2>{asio::buffer(reply.head), asio::buffer(body)},
            use_awaitable);
    } else {
        handed_ += co_await asio::async_write(socket_, asio::buffer(reply.head), use_awaitable);
        if (reply.file) {
            co_await SendFile(*reply.file);
        }
    }
    co_await Linger();
    co_return reply.log;
}

asio::awaitable<bool> Connection::ReadRequest(std::string& request) {
    std::array<char, ReadPiece> buffer{};
    for (;;) {
        const std::size_t missing = service_.Missing(request);
        if (missing == 0) {
            co_return true;
        }
        asio::error_code error;
        const std::size_t count = co_await socket_.async_read_some(
            asio::buffer(buffer.data(), std::min(missing, buffer.size())),
            asio::redirect_error(use_awaitable, error));
        if (error == asio::error::eof) {
            co_return false;
        }
        if (error) {
            throw std::system_error(error);
        }
        request.append(buffer.data(), count);
    }
}

asio::awaitable<void> Connection::SendFile(const ServedFile& file) {
    socket_.native_non_blocking(true);
    off_t offset = 0;
    const auto size = static_cast<off_t>(file.Size());
    while (offset < size) {
        const auto piece = std::min(static_cast<std::size_t>(size - offset), SendPiece);
        const ssize_t sent = ::sendfile(socket_.native_handle(), file.Descriptor(), &offset, piece);
        if (sent > 0) {
            handed_ += static_cast<std::uint64_t>(sent);
            continue;
        }
        if (sent == 0) {
            throw std::runtime_error("file shorter than announced");
        }
        if (errno == EAGAIN || errno == EWOULDBLOCK) {
            co_await socket_.async_wait(Socket::wait_write, use_awaitable);
        } else if (errno != EINTR) {
            throw std::system_error(errno, std::generic_category(), "sending the file");
        }
    }
}

asio::awaitable<void> Connection::Linger() {
    asio::error_code error;
    if (socket_.available(error) == 0 && !error) {
        co_return; // nothing unread: closing sends no reset
    }
    socket_.shutdown(Socket::shutdown_send, error);
    Arm(std::chrono::duration_cast<std::chrono::milliseconds>(LingerTime));
    std::array<char, 4096> buffer{};
    std::size_t drained = 0;
    while (!error && drained < MaxDrain) {
        drained += co_await socket_.async_read_some(asio::buffer(buffer),
                                                    asio::redirect_error(use_awaitable, error));
    }
}

void Connection::WatchPace() {
    pace_.emplace(options_.replyTimeout, options_.minReplyRate);
    NextSlice(++generation_);
}

void Connection::NextSlice(std::uint64_t generation) {
    deadline_.expires_after(pace_->Slice());
    deadline_.async_wait([weak = weak_from_this(), generation](const asio::error_code& error) {
        const auto self = weak.lock();
        if (error || !self || self->generation_ != generation) {
            return;
        }
        if (!self->pace_->TooSlow(self->Taken())) {
            self->NextSlice(generation);
            return;
        }
        self->expired_ = true;
        asio::error_code ignored;
        self->socket_.close(ignored);
    });
}

std::uint64_t Connection::Taken() {
    int queued = 0; // what the client has not acknowledged yet
    if (::ioctl(socket_.native_handle(), SIOCOUTQ, &queued) != 0 || queued < 0) {
        queued = 0;
    }
    return handed_ - std::min(handed_, static_cast<std::uint64_t>(queued));
}

void Connection::Arm(std::chrono::milliseconds limit) {
    limit_ = limit;
    deadline_.expires_after(limit);
    deadline_.async_wait(
        [weak = weak_from_this(), generation = ++generation_](const asio::error_code& error) {
            const auto self = weak.lock();
            if (error || !self || self->generation_ != generation) {
                return;
            }
            self->expired_ = true;
            asio::error_code ignored;
            self->socket_.close(ignored);
        });
}

std::string Connection::Failure(const std::exception& error) const {
    const std::string prefix = described_.empty() ? "" : described_ + ", ";
    if (!expired_) {
        return prefix + "error: " + error.what();
    }
    const auto text = [](std::chrono::milliseconds time) {
        const std::string seconds = std::to_string(time.count() / 1000.0);
        return seconds.substr(0, seconds.find('.') + 2);
    };
    if (!replying_) {
        return prefix + "no whole request within " + text(limit_) + " s, closed";
    }
    return prefix + "reply taken at under " + std::to_string(options_.minReplyRate / 1024) +
           " KiB/s for " + text(options_.replyTimeout) + " s, closed";
}

} // namespace qvs
