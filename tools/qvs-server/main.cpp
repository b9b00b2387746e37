// qvs-server --root DIR [--bind ADDR] [--update-port 7070] [--game-port 7068]
//            [--http-port 8080] [--max-connections 10000] [--max-per-address 64]
//            [--request-timeout 10] [--reply-timeout 30] [--min-reply-rate 16]
//
// Serves one folder three ways until SIGINT or SIGTERM:
//   update server (TCP, update port): from DIR/updates/ — latest versions are
//     the highest N of qvsN.ecd / qvscN.ecd, the launcher's version and bytes
//     come from DIR/updates/QVS.exe;
//   game server status (TCP, game port): from DIR/status/people, notice_mode,
//     notice_title and notice.html, read at every request;
//   web host (HTTP/1.0 GET): any file below DIR.
// One line per request goes to stderr.
#include <algorithm>
#include <csignal>
#include <filesystem>
#include <iostream>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include <sys/resource.h>

#include "GameStatusService.h"
#include "RequestLog.h"
#include "RootFolder.h"
#include "ServerOptions.h"
#include "TcpServer.h"
#include "UpdateService.h"
#include "WebService.h"

namespace {

// Every connection is a descriptor: take all the system allows us.
void RaiseOpenFileLimit() {
    rlimit limit{};
    if (::getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur < limit.rlim_max) {
        limit.rlim_cur = limit.rlim_max;
        ::setrlimit(RLIMIT_NOFILE, &limit);
    }
}

std::size_t OpenDescriptors() {
    std::size_t count = 0;
    std::error_code error;
    for (std::filesystem::directory_iterator entry("/proc/self/fd", error), end;
         !error && entry != end; entry.increment(error)) {
        ++count;
    }
    return count;
}

// Checks that the open-file limit holds the connections beside what is open
// and what the server opens besides: each connection is a socket and the
// file it sends; each event loop holds three listeners, its own three
// descriptors and a folder it is looking in. A default cap is lowered to
// what the limit holds; a cap given is refused (false, and why on stderr).
bool FitToOpenFileLimit(qvs::ServerOptions& options) {
    rlimit limit{};
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) {
        return true;
    }
    const std::size_t others =
        OpenDescriptors() + 7 * std::max(1U, std::thread::hardware_concurrency()) + 16;
    const std::size_t room = limit.rlim_cur > others ? (limit.rlim_cur - others) / 2 : 0;
    if (options.maxConnections <= room) {
        return true;
    }
    if (!options.maxConnectionsGiven && room > 0) {
        std::cerr << "qvs-server: at most " << room << " connections, as the open-file limit is "
                  << limit.rlim_cur << "\n";
        options.maxConnections = room;
        return true;
    }
    std::cerr << "qvs-server: --max-connections " << options.maxConnections << " needs "
              << others + 2 * options.maxConnections << " open files, and the limit is "
              << limit.rlim_cur
              << "; raise it (ulimit -n, LimitNOFILE=) or lower --max-connections\n";
    return false;
}

int Run(qvs::ServerOptions options) {
    qvs::RequestLog log(std::cerr);
    const qvs::RootFolder root(options.root);
    if (!FitToOpenFileLimit(options)) {
        return 2;
    }
    const qvs::UpdateService updates(root);
    const qvs::GameStatusService game(root);
    const qvs::WebService web(root);
    qvs::TcpServer server(options,
                          {{"update", options.updatePort, updates},
                           {"game", options.gamePort, game},
                           {"http", options.httpPort, web}},
                          log);
    log.Write("server", options.bind, "listening");
    server.Run();
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    std::string error;
    const auto options = qvs::ServerOptions::Parse({argv + 1, argv + argc}, error);
    if (!options) {
        std::cerr << "qvs-server: " << error << "\n"
                  << "usage: qvs-server --root DIR [--bind ADDR] [--update-port N]"
                     " [--game-port N] [--http-port N] [--max-connections N]"
                     " [--max-per-address N] [--request-timeout S] [--reply-timeout S]"
                     " [--min-reply-rate KIB]\n";
        return 2;
    }
    // A client that hangs up mid-reply is an error of that connection only.
    std::signal(SIGPIPE, SIG_IGN);
    RaiseOpenFileLimit();
    try {
        return Run(*options);
    } catch (const std::exception& failure) {
        std::cerr << "qvs-server: " << failure.what() << "\n";
        return 1;
    }
}
