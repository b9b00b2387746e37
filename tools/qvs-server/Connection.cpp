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
#include <sys/sendfile.h>

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
    const auto bytesPerSecond = std::max<std::uint64_t>(options_.minReplyRate, 1);
    Arm(options_.replyTimeout + std::chrono::milliseconds(reply.Size() * 1000 / bytesPerSecond));
    if (reply.file && reply.file->Size() <= SmallFile) {
        // One write for head and body: cheaper than a sendfile for small files.
        const std::string body = reply.file->ReadAll();
        co_await asio::async_write(
            socket_,
            std::array<asio::const_buffer, 2>{asio::buffer(reply.head), asio::buffer(body)},
            use_awaitable);
    } else {
        co_await asio::async_write(socket_, asio::buffer(reply.head), use_awaitable);
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
    const std::string seconds = std::to_string(limit_.count() / 1000.0);
    return prefix + (replying_ ? "reply not taken within " : "no whole request within ") +
           seconds.substr(0, seconds.find('.') + 2) + " s, closed";
}

} // namespace qvs
