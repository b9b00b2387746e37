// Load on qvs-server as a game's players and attackers put on it, all on
// loopback from many source addresses (127.x.y.z) so that the per-address
// cap is what it is for real clients.
//
//   bench_server_load update PORT SERVER_PID [LAUNCHERS] [ROUNDS] [IDLE] [DRIPS]
//     LAUNCHERS (200) launchers, one thread each, run ROUNDS (5) times the
//     queries of an update pass, each on a connection of its own: ping, the
//     data and client code versions and the launcher's file version; while
//     IDLE (10000) connections that send nothing and DRIPS (256) that send a
//     request one byte every 3 s are held (opened again when the server
//     closes them). Prints requests per second, latency percentiles,
//     failures and the server's peak memory; exits 1 when a request failed.
//
//   bench_server_load http PORT PEER_PORT PATH [CLIENTS] [SECONDS]
//     CLIENTS (64) clients GET PATH over and over for SECONDS (5) from
//     qvs-server's web port, then from a peer server (nginx) on PEER_PORT,
//     twice each, alternating; prints requests per second and the ratio.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <fstream>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <sys/resource.h>

#include "HeldConnections.h"
#include "LoopbackSocket.h"
#include "protocol/UpdateFrame.h"
#include "protocol/UpdateReplies.h"
#include "protocol/UpdateRequests.h"

namespace qvs::bench {
namespace {

using Clock = std::chrono::steady_clock;

// Source networks (127.N.x.y) of each kind of client.
constexpr int IdleNetwork = 1;
constexpr int DripNetwork = 2;
constexpr int LauncherNetwork = 3;
constexpr int HttpNetwork = 4;
constexpr int IdlePerAddress = 50; // under the server's default cap of 64
constexpr int DripPerAddress = 32;
constexpr int DripMs = 3000;

struct Query {
    MessageType type;
    CStream (*build)();
};

const Query queries[] = {
    {MessageType::Ping, [] { return BuildPingRequest(); }},
    {MessageType::GetLatestVersion, [] { return BuildGetLatestVersionRequest("qvs"); }},
    {MessageType::GetLatestVersion, [] { return BuildGetLatestVersionRequest("qvsc"); }},
    {MessageType::GetCurrentFileVersion,
     [] { return BuildGetCurrentFileVersionRequest("qvs.exe"); }},
};

// Asks one query as a launcher's worker does and parses the reply, so a
// malformed answer fails too.
void Ask(const std::string& source, std::uint16_t port, const Query& query) {
    LoopbackSocket socket(source, port);
    socket.Send(query.build().View());
    const std::string head = socket.Receive(ReplyHeaderSize);
    const MessageHeader header = ParseMessageHeader(std::as_bytes(std::span(head)));
    CheckReplyType(header, query.type);
    const std::string bytes = socket.Receive(static_cast<std::size_t>(header.length));
    CStream payload;
    payload.Write(bytes.data(), bytes.size());
    payload.SetPosition(0);
    if (query.type == MessageType::Ping) {
        ParsePingReply(payload);
    } else if (query.type == MessageType::GetLatestVersion) {
        ParseGetLatestVersionReply(payload);
    } else {
        ParseGetCurrentFileVersionReply(payload);
    }
}

class Results {
public:
    void Add(const std::vector<double>& latencies, int failed, const std::string& error) {
        const std::lock_guard lock(mutex_);
        latencies_.insert(latencies_.end(), latencies.begin(), latencies.end());
        failed_ += failed;
        if (firstError_.empty()) {
            firstError_ = error;
        }
    }

    int Report(double seconds) {
        std::sort(latencies_.begin(), latencies_.end());
        std::printf("%zu requests answered, %d failed, %.0f requests/s\n", latencies_.size(),
                    failed_, static_cast<double>(latencies_.size()) / seconds);
        std::printf("latency p50 %.2f ms, p99 %.2f ms (goal < 50), max %.2f ms\n", Percentile(0.50),
                    Percentile(0.99), latencies_.empty() ? 0.0 : latencies_.back());
        if (failed_ > 0) {
            std::printf("first failure: %s\n", firstError_.c_str());
        }
        return failed_ == 0 ? 0 : 1;
    }

private:
    double Percentile(double fraction) const {
        if (latencies_.empty()) {
            return 0;
        }
        return latencies_[static_cast<std::size_t>(fraction * (latencies_.size() - 1) + 0.5)];
    }

    std::mutex mutex_;
    std::vector<double> latencies_;
    int failed_ = 0;
    std::string firstError_;
};

void Launcher(const std::string& source, std::uint16_t port, int rounds, Results& results) {
    std::vector<double> latencies;
    int failed = 0;
    std::string error;
    for (int round = 0; round < rounds; ++round) {
        for (const Query& query : queries) {
            const Clock::time_point sent = Clock::now();
            try {
                Ask(source, port, query);
                latencies.push_back(
                    std::chrono::duration<double, std::milli>(Clock::now() - sent).count());
            } catch (const std::exception& failure) {
                ++failed;
                error = failure.what();
            }
        }
    }
    results.Add(latencies, failed, error);
}

std::string PeakMemory(const std::string& pid) {
    std::ifstream status("/proc/" + pid + "/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmHWM:", 0) == 0) {
            const double mib = std::stod(line.substr(6)) / 1024;
            return std::to_string(static_cast<int>(mib + 0.5)) + " MiB";
        }
    }
    return "unknown";
}

