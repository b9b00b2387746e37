#include "system/JavaCommandLine.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace qvs {
namespace {

using Args = std::vector<std::string>;

// Windows passes the parameter text on, with blanks in the installation
// directory inside its quotes; POSIX passes the argument vector, with the
// Windows separators of a stored path mapped. Both are built from the same items.
TEST(JavaCommandLine, EachPlatformsStartOfTheClient) {
    const ProgramStart windows = WindowsJavaClientStart("C:\\Program Files\\Q\\");
    EXPECT_EQ(windows.program, "javaw.exe ");
    EXPECT_EQ(windows.parameters,
              "-cp \"C:\\Program Files\\Q;C:\\Program Files\\Q\\plugins\\timer.jar\"  "
              "-Djava.library.path=\"C:\\Program Files\\Q\\plugins\" -ms64m -mx128m "
              "MainClass.StartUp ");

    const ProgramStart posix = PosixJavaClientStart("/opt\\quorvash game\\");
    EXPECT_EQ(posix.program, "java");
    EXPECT_EQ(posix.arguments,
              (Args{"-cp", "/opt/quorvash game:/opt/quorvash game/plugins/timer.jar",
                    "-Djava.library.path=/opt/quorvash game/plugins", "-ms64m", "-mx128m",
                    "MainClass.StartUp"}));
}

} // namespace
} // namespace qvs
