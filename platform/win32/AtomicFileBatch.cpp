// Win32 batch: temporaries are made beside their targets, flushed with
// FlushFileBuffers and moved with MOVEFILE_WRITE_THROUGH, which also makes
// the rename durable, so no directory needs a flush. Names are UTF-8 here and
// go to the wide functions through WidePath, so long paths work too.
#include "platform/AtomicFileBatch.h"

#include "platform/FileSystem.h"
#include "platform/FillTemporary.h"
#include "platform/win32/Utf16.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace qvs::platform {

namespace {

using win32::WidePath;

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
    WIN32_FIND_DATAW found{};
    HANDLE search = ::FindFirstFileW(WidePath(native).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return name;
    }
    ::FindClose(search);
    return win32::TryNarrow(found.cFileName).value_or(name);
}

// A fresh temporary file in directory while it is written, unflushed;
// removed unless Finish hands its name over. Named here rather than by
// GetTempFileName, which takes no directory longer than MAX_PATH - 14.
class Temporary {
public:
    explicit Temporary(const std::string& directory) {
        for (int attempt = 0; attempt < 100 && !created_; ++attempt) {
            LARGE_INTEGER now{};
            ::QueryPerformanceCounter(&now);
            char unique[32];
            std::snprintf(unique, sizeof unique, "qvs%08lx%04x.tmp", ::GetCurrentProcessId(),
                          static_cast<unsigned>((now.QuadPart + attempt) & 0xFFFF));
            name_ = directory + unique;
            file_ = ::CreateFileW(WidePath(name_).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
            created_ = file_ != INVALID_HANDLE_VALUE;
            if (!created_ && ::GetLastError() != ERROR_FILE_EXISTS) {
                break;
            }
        }
        ok_ = created_;
    }
    ~Temporary() {
        if (file_ != INVALID_HANDLE_VALUE) {
            ::CloseHandle(file_);
        }
        if (!kept_ && created_) {
            ::DeleteFileW(WidePath(name_).c_str());
        }
    }
    Temporary(const Temporary&) = delete;
    Temporary& operator=(const Temporary&) = delete;

    bool Opened() const { return ok_; }

    bool Append(std::span<const std::byte> data) {
        ok_ = ok_ && WriteAll(file_, data);
        return ok_;
    }

    // The temporary's name once everything is written and closed.
    std::optional<std::string> Finish() {
        const bool closed = ::CloseHandle(file_) != 0;
        file_ = INVALID_HANDLE_VALUE;
        kept_ = ok_ && closed;
        return kept_ ? std::optional<std::string>(name_) : std::nullopt;
    }

private:
    std::string name_;
    HANDLE file_ = INVALID_HANDLE_VALUE;
    bool created_ = false;
    bool ok_ = false;
    bool kept_ = false;
};

bool FlushFile(const std::string& path) {
    HANDLE file = ::CreateFileW(WidePath(path).c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
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
            ::DeleteFileW(WidePath(staged[i].temporary).c_str());
        }
        staged.clear();
    }
};

AtomicFileBatch::AtomicFileBatch() : state_(std::make_unique<State>()) {}

AtomicFileBatch::~AtomicFileBatch() {
    state_->RemoveTemporaries(0);
}

void AtomicFileBatch::Add(std::string_view path, const ContentSource& fill) {
    std::string native = NativePath(path);
    std::size_t slash = native.find_last_of("\\:");
    std::string directory = slash == std::string::npos ? "" : native.substr(0, slash + 1);
    std::string name = native.substr(directory.size());
    if (!win32::TryWiden(native)) {
        throw FileCreateError(win32::Printable(path), "the name is not valid UTF-8");
    }
    DWORD old = ::GetFileAttributesW(WidePath(native).c_str());
    if (name.empty() || (old != INVALID_FILE_ATTRIBUTES &&
                         (old & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)))) {
        throw FileCreateError(std::string(path));
    }
    if (old != INVALID_FILE_ATTRIBUTES) {
        native = directory + StoredName(native, name);
    }
    Temporary temporary(directory);
    std::string written = FillTemporary(temporary, path, fill);
    state_->staged.push_back({std::move(written), std::move(native), std::string(path)});
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
        if (!::MoveFileExW(WidePath(staged[i].temporary).c_str(),
                           WidePath(staged[i].target).c_str(),
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
