#include "workers/DownloadFile.h"

#include "platform/FileSystem.h"
#include "platform/Utf8Path.h"

#include <chrono>
#include <cstdio>
#include <random>
#include <system_error>

namespace qvs {

namespace {

constexpr int Attempts = 16;
constexpr std::string_view Prefix = ".qvs-download-";
constexpr std::string_view Suffix = ".tmp";
// A download being written is touched far more often than this.
constexpr auto StaleAfter = std::chrono::hours(1);

// What a launcher that was killed while downloading left behind.
void RemoveStale(const std::string& folder) {
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path where = platform::Utf8Path(folder.empty() ? "." : platform::NativePath(folder));
    const auto before = fs::file_time_type::clock::now() - StaleAfter;
    for (fs::directory_iterator it(where, error), end; !error && it != end; it.increment(error)) {
        const std::string name = platform::Utf8String(it->path().filename());
        std::error_code ignored;
        if (name.starts_with(Prefix) && name.ends_with(Suffix) && it->is_regular_file(ignored) &&
            fs::last_write_time(it->path(), ignored) < before) {
            fs::remove(it->path(), ignored);
        }
    }
}

std::string RandomName() {
    std::random_device random;
    const auto number = (static_cast<std::uint64_t>(random()) << 32) ^ random();
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(number));
    return std::string(Prefix) + text + std::string(Suffix);
}

} // namespace

DownloadFile::DownloadFile(const std::string& folder) {
    RemoveStale(folder);
    for (int attempt = 0; attempt < Attempts && !file_.is_open(); ++attempt) {
        path_ = folder + RandomName();
        native_ = platform::Utf8Path(platform::NativePath(path_));
        std::error_code error;
        if (!std::filesystem::exists(native_, error) && !error) {
            file_.open(native_, std::ios::binary | std::ios::trunc);
        }
    }
    if (!file_.is_open()) {
        Fail(0);
    }
}

DownloadFile::~DownloadFile() {
    file_.close();
    std::error_code ignored;
    std::filesystem::remove(native_, ignored);
}

void DownloadFile::Write(std::string_view bytes) {
    if (!file_.write(bytes.data(), static_cast<std::streamsize>(bytes.size()))) {
        Fail(bytes.size());
    }
}

void DownloadFile::Close() {
    file_.close();
    if (file_.fail()) {
        Fail(0);
    }
}

// Streams give no reason: a folder without room for what was being written
// is the one a player can do something about.
void DownloadFile::Fail(std::uint64_t needed) {
    std::error_code error;
    const auto space =
        std::filesystem::space(native_.parent_path().empty() ? "." : native_.parent_path(), error);
    const bool full = !error && space.available <= needed + (std::uint64_t{1} << 20);
    throw platform::FileCreateError(path_, full ? platform::FileCreateError::Cause::DiskFull
                                                : platform::FileCreateError::Cause::Unknown);
}

} // namespace qvs
