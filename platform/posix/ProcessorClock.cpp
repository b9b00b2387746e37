#include "platform/ProcessorClock.h"

#include <fstream>
#include <limits>
#include <string>

namespace qvs::platform {

namespace {

// A file of cpufreq holding one figure in kHz.
std::optional<std::uint32_t> KhzFileAsMhz(const char* path) {
    std::ifstream file(path);
    std::uint64_t khz = 0;
    if (!(file >> khz) || khz < 1000 || khz / 1000 > std::numeric_limits<std::uint32_t>::max()) {
        return std::nullopt;
    }
    return static_cast<std::uint32_t>(khz / 1000);
}

// The "cpu MHz" line of /proc/cpuinfo (the current clock of the first
// processor on x86; absent on many other processors).
std::optional<std::uint32_t> CpuInfoMhz() {
    std::ifstream cpuinfo("/proc/cpuinfo");
    std::string line;
    while (std::getline(cpuinfo, line)) {
        if (line.rfind("cpu MHz", 0) != 0) {
            continue;
        }
        const std::size_t colon = line.find(':');
        if (colon == std::string::npos) {
            return std::nullopt;
        }
        try {
            const double mhz = std::stod(line.substr(colon + 1));
            if (mhz >= 1 && mhz < std::numeric_limits<std::uint32_t>::max()) {
                return static_cast<std::uint32_t>(mhz);
            }
        } catch (const std::exception&) {
        }
        return std::nullopt;
    }
    return std::nullopt;
}

} // namespace

std::optional<std::uint32_t> ReportedProcessorMhz() {
    // The nominal clock first: it does not move with the load of the moment.
    if (auto mhz = KhzFileAsMhz("/sys/devices/system/cpu/cpu0/cpufreq/base_frequency")) {
        return mhz;
    }
    if (auto mhz = KhzFileAsMhz("/sys/devices/system/cpu/cpu0/cpufreq/cpuinfo_max_freq")) {
        return mhz;
    }
    return CpuInfoMhz();
}

} // namespace qvs::platform
