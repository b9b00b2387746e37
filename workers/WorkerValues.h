// The process-wide values that the workers read and write. The application
// creates one instance and passes it by reference; tests make their own.
//
// Hand-over without locks: the owner sets the inputs and clears WorkerFailed
// before it resumes a worker; the worker writes its results before it marks
// itself terminated; the owner reads them after IsTerminated returned true.
// Only WorkerFailed is atomic, as owners may look at it at any time.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/FileVersion.h"

namespace qvs {

struct WorkerValues {
    // Inputs, set by the owner before a worker starts.
    std::string ShortName = "qvs";
    std::string InstallDir; // with its trailing separator
    std::string WebBaseUrl;
    std::string ServerHost;
    std::string RequestName;
    std::int32_t RequestVersion = 0;
    // Ed25519 public keys (32 raw bytes each), any of which may sign a
    // fetched file; empty: files are taken unchecked.
    std::vector<std::string> UpdatePublicKeys;

    // Set by any worker whose request fails; never cleared by a worker.
    std::atomic<bool> WorkerFailed{false};

    // Results; a failed request leaves them as they were.
    std::string ObservedAddress;
    std::int32_t LatestDataVersion = 0;
    std::int32_t LatestClientCodeVersion = 0;
    bool NewLauncherAvailable = false;
    // The newest launcher's version as the update server announced it.
    platform::FileVersion LatestLauncherVersion;
    std::int32_t PeopleOnline = 0;
    std::int32_t NoticeMode = 0;
    std::string NoticeTitle;
    std::string NoticeHtml;

    // The client code as it arrived, still scrambled: "qvsc.ecd".
    std::string ClientCodeFile() const { return InstallDir + ShortName + "c.ecd"; }
};

} // namespace qvs
