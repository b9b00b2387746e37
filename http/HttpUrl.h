// Where one GET goes: the address split from a URL the way the launcher's
// client always did it (see ParseHttpUrl).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace qvs {

struct HttpUrl {
    std::string url; // as given, with "/" appended when the path was empty
    std::string host;
    std::uint16_t port = 80;
    std::string path; // at most MaxPathLength characters, never empty

    static constexpr std::size_t MaxPathLength = 256;
};

// Splits url. A URL without a host part ("/dir/file") keeps currentHost, and
// one without a scheme or port keeps currentPort (0 counts as 80).
// Throws HttpError "Empty URL", "HTTP Secure Socket is not supported", or
// "Invalid port number" for a port that is not a number from 1 to 65535.
HttpUrl ParseHttpUrl(const std::string& url, const std::string& currentHost,
                     std::uint16_t currentPort);

} // namespace qvs
