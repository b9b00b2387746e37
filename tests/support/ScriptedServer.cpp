#include "support/ScriptedServer.h"

#include <chrono>
#include <vector>

#include "platform/SocketError.h"

namespace qvs::test {

namespace {

constexpr int pollMs = 50;
constexpr int holdLimitMs = 30000;

void ReadExactly(platform::TcpSocket& client, std::size_t count, std::string& received) {
    std::vector<char> buffer(count);
    std::size_t got = 0;
    while (got < count) {
        if (!client.WaitForData(holdLimitMs)) {
            return;
        }
        const std::size_t n = client.Receive(buffer.data() + got, count - got);
        if (n == 0) {
            break;
        }
        got += n;
    }
    received.append(buffer.data(), got);
}

void HoldUntilClosed(platform::TcpSocket& client, const std::atomic<bool>& stop) {
    char sink[256];
    for (int waited = 0; waited < holdLimitMs && !stop.load(); waited += pollMs) {
        if (client.WaitForData(pollMs) && client.Receive(sink, sizeof sink) == 0) {
            return;
        }
    }
}

} // namespace

ScriptedServer::Step ScriptedServer::Receive(std::size_t count) {
    return {Step::Kind::Receive, count, {}};
}

ScriptedServer::Step ScriptedServer::Send(std::string bytes) {
    return {Step::Kind::Send, 0, std::move(bytes)};
}

ScriptedServer::Step ScriptedServer::Pause(int ms) {
    return {Step::Kind::Pause, static_cast<std::size_t>(ms), {}};
}

ScriptedServer::Step ScriptedServer::HoldUntilClientCloses() {
    return {Step::Kind::HoldUntilClientCloses, 0, {}};
}

ScriptedServer::ScriptedServer(std::vector<Step> script)
    : script_(std::move(script)), listener_("127.0.0.1", 0), port_(listener_.LocalPort()) {
    thread_ = std::thread([this] { Serve(); });
}

ScriptedServer::~ScriptedServer() {
    stop_.store(true);
    thread_.join();
}

std::vector<std::string> ScriptedServer::Received() const {
    const std::lock_guard lock(mutex_);
    return received_;
}

std::size_t ScriptedServer::WaitForConnections(std::size_t count) const {
    for (int waited = 0; waited < holdLimitMs; waited += 10) {
        {
            const std::lock_guard lock(mutex_);
            if (received_.size() >= count) {
                return received_.size();
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    const std::lock_guard lock(mutex_);
    return received_.size();
}

void ScriptedServer::Serve() {
    while (!stop_.load()) {
        std::optional<platform::TcpSocket> client;
        try {
            client = listener_.Accept(pollMs);
        } catch (const platform::SocketError&) {
            continue;
        }
        if (!client) {
            continue;
        }
        std::string received;
        try {
            Play(*client, received);
        } catch (const platform::SocketError&) {
            // The client went away mid-script; that is what some tests want.
        }
        client->Close();
        const std::lock_guard lock(mutex_);
        received_.push_back(std::move(received));
    }
}

void ScriptedServer::Play(platform::TcpSocket& client, std::string& received) {
    for (const Step& step : script_) {
        switch (step.kind) {
        case Step::Kind::Receive:
            ReadExactly(client, step.count, received);
            break;
        case Step::Kind::Send:
            client.SendAll(step.bytes);
            break;
        case Step::Kind::Pause:
            std::this_thread::sleep_for(std::chrono::milliseconds(step.count));
            break;
        case Step::Kind::HoldUntilClientCloses:
            HoldUntilClosed(client, stop_);
            break;
        }
    }
}

std::uint16_t UnusedPort() {
    platform::TcpListener probe("127.0.0.1", 0);
    const std::uint16_t port = probe.LocalPort();
    probe.Close();
    return port;
}

} // namespace qvs::test
