#include "launcher/StartUp.h"

#include "launcher/CConfig.h"
#include "launcher/VersionFile.h"
#include "platform/FileSystem.h"
#include "platform/FileVersion.h"
#include "system/CDirectory.h"

#include <string_view>

namespace qvs {

void StartUp::Run() {
    CreateDirectoryObject();
    ReadVersionFiles();
    values_.Workers.ObservedAddress.clear();
    CreateLogDirectory();
    OpenConfig();
    WriteExeVersion();
    CleanUpJavaVersions();
}

void StartUp::CreateDirectoryObject() {
    values_.Directory = std::make_unique<CDirectory>();
    values_.Workers.LatestDataVersion = 0;
    values_.Workers.LatestClientCodeVersion = 0;
}

void StartUp::ReadVersionFiles() {
    values_.LocalDataVersion = ReadVersionFile(values_.DataVersionFile());
    values_.LocalClientCodeVersion = ReadVersionFile(values_.ClientCodeVersionFile());
}

std::int32_t StartUp::ReadVersionFile(const std::string& path) {
    if (const auto version = LoadVersionFile(path)) {
        return *version;
    }
    try {
        WriteVersionFile(path, 0);
    } catch (const platform::FileCreateError&) {
        // A read-only installation still starts; the update pass reports
        // the files it cannot write.
    }
    return 0;
}

void StartUp::CreateLogDirectory() {
    if (!platform::IsDirectory(values_.LogDir)) {
        platform::MakeDirectory(values_.LogDir);
    }
}

void StartUp::OpenConfig() {
    values_.Config = std::make_unique<CConfig>(CConfig::PathIn(values_.InstallDir()));
}

void StartUp::WriteExeVersion() {
    const auto version =
        platform::GetFileInformation(values_.InstallDir() + values_.Workers.ShortName + ".exe");
    CConfig& config = *values_.Config;
    try {
        config.WriteValue("EXE_VERSION", "MAJOR_VERSION", std::to_string(version.major));
        config.WriteValue("EXE_VERSION", "MINOR_VERSION", std::to_string(version.minor));
        config.WriteValue("EXE_VERSION", "RELEASE", std::to_string(version.release));
        config.WriteValue("EXE_VERSION", "BUILD", std::to_string(version.build));
    } catch (const platform::FileCreateError&) {
        // The version keys are only a record for error reports; a file that
        // cannot be written must not keep the launcher from starting.
    }
}

void StartUp::CleanUpJavaVersions() {
    CConfig& config = *values_.Config;
    if (config.ReadValue("START_UP", "DELETED_DUPLICATE_JAVA_VERSIONS", "FALSE") == "FALSE") {
        config.RemoveDuplicateJavaVersions();
    }
}

} // namespace qvs
