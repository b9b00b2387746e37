#include "platform/ProgramEnvironment.h"
#include "platform/win32/Utf16.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <shellapi.h>

#include <algorithm>

namespace qvs::platform {

namespace {

// Text Windows hands over is valid UTF-16 in practice; a lone surrogate
// (possible in names) becomes U+FFFD here, which names nothing, rather than
// ending the program.
std::string Lenient(std::wstring_view text) {
    if (std::optional<std::string> narrow = win32::TryNarrow(text)) {
        return *std::move(narrow);
    }
    const int size = static_cast<int>(text.size());
    const int length =
        ::WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<std::size_t>(std::max(length, 0)), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), size, narrow.data(), length, nullptr, nullptr);
    return narrow;
}

} // namespace

std::vector<std::string> ProgramArguments(int, char**) {
    std::vector<std::string> arguments;
    int count = 0;
    wchar_t** split = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (split == nullptr) {
        return arguments;
    }
    for (int i = 1; i < count; ++i) {
        arguments.push_back(Lenient(split[i]));
    }
    ::LocalFree(split);
    return arguments;
}

std::string ProgramPath() {
    // The buffer grows until the whole path fits: it may be a long one.
    for (DWORD size = MAX_PATH; size <= 32768; size *= 2) {
        std::wstring path(size, L'\0');
        const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), size);
        if (length == 0) {
            return std::string();
        }
        if (length < size) {
            path.resize(length);
            return Lenient(path);
        }
    }
    return std::string();
}

std::optional<std::string> CurrentDirectory() {
    const DWORD size = ::GetCurrentDirectoryW(0, nullptr);
    std::wstring path(size, L'\0');
    const DWORD length = size == 0 ? 0 : ::GetCurrentDirectoryW(size, path.data());
    if (length == 0 || length >= size) {
        return std::nullopt;
    }
    path.resize(length);
    return win32::TryNarrow(path);
}

std::optional<std::string> EnvironmentVariable(std::string_view name) {
    const std::optional<std::wstring> wideName = win32::TryWiden(name);
    if (!wideName) {
        return std::nullopt;
    }
    ::SetLastError(ERROR_SUCCESS);
    const DWORD size = ::GetEnvironmentVariableW(wideName->c_str(), nullptr, 0);
    if (size == 0) {
        return ::GetLastError() == ERROR_ENVVAR_NOT_FOUND ? std::nullopt
                                                          : std::optional<std::string>("");
    }
    std::wstring value(size, L'\0');
    const DWORD length = ::GetEnvironmentVariableW(wideName->c_str(), value.data(), size);
    if (length >= size) {
        return std::nullopt; // changed meanwhile
    }
    value.resize(length);
    return Lenient(value);
}

} // namespace qvs::platform
