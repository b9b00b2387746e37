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
#include <csignal>
#include <iostream>
#include <string>
#include <vector>

#include <sys/resource.h>

#include "GameStatusService.h"
#include "RequestLog.h"
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

int Run(const qvs::ServerOptions& options) {
    qvs::RequestLog log(std::cerr);
    const qvs::UpdateService updates(options.root);
    const qvs::GameStatusService game(options.root);
    const qvs::WebService web(options.root);
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
