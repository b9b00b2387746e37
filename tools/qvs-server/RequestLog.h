// One line per request on stderr; lines of concurrent connections never mix.
#pragma once

#include <mutex>
#include <ostream>
#include <string_view>

namespace qvs {

class RequestLog {
public:
    explicit RequestLog(std::ostream& out) : out_(out) {}
    void Write(std::string_view service, std::string_view peer, std::string_view what);

private:
    std::mutex mutex_;
    std::ostream& out_;
};

} // namespace qvs
