#include "launcher/VersionFile.h"

#include "platform/FileSystem.h"

#include <array>

namespace qvs {

void WriteVersionFile(const std::string& path, std::int32_t version) {
    const auto value = static_cast<std::uint32_t>(version);
    const std::array<char, 4> bytes{static_cast<char>(value & 0xFF),
                                    static_cast<char>((value >> 8) & 0xFF),
                                    static_cast<char>((value >> 16) & 0xFF),
                                    static_cast<char>((value >> 24) & 0xFF)};
    platform::WriteFileAtomically(path, std::string_view(bytes.data(), bytes.size()));
}

} // namespace qvs
