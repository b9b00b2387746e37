// Command line of qvs-server.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace qvs {

struct ServerOptions {
    std::string root;
    std::string bind = "0.0.0.0";
    std::uint16_t updatePort = 7070;
    std::uint16_t gamePort = 7068;
    std::uint16_t httpPort = 8080;
    std::size_t maxConnections = 10000;
    bool maxConnectionsGiven = false; // else the default, lowered to the open-file limit
    std::size_t maxPerAddress = 64;
    // A request must be whole this long after the connection opened.
    std::chrono::milliseconds requestTimeout{10000};
    // A reply must be taken at minReplyRate over every window this long.
    std::chrono::milliseconds replyTimeout{30000};
    std::uint64_t minReplyRate = 16 * 1024; // bytes per second

    // Nothing when the arguments are wrong; error then says why.
    static std::optional<ServerOptions> Parse(const std::vector<std::string>& args,
                                              std::string& error);
};

} // namespace qvs