int UpdateLoad(std::uint16_t port, const std::string& pid, int launchers, int rounds, int idle,
               int drips) {
    const HeldConnections idlers(port, IdleNetwork, idle, IdlePerAddress);
    const HeldConnections drippers(port, DripNetwork, drips, DripPerAddress,
                                   std::string(BuildGetLatestVersionRequest("qvs").View()), DripMs);
    std::this_thread::sleep_for(std::chrono::seconds(2)); // all of them accepted
    Results results;
    std::vector<std::thread> threads;
    const Clock::time_point began = Clock::now();
    for (int i = 0; i < launchers; ++i) {
        threads.emplace_back(Launcher, LoopbackAddress(LauncherNetwork, i), port, rounds,
                             std::ref(results));
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    const double seconds = std::chrono::duration<double>(Clock::now() - began).count();
    std::printf("update: %d launchers x %d passes of 4 queries, beside %d idle and %d dripping "
                "connections (reopened %d and %d times, %d reopenings failed)\n",
                launchers, rounds, idle, drips, idlers.Reopened(), drippers.Reopened(),
                idlers.Failed() + drippers.Failed());
    const int status = results.Report(seconds);
    std::printf("server peak memory %s (goal < 200 MiB)\n", PeakMemory(pid).c_str());
    return status;
}

// Requests per second of clients GETting path from port for seconds.
double HttpRate(std::uint16_t port, const std::string& path, int clients, int seconds,
                int& failed) {
    std::atomic<int> done{0};
    std::atomic<int> failures{0};
    const Clock::time_point end = Clock::now() + std::chrono::seconds(seconds);
    std::vector<std::thread> threads;
    for (int i = 0; i < clients; ++i) {
        threads.emplace_back([&, source = LoopbackAddress(HttpNetwork, i % 8)] {
            while (Clock::now() < end) {
                try {
                    LoopbackSocket socket(source, port);
                    socket.Send("GET " + path + " HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n");
                    std::string head;
                    socket.ReceiveAll(head);
                    ++(head.rfind("HTTP/1.", 0) == 0 && head.find(" 200 ") == 8 ? done : failures);
                } catch (const std::exception&) {
                    ++failures;
                }
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    failed += failures;
    return done / static_cast<double>(seconds);
}

int HttpLoad(std::uint16_t port, std::uint16_t peerPort, const std::string& path, int clients,
             int seconds) {
    double ours = 0;
    double peer = 0;
    int failed = 0;
    for (int run = 0; run < 2; ++run) {
        ours += HttpRate(port, path, clients, seconds, failed) / 2;
        peer += HttpRate(peerPort, path, clients, seconds, failed) / 2;
    }
    std::printf("http GET %s, %d clients: qvs-server %.0f requests/s, nginx %.0f requests/s, "
                "ratio %.2f (goal >= 0.70), %d failed\n",
                path.c_str(), clients, ours, peer, peer > 0 ? ours / peer : 0.0, failed);
    return failed == 0 ? 0 : 1;
}

// Every held connection is a descriptor: take all the system allows us.
void RaiseOpenFileLimit() {
    rlimit limit{};
    if (::getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur < limit.rlim_max) {
        limit.rlim_cur = limit.rlim_max;
        ::setrlimit(RLIMIT_NOFILE, &limit);
    }
}

int Argument(int argc, char** argv, int index, int fallback) {
    return argc > index ? std::max(1, std::atoi(argv[index])) : fallback;
}

} // namespace
} // namespace qvs::bench

int main(int argc, char** argv) {
    using namespace qvs::bench;
    RaiseOpenFileLimit();
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "update" && argc >= 4 && argc <= 8) {
        return UpdateLoad(static_cast<std::uint16_t>(std::atoi(argv[2])), argv[3],
                          Argument(argc, argv, 4, 200), Argument(argc, argv, 5, 5),
                          Argument(argc, argv, 6, 10000), Argument(argc, argv, 7, 256));
    }
    if (mode == "http" && argc >= 5 && argc <= 7) {
        return HttpLoad(static_cast<std::uint16_t>(std::atoi(argv[2])),
                        static_cast<std::uint16_t>(std::atoi(argv[3])), argv[4],
                        Argument(argc, argv, 5, 64), Argument(argc, argv, 6, 5));
    }
    std::fprintf(stderr, "usage: bench_server_load update PORT SERVER_PID [LAUNCHERS] [ROUNDS] "
                         "[IDLE] [DRIPS]\n"
                         "       bench_server_load http PORT PEER_PORT PATH [CLIENTS] "
                         "[SECONDS]\n");
    return 2;
}
