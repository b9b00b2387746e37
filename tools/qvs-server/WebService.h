// The static web host: HTTP/1.0 GET of the files below the root, one
// request per connection.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "platform/TcpSocket.h"

namespace qvs {

class WebService {
public:
    static constexpr int ReadTimeoutMs = 10000;
    static constexpr std::size_t MaxRequestHead = 8192;

    explicit WebService(std::string root);

    std::string Serve(platform::TcpSocket& socket) const;

private:
    // The request head up to the blank line, or nothing when the client
    // closed, stalled or sent more than MaxRequestHead bytes.
    static std::optional<std::string> ReadHead(platform::TcpSocket& socket);
    std::string Answer(const std::string& head, std::string& logLine) const;

    std::string root_;
};

} // namespace qvs
