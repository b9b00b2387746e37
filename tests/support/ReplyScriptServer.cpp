#include "support/ReplyScriptServer.h"

#include <chrono>

#include "platform/SocketError.h"

namespace qvs::test {

namespace {

constexpr int PollMs = 20;
constexpr int RequestWaitMs = 5000;

} // namespace

ReplyScriptServer::Script ReplyScriptServer::SendInPieces(const std::string& data,
                                                          std::size_t pieceSize, int pauseMs) {
    Script script;
    for (std::size_t at = 0; at < data.size(); at += pieceSize) {
        script.push_back(Send(data.substr(at, pieceSize)));
        script.push_back(Pause(pauseMs));
    }
    return script;
}

ReplyScriptServer::ReplyScriptServer(Script script)
    : ReplyScriptServer([script](const std::string&, int) { return script; }) {}

ReplyScriptServer::ReplyScriptServer(ScriptPicker picker)
    : picker_(std::move(picker)), listener_("127.0.0.1", 0), port_(listener_.LocalPort()) {
    thread_ = std::thread([this] { Run(); });
}

ReplyScriptServer::~ReplyScriptServer() {
    stop_ = true;
    thread_.join();
}

std::string ReplyScriptServer::Address() const {
    return "127.0.0.1:" + std::to_string(port_);
}

std::vector<std::string> ReplyScriptServer::Requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

void ReplyScriptServer::Run() {
    int index = 0;
    while (!stop_) {
        std::optional<platform::TcpSocket> client = listener_.Accept(PollMs);
        if (!client) {
            continue;
        }
        try {
            Serve(*client, index++);
        } catch (const platform::SocketError&) {
            // The client went away mid-script: some tests do exactly that.
        }
    }
}

void ReplyScriptServer::Serve(platform::TcpSocket& client, int index) {
    const std::string request = ReadRequest(client);
    {
        std::lock_guard lock(mutex_);
        requests_.push_back(request);
    }
    for (const Step& step : picker_(request, index)) {
        switch (step.kind) {
        case Step::Kind::Send:
            client.SendAll(step.data);
            break;
        case Step::Kind::Pause:
            std::this_thread::sleep_for(std::chrono::milliseconds(step.ms));
            break;
        case Step::Kind::Hold:
            HoldOpen(client);
            break;
        }
    }
    client.Close();
}

std::string ReplyScriptServer::ReadRequest(platform::TcpSocket& client) {
    std::string request;
    char buffer[4096];
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(RequestWaitMs);
    while (request.find("\r\n\r\n") == std::string::npos && !stop_ &&
           std::chrono::steady_clock::now() < deadline) {
        if (!client.WaitForData(PollMs)) {
            continue;
        }
        const std::size_t got = client.Receive(buffer, sizeof buffer);
        if (got == 0) {
            break;
        }
        request.append(buffer, got);
    }
    return request;
}

void ReplyScriptServer::HoldOpen(platform::TcpSocket& client) {
    char buffer[4096];
    while (!stop_) {
        if (client.WaitForData(PollMs) && client.Receive(buffer, sizeof buffer) == 0) {
            return;
        }
    }
}

} // namespace qvs::test
