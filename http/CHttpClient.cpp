#include "http/CHttpClient.h"

#include "platform/SlicedWait.h"

#include <algorithm>
#include <chrono>
#include <exception>

#include "http/HttpError.h"
#include "http/HttpReplyParser.h"
#include "http/HttpUrl.h"
#include "platform/SocketError.h"
#include "platform/TcpSocket.h"

namespace qvs {

using platform::SocketError;
using platform::TcpSocket;

namespace {

bool IsRedirect(int status) {
    return status >= 300 && status <= 302;
}

} // namespace

CHttpClient::CHttpClient(int waitMs, std::uint64_t maxBodySize)
    : waitMs_(waitMs), maxBodySize_(maxBodySize) {}

void CHttpClient::Get(const std::string& url) {
    aborted_ = false;
    cookie_.clear();
    std::string next = url;
    for (int redirects = 0;; ++redirects) {
        const HttpReplyHeader reply = Transfer(next);
        if (!reply.complete || tooLarge_ || !IsRedirect(reply.status)) {
            Complete(reply);
            return;
        }
        // Statuses 300 to 302 are followed, but not around a loop for ever.
        if (redirects == MaxRedirects) {
            Fail("Too many redirects");
            return;
        }
        if (reply.location.empty()) {
            Fail("Redirect without a target");
            return;
        }
        if (!reply.cookie.empty()) {
            cookie_ = reply.cookie;
        }
        next = RedirectTarget(reply.location);
    }
}

HttpReplyHeader CHttpClient::Transfer(const std::string& url) {
    const HttpUrl target = ParseHttpUrl(url, host_, port_);
    host_ = target.host;
    port_ = target.port;
    path_ = target.path;
    header_.clear();
    body_.clear();
    total_ = 0;
    received_ = 0;
    status_ = 0;
    tooLarge_ = false;
    failureReason_.clear();

    TcpSocket socket;
    Connect(socket);
    try {
        socket.SendAll(Request());
    } catch (const SocketError&) {
        throw HttpError("Connection Failed");
    }
    std::vector<char> buffer(ReceiveBufferSize);
    const HttpReplyHeader reply = ReadHeader(socket, buffer);
    if (reply.complete && !tooLarge_) {
        ReadBody(socket, buffer);
    }
    return reply;
}

void CHttpClient::Connect(TcpSocket& socket) {
    ThrowIfAborted(Stage::Connecting);
    if (host_.empty()) {
        throw HttpError("Null Remote Address");
    }
    try {
        // The caller's window stays alive while a slow host is reached, and
        // Abort ends the attempt.
        socket.Connect(host_, port_, waitMs_, [this] {
            if (OnIdle) {
                OnIdle();
            }
            ThrowIfAborted(Stage::Connecting);
        });
    } catch (const SocketError& error) {
        switch (error.GetKind()) {
        case SocketError::Kind::NameLookup:
            throw HttpError("Null Remote Address");
        case SocketError::Kind::TimedOut:
            throw HttpError("Connection Timed out");
        default:
            throw HttpError("Connection Failed");
        }
    }
    ThrowIfAborted(Stage::Connecting);
}

std::string CHttpClient::Request() const {
    std::string request = "GET " + path_ + " HTTP/1.0\r\n";
    request += "Host: " + host_ + "\r\n";
    request += "Accept: www/source, text/html, video/mpeg, image/jpeg, image/x-tiff\r\n";
    request += "Accept: image/x-rgb, image/x-xbm, image/gif, */*, application/postscript\r\n";
    request += "Content-type: application/x-www-form-urlencoded\r\n";
    if (!cookie_.empty()) {
        // Only the name=value pair; the attributes after it are for us, not the server.
        request += "Cookie: " + cookie_.substr(0, cookie_.find(';')) + "\r\n";
    }
    request += "\r\n";
    return request;
}

HttpReplyHeader CHttpClient::ReadHeader(TcpSocket& socket, std::vector<char>& buffer) {
    HttpReplyParser parser;
    for (;;) {
        const std::size_t got = ReceiveChunk(socket, buffer);
        if (got == 0) {
            parser.Finish();
            header_ = parser.Header().text;
            status_ = parser.Header().status;
            return parser.Header();
        }
        const std::size_t taken = parser.Feed(std::string_view(buffer.data(), got));
        if (!parser.Complete()) {
            continue;
        }
        const HttpReplyHeader& reply = parser.Header();
        header_ = reply.text;
        status_ = reply.status;
        total_ = reply.contentLength.value_or(0);
        // Refuse up front what could not be held, rather than run out of memory.
        if (total_ > maxBodySize_) {
            tooLarge_ = true;
            return reply;
        }
        if (!OnBodyData) {
            ReserveBody(std::min(total_, TrustedReserve));
        }
        if (taken < got) {
            AddToBody(buffer.data() + taken, got - taken);
        }
        return reply;
    }
}

void CHttpClient::ReadBody(TcpSocket& socket, std::vector<char>& buffer) {
    // HTTP/1.0 without keep-alive: the body ends when the server closes.
    while (!tooLarge_) {
        const std::size_t got = ReceiveChunk(socket, buffer);
        if (got == 0) {
            return;
        }
        AddToBody(buffer.data(), got);
    }
}

// Room for the announced length, so a large body is not copied several times
// while it grows. A length that is only announced earns 64 MiB at most; the
// rest is reserved once that much has really arrived, so a lying header
// cannot claim memory for nothing. Without the room the body still grows.
void CHttpClient::ReserveBody(std::uint64_t wanted) {
    try {
        body_.reserve(static_cast<std::size_t>(wanted));
    } catch (const std::exception&) {
        // Grown piece by piece instead, as far as memory allows.
    }
}

bool CHttpClient::AddToBody(const char* data, std::size_t size) {
    if (received_ + size > maxBodySize_) {
        tooLarge_ = true;
        std::string().swap(body_);
        return false;
    }
    if (OnBodyData) {
        // A redirect's body is no part of the download; it is followed instead.
        if (!IsRedirect(status_)) {
            OnBodyData(data, size);
        }
    } else {
        if (received_ < TrustedReserve && received_ + size >= TrustedReserve &&
            total_ > body_.capacity()) {
            ReserveBody(total_);
        }
        body_.append(data, size);
    }
    received_ += size;
    if (OnPacketRecvd) {
        OnPacketRecvd();
    }
    return true;
}

std::size_t CHttpClient::ReceiveChunk(TcpSocket& socket, std::vector<char>& buffer) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(waitMs_);
    for (;;) {
        ThrowIfAborted(Stage::Reading);
        const auto left =
            std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
        const int slice =
            static_cast<int>(std::clamp<decltype(left)>(left, 0, platform::WaitSliceMs));
        try {
            if (socket.WaitForData(slice)) {
                return socket.Receive(buffer.data(), buffer.size());
            }
        } catch (const SocketError& error) {
            throw HttpError(error.what());
        }
        if (left <= platform::WaitSliceMs) {
            throw HttpError("Connection Timed out");
        }
        if (OnIdle) {
            OnIdle();
        }
    }
}

