// What the progress bar shows for a running download.
#pragma once

#include <cstdint>
#include <string>

namespace qvs {

struct DownloadProgress {
    static constexpr int BarWidth = 300; // the width of the empty bar

    int barWidth = 0;    // pixels of the filled bar
    std::string percent; // "0%" to "100%"

    // An unknown (0) or nonsensical (negative) total counts as 1; what a
    // lying server sends beyond the total keeps the bar full, not wider.
    static DownloadProgress Of(std::int64_t received, std::int64_t total);
};

} // namespace qvs
