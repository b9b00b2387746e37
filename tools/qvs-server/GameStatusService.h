// The game server's status responder. The answer is read from ROOT/status/
// at every request, so operators change it without a restart:
//   people       people online (decimal text; missing or bad: 0)
//   notice_mode  1 notice then play, 2 notice and no play, else no notice
//   notice_title caption of the notice window (one line)
//   notice.html  the notice page
// A file over 1 MiB counts as missing.
#pragma once

#include <string>

#include "RootFolder.h"
#include "Service.h"
#include "protocol/GameServerStatus.h"

namespace qvs {

class GameStatusService : public Service {
public:
    // A status query frame is 7 bytes; anything much larger is not one.
    static constexpr std::int32_t MaxRequestFrame = 256;

    explicit GameStatusService(const RootFolder& root);

    std::size_t Missing(std::string_view received) const override;
    Reply Answer(std::string_view request, const std::string& peerAddress) const override;
    StatusReply CurrentStatus() const;

private:
    std::string Read(const std::string& name) const;

    const RootFolder& root_;
};

} // namespace qvs
