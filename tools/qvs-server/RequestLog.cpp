#include "RequestLog.h"

namespace qvs {

void RequestLog::Write(std::string_view service, std::string_view peer, std::string_view what) {
    const std::lock_guard lock(mutex_);
    out_ << service << ' ' << peer << ' ' << what << std::endl;
}

} // namespace qvs
