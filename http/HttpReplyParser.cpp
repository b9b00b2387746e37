#include "http/HttpReplyParser.h"

#include <algorithm>
#include <cctype>
#include <limits>

#include "http/HttpError.h"

namespace qvs {

namespace {

std::string_view WithoutLineEnd(std::string_view line) {
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) {
        line.remove_suffix(1);
    }
    return line;
}

std::string UpperFirstWord(std::string_view line) {
    std::string word(line.substr(0, line.find(' ')));
    std::transform(word.begin(), word.end(), word.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return word;
}

// The line from the given character on, without its line end, cut to the
// field limit.
std::string FieldFrom(std::string_view line, std::size_t start) {
    const std::string_view value = WithoutLineEnd(line.substr(std::min(start, line.size())));
    return std::string(value.substr(0, HttpReplyParser::MaxFieldLength));
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

} // namespace

std::size_t HttpReplyParser::Feed(std::string_view data) {
    std::size_t taken = 0;
    while (!header_.complete && taken < data.size()) {
        const std::string_view rest = data.substr(taken);
        const std::size_t room = MaxLineLength - pending_.size();
        const std::size_t lineFeed = rest.substr(0, room).find('\n');
        const std::size_t length =
            lineFeed == std::string_view::npos ? std::min(room, rest.size()) : lineFeed + 1;
        pending_.append(rest.substr(0, length));
        taken += length;
        if (lineFeed != std::string_view::npos || pending_.size() == MaxLineLength) {
            TakeLine(pending_);
            pending_.clear();
        }
    }
    return taken;
}

void HttpReplyParser::Finish() {
    if (!header_.complete && !pending_.empty()) {
        TakeLine(pending_);
        pending_.clear();
    }
}

void HttpReplyParser::TakeLine(std::string_view line) {
    if (header_.text.size() + line.size() > MaxHeaderLength) {
        throw HttpError("Reply header too long");
    }
    header_.text.append(line);
    if (!haveStatusLine_) {
        haveStatusLine_ = true;
        header_.status = StatusCode(line);
        return;
    }
    if (line == "\r\n" || line == "\n") {
        header_.complete = true;
        return;
    }
    TakeField(line);
}

void HttpReplyParser::TakeField(std::string_view line) {
    const std::string name = UpperFirstWord(line);
    if (name == "CONTENT-LENGTH:") {
        header_.contentLength = LengthValue(line);
    } else if (name == "LOCATION:") {
        header_.location = FieldFrom(line, 10);
    } else if (name == "SET-COOKIE:") {
        header_.cookie = FieldFrom(line, 12);
    }
}

int HttpReplyParser::StatusCode(std::string_view statusLine) {
    std::string_view rest = WithoutLineEnd(statusLine);
    rest.remove_prefix(std::min(rest.find_first_not_of(' '), rest.size()));
    rest.remove_prefix(std::min(rest.find(' '), rest.size()));
    rest.remove_prefix(std::min(rest.find_first_not_of(' '), rest.size()));
    const std::string_view word = rest.substr(0, rest.find(' '));
    if (word.empty() || word.size() > 9 || !std::all_of(word.begin(), word.end(), IsDigit)) {
        return 0;
    }
    int value = 0;
    for (const char c : word) {
        value = value * 10 + (c - '0');
    }
    return value;
}

std::optional<std::uint64_t> HttpReplyParser::LengthValue(std::string_view line) {
    const std::size_t colon = line.find(':');
    if (colon == std::string_view::npos) {
        return std::nullopt;
    }
    std::string_view rest = line.substr(colon + 1);
    rest.remove_prefix(std::min(rest.find_first_not_of(' '), rest.size()));
    if (rest.empty() || !IsDigit(rest.front())) {
        return std::nullopt;
    }
    constexpr std::uint64_t Max = std::numeric_limits<std::uint64_t>::max();
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < rest.size() && IsDigit(rest[i]); ++i) {
        const auto digit = static_cast<std::uint64_t>(rest[i] - '0');
        value = value > (Max - digit) / 10 ? Max : value * 10 + digit;
    }
    return value;
}

} // namespace qvs
