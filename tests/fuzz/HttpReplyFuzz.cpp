// Feeds arbitrary reply bytes to the reply header parser, split at a point
// the input chooses, and checks what it reports against the input.
#include "FuzzSupport.h"
#include "http/HttpError.h"
#include "http/HttpReplyParser.h"

#include <algorithm>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::string_view input(reinterpret_cast<const char*>(data) + 1, size - 1);
    const std::size_t split = std::min<std::size_t>(data[0], input.size());
    qvs::fuzz::Refusing<qvs::HttpError>([&] {
        qvs::HttpReplyParser parser;
        std::size_t taken = parser.Feed(input.substr(0, split));
        if (!parser.Complete()) {
            taken += parser.Feed(input.substr(split));
        }
        parser.Finish();
        const qvs::HttpReplyHeader& header = parser.Header();
        constexpr std::size_t max = qvs::HttpReplyParser::MaxFieldLength;
        // The header text is exactly the bytes taken, and never more than arrived.
        qvs::fuzz::Check(taken <= input.size() && header.text == input.substr(0, taken) &&
                         header.location.size() <= max && header.cookie.size() <= max &&
                         header.status >= 0);
    });
    (void)qvs::HttpReplyParser::StatusCode(input);
    (void)qvs::HttpReplyParser::LengthValue(input);
    return 0;
}
