// The real qvs-server on loopback: every reply checked byte for byte.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "ServerProcess.h"
#include "platform/TcpSocket.h"
#include "platform/VersionRecord.h"
#include "protocol/GameServerStatus.h"
#include "protocol/UpdateReplies.h"
#include "protocol/UpdateRequests.h"
#include "support/TempDir.h"
#include "support/WireBytes.h"

namespace qvs::test {
namespace {

void WriteFile(const std::filesystem::path& path, const std::string& bytes) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Sends request and returns everything the server sends until it closes.
// halfClose ends our sending side, as a client that sent a cut-short request
// and gave up would.
std::string Exchange(std::uint16_t port, const std::string& request, bool halfClose = false) {
    platform::TcpSocket socket;
    socket.Connect("127.0.0.1", port, 5000);
    socket.SendAll(request);
    if (halfClose) {
        socket.ShutdownSend();
    }
    std::string reply;
    char buffer[4096];
    while (socket.WaitForData(10000)) {
        const std::size_t count = socket.Receive(buffer, sizeof buffer);
        if (count == 0) {
            break;
        }
        reply.append(buffer, count);
    }
    return reply;
}

std::string Message(std::int32_t type, const std::string& payload) {
    return Le32(type) + Le32(static_cast<std::int32_t>(payload.size())) + payload;
}

class QvsServerTest : public ::testing::Test {
protected:
    QvsServerTest() {
        const auto& dir = root.Path();
        WriteFile(dir / "updates" / "qvs3.ecd", Bytes({'E', 0, 1, 2, 0xFF}) + "three");
        WriteFile(dir / "updates" / "qvs12.ecd", "twelve");
        WriteFile(dir / "updates" / "qvsc7.ecd", "client seven");
        WriteFile(dir / "updates" / "qvsc7.ecd.part", "not a package");
        const auto record = platform::MakeVersionRecord(1, 2, 30, 400);
        launcher =
            "MZ" + std::string(100, '\0') + std::string(record.begin(), record.end()) + "end";
        WriteFile(dir / "updates" / "QVS.exe", launcher);
        WriteFile(dir / "status" / "people", "42\n");
        WriteFile(dir / "status" / "notice_mode", "2\n");
        WriteFile(dir / "status" / "notice_title", "Maintenance \n");
        WriteFile(dir / "status" / "notice.html", "<p>Back at 10:00</p>\n");
        WriteFile(dir / "index.html", "<html>home</html>");
        WriteFile(outside.Path() / "secret", "SECRET");
        std::filesystem::create_symlink(outside.Path() / "secret", dir / "link");
    }

    std::string Http(const std::string& target) {
        return Exchange(server.httpPort, "GET " + target + " HTTP/1.0\r\nHost: x\r\n\r\n");
    }

