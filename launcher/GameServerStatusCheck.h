// Whether the game server is up, asked once after the main window appears:
// at ServerHost, then at the address the web host publishes, then at the
// built-in default address. Only an answer allows Play Game.
#pragma once

#include <cstdint>
#include <string>

namespace qvs {

class IServerStatusView;
struct ProcessValues;

class GameServerStatusCheck {
public:
    // The address file is small; anything larger is not an address.
    static constexpr std::uint64_t MaxAddressFileSize = 4096;

    GameServerStatusCheck(ProcessValues& values, IServerStatusView& view,
                          std::string defaultAddress);

    // The whole check (tmrPingGameServerOnline's handler after it stopped its
    // timer): up to three attempts, the people-online display, PlayHelp1,
    // and the error report offer.
    void Run();

    // ServerHost after the address file said where the server is.
    static std::string TrimmedAddress(const std::string& body);

private:
    bool Attempt(const std::string& host);
    // False when the fetch raised an error: the second attempt is skipped.
    bool FetchServerAddress();
    void ShowOnline();

    ProcessValues& values_;
    IServerStatusView& view_;
    std::string defaultAddress_;
};

} // namespace qvs
