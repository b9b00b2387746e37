#include "system/JavaCommandLine.h"

#include <algorithm>
#include <string>

namespace qvs {

namespace {

constexpr std::string_view kTimerJar = "\\plugins\\timer.jar";
constexpr std::string_view kPlugins = "\\plugins";
constexpr std::string_view kLibraryPathOption = "-Djava.library.path=";
constexpr std::string_view kInitialHeap = "-ms64m";
constexpr std::string_view kMaximumHeap = "-mx128m";
constexpr std::string_view kMainClass = "MainClass.StartUp";

// The installation directory without its trailing separator.
std::string WithoutLastCharacter(std::string_view installDir) {
    return std::string(installDir.substr(0, installDir.empty() ? 0 : installDir.size() - 1));
}

std::string WithForwardSlashes(std::string_view path) {
    std::string result(path);
    std::replace(result.begin(), result.end(), '\\', '/');
    return result;
}

// Both platforms pass the same items; only separators differ.
struct JavaItems {
    std::string classPath;
    std::string libraryPath;
};

// The parameter text: quoted class path and library path, every item
// followed by a blank, and one more blank before the library path option.
std::string ParameterText(const JavaItems& items) {
    std::string text = "-cp \"" + items.classPath + "\" ";
    text += " ";
    text += kLibraryPathOption;
    text += "\"" + items.libraryPath + "\" ";
    text += std::string(kInitialHeap) + " ";
    text += std::string(kMaximumHeap) + " ";
    text += std::string(kMainClass) + " ";
    return text;
}

std::vector<std::string> ArgumentVector(const JavaItems& items) {
    return {"-cp",
            items.classPath,
            std::string(kLibraryPathOption) + items.libraryPath,
            std::string(kInitialHeap),
            std::string(kMaximumHeap),
            std::string(kMainClass)};
}

ProgramStart StartWith(std::string program, const JavaItems& items) {
    ProgramStart start;
    start.program = std::move(program);
    start.parameters = ParameterText(items);
    start.arguments = ArgumentVector(items);
    return start;
}

} // namespace

ProgramStart WindowsJavaClientStart(std::string_view installDir) {
    const std::string dir = WithoutLastCharacter(installDir);
    JavaItems items;
    items.classPath = dir + ";" + dir + std::string(kTimerJar);
    items.libraryPath = dir + std::string(kPlugins);
    return StartWith("javaw.exe ", items);
}

ProgramStart PosixJavaClientStart(std::string_view installDir) {
    const std::string dir = WithForwardSlashes(WithoutLastCharacter(installDir));
    JavaItems items;
    items.classPath = dir + ":" + dir + WithForwardSlashes(kTimerJar);
    items.libraryPath = dir + WithForwardSlashes(kPlugins);
    return StartWith("java", items);
}

ProgramStart JavaClientStart(std::string_view installDir) {
#ifdef _WIN32
    return WindowsJavaClientStart(installDir);
#else
    return PosixJavaClientStart(installDir);
#endif
}

} // namespace qvs
