// Feeds arbitrary bytes to the update server message parsers: the header,
// every reply payload parser, and the request parser of the server side.
#include <cstddef>
#include <cstdint>
#include <exception>
#include <span>

#include "protocol/CStream.h"
#include "protocol/UpdateFrame.h"
#include "protocol/UpdateReplies.h"
#include "protocol/UpdateRequests.h"

namespace {

qvs::CStream StreamOf(const std::uint8_t* data, std::size_t size) {
    qvs::CStream stream;
    stream.Write(data, size);
    stream.SetPosition(0);
    return stream;
}

template <typename Parse> void Try(const std::uint8_t* data, std::size_t size, Parse parse) {
    qvs::CStream payload = StreamOf(data, size);
    try {
        parse(payload);
    } catch (const std::exception&) {
        // Refusing bad input is the expected outcome; crashing is not.
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        qvs::ParseMessageHeader(std::as_bytes(std::span(data, size)));
    } catch (const std::exception&) {
    }
    Try(data, size, [](qvs::CStream& p) { qvs::ParsePingReply(p); });
    Try(data, size, [](qvs::CStream& p) { qvs::ParseGetLatestVersionReply(p); });
    Try(data, size, [](qvs::CStream& p) {
        const qvs::ECDFileReply reply = qvs::ParseRequestECDFileReply(p);
        if (reply.file.Size() > p.Size()) {
            __builtin_trap();
        }
    });
    Try(data, size, [](qvs::CStream& p) { qvs::ParseGetCurrentFileVersionReply(p); });
    if (size > 0) {
        Try(data + 1, size - 1, [type = data[0] % 6](qvs::CStream& p) {
            qvs::ParseUpdateRequest(static_cast<std::int32_t>(type), p);
        });
    }
    return 0;
}
