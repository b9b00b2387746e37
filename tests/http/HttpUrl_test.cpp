// Splitting request addresses into host, port and path.
#include <gtest/gtest.h>

#include <string>

#include "http/HttpError.h"
#include "http/HttpUrl.h"

namespace qvs {
namespace {

struct UrlCase {
    std::string url;
    std::string currentHost;
    std::uint16_t currentPort;
    std::string host;
    std::uint16_t port;
    std::string path;
    std::string finalUrl;
};

TEST(HttpUrlTest, SplitsTheUrl) {
    const UrlCase cases[] = {
        // A scheme resets the port a former URL left behind.
        UrlCase{"http://host/x", "old", 8080, "host", 80, "/x", "http://host/x"},
        UrlCase{"HTTP://host", "", 80, "host", 80, "/", "HTTP://host/"},
        // Without a scheme: host before the first "/", port kept.
        UrlCase{"host/file.txt", "", 8080, "host", 8080, "/file.txt", "host/file.txt"},
        UrlCase{"host:9000/file.txt", "", 80, "host", 9000, "/file.txt", "host:9000/file.txt"},
        UrlCase{"justahost", "", 0, "justahost", 80, "/", "justahost/"},
        // A path alone keeps host and port of the request before; a colon
        // inside it is no scheme and leaves the port alone. Plain addresses,
        // long paths and redirect targets: CHttpClient_test.
        UrlCase{"/a:b", "prev", 8080, "prev", 8080, "/a:b", "/a:b"}};
    for (const UrlCase& c : cases) {
        const HttpUrl url = ParseHttpUrl(c.url, c.currentHost, c.currentPort);
        EXPECT_EQ(url.host, c.host) << c.url;
        EXPECT_EQ(url.port, c.port) << c.url;
        EXPECT_EQ(url.path, c.path) << c.url;
        EXPECT_EQ(url.url, c.finalUrl) << c.url;
    }
}

TEST(HttpUrlErrorTest, RefusesWhatItCannotFetch) {
    const std::pair<std::string, std::string> cases[] = {
        {"", "Empty URL"},
        {"HTTPS://host/x", "HTTP Secure Socket is not supported"},
        {"http://host:abc/x", "Invalid port number"},
        {"http://host:70000/x", "Invalid port number"},
        {"http://host:0/x", "Invalid port number"},
    };
    for (const auto& [url, text] : cases) {
        try {
            (void)ParseHttpUrl(url, "", 80);
            ADD_FAILURE() << url;
        } catch (const HttpError& error) {
            EXPECT_EQ(error.what(), text) << url;
        }
    }
}

} // namespace
} // namespace qvs
