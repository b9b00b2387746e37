#include "launcher/NetworkInformationText.h"

#include "BuildSettings.h"

namespace qvs {

namespace {

void AddPortsAndReference(std::vector<std::string>& lines) {
    for (const char* port : {"6069", "7068", "7069", "7070", "7071", "9006"}) {
        lines.emplace_back(port);
    }
    lines.emplace_back("");
    lines.emplace_back("Please refer to ");
    lines.push_back(std::string(build::GameWebSite) + "/troubleshooting.html" + " for ");
    lines.emplace_back("further assistance.");
}

} // namespace

std::vector<std::string> AddressDifferenceLines() {
    std::vector<std::string> lines = {
        "We have detected that your internal IP address is different from ",
        "your external IP Address.",
        "This is possible if you are behind a firewall, router, or on a ",
        "network.",
        "This could possible cause you to connect via TCP.  You will only ",
        "be able to do real time battles against UPD players.",
        "",
        "For better performance you will want to open the ports mentioned ",
        "below so that you can connect via UDP.",
        "",
        "The following ports will need to be opened for incoming and ",
        "outgoing messages:",
    };
    AddPortsAndReference(lines);
    return lines;
}

std::vector<std::string> SlowContactLines() {
    std::vector<std::string> lines = {
        "It has taken a while to contact the game server.  The server may ",
        "be down or your machine may have a problem communicating ",
        "with the game server.",
        "This is possible if you are behind a firewall, router, or on a ",
        "network.",
        "",
        "If you never have been able to contact the game server the ",
        "following ports will need to be opened for incoming and outgoing ",
        "messages:",
    };
    AddPortsAndReference(lines);
    return lines;
}

} // namespace qvs
