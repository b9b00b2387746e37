#include "support/ScriptedServer.h"

#include <chrono>

#include "platform/SocketError.h"

namespace qvs::test {

constexpr int pollMs = 20;
constexpr int waitLimitMs = 30000;

ScriptedServer::Script ScriptedServer::HttpReply(const std::string& data, std::size_t pieceSize,
                                                 int pauseMs) {
    Script script{ReceiveRequest()};
    for (std::size_t at = 0; at < data.size(); at += pieceSize) {
        script.push_back(Send(data.substr(at, pieceSize)));
        script.push_back(Pause(pauseMs));
    }
    return script;
}

ScriptedServer::ScriptedServer(Script script)
    : ScriptedServer([script](const std::string&, int) { return script; }, false) {}

ScriptedServer::ScriptedServer(ScriptPicker picker) : ScriptedServer(std::move(picker), true) {}

ScriptedServer::ScriptedServer(ScriptPicker picker, bool readRequest)
    : picker_(std::move(picker)), readRequest_(readRequest), listener_("127.0.0.1", 0),
      port_(listener_.LocalPort()) {
    thread_ = std::thread([this] { Serve(); });
}

ScriptedServer::~ScriptedServer() {
    stop_.store(true);
    try { // wakes the accept at once
        platform::TcpSocket wake;
        wake.Connect("127.0.0.1", port_, 1000);
    } catch (const platform::SocketError&) {
    }
    thread_.join();
}

std::vector<std::string> ScriptedServer::Received() const {
    const std::lock_guard lock(mutex_);
    return received_;
}

std::uint16_t ScriptedServer::RefusedPort() {
    platform::TcpListener probe("127.0.0.1", 0);
    return probe.LocalPort();
}

void ScriptedServer::Serve() {
    while (!stop_.load()) {
        std::optional<platform::TcpSocket> client;
        try {
            client = listener_.Accept(pollMs);
        } catch (const platform::SocketError&) {
            continue;
        }
        if (!client || stop_.load()) {
            continue;
        }
        std::size_t index = 0;
        {
            const std::lock_guard lock(mutex_);
            index = received_.size();
            received_.emplace_back();
        }
        try {
            Play(*client, index);
        } catch (const platform::SocketError&) {
            // The client went away mid-script; that is what some tests want.
        }
        client->Close();
    }
}

void ScriptedServer::Play(platform::TcpSocket& client, std::size_t index) {
    std::string request;
    if (readRequest_) {
        Read(client, index, 0, true);
        request = Received()[index];
    }
    for (const Step& step : picker_(request, static_cast<int>(index))) {
        switch (step.kind) {
        case Step::Kind::Receive:
        case Step::Kind::ReceiveRequest:
            Read(client, index, step.count, step.kind == Step::Kind::ReceiveRequest);
            break;
        case Step::Kind::Send:
            client.SendAll(step.bytes);
            break;
        case Step::Kind::Pause:
            std::this_thread::sleep_for(std::chrono::milliseconds(step.count));
            break;
        case Step::Kind::Hold:
            Read(client, index, SIZE_MAX, false);
            break;
        }
    }
}

// Reads count bytes, or up to an empty line (request), or until the client
// closes or stops sending for long; a Hold's bytes are not kept.
void ScriptedServer::Read(platform::TcpSocket& client, std::size_t index, std::size_t count,
                          bool request) {
    const bool keep = count != SIZE_MAX || request;
    std::string got;
    char buffer[4096];
    for (int idle = 0; idle < waitLimitMs && !stop_.load();) {
        if (request ? got.find("\r\n\r\n") != std::string::npos : got.size() >= count) {
            return;
        }
        if (!client.WaitForData(pollMs)) {
            idle += pollMs;
            continue;
        }
        const std::size_t want = request ? 1 : std::min(sizeof buffer, count - got.size());
        const std::size_t n = client.Receive(buffer, keep ? want : sizeof buffer);
        if (n == 0) {
            return;
        }
        got.append(buffer, keep ? n : 0);
        const std::lock_guard lock(mutex_);
        received_[index].append(buffer, keep ? n : 0);
    }
}

} // namespace qvs::test
