// The HTTP client against a scripted server that replies byte for byte as
// each test says, well-formed or not.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "http/CHttpClient.h"
#include "http/HttpError.h"
#include "platform/TcpListener.h"
#include "support/ScriptedServer.h"

namespace qvs {
namespace {

using test::ScriptedServer;
using S = ScriptedServer;

constexpr int ShortWaitMs = 300;

std::string RequestFor(const std::string& path, const std::string& host = "127.0.0.1") {
    return "GET " + path + " HTTP/1.0\r\n" + "Host: " + host + "\r\n" +
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

Outcome Fetch(const std::string& url, int waitMs = ShortWaitMs) {
    CHttpClient client(waitMs);
    return Fetch(client, url);
}

std::string Url(const ScriptedServer& server, const std::string& path) {
    return "http://" + server.Address() + path;
}

TEST(CHttpClientTest, SendsTheExactRequestAndTakesABodyWithLength) {
    const std::string body("PK\0\x01\xff binary", 12);
    ScriptedServer server(S::HttpReply(Reply("HTTP/1.0 200 OK", body)));
    CHttpClient client(ShortWaitMs);
    const Outcome outcome = Fetch(client, Url(server, "/updates/qvs12.ecd"));
    EXPECT_EQ(outcome.error, "");
    EXPECT_EQ(outcome.successes, 1);
    EXPECT_EQ(outcome.failures, 0);
    ASSERT_EQ(server.Requests().size(), 1u);
    EXPECT_EQ(server.Requests()[0], RequestFor("/updates/qvs12.ecd"));
    EXPECT_EQ(client.Body(), body);
    EXPECT_EQ(client.Status(), 200);
    EXPECT_EQ(client.Total(), body.size());
    EXPECT_EQ(client.Received(), body.size());
    EXPECT_EQ(outcome.lastTotal, body.size());
    EXPECT_EQ(client.Header(), "HTTP/1.0 200 OK\r\nServer: scripted\r\nContent-Length: 12\r\n\r\n");
}

TEST(CHttpClientTest, OnlyStatusesBelow299CountAsAFetchedFile) {
    const struct {
        std::string reply;
        bool success;
    } cases[] = {
        {Reply("HTTP/1.0 298 Odd", "page"), true},
        {Reply("HTTP/1.0 299 Odd", "page"), false},
        {Reply("HTTP/1.0 404 Not Found", "page"), false},
        {Reply("HTTP/1.0 500 Server Error", "page"), false},
        {Reply("HTTP/1.0 304 Not Modified", "page"), false},
        {"HTTP/1.0 303 See Other\r\nLocation: /y\r\n\r\npage", false},
        {Reply("HTTP/1.0 OK", "page"), false},
        {"just some bytes\r\n\r\npage", false},
    };
    for (const auto& c : cases) {
        ScriptedServer server(S::HttpReply(c.reply));
        CHttpClient client(ShortWaitMs);
        const Outcome outcome = Fetch(client, Url(server, "/updates/qvsc7.ecd"));
        EXPECT_EQ(outcome.error, "") << c.reply;
        EXPECT_EQ(outcome.successes, c.success ? 1 : 0) << c.reply;
        EXPECT_EQ(outcome.failures, c.success ? 0 : 1) << c.reply;
        EXPECT_EQ(client.FailureReason().empty(), c.success) << c.reply;
        EXPECT_EQ(client.Body(), "page"); // an error page is kept too
        EXPECT_EQ(server.Requests().size(), 1u);
    }
}

// A good reply cut at every byte fails; stalled anywhere it times out.
TEST(CHttpClientTest, GeneratedCutsFailAndStallsTimeOut) {
    const std::string reply = "HTTP/1.0 200 OK\r\nContent-Length: 10\r\n\r\n0123456789";
    for (std::size_t at = 0; at < reply.size(); ++at) {
        ScriptedServer server(S::HttpReply(reply.substr(0, at)));
        CHttpClient client(ShortWaitMs);
        const Outcome outcome = Fetch(client, Url(server, "/x"));
        EXPECT_EQ(outcome.error, "") << at;
        EXPECT_EQ(outcome.successes, 0) << at;
        EXPECT_EQ(outcome.failures, 1) << at;
    }
    for (const std::size_t at :
         {std::size_t{0}, std::size_t{20}, reply.size() - 10, reply.size() - 5}) {
        ScriptedServer server({S::ReceiveRequest(), S::Send(reply.substr(0, at)), S::Hold()});
        CHttpClient client(200);
        const Outcome outcome = Fetch(client, Url(server, "/x"));
        EXPECT_EQ(outcome.error, "Connection Timed out") << at;
        EXPECT_EQ(outcome.successes + outcome.failures, 0) << at;
        EXPECT_EQ(client.Body(), reply.substr(reply.size() - 10, at > reply.size() - 10 ? 5 : 0));
    }
}

// Kept or handed to a sink, a body arriving in single bytes is whole and in
// order, with one notification per arrival.
TEST(CHttpClientTest, BodyInSingleBytesIsAssembledInOrderOrSunk) {
    std::string body;
    for (int i = 0; i < 300; ++i) {
        body.push_back(static_cast<char>(i * 7));
    }
    ScriptedServer server(S::HttpReply(Reply("HTTP/1.0 200 OK", body), 1, 1));
    for (const bool sink : {false, true}) {
        CHttpClient client(ShortWaitMs * 10);
        std::string sunk;
        if (sink) {
            client.OnBodyData = [&](const char* data, std::size_t size) {
                sunk.append(data, size);
            };
        }
        const Outcome outcome = Fetch(client, Url(server, "/x"));
        EXPECT_EQ(outcome.successes, 1);
        EXPECT_EQ(client.Body(), sink ? "" : body);
        EXPECT_EQ(sunk, sink ? body : "");
        EXPECT_EQ(client.Total(), body.size());
        ASSERT_GT(outcome.receivedSteps.size(), 10u);
        for (std::size_t i = 1; i < outcome.receivedSteps.size(); ++i) {
            EXPECT_GT(outcome.receivedSteps[i], outcome.receivedSteps[i - 1]);
        }
        EXPECT_EQ(outcome.receivedSteps.back(), body.size());
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
    CHttpClient client(ShortWaitMs);
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

TEST(CHttpClientTest, RedirectLoopsAndRedirectsWithoutTargetFail) {
    for (const std::string& reply : {std::string("HTTP/1.0 302 Found\r\nLocation: /again\r\n\r\n"),
                                     std::string("HTTP/1.0 301 Moved\r\n\r\n")}) {
        ScriptedServer server(S::HttpReply(reply));
        const Outcome outcome = Fetch(Url(server, "/again"));
        EXPECT_EQ(outcome.error, "");
        EXPECT_EQ(outcome.successes, 0);
        EXPECT_EQ(outcome.failures, 1);
        const bool loop = reply.find("Location") != std::string::npos;
        EXPECT_EQ(server.Requests().size(), loop ? 1u + CHttpClient::MaxRedirects : 1u);
    }
}

TEST(CHttpClientTest, AnOversizedLengthFailsAtOnceWithoutReadingTheBody) {
    ScriptedServer server({S::ReceiveRequest(),
                           S::Send("HTTP/1.0 200 OK\r\nContent-Length: 2000000000\r\n"
                                   "\r\nstart of a huge body"),
                           S::Hold()});
    // The wait is long: failing by time-out instead of by size would show.
    CHttpClient client(60000);
    const Outcome outcome = Fetch(client, Url(server, "/x"));
    EXPECT_EQ(outcome.error, "");
    EXPECT_EQ(outcome.failures, 1);
    EXPECT_EQ(client.Body(), "");
}

// Without a length the body runs to the close, and Total stays zero.
TEST(CHttpClientTest, ABodyOfExactlyTheLimitIsAcceptedOneByteMoreIsDropped) {
    for (const std::size_t size : {1000u, 1001u}) {
        ScriptedServer server(S::HttpReply("HTTP/1.0 200 OK\r\n\r\n" + std::string(size, 'b')));
        CHttpClient client(ShortWaitMs, 1000);
        const Outcome outcome = Fetch(client, Url(server, "/x"));
        EXPECT_EQ(outcome.successes, size == 1000 ? 1 : 0);
        EXPECT_EQ(outcome.failures, size == 1000 ? 0 : 1);
        EXPECT_EQ(client.Body().size(), size == 1000 ? 1000u : 0u);
        EXPECT_EQ(client.Total(), 0u);
        if (size == 1000) {
            EXPECT_EQ(client.Received(), 1000u);
        }
    }
}

TEST(CHttpClientTest, PausesShorterThanTheWaitAreNoTimeOut) {
    ScriptedServer server({S::ReceiveRequest(), S::Send("HTTP/1.0 200 OK\r\n\r\nab"), S::Pause(150),
                           S::Send("cd"), S::Pause(150), S::Send("ef")});
    CHttpClient client(1000);
    EXPECT_EQ(Fetch(client, Url(server, "/x")).successes, 1);
    EXPECT_EQ(client.Body(), "abcdef");
}

TEST(CHttpClientTest, LongPathsAreCutTo256CharactersAndAnEmptyOneBecomesSlash) {
    ScriptedServer server(S::HttpReply(Reply("HTTP/1.0 200 OK", "")));
    const std::string path = "/" + std::string(400, 'p');
    EXPECT_EQ(Fetch(Url(server, path)).successes, 1);
    EXPECT_EQ(Fetch("http://" + server.Address()).successes, 1);
    ASSERT_EQ(server.Requests().size(), 2u);
    EXPECT_EQ(server.Requests()[0], RequestFor(path.substr(0, 256)));
    EXPECT_EQ(server.Requests()[1], RequestFor("/"));
}

TEST(CHttpClientTest, AbortWhileReadingRaisesTheCaptureError) {
    ScriptedServer server(
        {S::ReceiveRequest(), S::Send("HTTP/1.0 200 OK\r\n\r\nfirst"), S::Hold()});
    CHttpClient client(5000);
    client.OnPacketRecvd = [&] { client.Abort(); };
    try {
        client.Get(Url(server, "/x"));
        ADD_FAILURE() << "no error raised";
    } catch (const HttpError& error) {
        EXPECT_STREQ(error.what(), "Socket capture aborted");
    }
}
// A host whose accept queue is full drops further connection requests, so
// connecting hangs as it does behind a firewall that swallows them.
TEST(CHttpClientTest, AConnectionThatHangsKeepsCallingOnIdleAndCanBeAborted) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows refuses at once when the queue is full";
#else
    platform::TcpListener listener("127.0.0.1", 0, 0);
    platform::TcpSocket filler;
    filler.Connect("127.0.0.1", listener.LocalPort(), 2000);
    CHttpClient client(20000);
    int idleCalls = 0;
    client.OnIdle = [&] {
        if (++idleCalls == 3) {
            client.Abort();
        }
    };
    try {
        client.Get("http://127.0.0.1:" + std::to_string(listener.LocalPort()) + "/x");
        ADD_FAILURE() << "no error raised";
    } catch (const HttpError& error) {
        EXPECT_EQ(idleCalls, 3);
        EXPECT_STREQ(error.what(), "Connection Canceled");
    }
#endif
}

TEST(CHttpClientTest, AnObjectServesOneTransferAfterAnother) {
    ScriptedServer server([](const std::string&, int index) {
        return S::Script{S::Send(index == 0 ? Reply("HTTP/1.0 200 OK", "a longer first body")
                                            : Reply("HTTP/1.0 404 No", "short"))};
    });
    CHttpClient client(ShortWaitMs);
    EXPECT_EQ(Fetch(client, Url(server, "/1")).successes, 1);
    const Outcome second = Fetch(client, Url(server, "/2"));
    EXPECT_EQ(second.failures, 1);
    EXPECT_EQ(client.Body(), "short");
    EXPECT_EQ(client.Received(), 5u);
    EXPECT_EQ(client.Status(), 404);
}

TEST(CHttpClientErrorTest, AddressesItCannotUseRaiseTheirTexts) {
    EXPECT_EQ(Fetch("").error, "Empty URL"); // every address error: HttpUrl_test
    EXPECT_EQ(Fetch("http://no-such-host.invalid/updates/QVS.exe").error, "Null Remote Address");
    const Outcome refused =
        Fetch("http://127.0.0.1:" + std::to_string(ScriptedServer::RefusedPort()) + "/x");
    EXPECT_EQ(refused.error, "Connection Failed");
    EXPECT_EQ(refused.successes + refused.failures, 0);
}

} // namespace
} // namespace qvs
