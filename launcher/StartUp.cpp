#include "launcher/StartUp.h"

#include "launcher/CConfig.h"
#include "platform/FileSystem.h"
#include "platform/FileVersion.h"
#include "system/CDirectory.h"

#include <string_view>

namespace qvs {

namespace {

constexpr std::string_view ZeroVersion{"\0\0\0\0", 4};

std::int32_t LittleEndianInt(std::string_view bytes) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) {
        value = (value << 8) | static_cast<unsigned char>(bytes[static_cast<std::size_t>(i)]);
    }
    return static_cast<std::int32_t>(value);
}

} // namespace

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
    const std::string base = values_.InstallDir() + values_.Workers.ShortName;
    values_.LocalDataVersion = ReadVersionFile(base + ".dat");
    values_.LocalClientCodeVersion = ReadVersionFile(base + "c.dat");
}

std::int32_t StartUp::ReadVersionFile(const std::string& path) {
    const auto bytes = platform::ReadWholeFile(path);
    if (bytes && bytes->size() >= ZeroVersion.size()) {
        return LittleEndianInt(*bytes);
    }
    try {
        platform::WriteFileAtomically(path, ZeroVersion);
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
