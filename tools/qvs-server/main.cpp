// qvs-server --root DIR [--bind ADDR] [--update-port 7070] [--game-port 7068]
//            [--http-port 8080]
//
// Serves one folder three ways until SIGINT or SIGTERM:
//   update server (TCP, update port): from DIR/updates/ — latest versions are
//     the highest N of qvsN.ecd / qvscN.ecd, the launcher's version and bytes
//     come from DIR/updates/QVS.exe;
//   game server status (TCP, game port): from DIR/status/people, notice_mode,
//     notice_title and notice.html, read at every request;
//   web host (HTTP/1.0 GET): any file below DIR.
// One line per request goes to stderr.
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "ConnectionServer.h"
#include "GameStatusService.h"
#include "RequestLog.h"
#include "ServerOptions.h"
#include "StopSignal.h"
#include "UpdateService.h"
#include "WebService.h"

namespace {

int Run(const qvs::ServerOptions& options, qvs::StopSignal& stop) {
    using qvs::ConnectionServer;
    qvs::RequestLog log(std::cerr);
    const qvs::UpdateService updates(options.root);
    const qvs::GameStatusService game(options.root);
    const qvs::WebService web(options.root);
    std::vector<std::unique_ptr<ConnectionServer>> servers;
    servers.push_back(std::make_unique<ConnectionServer>(
        "update", options.bind, options.updatePort,
        [&updates](qvs::platform::TcpSocket& s) { return updates.Serve(s); }, log));
    servers.push_back(std::make_unique<ConnectionServer>(
        "game", options.bind, options.gamePort,
        [&game](qvs::platform::TcpSocket& s) { return game.Serve(s); }, log));
    servers.push_back(std::make_unique<ConnectionServer>(
        "http", options.bind, options.httpPort,
        [&web](qvs::platform::TcpSocket& s) { return web.Serve(s); }, log));
    log.Write("server", options.bind, "listening");
    const int signalNumber = stop.Wait();
    log.Write("server", options.bind, "stopping on signal " + std::to_string(signalNumber));
    servers.clear(); // each waits for its running connections
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    qvs::StopSignal stop; // before any thread starts
    std::string error;
    const auto options = qvs::ServerOptions::Parse({argv + 1, argv + argc}, error);
    if (!options) {
        std::cerr << "qvs-server: " << error << "\n"
                  << "usage: qvs-server --root DIR [--bind ADDR] [--update-port N]"
                     " [--game-port N] [--http-port N]\n";
        return 2;
    }
    try {
        return Run(*options, stop);
    } catch (const std::exception& failure) {
        std::cerr << "qvs-server: " << failure.what() << "\n";
        return 1;
    }
}
