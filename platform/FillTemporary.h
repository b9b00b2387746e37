// The step both platforms' batches share when a file is added: the content
// goes into the freshly made temporary as fill hands it over. Any failure
// names the file being added; the temporary cleans up after itself unless
// it is finished.
#pragma once

#include "platform/AtomicFileBatch.h"
#include "platform/FileSystem.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace qvs::platform {

// Temporary: Opened(), Append(span) -> bool, Finish() -> optional name.
template <class Temporary>
std::string FillTemporary(Temporary& temporary, std::string_view path,
                          const AtomicFileBatch::ContentSource& fill) {
    if (!temporary.Opened()) {
        throw FileCreateError(std::string(path));
    }
    fill([&temporary, path](std::span<const std::byte> data) {
        if (!temporary.Append(data)) {
            throw FileCreateError(std::string(path));
        }
    });
    std::optional<std::string> written = temporary.Finish();
    if (!written) {
        throw FileCreateError(std::string(path));
    }
    return *written;
}

} // namespace qvs::platform
