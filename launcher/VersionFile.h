// "qvs.dat" and "qvsc.dat": the installed versions, four bytes each in
// CStream's integer layout.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace qvs {

// Nothing when the file is missing or shorter than four bytes.
std::optional<std::int32_t> LoadVersionFile(const std::string& path);

// Replaces the file atomically, so a crash leaves the old version or the new
// one, never a torn file that would make the next start fetch from 1 again.
void WriteVersionFile(const std::string& path, std::int32_t version);

} // namespace qvs
