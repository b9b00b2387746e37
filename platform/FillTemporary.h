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

// The error for path; a temporary that knows the operating system's error
// (Error() -> std::error_code) says why in the message.
template <class Temporary>
FileCreateError FailureOf(const Temporary& temporary, std::string_view path) {
    if constexpr (requires { temporary.Error(); }) {
        return FileCreateError(std::string(path), FileCreateError::CauseOf(temporary.Error()));
    } else {
        return FileCreateError(std::string(path));
    }
}

// Temporary: Opened(), Append(span) -> bool, Finish() -> optional name.
template <class Temporary>
std::string FillTemporary(Temporary& temporary, std::string_view path,
                          const AtomicFileBatch::ContentSource& fill) {
    if (!temporary.Opened()) {
        throw FailureOf(temporary, path);
    }
    fill([&temporary, path](std::span<const std::byte> data) {
        if (!temporary.Append(data)) {
            throw FailureOf(temporary, path);
        }
    });
    std::optional<std::string> written = temporary.Finish();
    if (!written) {
        throw FailureOf(temporary, path);
    }
    return *written;
}

} // namespace qvs::platform
