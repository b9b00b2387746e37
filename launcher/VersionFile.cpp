#include "launcher/VersionFile.h"

#include "platform/FileSystem.h"
#include "protocol/CStream.h"

namespace qvs {

std::optional<std::int32_t> LoadVersionFile(const std::string& path) {
    const auto bytes = platform::ReadWholeFile(path);
    if (!bytes || bytes->size() < 4) {
        return std::nullopt;
    }
    CStream stream;
    stream.Write(bytes->data(), 4);
    stream.SetPosition(0);
    std::int32_t version = 0;
    stream.ReadInt(version);
    return version;
}

void WriteVersionFile(const std::string& path, std::int32_t version) {
    CStream stream;
    stream.WriteInt(version);
    platform::WriteFileAtomically(path, stream.View());
}

} // namespace qvs
