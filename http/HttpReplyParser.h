// Splits the reply header from the data as it arrives. Pure: no I/O, so the
// client and the fuzzer drive it alike.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "http/HttpReplyHeader.h"

namespace qvs {

class HttpReplyParser {
public:
    // A line without a line feed is taken as a line once it is this long.
    static constexpr std::size_t MaxLineLength = 65536;
    // Beyond this the header is refused: a server cannot make us buffer without end.
    static constexpr std::size_t MaxHeaderLength = 1024 * 1024;
    static constexpr std::size_t MaxFieldLength = 256;

    // Takes header bytes from data and returns how many it took; once the
    // header is complete the rest of data is body. Throws HttpError when the
    // header grows beyond MaxHeaderLength.
    std::size_t Feed(std::string_view data);
    // The connection ended: a partial last line still counts as received.
    void Finish();

    bool Complete() const { return header_.complete; }
    const HttpReplyHeader& Header() const { return header_; }

    // The second blank-separated word of a status line as a decimal number; 0
    // when it is missing or not a number.
    static int StatusCode(std::string_view statusLine);
    // The digits after the colon of a "Content-Length:" line, leading blanks
    // skipped; nothing when there are none. Saturates instead of overflowing.
    static std::optional<std::uint64_t> LengthValue(std::string_view line);

private:
    void TakeLine(std::string_view line);
    void TakeField(std::string_view line);

    HttpReplyHeader header_;
    std::string pending_; // a line whose line feed has not arrived yet
    bool haveStatusLine_ = false;
};

} // namespace qvs
