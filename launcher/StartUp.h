// The start-up work of the main window that needs no window: the directory
// object, the two version files, the "Log" directory, the configuration file
// with the launcher's own version, and the one-time Java version clean-up.
#pragma once

#include "launcher/ProcessValues.h"

#include <cstdint>
#include <string>

namespace qvs {

class StartUp {
public:
    explicit StartUp(ProcessValues& values) : values_(values) {}

    // All steps in their order; afterwards Config and Directory exist.
    void Run();

    void CreateDirectoryObject();
    void ReadVersionFiles();
    void CreateLogDirectory();
    void OpenConfig();
    void WriteExeVersion();
    void CleanUpJavaVersions();

    // The version a version file holds in its first four bytes. A missing
    // file, or one too short to hold a version, is (re)written with four zero
    // bytes and gives 0, so the next update fetches from version 1 on.
    static std::int32_t ReadVersionFile(const std::string& path);

private:
    ProcessValues& values_;
};

} // namespace qvs
