#include "ServedFile.h"

#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qvs {

std::optional<ServedFile> ServedFile::Open(const std::string& path) {
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (descriptor < 0) {
        return std::nullopt;
    }
    struct stat info {};
    if (::fstat(descriptor, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(descriptor);
        return std::nullopt;
    }
    return ServedFile(descriptor, static_cast<std::uint64_t>(info.st_size));
}

ServedFile::ServedFile(ServedFile&& other) noexcept
    : descriptor_(std::exchange(other.descriptor_, -1)), size_(other.size_) {}

ServedFile& ServedFile::operator=(ServedFile&& other) noexcept {
    if (this != &other) {
        if (descriptor_ >= 0) {
            ::close(descriptor_);
        }
        descriptor_ = std::exchange(other.descriptor_, -1);
        size_ = other.size_;
    }
    return *this;
}

ServedFile::~ServedFile() {
    if (descriptor_ >= 0) {
        ::close(descriptor_);
    }
}

} // namespace qvs
