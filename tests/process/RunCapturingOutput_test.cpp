#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "ChildCommand.h"
#include "platform/Process.h"
#include "support/TempDir.h"

namespace qvs::platform {
namespace {

using std::chrono::milliseconds;
using test::ChildCommand;

ProcessError::Kind FailureKind(const std::string& commandLine, milliseconds timeLimit) {
    try {
        RunCapturingOutput(commandLine, timeLimit);
    } catch (const ProcessError& error) {
        return error.GetKind();
    }
    ADD_FAILURE() << "no ProcessError for " << commandLine;
    return ProcessError::Kind::OutputPipe;
}

TEST(RunCapturingOutputTest, KeepsTheTwoStreamsApartByteForByte) {
    const CapturedOutput captured =
        RunCapturingOutput(ChildCommand(R"(err=E1\r\n out=O1\n err=\x00\xff out=\x01)"));
    EXPECT_EQ(captured.output, std::string("O1\n\x01", 4));
    EXPECT_EQ(captured.errors, std::string("E1\r\n\0\xff", 6));
    EXPECT_EQ(captured.exitCode, 0);
}

TEST(RunCapturingOutputTest, ReportsTheExitCode) {
    EXPECT_EQ(RunCapturingOutput(ChildCommand("out=x exit=3")).exitCode, 3);
}

// A child that fills the error pipe while it still holds standard output
// open would block for ever if standard output were read to its end first.
TEST(RunCapturingOutputTest, FullErrorPipeDoesNotBlockTheChild) {
    const CapturedOutput captured =
        RunCapturingOutput(ChildCommand("errfill=1048576 out=done"), std::chrono::seconds(60));
    EXPECT_EQ(captured.output, "done");
    ASSERT_EQ(captured.errors.size(), 1048576u);
    EXPECT_EQ(captured.errors.find_first_not_of('e'), std::string::npos);
}

TEST(RunCapturingOutputTest, BothPipesFullInTurns) {
    const CapturedOutput captured =
        RunCapturingOutput(ChildCommand("outfill=1048576 errfill=1048576 outfill=1 errfill=1"),
                           std::chrono::seconds(60));
    EXPECT_EQ(captured.output, std::string(1048577, 'o'));
    EXPECT_EQ(captured.errors, std::string(1048577, 'e'));
}

// Wine puts its own variables into every process it starts, whatever
// environment the parent passed; Windows itself adds nothing.
bool AddedByTheSystem(const std::string& variable) {
#ifdef _WIN32
    return variable.starts_with("WINE") || variable.starts_with("SystemDrive=") ||
           variable.starts_with("SystemRoot=");
#else
    (void)variable;
    return false;
#endif
}

TEST(RunCapturingOutputTest, ChildGetsNoEnvironmentAtAll) {
    const CapturedOutput captured = RunCapturingOutput(ChildCommand("env"));
    std::istringstream variables(captured.output);
    std::string passedOn;
    for (std::string variable; std::getline(variables, variable);) {
        if (!AddedByTheSystem(variable)) {
            passedOn += variable + "\n";
        }
    }
    EXPECT_EQ(passedOn, "");
    EXPECT_EQ(captured.errors, "");
}

TEST(RunCapturingOutputTest, ChildStandardInputIsEmpty) {
    EXPECT_EQ(RunCapturingOutput(ChildCommand("stdin")).output, "stdin-empty");
}

TEST(RunCapturingOutputTest, ChildRunsInTheLaunchersDirectory) {
    EXPECT_EQ(RunCapturingOutput(ChildCommand("cwd")).output,
              std::filesystem::current_path().string());
}

TEST(RunCapturingOutputTest, MissingProgramCannotStart) {
    EXPECT_EQ(FailureKind("qvs-no-such-program-4711 -version", milliseconds(5000)),
              ProcessError::Kind::Start);
    EXPECT_EQ(FailureKind("", milliseconds(5000)), ProcessError::Kind::Start);
    EXPECT_EQ(FailureKind("   ", milliseconds(5000)), ProcessError::Kind::Start);
}

TEST(RunCapturingOutputTest, FileThatIsNoProgramCannotStart) {
    const test::TempDir dir;
    std::ofstream(dir.File("plain.txt")) << "not a program\n";
    EXPECT_EQ(FailureKind("\"" + dir.File("plain.txt") + "\"", milliseconds(5000)),
              ProcessError::Kind::Start);
    EXPECT_EQ(FailureKind("\"" + dir.Path().string() + "\"", milliseconds(5000)),
              ProcessError::Kind::Start);
}

TEST(RunCapturingOutputTest, ChildThatNeverEndsIsStopped) {
    EXPECT_EQ(FailureKind(ChildCommand("out=started forever"), milliseconds(300)),
              ProcessError::Kind::TimedOut);
}

// The pipes end at once, but the child goes on running.
TEST(RunCapturingOutputTest, ChildThatClosesItsPipesAndStaysIsStopped) {
    EXPECT_EQ(FailureKind(ChildCommand("out=x close forever"), milliseconds(300)),
              ProcessError::Kind::TimedOut);
}

TEST(RunCapturingOutputTest, ErrorTextsAreTheOnesShownToThePlayer) {
    EXPECT_STREQ(ProcessError(ProcessError::Kind::OutputPipe).what(), "Error Creating Output Pipe");
    EXPECT_STREQ(ProcessError(ProcessError::Kind::ErrorsPipe).what(), "Error Creating Errors Pipe");
    EXPECT_STREQ(ProcessError(ProcessError::Kind::Start).what(), "Error executing command line");
    EXPECT_STREQ(ProcessError(ProcessError::Kind::TimedOut).what(),
                 "The command did not end in time and was stopped");
}

#ifndef _WIN32
// Without a shell, the program name is looked up along the launcher's PATH.
TEST(RunCapturingOutputTest, FindsTheProgramOnThePath) {
    const CapturedOutput captured = RunCapturingOutput(R"(sh -c "printf out; printf err >&2")");
    EXPECT_EQ(captured.output, "out");
    EXPECT_EQ(captured.errors, "err");
}

TEST(RunCapturingOutputTest, NoShellInterpretsTheCommandLine) {
    const CapturedOutput captured = RunCapturingOutput("echo $HOME 'a  b' ; ls");
    EXPECT_EQ(captured.output, "$HOME 'a b' ; ls\n");
}

bool ProcessIsGone(const std::string& pid) {
    std::ifstream stat("/proc/" + pid + "/stat");
    std::string number;
    std::string name;
    std::string state;
    return !(stat >> number >> name >> state) || state == "Z";
}

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
    bool gone = ProcessIsGone(pid);
    for (int i = 0; i < 100 && !gone; ++i) {
        std::this_thread::sleep_for(milliseconds(50));
        gone = ProcessIsGone(pid);
    }
    EXPECT_TRUE(gone) << "process " << pid << " still runs";
}
#endif

} // namespace
} // namespace qvs::platform
