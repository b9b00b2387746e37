// What both platforms' batches share: content at hand goes in as one piece.
#include "platform/AtomicFileBatch.h"

namespace qvs::platform {

void AtomicFileBatch::Add(std::string_view path, std::span<const std::byte> data) {
    Add(path, [data](const ContentWriter& write) { write(data); });
}

void AtomicFileBatch::Add(std::string_view path, std::string_view data) {
    Add(path, std::as_bytes(std::span<const char>(data.data(), data.size())));
}

} // namespace qvs::platform
