// Win32 file system through the wide functions: paths are UTF-8 here and
// UTF-16 at each call (platform/win32/Utf16.h), long ones with the "\\?\"
// prefix. A name that is not valid UTF-8 names no file. The file system
// itself ignores letter case.
#include "platform/FileSystem.h"
#include "platform/AtomicFileBatch.h"
#include "platform/win32/Utf16.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <algorithm>
#include <exception>

namespace qvs::platform {

namespace {

constexpr DWORD SettableAttributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                                     FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                                     FILE_ATTRIBUTE_TEMPORARY | FILE_ATTRIBUTE_OFFLINE |
                                     FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

using win32::TryWidePath;

// Without trailing separators, so a directory link is seen as itself; a
// drive root such as "C:\" keeps its separator. Empty when the name is not
// valid UTF-8, which every file function refuses.
std::wstring NativeEntry(std::string_view path) {
    std::string native = NativePath(path);
    while (native.size() > 1 && native.back() == '\\' && native[native.size() - 2] != ':') {
        native.pop_back();
    }
    return TryWidePath(native).value_or(std::wstring());
}

std::wstring Wide(std::string_view path) {
    return TryWidePath(path).value_or(std::wstring());
}

DWORD AttributesOf(const std::wstring& native) {
    return native.empty() ? INVALID_FILE_ATTRIBUTES : ::GetFileAttributesW(native.c_str());
}

class Handle {
public:
    explicit Handle(HANDLE handle) : handle_(handle) {}
    ~Handle() { Close(); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    bool Valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return handle_; }
    bool Close() {
        bool ok = !Valid() || ::CloseHandle(handle_) != 0;
        handle_ = INVALID_HANDLE_VALUE;
        return ok;
    }

private:
    HANDLE handle_;
};

// Room for a file's content at once, so a large file is not copied as its
// string grows; a file that changes meanwhile is still read as it is.
void ReserveFor(std::string& content, std::uint64_t size) {
    try {
        content.reserve(static_cast<std::size_t>(size));
    } catch (const std::exception&) {
        // Grown piece by piece instead, as far as memory allows.
    }
}

} // namespace

std::string NativePath(std::string_view path) {
    std::string native(path);
    std::replace(native.begin(), native.end(), '/', '\\');
    return native;
}

bool IsDirectory(std::string_view path) {
    DWORD attributes = AttributesOf(Wide(path));
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool FileExists(std::string_view path) {
    DWORD attributes = AttributesOf(Wide(path));
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool MakeDirectory(std::string_view path) {
    const std::wstring native = NativeEntry(path);
    return !native.empty() && ::CreateDirectoryW(native.c_str(), nullptr) != 0;
}

bool RemoveFile(std::string_view path) {
    const std::wstring native = NativeEntry(path);
    DWORD attributes = AttributesOf(native);
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_READONLY)) {
        return false;
    }
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
        // A link to a directory is removed as a link; a real directory is not a file.
        return (attributes & FILE_ATTRIBUTE_REPARSE_POINT) && ::RemoveDirectoryW(native.c_str());
    }
    return ::DeleteFileW(native.c_str()) != 0;
}

bool RemoveEmptyDirectory(std::string_view path) {
    const std::wstring native = NativeEntry(path);
    DWORD attributes = AttributesOf(native);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) &&
           ::RemoveDirectoryW(native.c_str()) != 0;
}

std::optional<std::uint32_t> GetAttributes(std::string_view path) {
    DWORD attributes = AttributesOf(NativeEntry(path));
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return std::nullopt;
    }
    return attributes;
}

bool SetAttributes(std::string_view path, std::uint32_t attributes) {
    DWORD settable = attributes & SettableAttributes;
    const std::wstring native = NativeEntry(path);
    return !native.empty() &&
           ::SetFileAttributesW(native.c_str(), settable != 0 ? settable : FILE_ATTRIBUTE_NORMAL) !=
               0;
}

// An entry whose name is not valid UTF-16 (NTFS allows lone surrogates)
// cannot be named in UTF-8, so it is left out rather than shown mangled.
std::vector<DirectoryEntry> ListDirectory(std::string_view directory) {
    std::vector<DirectoryEntry> entries;
    std::string pattern = NativePath(directory);
    if (!pattern.empty() && pattern.back() != '\\' && pattern.back() != ':') {
        pattern += '\\';
    }
    pattern += '*';
    const std::wstring native = Wide(pattern);
    WIN32_FIND_DATAW found{};
    HANDLE search =
        native.empty() ? INVALID_HANDLE_VALUE : ::FindFirstFileW(native.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return entries;
    }
    do {
        if (std::optional<std::string> name = win32::TryNarrow(found.cFileName)) {
            entries.push_back({*std::move(name), found.dwFileAttributes});
        }
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
    return entries;
}

std::optional<std::string> ReadWholeFile(std::string_view path) {
    const std::wstring native = Wide(path);
    if (native.empty()) {
        return std::nullopt;
    }
    Handle file(::CreateFileW(native.c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) {
        return std::nullopt;
    }
    std::string content;
    LARGE_INTEGER size{};
    if (::GetFileSizeEx(file.Get(), &size) && size.QuadPart > 0) {
        ReserveFor(content, static_cast<std::uint64_t>(size.QuadPart));
    }
    char buffer[65536];
    for (;;) {
        DWORD got = 0;
        if (!::ReadFile(file.Get(), buffer, sizeof buffer, &got, nullptr)) {
            return std::nullopt;
        }
        if (got == 0) {
            return content;
        }
        content.append(buffer, got);
    }
}

void WriteFileAtomically(std::string_view path, std::span<const std::byte> data) {
    AtomicFileBatch batch;
    batch.Add(path, data);
    batch.Commit();
}

void WriteFileAtomically(std::string_view path, std::string_view data) {
    WriteFileAtomically(path, std::as_bytes(std::span<const char>(data.data(), data.size())));
}

// The new file inherits the directory's access list: the user's own folder
// keeps it private.
bool CreatePrivateFile(std::string_view path, std::string_view data) {
    const std::wstring native = Wide(path);
    if (native.empty()) {
        return false;
    }
    HANDLE file = ::CreateFileW(native.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD count = 0;
    const bool written =
        ::WriteFile(file, data.data(), static_cast<DWORD>(data.size()), &count, nullptr) != 0 &&
        count == data.size();
    return ::CloseHandle(file) != 0 && written;
}

} // namespace qvs::platform
