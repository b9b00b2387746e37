// Feeds arbitrary bytes to the game server frame length and reply parsers.
#include "FuzzSupport.h"
#include "protocol/GameServerStatus.h"

#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qvs;
    fuzz::Refusing([&] { ParseGameFrameLength(std::as_bytes(std::span(data, size))); });
    fuzz::Refusing([&] {
        CStream body = fuzz::StreamOf(data, size);
        const StatusReply reply = ParseStatusReply(body);
        fuzz::Check(reply.noticeTitle.size() + reply.noticeHtml.size() <= size);
    });
    return 0;
}
