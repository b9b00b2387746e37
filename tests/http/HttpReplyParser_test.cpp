// Splitting a reply header from the bytes as they arrive.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>

#include "http/HttpError.h"
#include "http/HttpReplyParser.h"

namespace qvs {
namespace {

TEST(HttpReplyParserTest, ReadsStatusCodesAndLengthValues) {
    const std::pair<std::string, int> statuses[] = {{"HTTP/1.0 200 OK\r\n", 200},
                                                    {"HTTP/1.1 404 Not Found\n", 404},
                                                    {"HTTP/1.0 302\r\n", 302},
                                                    {"HTTP/1.0  301  Moved\r\n", 301},
                                                    {"HTTP/1.0\r\n", 0},
                                                    {"HTTP/1.0 OK 200\r\n", 0},
                                                    {"HTTP/1.0 20x OK\r\n", 0},
                                                    {"HTTP/1.0 -200 OK\r\n", 0},
                                                    {"HTTP/1.0 99999999999 OK\r\n", 0},
                                                    {"<html>hello</html>\n", 0},
                                                    {"", 0}};
    for (const auto& [line, status] : statuses) {
        EXPECT_EQ(HttpReplyParser::StatusCode(line), status) << line;
    }
    const std::pair<std::string, std::optional<std::uint64_t>> lengths[] = {
        {"Content-Length: 1234\r\n", 1234},
        {"Content-Length:    7\r\n", 7},
        {"Content-Length: 12ab\r\n", 12},
        {"Content-Length: 0\r\n", 0},
        {"Content-Length: abc\r\n", std::nullopt},
        {"Content-Length: \r\n", std::nullopt},
        {"Content-Length: 99999999999999999999999\r\n", UINT64_MAX}};
    for (const auto& [line, value] : lengths) {
        EXPECT_EQ(HttpReplyParser::LengthValue(line), value) << line;
    }
}

// Parses data at once, and byte by byte, which must come to the same header.
HttpReplyHeader ParseAtOnce(const std::string& data, std::size_t* taken = nullptr) {
    HttpReplyParser parser;
    HttpReplyParser bytes;
    const std::size_t used = parser.Feed(data);
    std::size_t usedInBytes = 0;
    for (std::size_t i = 0; i < data.size() && !bytes.Complete(); ++i) {
        usedInBytes += bytes.Feed(data.substr(i, 1));
    }
    EXPECT_EQ(usedInBytes, used);
    const HttpReplyHeader& a = parser.Header();
    const HttpReplyHeader& b = bytes.Header();
    EXPECT_TRUE(a.text == b.text && a.status == b.status && a.contentLength == b.contentLength &&
                a.location == b.location && a.cookie == b.cookie && a.complete == b.complete);
    if (taken != nullptr) {
        *taken = used;
    }
    return parser.Header();
}

TEST(HttpReplyParserTest, TakesTheFieldsItKnowsAndStopsAtTheEmptyLine) {
    const std::string header = "HTTP/1.0 301 Moved\r\n"
                               "content-length: 42\r\n"
                               "Location: http://other/updates/x.ecd\r\n"
                               "Set-Cookie: id=7; path=/\r\n"
                               "Server: test\r\n"
                               "\r\n";
    std::size_t taken = 0;
    const HttpReplyHeader reply = ParseAtOnce(header + "BODY", &taken);
    EXPECT_TRUE(reply.complete);
    EXPECT_EQ(taken, header.size());
    EXPECT_EQ(reply.text, header);
    EXPECT_EQ(reply.status, 301);
    EXPECT_EQ(reply.contentLength, 42u);
    EXPECT_EQ(reply.location, "http://other/updates/x.ecd");
    EXPECT_EQ(reply.cookie, "id=7; path=/");
}

TEST(HttpReplyParserTest, ALoneLineFeedEndsTheHeader) {
    std::size_t taken = 0;
    const HttpReplyHeader reply = ParseAtOnce("HTTP/1.0 200 OK\nContent-Length: 3\n\nabc", &taken);
    EXPECT_TRUE(reply.complete);
    EXPECT_EQ(taken, 35u);
    EXPECT_EQ(reply.contentLength, 3u);
}

TEST(HttpReplyParserTest, AnEmptyStatusLineIsNotTheEndOfTheHeader) {
    const HttpReplyHeader reply = ParseAtOnce("\r\nX: y\r\n\r\n");
    EXPECT_TRUE(reply.complete);
    EXPECT_EQ(reply.status, 0);
    EXPECT_EQ(reply.text, "\r\nX: y\r\n\r\n");
}

TEST(HttpReplyParserTest, FieldNamesNeedTheirBlankAndLongValuesAreCut) {
    const std::string longTarget(300, 'u');
    const HttpReplyHeader reply = ParseAtOnce("HTTP/1.0 302 Found\r\n"
                                              "Content-Length:5\r\n"
                                              "Location: " +
                                              longTarget +
                                              "\r\n"
                                              "Set-Cookie:\r\n"
                                              "\r\n");
    EXPECT_FALSE(reply.contentLength.has_value());
    EXPECT_EQ(reply.location, longTarget.substr(0, 256));
    EXPECT_EQ(reply.cookie, "");
}

TEST(HttpReplyParserTest, APartialLineCountsWhenTheConnectionEnds) {
    HttpReplyParser parser;
    parser.Feed("HTTP/1.0 200 OK\r\nContent-Le");
    parser.Finish();
    EXPECT_FALSE(parser.Complete());
    EXPECT_EQ(parser.Header().status, 200);
    EXPECT_EQ(parser.Header().text, "HTTP/1.0 200 OK\r\nContent-Le");
}

TEST(HttpReplyParserTest, AHeaderWithoutEndIsRefusedBeforeMemoryRunsOut) {
    HttpReplyParser parser;
    parser.Feed("HTTP/1.0 200 OK\r\n");
    const std::string line = "X-Filler: " + std::string(1000, 'f') + "\r\n";
    EXPECT_THROW(
        {
            for (int i = 0; i < 2000; ++i) {
                parser.Feed(line);
            }
        },
        HttpError);
    EXPECT_LE(parser.Header().text.size(), HttpReplyParser::MaxHeaderLength);
}

TEST(HttpReplyParserTest, AnOverlongLineIsCutIntoLinesOfTheBufferSize) {
    HttpReplyParser parser;
    parser.Feed("HTTP/1.0 200 OK\r\n");
    parser.Feed(std::string(HttpReplyParser::MaxLineLength + 10, 'z'));
    parser.Feed("\r\n\r\n");
    EXPECT_TRUE(parser.Complete());
    EXPECT_EQ(parser.Header().text.size(), 17 + HttpReplyParser::MaxLineLength + 10 + 4);
}

} // namespace
} // namespace qvs
