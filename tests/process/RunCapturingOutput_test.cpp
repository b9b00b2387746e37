#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "ChildCommand.h"
#include "platform/Process.h"
#include "support/RawFile.h"
#include "support/TempDir.h"

namespace qvs::platform {
namespace {

using std::chrono::milliseconds;
using test::ChildCommand;

// The two streams are kept apart byte for byte. A child that fills one pipe
// while it still holds the other open would block for ever if either were
// read to its end first.
TEST(RunCapturingOutputTest, BothStreamsWholeAndApartEvenWhenBothPipesFillInTurns) {
    const CapturedOutput captured = RunCapturingOutput(
        ChildCommand(R"(err=E1\r\n out=O1\n err=\x00\xff out=\x01 errfill=1048576 )"
                     "outfill=1048576 errfill=1 outfill=1 exit=3"),
        std::chrono::seconds(60));
    EXPECT_EQ(captured.output, std::string("O1\n\x01", 4).append(1048577, 'o'));
    EXPECT_EQ(captured.errors, std::string("E1\r\n\0\xff", 6).append(1048577, 'e'));
    EXPECT_EQ(captured.exitCode, 3);
}

TEST(RunCapturingOutputTest, ChildGetsNoEnvironmentNoInputAndTheLaunchersDirectory) {
    const CapturedOutput captured = RunCapturingOutput(ChildCommand("context"));
    std::istringstream lines(captured.output);
    std::string passedOn;
    for (std::string line; std::getline(lines, line);) {
#ifdef _WIN32
        // Wine puts its own variables into every process it starts, whatever
        // environment the parent passed; Windows itself adds nothing.
        if (line.starts_with("WINE") || line.starts_with("SystemDrive=") ||
            line.starts_with("SystemRoot=")) {
            continue;
        }
#endif
        passedOn += line + "\n";
    }
    EXPECT_EQ(passedOn, "stdin-empty" + std::filesystem::current_path().string() + "\n");
    EXPECT_EQ(captured.errors, "");
}

// What the player is shown; the second that does not end closes its pipes
// at once but goes on running.
TEST(RunCapturingOutputTest, WhatCannotStartOrDoesNotEnd) {
    const test::TempDir dir;
    test::WriteRawFile(dir.Path() / "plain.txt", "not a program\n");
    const std::string cannotStart = "Error executing command line";
    const std::string timedOut = "The command did not end in time and was stopped";
    const std::pair<std::string, std::string> cases[] = {
        {"qvs-no-such-program-4711 -version", cannotStart},
        {"", cannotStart},
        {"\"" + dir.File("plain.txt") + "\"", cannotStart},
        {ChildCommand("out=started forever"), timedOut},
        {ChildCommand("out=x close forever"), timedOut}};
    for (const auto& [line, message] : cases) {
        try {
            RunCapturingOutput(line, milliseconds(message == timedOut ? 300 : 5000));
            ADD_FAILURE() << "no ProcessError for " << line;
        } catch (const ProcessError& error) {
            EXPECT_EQ(error.what(), message) << line;
        }
    }
    EXPECT_STREQ(ProcessError(ProcessError::Kind::OutputPipe).what(), "Error Creating Output Pipe");
    EXPECT_STREQ(ProcessError(ProcessError::Kind::ErrorsPipe).what(), "Error Creating Errors Pipe");
}

#ifndef _WIN32
// A time-out also ends what the child started, not only the child itself.
TEST(RunCapturingOutputTest, TimeOutAlsoStopsWhatTheChildStarted) {
    const test::TempDir dir;
    const std::string pidFile = dir.File("pid");
    EXPECT_THROW(RunCapturingOutput("sh -c \"sleep 1000 & echo $! > '" + pidFile + ".tmp'; mv '" +
                                        pidFile + ".tmp' '" + pidFile + "'; wait\"",
                                    milliseconds(3000)),
                 ProcessError);
    std::string pid;
    ASSERT_TRUE(std::ifstream(pidFile) >> pid) << "the script did not start its child";
    // The killed grandchild is reaped by init some moments later.
    std::string state;
    for (int i = 0; i < 100; ++i, std::this_thread::sleep_for(milliseconds(50))) {
        std::ifstream stat("/proc/" + pid + "/stat");
        std::string number;
        std::string name;
        if (!(stat >> number >> name >> state) || state == "Z") {
            return;
        }
    }
    ADD_FAILURE() << "process " << pid << " still runs in state " << state;
}
#endif

} // namespace
} // namespace qvs::platform
