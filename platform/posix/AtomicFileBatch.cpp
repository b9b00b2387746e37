// POSIX batch: temporaries are ".qvs.XXXXXX" beside their targets (a
// fixed short name, so a target at the file system's name limit still gets
// one). On
// Linux a large temporary starts its write-back piece by piece as it is
// written, so the disk works while the rest is copied, and a batch of many files
// is flushed by one syncfs per file system instead of an open and fsync per
// file, with a BackgroundFlush giving that syncfs a head start while the
// files are written; elsewhere, or when syncfs fails, every temporary gets
// its fsync.
#include "platform/AtomicFileBatch.h"

#include "BackgroundFlush.h"
#include "platform/AsciiCase.h"
#include "platform/FileSystem.h"
#include "platform/FillTemporary.h"

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace qvs::platform {

namespace {

constexpr std::size_t EarlyWriteBackSize = 4 << 20;
constexpr std::size_t SyncFileSystemFrom = 32; // files in one batch

// The names of one directory as listed once, plus the names this batch adds.
struct Listing {
    std::string native; // with a trailing "/", or empty for the working directory
    std::unordered_set<std::string> names;
    std::unordered_map<std::string, std::string> byLowerName; // smallest name in byte order
    bool renamedInto = false;

    void Insert(const std::string& name) {
        names.insert(name);
        auto [entry, added] = byLowerName.try_emplace(LowerAscii(name), name);
        if (!added && name < entry->second) {
            entry->second = name;
        }
    }

    // The stored name that name refers to: itself when present, otherwise
    // the smallest match ignoring case, otherwise name as a new entry.
    std::pair<std::string, bool> Find(const std::string& name) const {
        if (names.contains(name)) {
            return {name, true};
        }
        auto entry = byLowerName.find(LowerAscii(name));
        return entry == byLowerName.end() ? std::pair{name, false} : std::pair{entry->second, true};
    }
};

struct Staged {
    std::string temporary;
    std::string target;
    std::string given; // for the error message
    Listing* listing;
};

bool WriteAll(int fd, const std::byte* data, std::size_t size) {
    while (size > 0) {
        ssize_t written = ::write(fd, data, size);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

std::optional<Listing> ListNames(const std::string& native) {
    DIR* dir = ::opendir(native.empty() ? "." : native.c_str());
    if (dir == nullptr) {
        return std::nullopt;
    }
    Listing listing;
    listing.native = native;
    while (const dirent* entry = ::readdir(dir)) {
        listing.Insert(entry->d_name);
    }
    ::closedir(dir);
    return listing;
}

// A fresh temporary file beside its target while it is written; removed
// unless Finish hands its name over. A large file goes out in pieces, each
// handed to the disk as soon as it is written (Linux), so copying the next
// piece overlaps the disk's work and the flush at the end finds little left.
class Temporary {
public:
    Temporary(const Listing& listing, mode_t mode) : name_(listing.native + ".qvs.XXXXXX") {
        fd_ = ::mkstemp(name_.data());
        created_ = fd_ >= 0;
        ok_ = created_ && ::fchmod(fd_, mode) == 0;
        Note(ok_);
    }
    ~Temporary() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
        if (!kept_ && created_) {
            ::unlink(name_.c_str());
        }
    }
    Temporary(const Temporary&) = delete;
    Temporary& operator=(const Temporary&) = delete;

    bool Opened() const { return ok_; }
    // Why the last step failed, for the error's message.
    std::error_code Error() const { return error_; }

    bool Append(std::span<const std::byte> data) {
        while (ok_ && !data.empty()) {
            const std::size_t piece =
                std::min(data.size(), EarlyWriteBackSize - (written_ - handedOver_));
            ok_ = Note(WriteAll(fd_, data.data(), piece));
            written_ += piece;
            data = data.subspan(piece);
            if (written_ - handedOver_ >= EarlyWriteBackSize) {
#ifdef __linux__
                ::sync_file_range(fd_, static_cast<off_t>(handedOver_),
                                  static_cast<off_t>(written_ - handedOver_),
                                  SYNC_FILE_RANGE_WRITE); // only a head start
#endif
                handedOver_ = written_;
            }
        }
        return ok_;
    }

    // The temporary's name once everything is written and closed.
    std::optional<std::string> Finish() {
        const bool closed = Note(::close(fd_) == 0);
        fd_ = -1;
        kept_ = ok_ && closed;
        return kept_ ? std::optional(name_) : std::nullopt;
    }

private:
    bool Note(bool ok) {
        if (!ok && !error_) {
            error_.assign(errno, std::generic_category());
        }
        return ok;
    }

    std::string name_;
    std::error_code error_;
    int fd_ = -1;
    bool created_ = false;
    bool ok_ = false;
    bool kept_ = false;
    std::size_t written_ = 0;
    std::size_t handedOver_ = 0; // bytes already given to the disk's write-back
};

FileCreateError::Cause LastCause() {
    return FileCreateError::CauseOf(std::error_code(errno, std::generic_category()));
}

bool SyncPath(const std::string& path, int flags) {
    int fd = ::open(path.empty() ? "." : path.c_str(), flags | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    bool ok = ::fsync(fd) == 0;
    return (::close(fd) == 0) && ok;
}

} // namespace

struct AtomicFileBatch::State {
    std::map<std::string, std::string> nativeDirectories; // as given -> native
    std::map<std::string, Listing> listings;              // by native directory
    std::vector<Staged> staged;
    // Started once a batch is large enough to be flushed by file system.
    std::unique_ptr<BackgroundFlush> flush;

    Listing* ListingOf(const std::string& directory) {
        auto known = nativeDirectories.find(directory);
        std::string native =
            known != nativeDirectories.end() ? known->second : NativePath(directory);
        if (!native.empty() && native.back() != '/') {
            native += '/';
        }
        auto listed = listings.find(native);
        if (listed == listings.end()) {
            std::optional<Listing> listing = ListNames(native);
            if (!listing) {
                return nullptr; // not remembered: it may exist by the next file
            }
            listed = listings.emplace(native, std::move(*listing)).first;
        }
        nativeDirectories.emplace(directory, native);
        return &listed->second;
    }

    void RemoveTemporaries(std::size_t from) {
        for (std::size_t i = from; i < staged.size(); ++i) {
            ::unlink(staged[i].temporary.c_str());
        }
        staged.clear();
    }

    // Every file system holding a temporary, each once; false when that
    // cannot be done, and each file is then flushed on its own.
    bool SyncFileSystems() {
#ifdef __linux__
        std::set<dev_t> done;
        for (const auto& [native, listing] : listings) {
            int fd =
                ::open(native.empty() ? "." : native.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
            struct stat info {};
            bool ok = fd >= 0 && ::fstat(fd, &info) == 0 &&
                      (done.contains(info.st_dev) || ::syncfs(fd) == 0);
            if (fd >= 0) {
                ::close(fd);
            }
            if (!ok) {
                return false;
            }
            done.insert(info.st_dev);
        }
        return true;
#else
        return false;
#endif
    }

    void SyncDirectories() {
        for (auto& [native, listing] : listings) {
            if (listing.renamedInto) {
                SyncPath(native, O_RDONLY | O_DIRECTORY); // a failure only weakens durability
                listing.renamedInto = false;
            }
        }
    }
};

AtomicFileBatch::AtomicFileBatch() : state_(std::make_unique<State>()) {}

AtomicFileBatch::~AtomicFileBatch() {
    state_->flush.reset();
    state_->RemoveTemporaries(0);
}

void AtomicFileBatch::Add(std::string_view path, const ContentSource& fill) {
    std::string given(path);
    std::replace(given.begin(), given.end(), '\\', '/');
    const std::size_t slash = given.rfind('/');
    const std::string directory = slash == std::string::npos ? "" : given.substr(0, slash + 1);
    const std::string name = given.substr(directory.size());
    Listing* listing = name.empty() ? nullptr : state_->ListingOf(directory);
    if (listing == nullptr) {
        throw FileCreateError(std::string(path));
    }
    const auto [stored, exists] = listing->Find(name);
    const std::string target = listing->native + stored;
    mode_t mode = 0644;
    struct stat old {};
    if (exists && ::stat(target.c_str(), &old) == 0) {
        // Windows cannot overwrite a read-only file; keep that rule here too.
        if (!S_ISREG(old.st_mode)) {
            throw FileCreateError(std::string(path), FileCreateError::Cause::FolderInTheWay);
        }
        if (!(old.st_mode & S_IWUSR)) {
            throw FileCreateError(std::string(path), FileCreateError::Cause::ReadOnlyFile);
        }
        mode = old.st_mode & 07777;
    }
    Temporary temporary(*listing, mode);
    std::string written = FillTemporary(temporary, path, fill);
    listing->Insert(stored);
    state_->staged.push_back({std::move(written), target, std::string(path), listing});
    if (state_->staged.size() == SyncFileSystemFrom && !state_->flush) {
        state_->flush = std::make_unique<BackgroundFlush>(listing->native);
    }
}

void AtomicFileBatch::Commit() {
    state_->flush.reset();
    std::vector<Staged>& staged = state_->staged;
    const bool synced = staged.size() >= SyncFileSystemFrom && state_->SyncFileSystems();
    for (const Staged& file : staged) {
        if (!synced && !SyncPath(file.temporary, O_RDONLY)) {
            const FileCreateError error(file.given, LastCause());
            state_->RemoveTemporaries(0);
            throw error;
        }
    }
    for (std::size_t i = 0; i < staged.size(); ++i) {
        if (::rename(staged[i].temporary.c_str(), staged[i].target.c_str()) != 0) {
            const FileCreateError error(staged[i].given, LastCause());
            state_->RemoveTemporaries(i);
            state_->SyncDirectories();
            throw error;
        }
        staged[i].listing->renamedInto = true;
    }
    staged.clear();
    state_->SyncDirectories();
}

std::size_t AtomicFileBatch::Pending() const {
    return state_->staged.size();
}

} // namespace qvs::platform
