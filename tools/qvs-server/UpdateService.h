// The update server: answers one request per connection from the files in
// ROOT/updates/. Latest versions are the highest N of the files <item>N.ecd;
// launcher versions and downloads come from the named file itself.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/TcpSocket.h"
#include "protocol/CStream.h"
#include "protocol/UpdateRequests.h"

namespace qvs {

class UpdateService {
public:
    static constexpr int ReadTimeoutMs = 10000;
    // Requests carry one short name and a number at most.
    static constexpr std::int32_t MaxRequestPayload = 4096;

    explicit UpdateService(std::string root);

    // Reads one request, sends its reply and returns the text to log.
    std::string Serve(platform::TcpSocket& socket) const;

private:
    // The reply, or nothing when the request names nothing we hold.
    std::optional<CStream> Answer(const UpdateRequest& request,
                                  const platform::TcpSocket& socket) const;
    std::int32_t LatestVersion(const std::string& item) const;
    std::string UpdatesPath(const std::string& fileName) const;

    std::string updates_;
};

} // namespace qvs
