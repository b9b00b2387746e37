// The Java runtime as the Windows launcher meets it in the tests: built as
// java.exe it answers "-version" as a Java 11 does (on standard error);
// built as javaw.exe it records its whole command line, UTF-8, in
// "javaw-command-line.txt" beside itself, for the test to compare.
#include <windows.h>

#include <cstdio>
#include <string>

int wmain() {
#ifdef QVS_JAVAW
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring record(self);
    record.resize(record.find_last_of(L'\\') + 1);
    record += L"javaw-command-line.txt";
    const std::wstring line = GetCommandLineW();
    std::string text(static_cast<std::size_t>(WideCharToMultiByte(CP_UTF8, 0, line.c_str(),
                                                                  static_cast<int>(line.size()),
                                                                  nullptr, 0, nullptr, nullptr)),
                     '\0');
    WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()), text.data(),
                        static_cast<int>(text.size()), nullptr, nullptr);
    if (FILE* file = _wfopen(record.c_str(), L"wb")) {
        std::fwrite(text.data(), 1, text.size(), file);
        std::fclose(file);
    }
#else
    std::fputs("java version \"11.0.2\" 2019-01-15 LTS\r\n"
               "Java(TM) SE Runtime Environment 18.9 (build 11.0.2+9-LTS)\r\n",
               stderr);
#endif
    return 0;
}
