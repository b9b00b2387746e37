// The values the whole launcher shares for one run. The application creates
// one instance and hands it by reference to the windows, the update pass and
// the workers; tests create their own, so nothing here is global.
#pragma once

#include "protocol/UpdateFrame.h"
#include "workers/WorkerValues.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace qvs {

class CConfig;
class CDirectory;

// The first help line of Play Game while the game server has not answered,
// and the one that allows playing.
inline constexpr std::string_view PlayHelpDisabled = "The 'Play Game' button has been disabled. ";
inline constexpr std::string_view PlayHelpOnline = "Enter the Land of Ostrel ";

// The update step that failed last, by the numbers support knows them by.
enum class UpdateError : std::uint8_t {
    None = 0,
    Ping = 1,
    VersionQuery = 2, // either latest-version query
    LauncherFile = 3,
    DataFiles = 4,
    ClientCode = 5,
};

// How the download of the game server's address file ended.
enum class AddressFetch : std::int32_t {
    NotDone = 0,
    Succeeded = 1,
    Failed = 2,
};

struct ProcessValues {
    // installDir ends with a separator; the derived paths and the server
    // addresses of the build are filled in from it.
    explicit ProcessValues(std::string installDir);
    ~ProcessValues();
    ProcessValues(const ProcessValues&) = delete;
    ProcessValues& operator=(const ProcessValues&) = delete;

    // What the workers read and write; InstallDir lives there.
    WorkerValues Workers;

    std::string SoundsDir;
    std::string LogDir;
    std::string ErrorLogPath;

    // The update server as the main window's TCP client was given it at
    // start-up; a later change of ServerHost does not reach it.
    std::string UpdateServerHost;
    std::uint16_t UpdateServerPort = qvs::UpdateServerPort;
    std::uint16_t GameServerPort = qvs::GameServerPort;
    // The names the update display shows, and in capitals records as
    // "LAST_DOWNLOAD": the update web host and the game server host.
    std::string WebHostName;
    std::string ServerHostName;
    // The longest wait of a worker for each piece of a reply.
    int WorkerWaitMs = WaitForDataMs;

    std::int32_t LocalDataVersion = 0;
    std::int32_t LocalClientCodeVersion = 0;

    // Last failing update step; never reset to None during a run.
    UpdateError UpdateErrorStatus = UpdateError::None;

    std::string PlayHelp1{PlayHelpDisabled};

    // Where the game launch extracted the client's start-up class.
    std::string ClientClassDir;

    AddressFetch AddressFetchResult = AddressFetch::NotDone;

    // Created by the start-up, deleted by the main window.
    std::unique_ptr<CConfig> Config;
    std::unique_ptr<CDirectory> Directory;

    const std::string& InstallDir() const { return Workers.InstallDir; }
    // "qvs.dat" and "qvsc.dat" for the short name "qvs".
    std::string DataVersionFile() const { return InstallDir() + Workers.ShortName + ".dat"; }
    std::string ClientCodeVersionFile() const { return InstallDir() + Workers.ShortName + "c.dat"; }
};

} // namespace qvs
