// Command line of qvs-server.
#pragma once

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

    // Nothing when the arguments are wrong; error then says why.
    static std::optional<ServerOptions> Parse(const std::vector<std::string>& args,
                                              std::string& error);
};

} // namespace qvs
