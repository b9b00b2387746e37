// The HTTP client against a scripted server that replies byte for byte as
// each test says, well-formed or not.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "http/CHttpClient.h"
#include "http/HttpError.h"
#include "platform/TcpListener.h"
#include "support/ReplyScriptServer.h"

namespace qvs {
namespace {

using test::ReplyScriptServer;

constexpr int ShortWaitMs = 300;

std::string RequestFor(const std::string& path, const std::string& host = "127.0.0.1") {
    return "GET " + path + " HTTP/1.0\r\n" + "Host: " + host + "\r\n" +
           "Accept: www/source, text/html, video/mpeg, image/jpeg, image/x-tiff\r\n"
           "Accept: image/x-rgb, image/x-xbm, image/gif, */*, application/postscript\r\n"
           "Content-type: application/x-www-form-urlencoded\r\n"
           "\r\n";
}

std::string Reply(const std::string& statusLine, const std::string& body, bool withLength = true) {
    std::string reply = statusLine + "\r\nServer: scripted\r\n";
    if (withLength) {
        reply += "Content-Length: " + std::to_string(body.size()) + "\r\n";
    }
    return reply + "\r\n" + body;
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

std::string Url(const ReplyScriptServer& server, const std::string& path) {
    return "http://" + server.Address() + path;
}

TEST(CHttpClientTest, SendsTheExactRequestAndTakesABodyWithLength) {
    const std::string body("PK\0\x01\xff binary", 12);
    ReplyScriptServer server({ReplyScriptServer::Send(Reply("HTTP/1.0 200 OK", body))});
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

TEST(CHttpClientTest, WithoutLengthTheBodyRunsToTheCloseAndTotalStaysZero) {
    ReplyScriptServer server(
        {ReplyScriptServer::Send(Reply("HTTP/1.0 200 OK", "127.0.0.9\r\n", false))});
    CHttpClient client(ShortWaitMs);
    const Outcome outcome = Fetch(client, Url(server, "/updates/QVS_SERVER_ADDRESS.TXT"));
    EXPECT_EQ(outcome.successes, 1);
    EXPECT_EQ(client.Body(), "127.0.0.9\r\n");
    EXPECT_EQ(client.Total(), 0u);
    EXPECT_EQ(client.Received(), 11u);
}

TEST(CHttpClientTest, NotFoundFiresOnlyTheFailureAndKeepsTheErrorPage) {
    ReplyScriptServer server(
        {ReplyScriptServer::Send(Reply("HTTP/1.0 404 Not Found", "<h1>404</h1>"))});
    CHttpClient client(ShortWaitMs);
    const Outcome outcome = Fetch(client, Url(server, "/updates/qvs99.ecd"));
    EXPECT_EQ(outcome.error, "");
    EXPECT_EQ(outcome.successes, 0);
    EXPECT_EQ(outcome.failures, 1);
    EXPECT_EQ(client.Body(), "<h1>404</h1>");
}

TEST(CHttpClientTest, BodyInSingleBytesIsAssembledInOrder) {
    std::string body;
    for (int i = 0; i < 300; ++i) {
        body.push_back(static_cast<char>(i));
    }
    const std::string reply = Reply("HTTP/1.0 200 OK", body);
    const std::size_t headerSize = reply.size() - body.size();
    ReplyScriptServer::Script script{ReplyScriptServer::Send(reply.substr(0, headerSize))};
    for (const auto& step : ReplyScriptServer::SendInPieces(body, 1, 1)) {
        script.push_back(step);
    }
    ReplyScriptServer server(script);
    CHttpClient client(ShortWaitMs * 10);
    const Outcome outcome = Fetch(client, Url(server, "/x"));
    EXPECT_EQ(outcome.successes, 1);
    EXPECT_EQ(client.Body(), body);
    ASSERT_GT(outcome.receivedSteps.size(), 10u); // one notification per arrival
    for (std::size_t i = 1; i < outcome.receivedSteps.size(); ++i) {
        EXPECT_GT(outcome.receivedSteps[i], outcome.receivedSteps[i - 1]);
    }
    EXPECT_EQ(outcome.receivedSteps.back(), body.size());
}

TEST(CHttpClientTest, ABodySinkGetsEveryByteInOrderAndNothingIsKept) {
    std::string body;
    for (int i = 0; i < 5000; ++i) {
        body.push_back(static_cast<char>(i * 7));
    }
    const std::string reply = Reply("HTTP/1.0 200 OK", body);
    const std::size_t headerSize = reply.size() - body.size();
    // The header arrives with the first body bytes, the rest in pieces.
    ReplyScriptServer::Script script{ReplyScriptServer::Send(reply.substr(0, headerSize + 10))};
    for (const auto& step : ReplyScriptServer::SendInPieces(body.substr(10), 700, 1)) {
        script.push_back(step);
    }
    ReplyScriptServer server(script);
    CHttpClient client(ShortWaitMs * 10);
    std::string sunk;
    int pieces = 0;
    client.OnBodyData = [&](const char* data, std::size_t size) {
        sunk.append(data, size);
        ++pieces;
    };
    const Outcome outcome = Fetch(client, Url(server, "/x"));
    EXPECT_EQ(outcome.successes, 1);
    EXPECT_EQ(sunk, body);
    EXPECT_GT(pieces, 2);
    EXPECT_TRUE(client.Body().empty());
    EXPECT_EQ(client.Received(), body.size());
    EXPECT_EQ(client.Total(), body.size());
}

TEST(CHttpClientTest, HeaderSplitAcrossArrivalsWithLoneLineFeeds) {
    const std::string reply = "HTTP/1.0 200 OK\nContent-Length: 4\n\nDATA";
    ReplyScriptServer server(ReplyScriptServer::SendInPieces(reply, 3));
    CHttpClient client(ShortWaitMs * 10);
    const Outcome outcome = Fetch(client, Url(server, "/x"));
    EXPECT_EQ(outcome.successes, 1);
    EXPECT_EQ(client.Body(), "DATA");
}

TEST(CHttpClientTest, FollowsAMovedReplyToAnAbsoluteUrlOnce) {
    ReplyScriptServer target({ReplyScriptServer::Send(Reply("HTTP/1.0 200 OK", "moved here"))});
    ReplyScriptServer origin({ReplyScriptServer::Send(
        "HTTP/1.0 301 Moved Permanently\r\nLocation: " + Url(target, "/new/place") +
        "\r\nContent-Length: 5\r\n\r\nmoved")});
    CHttpClient client(ShortWaitMs);
    const Outcome outcome = Fetch(client, Url(origin, "/old"));
    EXPECT_EQ(outcome.successes, 1);
    EXPECT_EQ(outcome.failures, 0);
    EXPECT_EQ(client.Body(), "moved here");
    EXPECT_EQ(client.Port(), target.Port());
    ASSERT_EQ(origin.Requests().size(), 1u);
    ASSERT_EQ(target.Requests().size(), 1u);
    EXPECT_EQ(target.Requests()[0], RequestFor("/new/place"));
}

TEST(CHttpClientTest, TheFinalReplyOfARedirectDecides) {
    ReplyScriptServer target({ReplyScriptServer::Send(Reply("HTTP/1.0 404 Not Found", "gone"))});
    ReplyScriptServer origin({ReplyScriptServer::Send(
        "HTTP/1.0 302 Found\r\nLocation: " + Url(target, "/n") + "\r\n\r\n")});
    const Outcome outcome = Fetch(Url(origin, "/o"));
    EXPECT_EQ(outcome.successes, 0);
    EXPECT_EQ(outcome.failures, 1);
}

TEST(CHttpClientTest, RelativeTargetsStayOnTheSameServerAndPort) {
    ReplyScriptServer server([](const std::string& request, int) {
        if (request.starts_with("GET /start ")) {
            return ReplyScriptServer::Script{ReplyScriptServer::Send(
                "HTTP/1.0 302 Found\r\nLocation: next.txt\r\nSet-Cookie: s=42; path=/\r\n\r\n")};
        }
        if (request.starts_with("GET /next.txt ")) {
            // A "/" but no "//": still a path on this server, not a host name.
            return ReplyScriptServer::Script{
                ReplyScriptServer::Send("HTTP/1.0 301 Moved\r\nLocation: dir/more\r\n\r\n")};
        }
        if (request.starts_with("GET /dir/more ")) {
            return ReplyScriptServer::Script{
                ReplyScriptServer::Send("HTTP/1.0 300 Choices\r\nLocation: /dir/last\r\n\r\n")};
        }
        return ReplyScriptServer::Script{ReplyScriptServer::Send(Reply("HTTP/1.0 200 OK", "last"))};
    });
    CHttpClient client(ShortWaitMs);
    const Outcome outcome = Fetch(client, Url(server, "/start"));
    EXPECT_EQ(outcome.successes, 1);
    EXPECT_EQ(client.Body(), "last");
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
}

TEST(CHttpClientTest, ARedirectLoopStopsAfterFiveHops) {
    ReplyScriptServer server(
        {ReplyScriptServer::Send("HTTP/1.0 302 Found\r\nLocation: /again\r\n\r\n")});
    const Outcome outcome = Fetch(Url(server, "/again"));
    EXPECT_EQ(outcome.error, "");
    EXPECT_EQ(outcome.successes, 0);
    EXPECT_EQ(outcome.failures, 1);
    EXPECT_EQ(server.Requests().size(), 1u + CHttpClient::MaxRedirects);
}

TEST(CHttpClientTest, ARedirectWithoutTargetFails) {
    ReplyScriptServer server({ReplyScriptServer::Send("HTTP/1.0 301 Moved\r\n\r\n")});
    const Outcome outcome = Fetch(Url(server, "/x"));
    EXPECT_EQ(outcome.failures, 1);
    EXPECT_EQ(server.Requests().size(), 1u);
}

// Replies that must never count as a fetched file, each asked for once.
struct FailingReply {
    std::string name;
    std::string reply;
};

class FailingReplyTest : public testing::TestWithParam<FailingReply> {};

TEST_P(FailingReplyTest, FiresOnlyTheFailureAfterOneRequest) {
    ReplyScriptServer server({ReplyScriptServer::Send(GetParam().reply)});
    CHttpClient client(ShortWaitMs);
    const Outcome outcome = Fetch(client, Url(server, "/updates/qvsc7.ecd"));
    EXPECT_EQ(outcome.error, "");
    EXPECT_EQ(outcome.successes, 0);
    EXPECT_EQ(outcome.failures, 1);
    EXPECT_NE(client.FailureReason(), "");
    EXPECT_EQ(server.Requests().size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FailingReplyTest,
    testing::Values(FailingReply{"NoStatusLine", "just some bytes\r\n\r\nfile content"},
                    FailingReply{"NonNumericStatus", Reply("HTTP/1.0 OK", "file content")},
                    FailingReply{"Status299", Reply("HTTP/1.0 299 Odd", "x")},
                    FailingReply{"Status303", "HTTP/1.0 303 See Other\r\nLocation: /y\r\n\r\n"},
                    FailingReply{"Status304", Reply("HTTP/1.0 304 Not Modified", "")},
                    FailingReply{"Status500", Reply("HTTP/1.0 500 Server Error", "oops")},
                    FailingReply{"TruncatedBody",
                                 "HTTP/1.0 200 OK\r\nContent-Length: 100\r\n\r\nonly part of it"},
                    FailingReply{"HeaderWithoutEnd", "HTTP/1.0 200 OK\r\nServer: x\r\n"},
                    FailingReply{"NothingAtAll", ""}),
    [](const testing::TestParamInfo<FailingReply>& info) { return info.param.name; });

TEST(CHttpClientTest, AnOversizedLengthFailsAtOnceWithoutReadingTheBody) {
    ReplyScriptServer server(
        {ReplyScriptServer::Send("HTTP/1.0 200 OK\r\nContent-Length: 2000000000\r\n"
                                 "\r\nstart of a huge body"),
         ReplyScriptServer::Hold()});
    // The wait is long: failing by time-out instead of by size would show.
    CHttpClient client(60000);
    const Outcome outcome = Fetch(client, Url(server, "/x"));
    EXPECT_EQ(outcome.error, "");
    EXPECT_EQ(outcome.failures, 1);
    EXPECT_EQ(client.Body(), "");
}

TEST(CHttpClientTest, ABodyGrowingPastTheLimitFailsAndIsDropped) {
    ReplyScriptServer server({ReplyScriptServer::Send("HTTP/1.0 200 OK\r\n\r\n"),
                              ReplyScriptServer::Send(std::string(3000, 'b'))});
    CHttpClient client(ShortWaitMs * 10, 1000);
    const Outcome outcome = Fetch(client, Url(server, "/x"));
    EXPECT_EQ(outcome.failures, 1);
    EXPECT_EQ(outcome.successes, 0);
    EXPECT_EQ(client.Body(), "");
}

TEST(CHttpClientTest, ABodyOfExactlyTheLimitIsAccepted) {
    ReplyScriptServer server(
        {ReplyScriptServer::Send(Reply("HTTP/1.0 200 OK", std::string(1000, 'b')))});
    CHttpClient client(ShortWaitMs, 1000);
    EXPECT_EQ(Fetch(client, Url(server, "/x")).successes, 1);
    EXPECT_EQ(client.Body().size(), 1000u);
}

TEST(CHttpClientTest, AServerSilentBeforeTheHeaderTimesOut) {
    ReplyScriptServer server({ReplyScriptServer::Hold()});
    const Outcome outcome = Fetch(Url(server, "/x"));
    EXPECT_EQ(outcome.error, "Connection Timed out");
    EXPECT_EQ(outcome.successes + outcome.failures, 0);
}

TEST(CHttpClientTest, AServerStallingMidBodyTimesOut) {
    ReplyScriptServer server(
        {ReplyScriptServer::Send("HTTP/1.0 200 OK\r\nContent-Length: 10\r\n\r\n12345"),
         ReplyScriptServer::Hold()});
    CHttpClient client(ShortWaitMs);
    const Outcome outcome = Fetch(client, Url(server, "/x"));
    EXPECT_EQ(outcome.error, "Connection Timed out");
    EXPECT_EQ(outcome.successes + outcome.failures, 0);
    EXPECT_EQ(client.Body(), "12345");
}

TEST(CHttpClientTest, PausesShorterThanTheWaitAreNoTimeOut) {
    ReplyScriptServer server({ReplyScriptServer::Send("HTTP/1.0 200 OK\r\n\r\nab"),
                              ReplyScriptServer::Pause(150), ReplyScriptServer::Send("cd"),
                              ReplyScriptServer::Pause(150), ReplyScriptServer::Send("ef")});
    CHttpClient client(1000);
    EXPECT_EQ(Fetch(client, Url(server, "/x")).successes, 1);
    EXPECT_EQ(client.Body(), "abcdef");
}

TEST(CHttpClientTest, LongPathsAreCutTo256Characters) {
    ReplyScriptServer server({ReplyScriptServer::Send(Reply("HTTP/1.0 200 OK", ""))});
    const std::string path = "/" + std::string(400, 'p');
    Fetch(Url(server, path));
    ASSERT_EQ(server.Requests().size(), 1u);
    EXPECT_EQ(server.Requests()[0], RequestFor(path.substr(0, 256)));
}

TEST(CHttpClientTest, EmptyPathBecomesSlash) {
    ReplyScriptServer server({ReplyScriptServer::Send(Reply("HTTP/1.0 200 OK", ""))});
    EXPECT_EQ(Fetch("http://" + server.Address()).successes, 1);
    EXPECT_EQ(server.Requests()[0], RequestFor("/"));
}

TEST(CHttpClientTest, AbortWhileReadingRaisesTheCaptureError) {
    ReplyScriptServer server(
        {ReplyScriptServer::Send("HTTP/1.0 200 OK\r\n\r\nfirst"), ReplyScriptServer::Hold()});
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
    ReplyScriptServer server([](const std::string&, int index) {
        return index == 0 ? ReplyScriptServer::Script{ReplyScriptServer::Send(
                                Reply("HTTP/1.0 200 OK", "a longer first body"))}
                          : ReplyScriptServer::Script{
                                ReplyScriptServer::Send(Reply("HTTP/1.0 404 No", "short"))};
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
    EXPECT_EQ(Fetch("").error, "Empty URL");
    EXPECT_EQ(Fetch("https://127.0.0.1/updates/QVS.exe").error,
              "HTTP Secure Socket is not supported");
    EXPECT_EQ(Fetch("http://no-such-host.invalid/updates/QVS.exe").error, "Null Remote Address");
}

TEST(CHttpClientErrorTest, ARefusedConnectionRaisesConnectionFailed) {
    std::uint16_t port = 0;
    {
        platform::TcpListener listener("127.0.0.1", 0);
        port = listener.LocalPort();
    }
    const Outcome outcome = Fetch("http://127.0.0.1:" + std::to_string(port) + "/x");
    EXPECT_EQ(outcome.error, "Connection Failed");
    EXPECT_EQ(outcome.successes + outcome.failures, 0);
}

} // namespace
} // namespace qvs
