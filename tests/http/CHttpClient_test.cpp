// The HTTP client against a scripted server that replies byte for byte as
// each test says, well-formed or not, and against independent servers.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "http/CHttpClient.h"
#include "http/HttpError.h"
#include "platform/TcpListener.h"
#include "support/ExternalProcess.h"
#include "support/RawFile.h"
#include "support/ScriptedServer.h"
#include "support/TempDir.h"

namespace qvs {
namespace {

using test::ExternalProcess;
using test::ScriptedServer;
using S = ScriptedServer;

// These replies end by closing, so the wait only ends a case that fails;
// Wine on a loaded machine can take longer than a moment to pass them on.
constexpr int WaitMs = 10000;

std::string RequestFor(const std::string& path, const std::string& host = "127.0.0.1") {
    return "GET " + path + " HTTP/1.0\r\nHost: " + host + "\r\n" +
           "Accept: www/source, text/html, video/mpeg, image/jpeg, image/x-tiff\r\n"
           "Accept: image/x-rgb, image/x-xbm, image/gif, */*, application/postscript\r\n"
           "Content-type: application/x-www-form-urlencoded\r\n"
           "\r\n";
}

std::string Reply(const std::string& statusLine, const std::string& body) {
    return statusLine + "\r\nServer: scripted\r\nContent-Length: " + std::to_string(body.size()) +
           "\r\n\r\n" + body;
}

// What the callbacks saw during one Get.
struct Outcome {
    int successes = 0;
    int failures = 0;
    std::vector<std::uint64_t> receivedSteps;
    std::uint64_t lastTotal = 0;
    std::string error; // message of a raised HttpError
};

Outcome Fetch(CHttpClient& client, const std::string& url) {
    Outcome outcome;
    client.OnSuccess = [&](CHttpClient::Command) { ++outcome.successes; };
    client.OnFailure = [&](CHttpClient::Command) { ++outcome.failures; };
    client.OnPacketRecvd = [&] {
        outcome.receivedSteps.push_back(client.Received());
        outcome.lastTotal = client.Total();
    };
    try {
        client.Get(url);
    } catch (const HttpError& error) {
        outcome.error = error.what();
    }
    return outcome;
}

std::string Url(const ScriptedServer& server, const std::string& path) {
    return "http://" + server.Address() + path;
}

// One object, transfer after transfer: a body with its length arriving in
// pieces with pauses shorter than the wait; then only statuses below 299
// count as a fetched file (303 is not followed), error pages are kept. A long
// path is cut to 256 characters, an empty one is sent as "/"; a host name is
// looked up.
TEST(CHttpClientTest, SendsExactRequestsAndServesOneTransferAfterAnother) {
    const std::string body("PK\0\x01\xff binary", 12);
    const std::string longPath = "/" + std::string(400, 'p');
    const struct {
        std::string path, reply;
        bool success;
    } cases[] = {
        {"/updates/qvs12.ecd", Reply("HTTP/1.0 200 OK", body), true},
        {longPath, Reply("HTTP/1.0 298 Odd", "page"), true},
        {"", Reply("HTTP/1.0 299 Odd", "page"), false},
        {"/y", "HTTP/1.0 303 See Other\r\nLocation: /y\r\n\r\npage", false},
        {"/w", "HTTP/1.0 301 Moved\r\n\r\npage", false}, // a redirect without target
        {"/z", Reply("HTTP/1.0 OK", "page"), false},
    };
    ScriptedServer server([&cases](const std::string&, int index) {
        const std::string& reply = cases[index].reply;
        return index == 0 ? S::Script{S::Send(reply.substr(0, 30)), S::Pause(150),
                                      S::Send(reply.substr(30, 35)), S::Pause(150),
                                      S::Send(reply.substr(65))}
                          : S::Script{S::Send(reply)};
    });
    CHttpClient client(2000);
    std::vector<std::string> requests;
    for (const auto& c : cases) {
        const std::string host = c.path.empty() ? "localhost" : "127.0.0.1";
        const Outcome outcome =
            Fetch(client, "http://" + host + ":" + std::to_string(server.Port()) + c.path);
        EXPECT_EQ(outcome.error, "") << c.reply;
        EXPECT_EQ(outcome.successes, c.success ? 1 : 0) << c.reply;
        EXPECT_EQ(outcome.failures, c.success ? 0 : 1) << c.reply;
        EXPECT_EQ(client.FailureReason().empty(), c.success) << c.reply;
        EXPECT_EQ(client.Body(), c.path == longPath || !c.success ? "page" : body);
        EXPECT_EQ(client.Received(), client.Body().size());
        requests.push_back(RequestFor(c.path.empty() ? "/" : c.path.substr(0, 256), host));
        if (c.path == cases[0].path) {
            EXPECT_EQ(client.Status(), 200);
            EXPECT_EQ(client.Total(), body.size());
            EXPECT_EQ(outcome.lastTotal, body.size());
            // A notification per arrival, as the body grows.
            ASSERT_FALSE(outcome.receivedSteps.empty());
            EXPECT_TRUE(std::is_sorted(outcome.receivedSteps.begin(), outcome.receivedSteps.end(),
                                       std::less_equal<>()));
            EXPECT_EQ(outcome.receivedSteps.back(), body.size());
            EXPECT_EQ(client.Header(),
                      "HTTP/1.0 200 OK\r\nServer: scripted\r\nContent-Length: 12\r\n\r\n");
        }
    }
    EXPECT_EQ(server.Requests(), requests);
}

// A good reply cut at every byte fails, keeping the header as far as it came
// (a partial last line counts); stalled in the header or the body it times out.
TEST(CHttpClientTest, GeneratedCutsFailAndStallsTimeOut) {
    const std::string reply = "HTTP/1.0 200 OK\r\nContent-Length: 10\r\n\r\n0123456789";
    for (std::size_t at = 0; at < reply.size(); ++at) {
        ScriptedServer server(S::HttpReply(reply.substr(0, at)));
        CHttpClient client(WaitMs);
        const Outcome outcome = Fetch(client, Url(server, "/x"));
        EXPECT_EQ(outcome.error, "") << at;
        EXPECT_EQ(outcome.successes, 0) << at;
        EXPECT_EQ(outcome.failures, 1) << at;
        EXPECT_EQ(client.Header(), reply.substr(0, std::min(at, reply.size() - 10))) << at;
    }
    for (const std::size_t at : {std::size_t{20}, reply.size() - 10, reply.size() - 5}) {
        ScriptedServer server({S::ReceiveRequest(), S::Send(reply.substr(0, at)), S::Hold()});
        CHttpClient client(2000); // long enough for what was sent to arrive first
        const Outcome outcome = Fetch(client, Url(server, "/x"));
        EXPECT_EQ(outcome.error, "Connection Timed out") << at;
        EXPECT_EQ(outcome.successes + outcome.failures, 0) << at;
        EXPECT_EQ(client.Body(), reply.substr(reply.size() - 10, at > reply.size() - 10 ? 5 : 0));
    }
}

TEST(CHttpClientTest, FollowsRelativeTargetsOnTheSameServerAndAbsoluteOnesElsewhere) {
    ScriptedServer target(S::HttpReply(Reply("HTTP/1.0 200 OK", "moved here")));
    ScriptedServer server([&target](const std::string& request, int) {
        if (request.starts_with("GET /start ")) {
            return S::Script{S::Send(
                "HTTP/1.0 302 Found\r\nLocation: next.txt\r\nSet-Cookie: s=42; path=/\r\n\r\n")};
        }
        if (request.starts_with("GET /next.txt ")) {
            // A "/" but no "//": still a path on this server, not a host name.
            return S::Script{S::Send("HTTP/1.0 301 Moved\r\nLocation: dir/more\r\n\r\n")};
        }
        if (request.starts_with("GET /dir/more ")) {
            return S::Script{S::Send("HTTP/1.0 300 Choices\r\nLocation: /dir/last\r\n\r\n")};
        }
        return S::Script{S::Send("HTTP/1.0 301 Moved\r\nLocation: " + Url(target, "/new/place") +
                                 "\r\nContent-Length: 5\r\n\r\nmoved")};
    });
    CHttpClient client(WaitMs);
    const Outcome outcome = Fetch(client, Url(server, "/start"));
    EXPECT_EQ(outcome.successes, 1);
    EXPECT_EQ(outcome.failures, 0);
    EXPECT_EQ(client.Body(), "moved here");
    EXPECT_EQ(client.Port(), target.Port());
    const std::vector<std::string> requests = server.Requests();
    ASSERT_EQ(requests.size(), 4u);
    // The cookie goes on cut at its first ";".
    const auto withCookie = [](const std::string& path) {
        std::string request = RequestFor(path);
        request.insert(request.size() - 2, "Cookie: s=42\r\n");
        return request;
    };
    EXPECT_EQ(requests[1], withCookie("/next.txt"));
    EXPECT_EQ(requests[2], withCookie("/dir/more"));
    EXPECT_EQ(requests[3], withCookie("/dir/last"));
    ASSERT_EQ(target.Requests().size(), 1u);
    EXPECT_TRUE(target.Requests()[0].starts_with("GET /new/place HTTP/1.0\r\nHost: 127.0.0.1\r\n"));
}

TEST(CHttpClientTest, RedirectLoopsFail) {
    ScriptedServer server(S::HttpReply("HTTP/1.0 302 Found\r\nLocation: /again\r\n\r\n"));
    CHttpClient client(WaitMs);
    const Outcome outcome = Fetch(client, Url(server, "/again"));
    EXPECT_EQ(outcome.error, "");
    EXPECT_EQ(outcome.failures, 1);
    EXPECT_EQ(server.Requests().size(), 1u + CHttpClient::MaxRedirects);
}

// An announced length over the limit fails at once, without the body (the
// long wait would show a time-out instead); without a length the body runs to
// the close, Total stays zero, and exactly the limit is taken.
TEST(CHttpClientTest, BodiesAreHeldToTheLimit) {
    const std::string bodyOf1000 = std::string(1000, 'b');
    const struct {
        S::Script script;
        bool success;
        std::uint64_t total;
    } cases[] = {
        {{S::ReceiveRequest(), S::Send("HTTP/1.0 200 OK\r\nContent-Length: 1001\r\n\r\nstart"),
          S::Hold()},
         false,
         1001},
        {S::HttpReply("HTTP/1.0 200 OK\r\n\r\n" + bodyOf1000), true, 0},
        {S::HttpReply("HTTP/1.0 200 OK\r\n\r\nb" + bodyOf1000), false, 0},
    };
    for (const auto& c : cases) {
        ScriptedServer server(c.script);
        CHttpClient client(60000, 1000);
        const Outcome outcome = Fetch(client, Url(server, "/x"));
        EXPECT_EQ(outcome.successes, c.success ? 1 : 0);
        EXPECT_EQ(outcome.failures, c.success ? 0 : 1);
        EXPECT_EQ(client.Body(), c.success ? bodyOf1000 : "");
        EXPECT_EQ(client.Total(), c.total);
    }
}

// Addresses it cannot parse (the ones it can: HttpParsing_test) or reach, and
// Abort from OnIdle on the third call: while connecting to a host whose full
// accept queue drops further connection requests (as a firewall that
// swallows them would), and while waiting for more of a body. No callback
// runs.
TEST(CHttpClientTest, UnusableAddressesAndAbortsRaiseTheTextOfTheStage) {
    ScriptedServer stalled(
        {S::ReceiveRequest(), S::Send("HTTP/1.0 200 OK\r\n\r\nfirst"), S::Hold()});
    std::vector<std::pair<std::string, std::string>> cases = {
        {"", "Empty URL"},
        {"HTTPS://host/x", "HTTP Secure Socket is not supported"},
        {"http://host:abc/x", "Invalid port number"},
        {"http://host:70000/x", "Invalid port number"},
        {"http://host:0/x", "Invalid port number"},
        {"http://no-such-host.invalid/updates/QVS.exe", "Null Remote Address"},
        {"http://127.0.0.1:" + std::to_string(ExternalProcess::FreePort()) + "/x",
         "Connection Failed"},
        {Url(stalled, "/x"), "Socket capture aborted"}};
#ifndef _WIN32 // Windows refuses at once when the queue is full
    platform::TcpListener full("127.0.0.1", 0, 0);
    platform::TcpSocket filler;
    filler.Connect("127.0.0.1", full.LocalPort(), 2000);
    cases.emplace_back("http://127.0.0.1:" + std::to_string(full.LocalPort()) + "/x",
                       "Connection Canceled");
#endif
    for (const auto& [url, text] : cases) {
        CHttpClient client(20000);
        int idleCalls = 0;
        client.OnIdle = [&] {
            if (++idleCalls == 3) {
                client.Abort();
            }
        };
        const Outcome outcome = Fetch(client, url);
        EXPECT_EQ(outcome.error, text);
        EXPECT_EQ(outcome.successes + outcome.failures, 0) << text;
    }
}

// Independent servers, nginx and Python's http.server, each started on a
// free loopback port and serving root/updates/ the way an update web host
// does; skipped where the programs are missing (under Wine, for one).
class PeerTest : public testing::Test {
protected:
    void SetUp() override {
        for (std::size_t i = 0; i < package_.size(); ++i) {
            package_[i] = static_cast<char>((i * 131 + i / 977) & 0xFF);
        }
        const std::filesystem::path updates = dir_.Path() / "www" / "updates";
        std::filesystem::create_directories(updates / "news");
        test::WriteRawFile(updates / "qvs12.ecd", package_);
        test::WriteRawFile(updates / "news" / "index.html", "<p>news</p>");
    }

