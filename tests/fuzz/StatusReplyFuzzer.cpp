// Feeds arbitrary bytes to the game server frame length and reply parsers.
#include <cstddef>
#include <cstdint>
#include <exception>
#include <span>

#include "protocol/CStream.h"
#include "protocol/GameServerStatus.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        qvs::ParseGameFrameLength(std::as_bytes(std::span(data, size)));
    } catch (const std::exception&) {
    }
    qvs::CStream body;
    body.Write(data, size);
    body.SetPosition(0);
    try {
        const qvs::StatusReply reply = qvs::ParseStatusReply(body);
        if (reply.noticeTitle.size() + reply.noticeHtml.size() > size) {
            __builtin_trap();
        }
    } catch (const std::exception&) {
        // Refusing bad input is the expected outcome; crashing is not.
    }
    return 0;
}
