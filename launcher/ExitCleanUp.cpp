#include "launcher/ExitCleanUp.h"

#include "launcher/ProcessValues.h"
#include "platform/AsciiCase.h"
#include "platform/FileSystem.h"
#include "platform/Utf8Path.h"

#include <cstdio>
#include <exception>
#include <filesystem>
#include <system_error>

namespace qvs {

namespace {

// The directory as an absolute path without "." and ".." parts, without a
// trailing separator and in lower case.
std::string Normalised(const std::string& path) {
    std::error_code error;
    auto absolute = std::filesystem::absolute(platform::Utf8Path(platform::NativePath(path)), error)
                        .lexically_normal();
    std::string text = platform::Utf8String(absolute);
    while (text.size() > 1 && (text.back() == '/' || text.back() == '\\')) {
        text.pop_back();
    }
    return platform::LowerAscii(text);
}

// Also catches a link to the directory. Names that differ only in letter
// case count as the same on every platform: when in doubt, delete nothing.
bool SameDirectoryOnDisk(const std::string& a, const std::string& b) {
    if (Normalised(a) == Normalised(b)) {
        return true;
    }
    std::error_code error;
    const bool same =
        std::filesystem::equivalent(platform::Utf8Path(platform::NativePath(a)),
                                    platform::Utf8Path(platform::NativePath(b)), error);
    return same && !error;
}

} // namespace

bool CleanUpClientClass(const std::string& clientClassDir, const std::string& installDir) {
    if (clientClassDir.empty() || clientClassDir == installDir ||
        SameDirectoryOnDisk(clientClassDir, installDir)) {
        return false;
    }
    const std::string classFile = clientClassDir + "StartUp.class";
    return platform::FileExists(classFile) && platform::RemoveFile(classFile);
}

namespace {

void ReportStartUpFailure(const char* reason,
                          const std::function<void(const std::string&)>& showFailure) {
    std::fprintf(stderr, "qvs.exe: start-up failed: %s\n", reason);
    try {
        showFailure(std::string("Quorvash could not start: ") + reason);
    } catch (...) {
        // Standard error has it; the exit code says the rest.
    }
}

} // namespace

int RunLauncherProcess(ProcessValues& values, const std::function<int()>& run,
                       const std::function<void(const std::string& message)>& showFailure) {
    int exitCode = 1;
    try {
        exitCode = run();
    } catch (const std::exception& error) {
        ReportStartUpFailure(error.what(), showFailure);
    } catch (...) {
        ReportStartUpFailure("unknown error", showFailure);
    }
    CleanUpClientClass(values.ClientClassDir, values.InstallDir());
    return exitCode;
}

} // namespace qvs
