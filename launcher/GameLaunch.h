// The end of an update pass: check the Java runtime, record the machine's
// memory and processor clock, extract the client's start-up class from the
// client code file, start the Java client and close the launcher.
#pragma once

#include "launcher/ILaunchView.h"
#include "launcher/IShell.h"
#include "launcher/ProcessValues.h"
#include "system/IPrompts.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace qvs {

class CStream;

// What the launch records about the machine.
struct MachineFigures {
    std::uint64_t totalMemoryBytes = 0;
    std::uint64_t availableMemoryBytes = 0;
    std::uint32_t cpuMhz = 0;

    // Reads the memory status and measures the clock (about 100 ms).
    static MachineFigures Measure();
};

// How long the launcher stays after starting the client.
inline constexpr std::chrono::milliseconds kClientStartWait{14500};

class GameLaunch {
public:
    // Where the launch asks about the machine; tests give their own.
    struct Probes {
        // True when a Java runtime of 1.4 or later answered. Default: the
        // version query, recorded in the configuration file.
        std::function<bool()> checkJava;
        // Default: MachineFigures::Measure.
        std::function<MachineFigures()> measureMachine;
    };

    // values must hold Config and Directory (the start-up creates them).
    GameLaunch(ProcessValues& values, ILaunchView& view, IPrompts& prompts, IShell& shell,
               Probes probes = {});

    // Ends in one of three ways: Play Game enabled again after the Java
    // offer (the launcher stays), the client code message and the window
    // closed, or the Java client started and the window closed 14.5 s later.
    void LaunchGame();

private:
    void OfferJava();
    void OpenJavaInstaller();
    void RecordMachineFigures();
    bool PrepareClientCode();
    void CheckClientCodeSignature(std::string_view file) const;
    void ExtractClientClass(CStream& package);
    void ReportClientCodeError();

    ProcessValues& values_;
    ILaunchView& view_;
    IPrompts& prompts_;
    IShell& shell_;
    Probes probes_;
};

} // namespace qvs
