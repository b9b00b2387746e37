// Puts a downloaded launcher in place of the old one and starts it.
//
// The launcher stores the new program as the upper-case short name ("QVS")
// beside itself ("qvs.exe"), starts the patch program and closes. The patch
// waits until that process has ended (Windows cannot replace a running
// program), checks that the download is a program at all, writes it over the
// old launcher atomically (so either the old or the new one is in place at
// every moment), deletes "QVS" and starts the launcher again. With update
// keys in the build, the new program must also be signed for its own
// version, and that version must be above the old launcher's. Every failure
// leaves the old launcher runnable and appends a line to "Log/update.log".
#pragma once

#include "system/UpdateLog.h"

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

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
    // publicKeys: Ed25519 keys (32 raw bytes each) that may sign a launcher;
    // empty: any program is taken.
    LauncherPatch(std::string installDir, std::string shortName, Timing timing,
                  std::vector<std::string> publicKeys = {});

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
    bool IsSignedAndNewer(const std::string& program) const;

    std::string installDir_;
    std::string shortName_;
    Timing timing_;
    std::vector<std::string> publicKeys_;
    UpdateLog log_;
};

} // namespace qvs
