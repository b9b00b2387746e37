// Puts a downloaded launcher in place of the old one and starts it.
//
// The launcher stores the new program as the upper-case short name ("QVS")
// beside itself ("qvs.exe"), starts the patch program and closes. The patch
// waits until that process has ended (Windows cannot replace a running
// program), checks that the download is a program at all, writes it over the
// old launcher atomically (so either the old or the new one is in place at
// every moment), deletes "QVS" and starts the launcher again. Every failure
// leaves the old launcher runnable and appends a line to "Log/update.log".
#pragma once

#include "system/UpdateLog.h"

#include <chrono>
#include <cstdint>
#include <string>

namespace qvs {

class LauncherPatch {
public:
    struct Timing {
        // How long the launcher may take to close after starting the patch.
        std::chrono::milliseconds launcherEnd{60000};
        // Replacing is retried: right after a Windows process ends, its
        // program file can stay locked for a moment (virus scanners too).
        int replaceAttempts = 10;
        std::chrono::milliseconds replaceRetry{500};
    };

    // installDir is absolute and ends with a separator; shortName is "qvs".
    LauncherPatch(std::string installDir, std::string shortName, Timing timing);

    // All steps; false when any of them failed (each failure is logged).
    // Nothing is replaced or started while the old launcher still runs.
    bool Run(std::uint32_t launcherProcessId);

    bool WaitForLauncherEnd(std::uint32_t launcherProcessId);
    bool Replace();
    bool Restart();

    std::string LauncherPath() const;    // "qvs.exe"
    std::string NewLauncherPath() const; // "QVS"

private:
    bool WriteOverLauncher(const std::string& program);

    std::string installDir_;
    std::string shortName_;
    Timing timing_;
    UpdateLog log_;
};

} // namespace qvs
