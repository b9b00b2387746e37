// The update server: answers one request per connection from the files in
// ROOT/updates/. Latest versions are the highest N of the files <item>N.ecd;
// launcher versions and downloads come from the named file itself. Names
// resolve as on the web host: nothing outside ROOT, links included.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "FileVersionCache.h"
#include "RootFolder.h"
#include "Service.h"
#include "protocol/UpdateRequests.h"

namespace qvs {

class UpdateService : public Service {
public:
    // Requests carry one short name and a number at most.
    static constexpr std::int32_t MaxRequestPayload = 4096;

    explicit UpdateService(const RootFolder& root);

    std::size_t Missing(std::string_view received) const override;
    Reply Answer(std::string_view request, const std::string& peerAddress) const override;

private:
    Reply Answer(const UpdateRequest& request, const std::string& peerAddress) const;
    Reply SendFile(const UpdateRequest& request) const;
    std::int32_t LatestVersion(const std::string& item) const;
    // The file of that name in updates/, opened; or nothing.
    std::optional<ServedFile> UpdatesFile(const std::string& fileName) const;

    const RootFolder& root_;
    mutable FileVersionCache versions_;
};

} // namespace qvs
