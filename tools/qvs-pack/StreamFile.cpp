#include "StreamFile.h"

#include "platform/FileSystem.h"
#include "platform/Utf8Path.h"

#include <array>
#include <filesystem>
#include <fstream>
#include <span>
#include <stdexcept>
#include <system_error>

namespace qvs {

void StreamFile::Load(const std::string& path, CStream& stream) {
    const std::filesystem::path native = platform::Utf8Path(platform::NativePath(path));
    std::error_code error;
    const auto size = std::filesystem::file_size(native, error);
    std::ifstream in(native, std::ios::binary);
    if (error || !in) {
        throw std::runtime_error("Cannot read file " + path);
    }
    stream.Clear();
    stream.Reserve(static_cast<std::size_t>(size));
    std::array<char, 1 << 16> piece{};
    while (in) {
        in.read(piece.data(), piece.size());
        stream.Write(piece.data(), static_cast<std::size_t>(in.gcount()));
    }
    if (in.bad()) {
        throw std::runtime_error("Cannot read file " + path);
    }
    stream.SetPosition(0);
}

void StreamFile::Save(const std::string& path, const CStream& stream) {
    platform::WriteFileAtomically(
        path, std::span<const std::byte>(reinterpret_cast<const std::byte*>(stream.Data()),
                                         stream.Size()));
}

} // namespace qvs
