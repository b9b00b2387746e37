#include "ProbeCommands.h"

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <system_error>
#include <utility>

#include "BuildSettings.h"
#include "http/CHttpClient.h"
#include "platform/FileVersion.h"
#include "platform/Utf8Path.h"
#include "protocol/UpdateReplies.h"
#include "protocol/UpdateRequests.h"
#include "signing/KeyText.h"
#include "workers/CDownloadWebFileThread.h"
#include "workers/CGetCurrentFileVersion.h"
#include "workers/CGetLatestClassVersionThread.h"
#include "workers/CGetLatestVersionThread.h"
#include "workers/CPingGameServerThread.h"
#include "workers/CPingThread.h"
#include "workers/CRequestECDFileThread.h"
#include "workers/RunWorker.h"
#include "workers/ServerConversation.h"

namespace qvs {

namespace {

std::string WithSeparator(std::string dir) {
    if (!dir.empty() && dir.back() != '/' && dir.back() != '\\') {
        dir += '/';
    }
    return dir;
}

} // namespace

ProbeCommands::ProbeCommands(ProbeOptions options, std::ostream& out, std::ostream& err)
    : options_(std::move(options)), out_(out), err_(err) {
    values_.ServerHost = options_.host;
    values_.WebBaseUrl = options_.web;
    values_.InstallDir = WithSeparator(options_.install);
    values_.UpdatePublicKeys = KeyText::PublicKeys(build::UpdatePublicKeys);
}

int ProbeCommands::Run() {
    using Command = void (ProbeCommands::*)();
    const std::pair<const char*, Command> commands[] = {
        {"ping", &ProbeCommands::Ping},
        {"latest", &ProbeCommands::Latest},
        {"fileversion", &ProbeCommands::FileVersion},
        {"fetch", &ProbeCommands::Fetch},
        {"launcher", &ProbeCommands::Launcher},
        {"status", &ProbeCommands::Status},
        {"get", &ProbeCommands::Get}};
    try {
        for (const auto& [name, command] : commands) {
            if (options_.command == name) {
                (this->*command)();
            }
        }
    } catch (const std::exception& error) {
        err_ << "qvs-probe: " << options_.command << ": " << error.what() << '\n';
        return 1;
    }
    return 0;
}

std::uint16_t ProbeCommands::Port(std::uint16_t usual) const {
    return options_.port != 0 ? static_cast<std::uint16_t>(options_.port) : usual;
}

void ProbeCommands::Finish(WorkerFrame& worker) {
    const WorkerOutcome outcome = RunWorker(worker, WaitPolicy::Block());
    if (outcome.failed) {
        throw std::runtime_error(std::string(KindName(outcome.failure.kind)) +
                                 " failure: " + outcome.failure.reason);
    }
}

void ProbeCommands::Ping() {
    Worker<CPingThread> worker(values_, options_.host, Port(UpdateServerPort), options_.waitMs);
    Finish(worker.Frame());
    out_ << "address=" << values_.ObservedAddress << '\n';
}

// The client code is named ShortName + "c", the data set ShortName.
void ProbeCommands::Latest() {
    const std::string& name = options_.operands[0];
    const bool clientCode = name.size() > 1 && name.back() == 'c';
    values_.ShortName = clientCode ? name.substr(0, name.size() - 1) : name;
    if (clientCode) {
        Worker<CGetLatestClassVersionThread> worker(values_, options_.host, Port(UpdateServerPort),
                                                    options_.waitMs);
        Finish(worker.Frame());
        out_ << "version=" << values_.LatestClientCodeVersion << '\n';
    } else {
        Worker<CGetLatestVersionThread> worker(values_, options_.host, Port(UpdateServerPort),
                                               options_.waitMs);
        Finish(worker.Frame());
        out_ << "version=" << values_.LatestDataVersion << '\n';
    }
}

// The same conversation and comparison as CGetCurrentFileVersion, which keeps
// only the outcome; the probe shows both versions.
void ProbeCommands::FileVersion() {
    platform::TcpSocket socket;
    CStream payload =
        RunUpdateServerConversation(socket, options_.host, Port(UpdateServerPort),
                                    BuildGetCurrentFileVersionRequest(values_.ShortName + ".exe"),
                                    MessageType::GetCurrentFileVersion, options_.waitMs);
    const platform::FileVersion server = ParseGetCurrentFileVersionReply(payload);
    const platform::FileVersion local = options_.local.empty()
                                            ? platform::FileVersion{}
                                            : platform::GetFileInformation(options_.local);
    out_ << "server=" << platform::FormatVersion(server) << '\n'
         << "local=" << platform::FormatVersion(local) << '\n'
         << "newer=" << (server > local ? "true" : "false") << '\n';
}

void ProbeCommands::Fetch() {
    values_.RequestName = options_.operands[0];
    try {
        values_.RequestVersion = std::stoi(options_.operands[1]);
    } catch (const std::exception&) {
        throw std::runtime_error("not a version number: " + options_.operands[1]);
    }
    Worker<CRequestECDFileThread> worker(values_, options_.host, Port(UpdateServerPort),
                                         options_.waitMs);
    worker->UseServer = options_.server;
    Finish(worker.Frame());
    out_ << "bytes=" << worker->Progress.BytesReceived << '\n';
}

// With keys the new launcher must be signed for the version the update
// server announces, so the probe asks for it first, as the launcher does.
void ProbeCommands::Launcher() {
    if (!values_.UpdatePublicKeys.empty()) {
        Worker<CGetCurrentFileVersion> query(values_, options_.host, Port(UpdateServerPort),
                                             options_.waitMs);
        Finish(query.Frame());
    }
    Worker<CDownloadWebFileThread> worker(values_, values_.ShortName + ".exe", options_.waitMs,
                                          Port(UpdateServerPort));
    worker->UseServer = options_.server;
    Finish(worker.Frame());
    out_ << "bytes=" << worker->Progress.BytesReceived << '\n';
}

void ProbeCommands::Status() {
    Worker<CPingGameServerThread> worker(values_, options_.host, Port(GameServerPort),
                                         options_.waitMs);
    Finish(worker.Frame());
    out_ << "people=" << values_.PeopleOnline << '\n'
         << "notice_mode=" << values_.NoticeMode << '\n'
         << "notice_title=" << values_.NoticeTitle << '\n';
}

// With --out the body goes into OUT.part as it arrives, not into memory, so
// writing overlaps the transfer as in any download tool; it becomes OUT only
// after a whole successful reply, and redirect replies are never written.
void ProbeCommands::Get() {
    CHttpClient client(options_.waitMs);
    bool failed = false;
    client.OnFailure = [&failed](CHttpClient::Command) { failed = true; };
    const std::string partial = options_.out + ".part";
    std::ofstream file;
    if (!options_.out.empty()) {
        client.OnBodyData = [&](const char* data, std::size_t size) {
            if (!file.is_open()) {
                file.open(platform::Utf8Path(partial), std::ios::binary | std::ios::trunc);
            }
            file.write(data, static_cast<std::streamsize>(size));
        };
    }
    try {
        client.Get(options_.operands[0]);
        out_ << "status=" << client.Status() << '\n' << "bytes=" << client.Received() << '\n';
        // An error page is no download: nothing is written and the exit code says so.
        if (failed) {
            throw std::runtime_error(client.FailureReason());
        }
        if (!options_.out.empty()) {
            SavePartial(file, partial);
        }
    } catch (...) {
        if (!options_.out.empty()) { // without --out there is no part file of ours
            file.close();
            std::error_code ignored;
            std::filesystem::remove(platform::Utf8Path(partial), ignored);
        }
        throw;
    }
}

void ProbeCommands::SavePartial(std::ofstream& file, const std::string& partial) const {
    if (!file.is_open()) {
        file.open(platform::Utf8Path(partial), std::ios::binary | std::ios::trunc); // an empty body
    }
    file.close();
    std::error_code error;
    if (file) {
        std::filesystem::rename(platform::Utf8Path(partial), platform::Utf8Path(options_.out),
                                error);
    }
    if (!file || error) {
        throw std::runtime_error("cannot write " + options_.out);
    }
}

} // namespace qvs
