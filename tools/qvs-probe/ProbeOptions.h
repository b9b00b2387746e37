// The command line of qvs-probe.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace qvs {

inline constexpr const char* ProbeUsage =
    "usage: qvs-probe [--host H] [--port P] [--wait-ms N] [--web URL] COMMAND\n"
    "  ping | latest NAME | fileversion [--local FILE] | status\n"
    "  fetch NAME VERSION --install DIR [--server] | launcher --install DIR [--server]\n"
    "  get URL [--out FILE]\n";

struct ProbeOptions {
    std::string host;
    int port = 0; // 0: the command's usual port
    int waitMs = 10000;
    std::string web;
    std::string install;
    std::string local;
    std::string out;
    bool server = false;
    std::string command;
    std::vector<std::string> operands;
};

// Nothing on wrong usage: unknown option, missing value, wrong operand count.
std::optional<ProbeOptions> ParseProbeOptions(const std::vector<std::string>& args);

} // namespace qvs
