// Splitting request addresses into host, port and path (the addresses it
// refuses are in CHttpClient_test), and a reply header from the bytes as
// they arrive.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>

#include "http/HttpError.h"
#include "http/HttpReplyParser.h"
#include "http/HttpUrl.h"

namespace qvs {
namespace {

TEST(HttpUrlTest, SplitsTheUrl) {
    const struct {
        std::string url, currentHost;
        std::uint16_t currentPort;
        std::string host;
        std::uint16_t port;
        std::string path, finalUrl;
    } cases[] = {// A scheme resets the port a former URL left behind.
                 {"http://host/x", "old", 8080, "host", 80, "/x", "http://host/x"},
                 {"HTTP://host", "", 80, "host", 80, "/", "HTTP://host/"},
                 // Without a scheme: host before the first "/", port kept.
                 {"host/file.txt", "", 8080, "host", 8080, "/file.txt", "host/file.txt"},
                 {"host:9000/file.txt", "", 80, "host", 9000, "/file.txt", "host:9000/file.txt"},
                 {"justahost", "", 0, "justahost", 80, "/", "justahost/"},
                 // A path alone keeps host and port of the request before; a colon
                 // inside it is no scheme and leaves the port alone. Plain addresses,
                 // long paths and redirect targets: CHttpClient_test.
                 {"/a:b", "prev", 8080, "prev", 8080, "/a:b", "/a:b"}};
    for (const auto& c : cases) {
        const HttpUrl url = ParseHttpUrl(c.url, c.currentHost, c.currentPort);
        EXPECT_EQ(url.host, c.host) << c.url;
        EXPECT_EQ(url.port, c.port) << c.url;
        EXPECT_EQ(url.path, c.path) << c.url;
        EXPECT_EQ(url.url, c.finalUrl) << c.url;
    }
}

TEST(HttpReplyParserTest, ReadsStatusCodesAndLengthValues) {
    const std::pair<std::string, int> statuses[] = {{"HTTP/1.1 404 Not Found\n", 404},
                                                    {"HTTP/1.0 -200 OK\r\n", 0},
                                                    {"HTTP/1.0 99999999999 OK\r\n", 0},
                                                    {"", 0}};
    for (const auto& [line, status] : statuses) {
        EXPECT_EQ(HttpReplyParser::StatusCode(line), status) << line;
    }
    const std::pair<std::string, std::optional<std::uint64_t>> lengths[] = {
        {"Content-Length: 12ab\r\n", 12},
        {"Content-Length: 0\r\n", 0},
        {"Content-Length: abc\r\n", std::nullopt},
        {"Content-Length: 99999999999999999999999\r\n", UINT64_MAX}};
    for (const auto& [line, value] : lengths) {
        EXPECT_EQ(HttpReplyParser::LengthValue(line), value) << line;
    }
}

// Fed at once or byte by byte, the parser takes the same header and stops
// at its empty line.
TEST(HttpReplyParserTest, TakesTheFieldsItKnowsAndStopsAtTheEmptyLine) {
    const std::string longTarget(300, 'u');
    const struct {
        std::string header;
        int status;
        std::optional<std::uint64_t> length;
        std::string location, cookie;
    } cases[] = {
        {"HTTP/1.0 301 Moved\r\ncontent-length: 42\r\nLocation: http://other/updates/x.ecd\r\n"
         "Set-Cookie: id=7; path=/\r\nServer: test\r\n\r\n",
         301, 42, "http://other/updates/x.ecd", "id=7; path=/"},
        {"HTTP/1.0 200 OK\nContent-Length: 3\n\n", 200, 3, "", ""}, // lone line feeds
        {"\r\nX: y\r\n\r\n", 0, std::nullopt, "", ""}, // an empty status line is no end
        // Field names need their blank; long values are cut.
        {"HTTP/1.0 302 Found\r\nContent-Length:5\r\nLocation: " + longTarget +
             "\r\nSet-Cookie:\r\n\r\n",
         302, std::nullopt, longTarget.substr(0, 256), ""},
    };
    for (const auto& c : cases) {
        const std::string data = c.header + "BODY";
        HttpReplyParser atOnce;
        HttpReplyParser bytes;
        EXPECT_EQ(atOnce.Feed(data), c.header.size());
        std::size_t taken = 0;
        for (std::size_t i = 0; i < data.size() && !bytes.Complete(); ++i) {
            taken += bytes.Feed(data.substr(i, 1));
        }
        EXPECT_EQ(taken, c.header.size());
        for (const HttpReplyParser* parser : {&atOnce, &bytes}) {
            const HttpReplyHeader& reply = parser->Header();
            EXPECT_TRUE(reply.complete) << c.header;
            EXPECT_EQ(reply.text, c.header);
            EXPECT_EQ(reply.status, c.status) << c.header;
            EXPECT_EQ(reply.contentLength, c.length) << c.header;
            EXPECT_EQ(reply.location, c.location) << c.header;
            EXPECT_EQ(reply.cookie, c.cookie) << c.header;
        }
    }
}

// An overlong line is cut into lines of the buffer size; a header without
// end is refused before memory runs out.
TEST(HttpReplyParserTest, LongHeadersAreCutAndRefused) {
    HttpReplyParser cutLines;
    cutLines.Feed("HTTP/1.0 200 OK\r\n");
    cutLines.Feed(std::string(HttpReplyParser::MaxLineLength + 10, 'z'));
    cutLines.Feed("\r\n\r\n");
    EXPECT_TRUE(cutLines.Complete());
    EXPECT_EQ(cutLines.Header().text.size(), 17 + HttpReplyParser::MaxLineLength + 10 + 4);
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

} // namespace
} // namespace qvs
