#include "LauncherPatch.h"

#include "platform/AsciiCase.h"
#include "platform/DetachedProcess.h"
#include "platform/ExecutableFormat.h"
#include "platform/FileSystem.h"
#include "platform/VersionRecord.h"
#include "signing/LauncherSignature.h"
#include "signing/SignatureError.h"

#include <thread>

namespace qvs {

namespace {

// The version record of a program's bytes, as the launcher compares them.
platform::FileVersion OwnVersion(const std::optional<std::string>& program) {
    const auto text = program ? platform::FindVersionRecord(*program) : std::nullopt;
    return text ? platform::ParseVersionText(*text) : platform::FileVersion{};
}

} // namespace

LauncherPatch::LauncherPatch(std::string installDir, std::string shortName, Timing timing,
                             std::vector<std::string> publicKeys)
    : installDir_(std::move(installDir)), shortName_(std::move(shortName)), timing_(timing),
      publicKeys_(std::move(publicKeys)), log_(installDir_, "UpdateQvsPatch") {}

std::string LauncherPatch::LauncherPath() const {
    return installDir_ + shortName_ + ".exe";
}

std::string LauncherPatch::NewLauncherPath() const {
    return installDir_ + platform::UpperAscii(shortName_);
}

bool LauncherPatch::Run(std::uint32_t launcherProcessId) {
    if (!WaitForLauncherEnd(launcherProcessId)) {
        return false;
    }
    // The old launcher is started again when the new one cannot be put in
    // place, so the player is not left without one.
    const bool replaced = Replace();
    const bool restarted = Restart();
    return replaced && restarted;
}

bool LauncherPatch::WaitForLauncherEnd(std::uint32_t launcherProcessId) {
    if (platform::WaitForProcessEnd(launcherProcessId, timing_.launcherEnd)) {
        return true;
    }
    log_.Append("process " + std::to_string(launcherProcessId) + " did not end within " +
                std::to_string(timing_.launcherEnd.count()) +
                " ms; launcher not replaced, not restarted");
    return false;
}

bool LauncherPatch::Replace() {
    const std::string name = platform::UpperAscii(shortName_);
    const std::optional<std::string> program = platform::ReadWholeFile(NewLauncherPath());
    if (!program) {
        log_.Append("cannot read the new launcher " + name + "; old launcher kept");
        return false;
    }
    if (!platform::IsExecutableImage(*program)) {
        log_.Append("the new launcher " + name + " (" + std::to_string(program->size()) +
                    " bytes) is not a program; old launcher kept");
        return false;
    }
    if (!IsSignedAndNewer(*program)) {
        return false;
    }
    if (!WriteOverLauncher(*program)) {
        return false;
    }
    if (!platform::MakeRunnable(LauncherPath())) {
        log_.Append("cannot make " + shortName_ + ".exe runnable");
        return false;
    }
    if (!platform::RemoveFile(NewLauncherPath())) {
        log_.Append("launcher replaced, but " + name + " could not be deleted");
    }
    return true;
}

bool LauncherPatch::IsSignedAndNewer(const std::string& program) const {
    if (publicKeys_.empty()) {
        return true;
    }
    try {
        const platform::FileVersion version = LauncherSignature::Verify(program, publicKeys_);
        const platform::FileVersion running = OwnVersion(platform::ReadWholeFile(LauncherPath()));
        if (!(version > running)) {
            throw SignatureError("version " + platform::FormatVersion(version) +
                                 " is not above the running " + platform::FormatVersion(running));
        }
        return true;
    } catch (const std::exception& error) {
        log_.Append("the new launcher " + platform::UpperAscii(shortName_) + " is refused (" +
                    error.what() + "); old launcher kept");
        return false;
    }
}

bool LauncherPatch::WriteOverLauncher(const std::string& program) {
    for (int attempt = 1;; ++attempt) {
        try {
            platform::WriteFileAtomically(LauncherPath(), program);
            return true;
        } catch (const platform::FileCreateError& error) {
            if (attempt >= timing_.replaceAttempts) {
                log_.Append(std::string(error.what()) + " after " + std::to_string(attempt) +
                            " attempts; old launcher kept");
                return false;
            }
        }
        std::this_thread::sleep_for(timing_.replaceRetry);
    }
}

bool LauncherPatch::Restart() {
    if (platform::StartDetached(LauncherPath(), {}, installDir_)) {
        return true;
    }
    log_.Append("cannot start " + LauncherPath());
    return false;
}

} // namespace qvs
