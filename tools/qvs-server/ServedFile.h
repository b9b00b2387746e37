// A file opened for sending: the descriptor stays open while its bytes go
// out, so the length announced to the client is the length of what is sent
// even when the file is replaced meanwhile.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace qvs {

class ServedFile {
public:
    // The file of an open descriptor, which it then owns; nothing (the
    // descriptor closed) unless it is a regular file. -1 gives nothing.
    static std::optional<ServedFile> Adopt(int descriptor);

    ServedFile(ServedFile&& other) noexcept;
    ServedFile& operator=(ServedFile&& other) noexcept;
    ServedFile(const ServedFile&) = delete;
    ServedFile& operator=(const ServedFile&) = delete;
    ~ServedFile();

    int Descriptor() const { return descriptor_; }
    std::uint64_t Size() const { return size_; }
    // The whole file, Size() bytes, for small files; throws std::runtime_error
    // when it cannot be read or became shorter.
    std::string ReadAll() const;

private:
    ServedFile(int descriptor, std::uint64_t size) : descriptor_(descriptor), size_(size) {}

    int descriptor_ = -1;
    std::uint64_t size_ = 0;
};

} // namespace qvs
