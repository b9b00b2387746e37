#include "ui/win32/app/Win32Shell.h"

#include "ui/win32/base/Text.h"
#include "ui/win32/base/Win32.h"

#include <shellapi.h>

namespace qvs::win32 {

namespace {

// An empty text is no argument at all for ShellExecute.
const wchar_t* OrNull(const std::wstring& text) {
    return text.empty() ? nullptr : text.c_str();
}

void Execute(const std::string& file, const std::string& parameters, const std::string& directory,
             int show) {
    const std::wstring wideFile = Widen(file);
    const std::wstring wideParameters = Widen(parameters);
    const std::wstring wideDirectory = Widen(directory);
    ShellExecuteW(nullptr, L"open", wideFile.c_str(), OrNull(wideParameters), OrNull(wideDirectory),
                  show);
}

} // namespace

void Win32Shell::OpenUrl(const std::string& url) {
    Execute(url, {}, {}, SW_SHOWNORMAL);
}

void Win32Shell::OpenFile(const std::string& path, const std::string& workingDirectory) {
    Execute(path, {}, workingDirectory, SW_SHOWNORMAL);
}

// The program splits the parameter text itself, exactly as it was built.
void Win32Shell::StartProgram(const ProgramStart& start) {
    Execute(start.program, start.parameters, start.workingDirectory,
            start.hidden ? SW_HIDE : SW_SHOWNORMAL);
}

} // namespace qvs::win32