    TempDir root;
    TempDir outside;
    std::string launcher;
    TempDir logs;
    ServerProcess server{root.Path().string(), logs.File("server.log")};
};

TEST_F(QvsServerTest, PingAnswersTheAddressSeenOnTheConnection) {
    ASSERT_TRUE(server.Ready());
    EXPECT_EQ(Exchange(server.updatePort, Bytes({0, 0, 0, 0, 0, 0, 0, 0})),
              Message(0, Sz("127.0.0.1")));
}

TEST_F(QvsServerTest, LatestVersionIsTheHighestNumberedPackage) {
    ASSERT_TRUE(server.Ready());
    struct Case {
        std::string item;
        std::int32_t version;
    };
    // 12 beats 3 as a number, not as text; qvsc files are not qvs versions.
    for (const Case& c : std::vector<Case>{{"qvs", 12}, {"qvsc", 7}, {"QVSC", 7}, {"none", 0}}) {
        const std::string request = Message(1, Sz(c.item));
        EXPECT_EQ(Exchange(server.updatePort, request), Message(1, Sz(c.item) + Le32(c.version)))
            << c.item;
    }
}

TEST_F(QvsServerTest, RequestECDFileSendsThePackageUnchanged) {
    ASSERT_TRUE(server.Ready());
    const std::string file = ReadFile(root.Path() / "updates" / "qvs3.ecd");
    EXPECT_EQ(Exchange(server.updatePort, Message(2, Sz("qvs") + Le32(3))),
              Message(2, Sz("qvs") + Le32(3) + Sz("qvs3.ecd") + Le32(10) + file));
    EXPECT_EQ(Exchange(server.updatePort, Message(2, Sz("qvsc") + Le32(7))),
              Message(2, Sz("qvsc") + Le32(7) + Sz("qvsc7.ecd") + Le32(12) + "client seven"));
}

TEST_F(QvsServerTest, LauncherVersionAndDownloadComeFromTheExecutable) {
    ASSERT_TRUE(server.Ready());
    EXPECT_EQ(Exchange(server.updatePort, Message(3, Sz("qvs.exe"))),
              Message(3, Le32(1) + Le32(2) + Le32(30) + Le32(400)));
    EXPECT_EQ(Exchange(server.updatePort, Message(4, Sz("qvs.exe"))), Message(4, launcher));
}

TEST_F(QvsServerTest, UnknownOrEscapingNamesAreClosedWithoutReply) {
    ASSERT_TRUE(server.Ready());
    const std::vector<std::string> requests = {
        Message(2, Sz("qvs") + Le32(4)),
        Message(2, Sz("../status/people") + Le32(1)),
        Message(2, Sz("qvs") + Le32(-3)),
        Message(4, Sz("../index.html")),
        Message(4, Sz("/etc/passwd")),
        Message(3, Sz("missing.exe")),
        Message(4, Sz("..")),
    };
    for (const std::string& request : requests) {
        EXPECT_EQ(Exchange(server.updatePort, request), "") << request;
    }
}

TEST_F(QvsServerTest, GameStatusComesFromTheStatusFiles) {
    ASSERT_TRUE(server.Ready());
    const std::string reply = Exchange(server.gamePort, std::string(BuildStatusQuery().View()));
    const StatusReply expected{42, 2, "Maintenance", "<p>Back at 10:00</p>\n"};
    EXPECT_EQ(reply, std::string(BuildStatusReply(expected).View()));
    ASSERT_GT(reply.size(), 4u);
    EXPECT_EQ(reply.substr(0, 4), Le32(static_cast<std::int32_t>(reply.size() - 4)));
    CStream body = StreamOf(reply.substr(4));
    const StatusReply parsed = ParseStatusReply(body);
    EXPECT_EQ(parsed.peopleOnline, 42);
    EXPECT_EQ(parsed.noticeMode, 2);
    EXPECT_EQ(parsed.noticeTitle, "Maintenance");
}

TEST_F(QvsServerTest, WebHostServesFilesWithTheirLength) {
    ASSERT_TRUE(server.Ready());
    const std::string file = ReadFile(root.Path() / "updates" / "qvs3.ecd");
    const std::string reply = Http("/updates/qvs3.ecd");
    EXPECT_EQ(reply.substr(0, reply.find("\r\n")), "HTTP/1.0 200 OK");
    EXPECT_NE(reply.find("\r\nContent-Length: 10\r\n"), std::string::npos);
    ASSERT_NE(reply.find("\r\n\r\n"), std::string::npos);
    EXPECT_EQ(reply.substr(reply.find("\r\n\r\n") + 4), file);
    const std::string home = Http("/");
    EXPECT_EQ(home.substr(home.find("\r\n\r\n") + 4), "<html>home</html>");
    const std::string query = Http("/updates/qvsc7.ecd?cache=1");
    EXPECT_EQ(query.substr(query.find("\r\n\r\n") + 4), "client seven");
}

TEST_F(QvsServerTest, WebHostNeverLeavesTheRoot) {
    ASSERT_TRUE(server.Ready());
    const std::string secretName = outside.Path().filename().string() + "/secret";
    const std::vector<std::string> targets = {
        "/missing.ecd",
        "/../" + secretName,
        "/%2e%2e/" + secretName,
        "/updates/%2E%2E/%2e%2E/" + secretName,
        "/..%2f" + secretName,
        "/updates/..%5c..%5c" + secretName,
        "//" + (outside.Path() / "secret").string(),
        (outside.Path() / "secret").string(),
        "/link",
        "/updates/%",
        "/updates/qvs3.ecd%00.html",
    };
    for (const std::string& target : targets) {
        const std::string reply = Http(target);
        EXPECT_EQ(reply.substr(0, reply.find("\r\n")), "HTTP/1.0 404 Not Found") << target;
        EXPECT_EQ(reply.find("SECRET"), std::string::npos) << target;
    }
}

TEST_F(QvsServerTest, BadRequestsDoNotStopTheServer) {
    ASSERT_TRUE(server.Ready());
    const std::vector<std::pair<std::uint16_t, std::string>> requests = {
        {server.updatePort, Message(9, "")},             // unknown type
        {server.updatePort, Le32(1) + Le32(0x7FFFFFFF)}, // huge announced length
        {server.updatePort, Le32(1) + Le32(-1)},         // negative length
        {server.updatePort, Message(2, Sz("qvs"))},      // payload short of its fields
        {server.updatePort, Bytes({1, 0, 0})},           // header cut short
        {server.gamePort, Le32(0x7FFFFFFF)},             // huge game frame
        {server.gamePort, Le32(3) + Bytes({9, 9, 9})},   // scrambled garbage
        {server.httpPort, std::string(20000, 'A')},      // head without an end
        {server.httpPort, "POST / HTTP/1.0\r\n\r\n"},    // not a GET
    };
    for (const auto& [port, request] : requests) {
        const std::string reply = Exchange(port, request, true);
        if (port != server.httpPort) {
            EXPECT_EQ(reply, "");
        } else {
            EXPECT_EQ(reply.rfind("HTTP/1.0 4", 0), 0u) << reply.substr(0, 40);
        }
    }
    EXPECT_TRUE(server.Running());
    EXPECT_EQ(Exchange(server.updatePort, Message(0, "")), Message(0, Sz("127.0.0.1")));
}

TEST_F(QvsServerTest, AStalledClientDoesNotHoldUpOthers) {
    ASSERT_TRUE(server.Ready());
    std::vector<platform::TcpSocket> stalled(3);
    for (auto& socket : stalled) {
        socket.Connect("127.0.0.1", server.updatePort, 5000);
        socket.SendAll(Bytes({1, 0, 0, 0})); // half a header, then nothing
    }
    EXPECT_EQ(Exchange(server.updatePort, Message(0, "")), Message(0, Sz("127.0.0.1")));
    EXPECT_EQ(Exchange(server.updatePort, Message(1, Sz("qvsc"))),
              Message(1, Sz("qvsc") + Le32(7)));
}

TEST_F(QvsServerTest, LogsOneLinePerRequestAndStopsOnSigterm) {
    ASSERT_TRUE(server.Ready());
    Exchange(server.updatePort, Message(1, Sz("qvs")));
    Http("/missing");
    const std::optional<int> status = server.Terminate(SIGTERM);
    ASSERT_TRUE(status.has_value());
    EXPECT_TRUE(WIFEXITED(*status));
    EXPECT_EQ(WEXITSTATUS(*status), 0);
    const std::string log = ReadFile(logs.File("server.log"));
    EXPECT_NE(log.find("GetLatestVersion \"qvs\""), std::string::npos) << log;
    EXPECT_NE(log.find("\"GET /missing HTTP/1.0\" 404"), std::string::npos) << log;
}

TEST_F(QvsServerTest, StopsOnSigint) {
    ASSERT_TRUE(server.Ready());
    const std::optional<int> status = server.Terminate(SIGINT);
    ASSERT_TRUE(status.has_value());
    EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0);
}

} // namespace
} // namespace qvs::test
