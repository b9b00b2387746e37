// "qvs.dat" and "qvsc.dat": the installed versions, four bytes each.
#pragma once

#include <cstdint>
#include <string>

namespace qvs {

// Replaces the file atomically, so a crash leaves the old version or the new
// one, never a torn file that would make the next start fetch from 1 again.
void WriteVersionFile(const std::string& path, std::int32_t version);

} // namespace qvs
