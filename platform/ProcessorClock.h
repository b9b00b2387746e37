// The processor clock as the operating system reports it, for machines
// whose cycles cannot be counted directly.
#pragma once

#include <cstdint>
#include <optional>

namespace qvs::platform {

// MHz of the first processor, or nothing when the system does not say.
std::optional<std::uint32_t> ReportedProcessorMhz();

} // namespace qvs::platform
