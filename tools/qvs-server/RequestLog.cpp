#include "RequestLog.h"

#include <string>

namespace qvs {

void RequestLog::Write(std::string_view service, std::string_view peer, std::string_view what) {
    // One write per line: stderr is unbuffered, and busy ports log a lot.
    std::string line;
    line.reserve(service.size() + peer.size() + what.size() + 3);
    line.append(service).append(" ").append(peer).append(" ").append(what).append("\n");
    const std::lock_guard lock(mutex_);
    out_.write(line.data(), static_cast<std::streamsize>(line.size()));
    out_.flush();
}

} // namespace qvs
