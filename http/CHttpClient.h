// The launcher's HTTP/1.0 client: one GET at a time, the whole reply body in
// memory, completion and progress reported through callbacks that run on the
// caller's thread inside Get.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "http/HttpReplyHeader.h"

namespace qvs {

namespace platform {
class TcpSocket;
}

class CHttpClient {
public:
    enum class Command { Get };

    static constexpr int DefaultWaitMs = 60000;
    static constexpr std::uint64_t DefaultMaxBodySize = std::uint64_t{1} << 30;
    static constexpr int MaxRedirects = 5;
    static constexpr std::size_t ReceiveBufferSize = 65536;

    // waitMs bounds the connect and every wait for data; maxBodySize bounds
    // the reply body held in memory.
    explicit CHttpClient(int waitMs = DefaultWaitMs,
                         std::uint64_t maxBodySize = DefaultMaxBodySize);

    // The reply was complete and its status is a success (1 to 298).
    std::function<void(Command)> OnSuccess;
    // A reply arrived but is no success; FailureReason says why.
    std::function<void(Command)> OnFailure;
    // Body bytes arrived; Total and Received hold the new counts.
    std::function<void()> OnPacketRecvd;
    // When set, body bytes go here as they arrive instead of into Body(),
    // so a download tool need not hold a large body in memory. The bodies of
    // redirect replies, which are followed, never reach it.
    std::function<void(const char* data, std::size_t size)> OnBodyData;
    // Called about every 50 ms while Get connects or waits for data, so a GUI thread
    // can process its pending messages.
    std::function<void()> OnIdle;

    // One transfer, redirects followed, returning when it has ended. Errors
    // before a reply (address, name lookup, connection, time-out, abort,
    // receive) are raised as HttpError and fire neither callback.
    void Get(const std::string& url);
    // Ends a running Get from any thread (or from a callback) with an error.
    void Abort() { aborted_ = true; }

    const std::string& Header() const { return header_; }
    const std::string& Body() const { return body_; }
    std::uint64_t Total() const { return total_; } // Content-Length, 0 when absent
    std::uint64_t Received() const { return received_; }
    int Status() const { return status_; }
    const std::string& FailureReason() const { return failureReason_; }
    // The host and port of the last request.
    const std::string& Host() const { return host_; }
    std::uint16_t Port() const { return port_; }

private:
    enum class Stage { Connecting, Reading };

    HttpReplyHeader Transfer(const std::string& url);
    void Connect(platform::TcpSocket& socket);
    std::string Request() const;
    HttpReplyHeader ReadHeader(platform::TcpSocket& socket, std::vector<char>& buffer);
    void ReadBody(platform::TcpSocket& socket, std::vector<char>& buffer);
    static constexpr std::uint64_t TrustedReserve = std::uint64_t{64} << 20;
    void ReserveBody(std::uint64_t wanted);
    bool AddToBody(const char* data, std::size_t size);
    std::size_t ReceiveChunk(platform::TcpSocket& socket, std::vector<char>& buffer);
    void ThrowIfAborted(Stage stage) const;
    void Complete(const HttpReplyHeader& reply);
    void Fail(const std::string& reason);
    std::string RedirectTarget(const std::string& location) const;

    int waitMs_;
    std::uint64_t maxBodySize_;
    std::atomic<bool> aborted_{false};

    std::string host_;
    std::uint16_t port_ = 80;
    std::string path_;
    std::string cookie_; // sent on the next request of a redirect chain

    std::string header_;
    std::string body_;
    std::uint64_t total_ = 0;
    std::uint64_t received_ = 0;
    int status_ = 0;
    bool tooLarge_ = false;
    std::string failureReason_;
};

} // namespace qvs
