#include "launcher/DownloadProgress.h"

#include <algorithm>

namespace qvs {

DownloadProgress DownloadProgress::Of(std::int64_t received, std::int64_t total) {
    if (total <= 0) {
        total = 1;
    }
    received = std::clamp<std::int64_t>(received, 0, total);
    DownloadProgress progress;
    progress.barWidth = static_cast<int>(received * BarWidth / total);
    progress.percent = std::to_string(received * 100 / total) + "%";
    return progress;
}

} // namespace qvs
