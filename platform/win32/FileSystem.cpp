// Win32 file system through the ANSI functions: paths are 8-bit strings in
// the system code page, and the file system itself ignores letter case.
#include "platform/FileSystem.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <algorithm>

namespace qvs::platform {

namespace {

constexpr DWORD SettableAttributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                                     FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                                     FILE_ATTRIBUTE_TEMPORARY | FILE_ATTRIBUTE_OFFLINE |
                                     FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

// Without trailing separators, so a directory link is seen as itself; a
// drive root such as "C:\" keeps its separator.
std::string NativeEntry(std::string_view path) {
    std::string native = NativePath(path);
    while (native.size() > 1 && native.back() == '\\' && native[native.size() - 2] != ':') {
        native.pop_back();
    }
    return native;
}

DWORD AttributesOf(const std::string& native) {
    return ::GetFileAttributesA(native.c_str());
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

bool WriteAll(HANDLE file, std::span<const std::byte> data) {
    while (!data.empty()) {
        DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(data.size(), 1U << 30));
        DWORD written = 0;
        if (!::WriteFile(file, data.data(), chunk, &written, nullptr) || written == 0) {
            return false;
        }
        data = data.subspan(written);
    }
    return true;
}

// The name of an existing file as stored, so replacing "QVSC.ecd" keeps
// the file named "qvsc.ecd" as it is on disk.
std::string StoredName(const std::string& native, const std::string& name) {
    if (name.find_first_of("*?") != std::string::npos) {
        return name;
    }
    WIN32_FIND_DATAA found{};
    HANDLE search = ::FindFirstFileA(native.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return name;
    }
    ::FindClose(search);
    return found.cFileName;
}

// Writes data to a fresh temporary file in directory and returns its name.
std::optional<std::string> WriteTemporary(const std::string& directory,
                                          std::span<const std::byte> data) {
    char temporary[MAX_PATH + 1] = {};
    if (::GetTempFileNameA(directory.empty() ? "." : directory.c_str(), "qvs", 0, temporary) == 0) {
        return std::nullopt;
    }
    Handle file(::CreateFileA(temporary, GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
    bool ok = file.Valid() && WriteAll(file.Get(), data) && ::FlushFileBuffers(file.Get());
    ok = file.Close() && ok;
    if (!ok) {
        ::DeleteFileA(temporary);
        return std::nullopt;
    }
    return std::string(temporary);
}

} // namespace

std::string NativePath(std::string_view path) {
    std::string native(path);
    std::replace(native.begin(), native.end(), '/', '\\');
    return native;
}

bool IsDirectory(std::string_view path) {
    DWORD attributes = AttributesOf(NativePath(path));
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool FileExists(std::string_view path) {
    DWORD attributes = AttributesOf(NativePath(path));
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool MakeDirectory(std::string_view path) {
    return ::CreateDirectoryA(NativePath(path).c_str(), nullptr) != 0;
}

bool RemoveFile(std::string_view path) {
    std::string native = NativeEntry(path);
    DWORD attributes = AttributesOf(native);
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_READONLY)) {
        return false;
    }
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
        // A link to a directory is removed as a link; a real directory is not a file.
        return (attributes & FILE_ATTRIBUTE_REPARSE_POINT) && ::RemoveDirectoryA(native.c_str());
    }
    return ::DeleteFileA(native.c_str()) != 0;
}

bool RemoveEmptyDirectory(std::string_view path) {
    std::string native = NativeEntry(path);
    DWORD attributes = AttributesOf(native);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) &&
           ::RemoveDirectoryA(native.c_str()) != 0;
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
    return ::SetFileAttributesA(NativeEntry(path).c_str(),
                                settable != 0 ? settable : FILE_ATTRIBUTE_NORMAL) != 0;
}

std::vector<DirectoryEntry> ListDirectory(std::string_view directory) {
    std::vector<DirectoryEntry> entries;
    std::string pattern = NativePath(directory);
    if (!pattern.empty() && pattern.back() != '\\' && pattern.back() != ':') {
        pattern += '\\';
    }
    pattern += '*';
    WIN32_FIND_DATAA found{};
    HANDLE search = ::FindFirstFileA(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return entries;
    }
    do {
        entries.push_back({found.cFileName, found.dwFileAttributes});
    } while (::FindNextFileA(search, &found));
    ::FindClose(search);
    return entries;
}

std::optional<std::string> ReadWholeFile(std::string_view path) {
    Handle file(::CreateFileA(NativePath(path).c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) {
        return std::nullopt;
    }
    std::string content;
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
    std::string native = NativePath(path);
    std::size_t slash = native.find_last_of("\\:");
    std::string directory = slash == std::string::npos ? "" : native.substr(0, slash + 1);
    std::string name = native.substr(directory.size());
    DWORD old = AttributesOf(native);
    if (name.empty() || (old != INVALID_FILE_ATTRIBUTES &&
                         (old & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)))) {
        throw FileCreateError(std::string(path));
    }
    if (old != INVALID_FILE_ATTRIBUTES) {
        native = directory + StoredName(native, name);
    }
    std::optional<std::string> temporary = WriteTemporary(directory, data);
    if (!temporary) {
        throw FileCreateError(std::string(path));
    }
    if (!::MoveFileExA(temporary->c_str(), native.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        ::DeleteFileA(temporary->c_str());
        throw FileCreateError(std::string(path));
    }
}

void WriteFileAtomically(std::string_view path, std::string_view data) {
    WriteFileAtomically(path, std::as_bytes(std::span<const char>(data.data(), data.size())));
}

} // namespace qvs::platform
