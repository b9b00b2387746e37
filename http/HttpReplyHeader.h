// What the client takes from a reply header.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace qvs {

struct HttpReplyHeader {
    std::string text; // status line and header lines, each with its line end, as received
    int status = 0;   // 0 when the status line has no numeric second word
    std::optional<std::uint64_t> contentLength; // absent when missing or unreadable
    std::string location;                       // redirect target, at most 256 characters
    std::string cookie;                         // reply cookie, at most 256 characters
    bool complete = false;                      // the empty line that ends the header has arrived
};

} // namespace qvs
