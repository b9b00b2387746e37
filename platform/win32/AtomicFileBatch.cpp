// Win32 batch: temporaries come from GetTempFileName beside their targets,
// are flushed with FlushFileBuffers and moved with MOVEFILE_WRITE_THROUGH,
// which also makes the rename durable, so no directory needs a flush.
#include "platform/AtomicFileBatch.h"

#include "platform/FileSystem.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

namespace qvs::platform {

namespace {

struct Staged {
    std::string temporary;
    std::string target;
    std::string given; // for the error message
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

// Writes data to a fresh temporary file in directory, unflushed.
std::optional<std::string> WriteTemporary(const std::string& directory,
                                          std::span<const std::byte> data) {
    char temporary[MAX_PATH + 1] = {};
    if (::GetTempFileNameA(directory.empty() ? "." : directory.c_str(), "qvs", 0, temporary) == 0) {
        return std::nullopt;
    }
    HANDLE file = ::CreateFileA(temporary, GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    bool ok = file != INVALID_HANDLE_VALUE && WriteAll(file, data);
    ok = (file != INVALID_HANDLE_VALUE && ::CloseHandle(file)) && ok;
    if (!ok) {
        ::DeleteFileA(temporary);
        return std::nullopt;
    }
    return std::string(temporary);
}

bool FlushFile(const std::string& path) {
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    bool ok = ::FlushFileBuffers(file) != 0;
    return ::CloseHandle(file) && ok;
}

} // namespace

struct AtomicFileBatch::State {
    std::vector<Staged> staged;

    void RemoveTemporaries(std::size_t from) {
        for (std::size_t i = from; i < staged.size(); ++i) {
            ::DeleteFileA(staged[i].temporary.c_str());
        }
        staged.clear();
    }
};

AtomicFileBatch::AtomicFileBatch() : state_(std::make_unique<State>()) {}

AtomicFileBatch::~AtomicFileBatch() {
    state_->RemoveTemporaries(0);
}

void AtomicFileBatch::Add(std::string_view path, std::span<const std::byte> data) {
    std::string native = NativePath(path);
    std::size_t slash = native.find_last_of("\\:");
    std::string directory = slash == std::string::npos ? "" : native.substr(0, slash + 1);
    std::string name = native.substr(directory.size());
    DWORD old = ::GetFileAttributesA(native.c_str());
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
    state_->staged.push_back({std::move(*temporary), std::move(native), std::string(path)});
}

void AtomicFileBatch::Add(std::string_view path, std::string_view data) {
    Add(path, std::as_bytes(std::span<const char>(data.data(), data.size())));
}

void AtomicFileBatch::Commit() {
    std::vector<Staged>& staged = state_->staged;
    for (const Staged& file : staged) {
        if (!FlushFile(file.temporary)) {
            const std::string given = file.given;
            state_->RemoveTemporaries(0);
            throw FileCreateError(given);
        }
    }
    for (std::size_t i = 0; i < staged.size(); ++i) {
        if (!::MoveFileExA(staged[i].temporary.c_str(), staged[i].target.c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            const std::string given = staged[i].given;
            state_->RemoveTemporaries(i);
            throw FileCreateError(given);
        }
    }
    staged.clear();
}

std::size_t AtomicFileBatch::Pending() const {
    return state_->staged.size();
}

} // namespace qvs::platform
