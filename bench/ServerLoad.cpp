// Load on the update server as many launchers starting at once put on it:
// every launcher (one thread) runs the queries of an update pass, each on a
// connection of its own as the workers do: ping, the data and client code
// versions and the launcher's file version. Prints requests per second and
// latency percentiles; exits with 1 when any request failed.
//
// usage: bench_server_load HOST PORT [LAUNCHERS] [ROUNDS]
#include "protocol/UpdateReplies.h"
#include "protocol/UpdateRequests.h"
#include "workers/ServerConversation.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <latch>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace qvs {
namespace {

using Clock = std::chrono::steady_clock;
constexpr int WaitMs = 30000;

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

// Parses each reply as the workers do, so a malformed answer counts as failed.
void CheckReply(const Query& query, CStream& payload) {
    if (query.type == MessageType::Ping) {
        ParsePingReply(payload);
    } else if (query.type == MessageType::GetLatestVersion) {
        ParseGetLatestVersionReply(payload);
    } else {
        ParseGetCurrentFileVersionReply(payload);
    }
}

class ServerLoad {
public:
    ServerLoad(std::string host, std::uint16_t port, int launchers, int rounds)
        : host_(std::move(host)), port_(port), launchers_(launchers), rounds_(rounds),
          start_(launchers) {}

    int Run() {
        std::vector<std::thread> threads;
        const Clock::time_point began = Clock::now();
        for (int i = 0; i < launchers_; ++i) {
            threads.emplace_back([this] { Launcher(); });
        }
        for (std::thread& thread : threads) {
            thread.join();
        }
        const double seconds = std::chrono::duration<double>(Clock::now() - began).count();
        return Report(seconds);
    }

private:
    void Launcher() {
        std::vector<double> mine;
        int failed = 0;
        start_.arrive_and_wait();
        for (int round = 0; round < rounds_; ++round) {
            for (const Query& query : queries) {
                const Clock::time_point sent = Clock::now();
                try {
                    platform::TcpSocket socket;
                    CStream payload = RunUpdateServerConversation(
                        socket, host_, port_, query.build(), query.type, WaitMs);
                    CheckReply(query, payload);
                    mine.push_back(
                        std::chrono::duration<double, std::milli>(Clock::now() - sent).count());
                } catch (const std::exception& error) {
                    ++failed;
                    std::lock_guard lock(mutex_);
                    if (firstError_.empty()) {
                        firstError_ = error.what();
                    }
                }
            }
        }
        std::lock_guard lock(mutex_);
        latencies_.insert(latencies_.end(), mine.begin(), mine.end());
        failed_ += failed;
    }

    double Percentile(double fraction) const {
        if (latencies_.empty()) {
            return 0;
        }
        const auto index = static_cast<std::size_t>(fraction * (latencies_.size() - 1) + 0.5);
        return latencies_[index];
    }

    int Report(double seconds) {
        std::sort(latencies_.begin(), latencies_.end());
        const std::size_t answered = latencies_.size();
        std::printf("launchers %d, rounds %d, requests %zu answered, %d failed\n", launchers_,
                    rounds_, answered, failed_);
        std::printf("%.2f s, %.0f requests/s, latency p50 %.2f ms, p99 %.2f ms, max %.2f ms\n",
                    seconds, static_cast<double>(answered) / seconds, Percentile(0.50),
                    Percentile(0.99), latencies_.empty() ? 0.0 : latencies_.back());
        if (failed_ > 0) {
            std::printf("first failure: %s\n", firstError_.c_str());
        }
        return failed_ == 0 ? 0 : 1;
    }

    std::string host_;
    std::uint16_t port_;
    int launchers_;
    int rounds_;
    std::latch start_;
    std::mutex mutex_;
    std::vector<double> latencies_;
    int failed_ = 0;
    std::string firstError_;
};

} // namespace
} // namespace qvs

int main(int argc, char** argv) {
    if (argc < 3 || argc > 5) {
        std::fprintf(stderr, "usage: bench_server_load HOST PORT [LAUNCHERS] [ROUNDS]\n");
        return 2;
    }
    const int launchers = argc > 3 ? std::max(1, std::atoi(argv[3])) : 200;
    const int rounds = argc > 4 ? std::max(1, std::atoi(argv[4])) : 5;
    qvs::ServerLoad load(argv[1], static_cast<std::uint16_t>(std::atoi(argv[2])), launchers,
                         rounds);
    return load.Run();
}
