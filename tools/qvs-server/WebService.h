// The static web host: HTTP/1.0 GET of the files below the root, one
// request per connection.
#pragma once

#include <cstddef>

#include "RootFolder.h"
#include "Service.h"

namespace qvs {

class WebService : public Service {
public:
    static constexpr std::size_t MaxRequestHead = 8192;

    explicit WebService(const RootFolder& root);

    std::size_t Missing(std::string_view received) const override;
    Reply Answer(std::string_view request, const std::string& peerAddress) const override;
    Reply CutShort(std::string_view received) const override;

private:
    const RootFolder& root_;
};

} // namespace qvs
