// What one port serves, apart from its sockets: how much of a request is
// still to come and the reply to a whole one. Services keep no state per
// connection and may be called from several threads at once.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "ServedFile.h"

namespace qvs {

struct Reply {
    std::string head;               // sent first; empty: close without reply
    std::optional<ServedFile> file; // then these bytes, read as the client takes them
    std::string log;                // the outcome, for the request log

    std::uint64_t Size() const { return head.size() + (file ? file->Size() : 0); }
};

class Service {
public:
    virtual ~Service() = default;

    // How many more bytes the request may take given what arrived so far;
    // 0 once it is whole (or hopeless and Answer says so). Throws
    // ProtocolError for a request that can never become valid.
    virtual std::size_t Missing(std::string_view received) const = 0;
    virtual Reply Answer(std::string_view request, const std::string& peerAddress) const = 0;
    // The client ended its side before the request was whole.
    virtual Reply CutShort(std::string_view received) const;
};

} // namespace qvs
