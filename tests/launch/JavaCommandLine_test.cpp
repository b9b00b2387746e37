#include "system/JavaCommandLine.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace qvs {
namespace {

using Args = std::vector<std::string>;

// Blanks in the installation directory stay inside the quotes.
TEST(JavaCommandLine, WindowsParameterTextIsExact) {
    const ProgramStart start = WindowsJavaClientStart("C:\\Program Files\\Q\\");
    EXPECT_EQ(start.program, "javaw.exe ");
    EXPECT_EQ(start.parameters,
              "-cp \"C:\\Program Files\\Q;C:\\Program Files\\Q\\plugins\\timer.jar\"  "
              "-Djava.library.path=\"C:\\Program Files\\Q\\plugins\" -ms64m -mx128m "
              "MainClass.StartUp ");
    EXPECT_EQ(start.arguments,
              (Args{"-cp", "C:\\Program Files\\Q;C:\\Program Files\\Q\\plugins\\timer.jar",
                    "-Djava.library.path=C:\\Program Files\\Q\\plugins", "-ms64m", "-mx128m",
                    "MainClass.StartUp"}));
    EXPECT_EQ(start.workingDirectory, "");
    EXPECT_FALSE(start.hidden);
}

TEST(JavaCommandLine, PosixUsesAnArgumentVector) {
    const ProgramStart start = PosixJavaClientStart("/opt/quorvash game/");
    EXPECT_EQ(start.program, "java");
    EXPECT_EQ(start.arguments,
              (Args{"-cp", "/opt/quorvash game:/opt/quorvash game/plugins/timer.jar",
                    "-Djava.library.path=/opt/quorvash game/plugins", "-ms64m", "-mx128m",
                    "MainClass.StartUp"}));
    EXPECT_EQ(start.parameters, "-cp \"/opt/quorvash game:/opt/quorvash game/plugins/timer.jar\"  "
                                "-Djava.library.path=\"/opt/quorvash game/plugins\" -ms64m -mx128m "
                                "MainClass.StartUp ");
    EXPECT_EQ(start.workingDirectory, "");
}

TEST(JavaCommandLine, PosixMapsBackslashesAndThisPlatformUsesItsBuilder) {
    EXPECT_EQ(PosixJavaClientStart("/srv\\q\\").arguments[1], "/srv/q:/srv/q/plugins/timer.jar");
#ifdef _WIN32
    EXPECT_EQ(JavaClientStart("C:\\Q\\"), WindowsJavaClientStart("C:\\Q\\"));
#else
    EXPECT_EQ(JavaClientStart("/q/"), PosixJavaClientStart("/q/"));
#endif
}

} // namespace
} // namespace qvs
