#include "launcher/GameLaunch.h"

#include "BuildSettings.h"
#include "launcher/CConfig.h"
#include "launcher/ClassDirectory.h"
#include "platform/FileSystem.h"
#include "platform/PhysicalMemory.h"
#include "protocol/CStream.h"
#include "signing/UpdateSignature.h"
#include "system/CDirectory.h"
#include "system/CheckJavaVersion.h"
#include "system/GetCpuSpeed.h"
#include "system/JavaCommandLine.h"

#include <exception>
#include <optional>
#include <stdexcept>

namespace qvs {

namespace {

// The Java runtime installers that may ship beside the launcher, in the
// order they are offered.
constexpr const char* kJavaInstallers[] = {
    "j2re-1_4_2-beta-bin-b12-windows-i586-16_jan_2003.exe",
    "j2re-1_4_1_01-windows-i586.exe",
};

// clang-format off
constexpr const char* kJavaQuestion = "You need to have Java 1.4 or greater installed on your machine to play Quorvash.  Would you like to install it now?";
constexpr const char* kJavaNotFoundHead = "We could not find the installation for java.  Please download and install the java installation files at ";
constexpr const char* kJavaNotFoundTail = ".  Would you like your default web browser to be directed to this page?";
constexpr const char* kClientCodeError = "An Error occurred with the client code file.  Try one more time if it fails again contact ";
// clang-format on

constexpr double kBytesPerMiB = 1048576.0;

std::string MiB(std::uint64_t bytes) {
    return std::to_string(static_cast<std::uint64_t>(static_cast<double>(bytes) / kBytesPerMiB));
}

// Removes every file of that name, whatever its letter case.
void RemoveAllCases(const std::string& path) {
    while (platform::RemoveFile(path)) {
    }
}

} // namespace

MachineFigures MachineFigures::Measure() {
    const platform::PhysicalMemory memory = platform::GetPhysicalMemory();
    MachineFigures figures;
    figures.totalMemoryBytes = memory.totalBytes;
    figures.availableMemoryBytes = memory.availableBytes;
    figures.cpuMhz = GetCpuSpeed();
    return figures;
}

GameLaunch::GameLaunch(ProcessValues& values, ILaunchView& view, IPrompts& prompts, IShell& shell,
                       Probes probes)
    : values_(values), view_(view), prompts_(prompts), shell_(shell), probes_(std::move(probes)) {
    if (!probes_.checkJava) {
        probes_.checkJava = [&values = values_, &prompts = prompts_] {
            return CheckJavaVersion(*values.Config, prompts);
        };
    }
    if (!probes_.measureMachine) {
        probes_.measureMachine = MachineFigures::Measure;
    }
}

void GameLaunch::LaunchGame() {
    if (!probes_.checkJava()) {
        OfferJava();
        view_.EnablePlayGame();
        return;
    }
    RecordMachineFigures();
    if (!PrepareClientCode()) {
        ReportClientCodeError();
        return;
    }
    shell_.StartProgram(JavaClientStart(values_.InstallDir()));
    view_.WaitWithoutInput(kClientStartWait);
    view_.CloseMainWindow();
}

void GameLaunch::OfferJava() {
    if (prompts_.AskYesNo(kJavaQuestion)) {
        OpenJavaInstaller();
    }
}

// The installers are looked for in the installation directory, which the
// launcher makes its working directory at start.
void GameLaunch::OpenJavaInstaller() {
    for (const char* installer : kJavaInstallers) {
        const std::string path = values_.InstallDir() + installer;
        if (platform::FileExists(path)) {
            shell_.OpenFile(path, values_.InstallDir());
            return;
        }
    }
    const std::string javaSite = build::JavaSite;
    if (prompts_.AskYesNo(kJavaNotFoundHead + javaSite + kJavaNotFoundTail)) {
        shell_.OpenUrl(javaSite);
    }
}

// The figures are only a record for support staff: a configuration file
// that cannot be written must not keep the player from the game.
void GameLaunch::RecordMachineFigures() {
    const MachineFigures figures = probes_.measureMachine();
    try {
        values_.Config->WriteValue("CONFIG", "MEMORY", MiB(figures.totalMemoryBytes));
        values_.Config->WriteValue("CONFIG", "AVAILABLE_MEMORY", MiB(figures.availableMemoryBytes));
        values_.Config->WriteValue("CONFIG", "CPU", std::to_string(figures.cpuMhz));
    } catch (const std::exception&) {
    }
}

bool GameLaunch::PrepareClientCode() {
    try {
        const std::optional<std::string> content =
            platform::ReadWholeFile(values_.Workers.ClientCodeFile());
        if (!content) {
            return false;
        }
        CheckClientCodeSignature(*content);
        // Only the signed bytes: a package cut short must not read on into
        // its trailer.
        const std::string_view signedBytes = UpdateSignature::Content(*content);
        CStream package;
        package.Write(signedBytes.data(), signedBytes.size());
        package.Decode();
        ExtractClientClass(package);
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

// Checked again at every start: the file may have been altered on disk since
// it arrived. Without keys in the build it is taken as it is.
void GameLaunch::CheckClientCodeSignature(std::string_view file) const {
    const WorkerValues& workers = values_.Workers;
    if (!workers.UpdatePublicKeys.empty()) {
        UpdateSignature::Verify(
            file, workers.UpdatePublicKeys,
            {workers.ShortName + "c", std::to_string(values_.LocalClientCodeVersion)});
    }
}

// Only a directory strictly inside the installation is emptied and hidden;
// the installation itself keeps its files and stays visible, and a
// directory elsewhere is refused as a damaged client code file would be.
void GameLaunch::ExtractClientClass(CStream& package) {
    std::string name;
    package.ReadString(name);
    const ClassDirectory classDir = ResolveClassDirectory(name, values_.InstallDir());
    if (classDir.place == ClassDirectoryPlace::Outside) {
        throw std::runtime_error("Class directory outside the installation: " + name);
    }
    values_.ClientClassDir = classDir.path;
    if (classDir.place == ClassDirectoryPlace::Inside) {
        if (platform::IsDirectory(classDir.path)) {
            CDirectory().EmptyDirectory(classDir.path);
        }
        if (!MakeClassDirectory(classDir.path)) {
            throw platform::FileCreateError(classDir.path);
        }
        values_.Directory->HideDirectory(classDir.path);
    }
    values_.Directory->ClearEntries();
    values_.Directory->ExtractStartupClass(package, classDir.path);
}

void GameLaunch::ReportClientCodeError() {
    RemoveAllCases(values_.InstallDir() + "QVSC.ecd");
    RemoveAllCases(values_.InstallDir() + "QVSC.dat");
    prompts_.ShowMessage(kClientCodeError + std::string(build::SupportEmail));
    view_.CloseMainWindow();
}

} // namespace qvs
