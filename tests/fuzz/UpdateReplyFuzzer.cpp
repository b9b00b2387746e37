// Feeds arbitrary bytes to the update server message parsers: the header,
// every reply payload parser, and the request parser of the server side.
#include "FuzzSupport.h"
#include "protocol/UpdateFrame.h"
#include "protocol/UpdateReplies.h"
#include "protocol/UpdateRequests.h"

#include <span>

namespace {

template <typename Parse> void Try(const std::uint8_t* data, std::size_t size, Parse parse) {
    qvs::CStream payload = qvs::fuzz::StreamOf(data, size);
    qvs::fuzz::Refusing([&] { parse(payload); });
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qvs;
    fuzz::Refusing([&] { ParseMessageHeader(std::as_bytes(std::span(data, size))); });
    Try(data, size, [](CStream& p) { ParsePingReply(p); });
    Try(data, size, [](CStream& p) { ParseGetLatestVersionReply(p); });
    Try(data, size,
        [](CStream& p) { fuzz::Check(ParseRequestECDFileReply(p).file.Size() <= p.Size()); });
    Try(data, size, [](CStream& p) { ParseGetCurrentFileVersionReply(p); });
    if (size > 0) {
        Try(data + 1, size - 1, [type = data[0] % 6](CStream& p) {
            ParseUpdateRequest(static_cast<std::int32_t>(type), p);
        });
    }
    return 0;
}
