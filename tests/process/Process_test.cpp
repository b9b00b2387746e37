#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "launcher/CConfig.h"
#include "platform/Process.h"
#include "support/RawFile.h"
#include "support/RecordingPrompts.h"
#include "support/TempDir.h"
#include "system/CheckJavaVersion.h"

namespace qvs::platform {
namespace {

using std::chrono::milliseconds;
using Lines = std::vector<std::string>;

// Command lines that start the child program (child/ProcessChild.cpp).
std::string ChildCommand(std::string_view actions) {
    return "\"" QVS_TEST_CHILD "\" " + std::string(actions);
}

// Blanks alone, empty and unclosed quotes, backslashes before no quote; the
// child's own view below covers the rest.
TEST(SplitCommandLineTest, GivesTheArgumentsAWindowsProgramWouldSee) {
    const std::pair<const char*, Lines> cases[] = {
        {"   \t ", {}},
        {R"(a "" b)", {"a", "", "b"}},
        {R"("unclosed quote)", {"unclosed quote"}},
        {R"(a\\b\\)", {R"(a\\b\\)"}},
        {R"(x "out=java version \"1.4.2\"\n")", {"x", R"(out=java version "1.4.2"\n)"}}};
    for (const auto& [line, arguments] : cases) {
        EXPECT_EQ(SplitCommandLine(line), arguments) << line;
    }
}

// The child's own view of its arguments: on Windows its C runtime splits the
// command line, elsewhere our splitter builds the argument vector, with no
// shell to interpret anything.
TEST(SplitCommandLineTest, ChildReceivesTheSameArguments) {
    const CapturedOutput captured = RunCapturingOutput(
        ChildCommand(R"(args plain "two words" a"b c"d say\"hi\" x\\y "q\\" $HOME ; tail)"));
    EXPECT_EQ(captured.output, R"([plain][two words][ab cd][say"hi"][x\\y][q\][$HOME][;][tail])");
}

// The two streams are kept apart byte for byte. A child that fills one pipe
// while it still holds the other open would block for ever if either were
// read to its end first. On Windows the text is read in the console's code
// page, as "java.exe" writes it: 0x82 is U+00E9 in those of Western
// Windows (437, 850), Wine's among them.
TEST(RunCapturingOutputTest, BothStreamsWholeAndApartEvenWhenBothPipesFillInTurns) {
    const CapturedOutput captured = RunCapturingOutput(
        ChildCommand(R"(err=E1\r\n out=O1\n err=\x00\x82 out=\x01 errfill=1048576 )"
                     "outfill=1048576 errfill=1 outfill=1 exit=3"),
        std::chrono::seconds(60));
#ifdef _WIN32
    const std::string high = "\xC3\xA9";
#else
    const std::string high = "\x82";
#endif
    EXPECT_EQ(captured.output, std::string("O1\n\x01", 4).append(1048577, 'o'));
    EXPECT_EQ(captured.errors, std::string("E1\r\n\0", 5).append(high).append(1048577, 'e'));
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

// A stand-in for the runtime writes the lines of a version query; standard
// output comes before standard error with no break between, and the lines
// are stored as one. A query that cannot run is shown and stored empty. The
// judgement itself is IsJavaVersionAccepted's, below.
TEST(CheckJavaVersionTest, RunsTheQueryAndStoresItsOutputAsOneLine) {
    const std::tuple<const char*, bool, std::string> cases[] = {
        {R"("err=java version \"1.4.2_03\"\r\nRuntime\rVM\n")", true,
         "java version \"1.4.2_03\" <BR> Runtime <BR> VM <BR> "},
        {R"("err=java version \"1.3.1_20\"\n" out=Runtime\n out=x)", false,
         "Runtime <BR> xjava version \"1.3.1_20\" <BR> "},
        {"", false, ""}};
    const test::TempDir dir;
    for (const auto& [actions, accepted, stored] : cases) {
        CConfig config(dir.File("qvs.cfg"));
        test::RecordingPrompts prompts;
        EXPECT_EQ(CheckJavaVersion(config, prompts, ChildCommand(actions)), accepted) << actions;
        EXPECT_EQ(config.ReadLines(), (Lines{"[JAVA_VERSION]", "VERSION=" + stored}));
        EXPECT_TRUE(prompts.messages.empty());
    }
    CConfig config(dir.File("other.cfg"));
    test::RecordingPrompts prompts;
    EXPECT_FALSE(CheckJavaVersion(config, prompts, "qvs-no-such-java-4711 -version"));
    EXPECT_EQ(prompts.messages, Lines{"Error executing command line"});
    EXPECT_EQ(config.ReadLines(), (Lines{"[JAVA_VERSION]", "VERSION="}));
    CConfig unwritable(dir.File("missing/qvs.cfg"));
    EXPECT_FALSE(CheckJavaVersion(unwritable, prompts, ChildCommand(std::get<0>(cases[0]))));
}

// Only the first quoted text counts; one that is no version is refused only
// for "1.0" to "1.3" anywhere in it.
TEST(IsJavaVersionAcceptedTest, ParsesTheVersionNumbers) {
    for (const char* output :
         {"java version 1.4.2", R"(java version "1.4)", R"("1.3")", R"("1.3.1_20")", R"("0.1.3")",
          R"("v1.2")", R"("1.x-1.1")", R"(x "1.3.1" y "17")"}) {
        EXPECT_FALSE(IsJavaVersionAccepted(output)) << output;
    }
    for (const char* output : {R"("1.4")", R"("1.4.2_03")", R"("1.10.1")", R"("2")", R"("17.0.15")",
                               R"("1")", R"("1.x")", R"("0.9")", R"("v11")", R"("")",
                               R"("99999999999999999999")", R"(x "17" y "1.3.1")"}) {
        EXPECT_TRUE(IsJavaVersionAccepted(output)) << output;
    }
}

} // namespace
} // namespace qvs::platform
