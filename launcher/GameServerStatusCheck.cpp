#include "launcher/GameServerStatusCheck.h"

#include "http/CHttpClient.h"
#include "launcher/ErrorReport.h"
#include "launcher/IServerStatusView.h"
#include "launcher/ProcessValues.h"
#include "workers/CPingGameServerThread.h"
#include "workers/RunWorker.h"

#include <exception>

namespace qvs {

namespace {

bool IsBlankOrControl(char c) {
    return static_cast<unsigned char>(c) <= ' ' || c == '\x7F';
}

} // namespace

GameServerStatusCheck::GameServerStatusCheck(ProcessValues& values, IServerStatusView& view,
                                             std::string defaultAddress)
    : values_(values), view_(view), defaultAddress_(std::move(defaultAddress)) {}

void GameServerStatusCheck::Run() {
    WorkerValues& workers = values_.Workers;
    bool online = Attempt(workers.ServerHost);
    if (!online && FetchServerAddress()) {
        online = Attempt(workers.ServerHost);
    }
    if (!online) {
        workers.ServerHost = defaultAddress_;
        online = Attempt(workers.ServerHost);
    }
    if (online) {
        ShowOnline();
    } else {
        values_.PlayHelp1 = PlayHelpDisabled;
    }
    if (ShouldOfferErrorReport(values_.ErrorLogPath)) {
        view_.ShowErrorReport();
    }
}

// The window stays live while the worker waits: the label blinks, the 30 s
// timer fires, buttons answer.
bool GameServerStatusCheck::Attempt(const std::string& host) {
    view_.RestartBlinking();
    Worker<CPingGameServerThread> worker(values_.Workers, host, values_.GameServerPort,
                                         values_.WorkerWaitMs);
    return !RunWorker(worker, WaitPolicy::PumpMessages([this] { view_.ProcessPendingMessages(); }))
                .failed;
}

bool GameServerStatusCheck::FetchServerAddress() {
    CHttpClient client(values_.WorkerWaitMs, MaxAddressFileSize);
    client.OnSuccess = [this](CHttpClient::Command) {
        values_.AddressFetchResult = AddressFetch::Succeeded;
    };
    client.OnFailure = [this](CHttpClient::Command) {
        values_.AddressFetchResult = AddressFetch::Failed;
    };
    client.OnIdle = [this] { view_.ProcessPendingMessages(); };
    try {
        client.Get(values_.Workers.WebBaseUrl + "QVS_SERVER_ADDRESS.TXT");
    } catch (const std::exception&) {
        // An unreachable web host: the default address is tried next.
        return false;
    }
    if (values_.AddressFetchResult == AddressFetch::Succeeded) {
        values_.Workers.ServerHost = TrimmedAddress(client.Body());
    }
    return true;
}

void GameServerStatusCheck::ShowOnline() {
    WorkerValues& workers = values_.Workers;
    // Counts below 5 are shown one higher, as players have always seen them.
    if (workers.PeopleOnline < 5) {
        ++workers.PeopleOnline;
    }
    view_.ShowPeopleOnline(workers.PeopleOnline);
    values_.PlayHelp1 = PlayHelpOnline;
    view_.StopBlinking();
}

std::string GameServerStatusCheck::TrimmedAddress(const std::string& body) {
    std::size_t first = 0;
    std::size_t last = body.size();
    while (first < last && IsBlankOrControl(body[first])) {
        ++first;
    }
    while (last > first && IsBlankOrControl(body[last - 1])) {
        --last;
    }
    return body.substr(first, last - first);
}

} // namespace qvs