    void ExpectServesLikeAnUpdateHost() {
        const struct {
            std::string path;
            bool found;
            std::string body;
        } cases[] = {
            {"/updates/qvs12.ecd", true, package_},
            {"/updates/qvs13.ecd", false, ""},
            // A directory without its slash is redirected to the one with it.
            {"/updates/news", true, "<p>news</p>"},
        };
        CHttpClient client(10000);
        for (const auto& c : cases) {
            const Outcome outcome =
                Fetch(client, "http://127.0.0.1:" + std::to_string(port_) + c.path);
            EXPECT_EQ(outcome.error, "") << c.path;
            EXPECT_EQ(outcome.successes, c.found ? 1 : 0) << c.path;
            EXPECT_EQ(outcome.failures, c.found ? 0 : 1) << c.path;
            EXPECT_EQ(client.Status(), c.found ? 200 : 404) << c.path;
            if (c.found) {
                EXPECT_TRUE(client.Body() == c.body) << c.path << ": " << client.Body().size();
                EXPECT_EQ(client.Total(), c.body.size()) << c.path;
            }
        }
    }

    test::TempDir dir_;
    std::string package_ = std::string(3 * 1024 * 1024 + 123, '\0');
    std::uint16_t port_ = ExternalProcess::FreePort();
};

TEST_F(PeerTest, PythonHttpServer) {
    if (ExternalProcess::Find("python3").empty()) {
        GTEST_SKIP() << "python3 is not available here";
    }
    ExternalProcess server("python3", {"-m", "http.server", std::to_string(port_), "--bind",
                                       "127.0.0.1", "--directory", (dir_.Path() / "www").string()});
    ASSERT_TRUE(ExternalProcess::WaitForPort(port_, 10000));
    ExpectServesLikeAnUpdateHost();
}

TEST_F(PeerTest, Nginx) {
    if (ExternalProcess::Find("nginx").empty()) {
        GTEST_SKIP() << "nginx is not available here";
    }
    const std::string prefix = dir_.Path().string();
    std::filesystem::create_directories(dir_.Path() / "temp");
    // Relative paths are taken from the prefix, the test's own folder.
    std::ofstream(dir_.Path() / "nginx.conf")
        << "worker_processes 1; user root; pid nginx.pid; error_log error.log;\n"
           "events { worker_connections 64; }\n"
           "http {\n"
           "  access_log off; client_body_temp_path temp/body; proxy_temp_path temp/proxy;\n"
           "  fastcgi_temp_path temp/fastcgi; uwsgi_temp_path temp/uwsgi; scgi_temp_path temp/scgi;\n"
           "  server { listen 127.0.0.1:"
        << port_ << "; root www; }\n}\n";
    ExternalProcess server("nginx",
                           {"-c", prefix + "/nginx.conf", "-p", prefix, "-e", prefix + "/error.log",
                            "-g", "daemon off;"},
                           prefix + "/output.log");
    ASSERT_TRUE(ExternalProcess::WaitForPort(port_, 10000));
    ExpectServesLikeAnUpdateHost();
}

} // namespace
} // namespace qvs
