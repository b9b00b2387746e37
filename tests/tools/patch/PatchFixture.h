// What the patch tests share: the stand-in launcher program, an installation
// directory with an old launcher in it, and a bounded wait for the marker
// file the stand-in writes when it is started.
#pragma once

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>

#include "support/RawFile.h"
#include "support/TempDir.h"

namespace qvs::test {

// The stand-in's path. Built beside the test, which runs in its build folder.
inline std::string PatchChildPath() {
    return std::filesystem::absolute(QVS_PATCH_CHILD).string();
}

inline std::string PatchProgramPath() {
    return std::filesystem::absolute(QVS_PATCH_PROGRAM).string();
}

// Program bytes that pass the check for a program on this platform.
inline std::string OldLauncherBytes() {
#ifdef _WIN32
    return std::string("MZ old launcher\0\x01\x02", 19);
#else
    return "#!/bin/sh\n# old launcher\nexit 0\n";
#endif
}

// The marker's text once it exists, waiting at most 20 s for it.
inline std::optional<std::string> WaitForMarker(const std::filesystem::path& directory) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (std::chrono::steady_clock::now() < deadline) {
        if (auto text = ReadRawFile(directory / "marker.txt")) {
            return text;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return std::nullopt;
}

} // namespace qvs::test