void CHttpClient::ThrowIfAborted(Stage stage) const {
    if (!aborted_) {
        return;
    }
    throw HttpError(stage == Stage::Connecting ? "Connection Canceled" : "Socket capture aborted");
}

void CHttpClient::Complete(const HttpReplyHeader& reply) {
    if (!reply.complete) {
        Fail("Reply ended inside the header");
    } else if (tooLarge_) {
        Fail("Reply body larger than " + std::to_string(maxBodySize_) + " bytes");
    } else if (reply.status == 0) {
        // Without a status line the body may be anything: never store it as a file.
        Fail("Reply without a status line");
    } else if (reply.contentLength && received_ < *reply.contentLength) {
        Fail("Reply body truncated");
    } else if (reply.status >= 1 && reply.status <= 298) {
        if (OnSuccess) {
            OnSuccess(Command::Get);
        }
    } else {
        Fail("Status " + std::to_string(reply.status));
    }
}

void CHttpClient::Fail(const std::string& reason) {
    failureReason_ = reason;
    if (OnFailure) {
        OnFailure(Command::Get);
    }
}

std::string CHttpClient::RedirectTarget(const std::string& location) const {
    if (location.find("//") != std::string::npos || location.front() == '/') {
        return location;
    }
    // A relative target stays on this server, port included.
    const std::string port = port_ == 80 ? std::string() : ":" + std::to_string(port_);
    return "http://" + host_ + port + "/" + location;
}

} // namespace qvs
