// The processor's cycle counter, where the processor has one the program can
// read (x86 and x86-64).
#pragma once

#include <cstdint>
#include <optional>

namespace qvs::platform {

// Nothing on processors without a readable cycle counter.
std::optional<std::uint64_t> ReadTimeStampCounter();

} // namespace qvs::platform
