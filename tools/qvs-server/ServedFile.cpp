#include "ServedFile.h"

#include <cerrno>
#include <stdexcept>
#include <utility>

#include <sys/stat.h>
#include <unistd.h>

namespace qvs {

std::optional<ServedFile> ServedFile::Adopt(int descriptor) {
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

std::string ServedFile::ReadAll() const {
    std::string bytes(static_cast<std::size_t>(size_), '\0');
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t count = ::pread(descriptor_, bytes.data() + done, bytes.size() - done,
                                      static_cast<off_t>(done));
        if (count <= 0 && !(count < 0 && errno == EINTR)) {
            throw std::runtime_error("file shorter than announced");
        }
        done += count > 0 ? static_cast<std::size_t>(count) : 0;
    }
    return bytes;
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
