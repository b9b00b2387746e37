#include "platform/TimeStampCounter.h"

#if defined(__x86_64__) || defined(__i386__) || defined(_M_X64) || defined(_M_IX86)
#define QVS_HAS_TSC 1
#if defined(_MSC_VER)
#include <intrin.h>
#else
#include <x86intrin.h>
#endif
#endif

namespace qvs::platform {

std::optional<std::uint64_t> ReadTimeStampCounter() {
#ifdef QVS_HAS_TSC
    return static_cast<std::uint64_t>(__rdtsc());
#else
    return std::nullopt;
#endif
}

} // namespace qvs::platform
