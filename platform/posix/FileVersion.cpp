// GetFileInformation without version resources: the version record that the
// build embedded in the file, found by reading it through.
#include <fstream>
#include <string>

#include "platform/FileSystem.h"
#include "platform/FileVersion.h"
#include "platform/VersionRecord.h"

namespace qvs::platform {

namespace {

constexpr std::size_t chunkSize = 1 << 20;

// Reads the file chunk by chunk; each window repeats the last
// VersionRecordSize - 1 bytes of the one before, so a record cut by a chunk
// boundary is seen whole in the next window.
std::optional<std::string> FindRecordInFile(std::ifstream& file) {
    const std::size_t overlap = VersionRecordSize - 1;
    std::string window;
    std::string chunk(chunkSize, '\0');
    while (file) {
        file.read(chunk.data(), static_cast<std::streamsize>(chunk.size()));
        const auto got = static_cast<std::size_t>(file.gcount());
        if (got == 0) {
            break;
        }
        window.append(chunk, 0, got);
        if (auto text = FindVersionRecord(window)) {
            return text;
        }
        if (window.size() > overlap) {
            window.erase(0, window.size() - overlap);
        }
    }
    return std::nullopt;
}

} // namespace

FileVersion GetFileInformation(std::string_view path) {
    std::ifstream file(NativePath(path), std::ios::binary);
    if (!file) {
        return {};
    }
    const auto text = FindRecordInFile(file);
    return text ? ParseVersionText(*text) : FileVersion{};
}

} // namespace qvs::platform
