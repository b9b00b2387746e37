// The real qvs-server on loopback: every reply checked byte for byte, and the
// real qvs-probe against it.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <list>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>

#include "ConnectionLimits.h"
#include "WebPath.h"
#include "platform/Process.h"
#include "platform/SocketError.h"
#include "platform/VersionRecord.h"
#include "protocol/GameServerStatus.h"
#include "support/QvsServer.h"
#include "support/RawExchange.h"
#include "support/RawFile.h"
#include "support/TempDir.h"
#include "support/WireBytes.h"

namespace qvs::test {
namespace {

// A connection from a chosen loopback address (IPv6: to and from ::1), with
// a receive buffer as small as asked: what a hostile or slow client controls.
class RawClient {
public:
    RawClient(const std::string& source, std::uint16_t port, int receiveBuffer = 0)
        : fd_(::socket(source == "::1" ? AF_INET6 : AF_INET, SOCK_STREAM, 0)) {
        if (receiveBuffer > 0) {
            ::setsockopt(fd_, SOL_SOCKET, SO_RCVBUF, &receiveBuffer, sizeof receiveBuffer);
        }
        if (source == "::1") {
            sockaddr_in6 address{};
            address.sin6_family = AF_INET6;
            address.sin6_addr = in6addr_loopback;
            address.sin6_port = htons(port);
            ::connect(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address);
            return;
        }
        sockaddr_in address{};
        address.sin_family = AF_INET;
        ::inet_pton(AF_INET, source.c_str(), &address.sin_addr);
        ::bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address);
        ::inet_pton(AF_INET, "127.0.0.1", &address.sin_addr);
        address.sin_port = htons(port);
        ::connect(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address);
    }
    ~RawClient() { ::close(fd_); }
    RawClient(const RawClient&) = delete;
    RawClient& operator=(const RawClient&) = delete;

    void Send(const std::string& bytes) { ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL); }

    // What arrives until the server ends the connection; nothing when it
    // is still open after waitMs.
    std::optional<std::string> ReadToEnd(int waitMs) {
        std::string received;
        char buffer[4096];
        pollfd entry{fd_, POLLIN, 0};
        while (::poll(&entry, 1, waitMs) == 1) {
            const ssize_t count = ::recv(fd_, buffer, sizeof buffer, 0);
            if (count <= 0) {
                return received;
            }
            received.append(buffer, static_cast<std::size_t>(count));
        }
        return std::nullopt;
    }

private:
    int fd_;
};

std::size_t ResidentKiB(long pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmRSS:", 0) == 0) {
            return std::stoul(line.substr(6));
        }
    }
    return 0;
}

// Whether condition holds within 5 s.
bool Eventually(const std::function<bool()>& condition) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        if (condition()) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
}

// Whether the server holds exactly count sockets (its listeners and the
// connections it accepted), so a test knows a cap is full; exactly, so that
// the connections of the readiness check, not yet closed, do not count.
bool HoldsSockets(long pid, std::size_t count) {
    return Eventually([&] {
        std::size_t sockets = 0;
        std::error_code error;
        for (const auto& fd :
             std::filesystem::directory_iterator("/proc/" + std::to_string(pid) + "/fd", error)) {
            sockets += std::filesystem::read_symlink(fd, error).string().rfind("socket:", 0) == 0;
        }
        return sockets == count;
    });
}

// The bytes queued to send, sent or not but unacknowledged, on each
// connection whose local port is port, as the kernel lists them.
std::vector<std::size_t> QueuedToSend(std::uint16_t port) {
    std::ifstream table("/proc/net/tcp");
    std::vector<std::size_t> queued;
    std::string line, slot, local, remote, state, queues;
    std::getline(table, line); // the heading
    while (table >> slot >> local >> remote >> state >> queues && std::getline(table, line)) {
        if (std::stoul(local.substr(local.find(':') + 1), nullptr, 16) == port && state == "01") {
            queued.push_back(std::stoul(queues, nullptr, 16)); // "tx_queue:rx_queue"
        }
    }
    return queued;
}

std::size_t Listeners() { // every event loop of a server, one per core, holds the three
    return 3 * std::max(1U, std::thread::hardware_concurrency());
}

bool LogShows(const QvsServer& server, const std::string& text) {
    return Eventually(
        [&] { return ReadRawFile(server.LogFile()).value_or("").find(text) != std::string::npos; });
}

std::string Message(std::int32_t type, const std::string& payload) {
    return Le32(type) + Le32(static_cast<std::int32_t>(payload.size())) + payload;
}

// One server for the cases that only talk to it; the cases that need
// options of their own, or stop it, start their own.
class QvsServerTest : public ::testing::Test {
protected:
    struct Served {
        Served() {
            server.Serve("qvs3.ecd", qvs3);
            for (const char* name : {"qvs1.ecd", "qvs12.ecd", "qvs5.ecd", "notes..txt"}) {
                server.Serve(name, "twelve");
            }
            // Whatever order the directory lists them in, taking the last one
            // listed instead of the highest is right for all items by rare chance.
            for (const std::string item : {"ta", "tb", "tc"}) {
                for (const char* version : {"1", "4", "2", "3"}) {
                    server.Serve(item + version + ".ecd", "t");
                }
            }
            server.Serve("qvsc7.ecd", "client seven");
            server.Serve("qvsc7.ecd.part", "not a package");
            const auto record = platform::MakeVersionRecord(1, 2, 30, 400);
            launcher =
                "MZ" + std::string(100, '\0') + std::string(record.begin(), record.end()) + "end";
            server.Serve("QVS.exe", launcher);
            server.Write("status/people", "42\n");
            server.Write("status/notice_mode", "2\n");
            server.Write("status/notice_title", "Maintenance \n");
            server.Write("status/notice.html", "<p>Back at 10:00</p>\n");
            server.Write("index.html", "<html>home</html>");
            WriteRawFile(outside.Path() / "secret", "SECRET");
            std::filesystem::create_symlink(outside.Path() / "secret", server.Root() / "link");
            std::filesystem::create_symlink(outside.Path() / "secret",
                                            server.Root() / "updates" / "qvs9.ecd");
        }
        TempDir outside;
        QvsServer server;
        std::string launcher;
        const std::string qvs3 = Bytes({'E', 0, 1, 2, 0xFF}) + "three";
    };

    static void SetUpTestSuite() { served = std::make_unique<Served>(); }
    static void TearDownTestSuite() { served.reset(); }
    void SetUp() override { ASSERT_TRUE(server.Ready()); }

    std::string Http(const std::string& target) {
        return RawExchange(server.httpPort, "GET " + target + " HTTP/1.0\r\nHost: x\r\n\r\n");
    }

    static inline std::unique_ptr<Served> served;
    QvsServer& server = served->server;
};

TEST_F(QvsServerTest, RepliesByteForByte) {
    EXPECT_EQ(RawExchange(server.updatePort, Bytes({0, 0, 0, 0, 0, 0, 0, 0})),
              Message(0, Sz("127.0.0.1")));
    // 12 beats 5 and 3 as a number, not as text; qvsc files are not qvs versions.
    for (const auto& [item, version] : std::vector<std::pair<std::string, std::int32_t>>{
             {"qvs", 12}, {"qvsc", 7}, {"QVSC", 7}, {"none", 0}, {"ta", 4}, {"tb", 4}, {"tc", 4}}) {
        EXPECT_EQ(RawExchange(server.updatePort, Message(1, Sz(item))),
                  Message(1, Sz(item) + Le32(version)))
            << item;
    }
    EXPECT_EQ(RawExchange(server.updatePort, Message(2, Sz("qvs") + Le32(3))),
              Message(2, Sz("qvs") + Le32(3) + Sz("qvs3.ecd") + Le32(10) + served->qvs3));
    EXPECT_EQ(RawExchange(server.updatePort, Message(2, Sz("qvsc") + Le32(7))),
              Message(2, Sz("qvsc") + Le32(7) + Sz("qvsc7.ecd") + Le32(12) + "client seven"));
    EXPECT_EQ(RawExchange(server.updatePort, Message(3, Sz("qvs.exe"))),
              Message(3, Le32(1) + Le32(2) + Le32(30) + Le32(400)));
    EXPECT_EQ(RawExchange(server.updatePort, Message(4, Sz("qvs.exe"))),
              Message(4, served->launcher));
    // The game port's status, from the status files.
    const StatusReply expected{42, 2, "Maintenance", "<p>Back at 10:00</p>\n"};
    EXPECT_EQ(RawExchange(server.gamePort, std::string(BuildStatusQuery().View())),
              std::string(BuildStatusReply(expected).View()));
}

// A launcher's version wherever its record lies, a record across two of the
// pieces the file is read in included; none gives 0.0.0.0. A file written
// anew is read again.
TEST_F(QvsServerTest, LauncherVersionFromItsRecordWhereverItLies) {
    const auto record = [](std::int32_t build) {
        const auto bytes = platform::MakeVersionRecord(1, 0, 0, build);
        return std::string(bytes.begin(), bytes.end());
    };
    const auto reply = [](std::int32_t build) {
        return Message(3, build < 0 ? std::string(16, '\0')
                                    : Le32(1) + Le32(0) + Le32(0) + Le32(build));
    };
    // The name, and the bytes before the record of that build (none: -1).
    for (const auto& [name, before, build] :
         {std::tuple<std::string, std::size_t, std::int32_t>{"first.exe", 0, 1},
          {"cut.exe", 65536 - 30, 2},
          {"late.exe", 3 << 20, 3},
          {"none.exe", 100000, -1}}) {
        server.Serve(name, std::string(before, 'x') + (build < 0 ? "" : record(build)));
        EXPECT_EQ(RawExchange(server.updatePort, Message(3, Sz(name))), reply(build)) << name;
    }
    // Past the file system's clock tick, so the new file's time differs.
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    server.Serve("first.exe", record(7));
    EXPECT_EQ(RawExchange(server.updatePort, Message(3, Sz("FIRST.exe"))), reply(7));
}

TEST_F(QvsServerTest, WebHostNeverLeavesTheRoot) {
    const TempDir& outside = served->outside;
    const std::string secretName = outside.Path().filename().string() + "/secret";
    const std::vector<std::string> targets = {
        "/missing.ecd",
        "/../" + secretName,
        "/updates/%2E%2E/%2e%2E/" + secretName,
        "/updates/../index.html", // below the root, but never by ".."
        "/..%2f" + secretName,
        "/updates/..%5c..%5c" + secretName,
        "//" + (outside.Path() / "secret").string(),
        (outside.Path() / "secret").string(),
        "/link",
        "/updates/%",
        "/index.htm%6?c", // a cut escape, whatever follows it
        "/updates/qvs3.ecd%00.html",
    };
    for (const std::string& target : targets) {
        const std::string reply = Http(target);
        EXPECT_EQ(reply.substr(0, reply.find("\r\n")), "HTTP/1.0 404 Not Found") << target;
        EXPECT_EQ(reply.find("SECRET"), std::string::npos) << target;
    }
}

// Unknown or escaping names, and requests no server could serve: closed
// without a reply (HTTP: a 4xx status), the server still up.
TEST_F(QvsServerTest, BadRequestsAreClosedWithoutReply) {
    const std::vector<std::pair<std::uint16_t, std::string>> requests = {
        {server.updatePort, Message(2, Sz("qvs") + Le32(4))},
        {server.updatePort, Message(2, Sz("../status/people") + Le32(1))},
        {server.updatePort, Message(2, Sz("qvs") + Le32(-3))},
        {server.updatePort, Message(4, Sz("../index.html"))},
        {server.updatePort, Message(3, Sz("missing.exe"))},
        {server.updatePort, Message(4, Sz(".."))},
        {server.updatePort, Message(4, Sz("notes..txt"))},    // no name with ".." is served
        {server.updatePort, Message(2, Sz("qvs") + Le32(9))}, // links out of the root
        {server.updatePort, Message(3, Sz("qvs9.ecd"))},
        {server.updatePort, Message(9, "")},                     // unknown type
        {server.updatePort, Le32(1) + Le32(0x7FFFFFFF)},         // huge announced length
        {server.updatePort, Message(0, std::string(4097, 'x'))}, // past the request cap
        {server.updatePort, Le32(1) + Le32(-1)},                 // negative length
        {server.updatePort, Message(2, Sz("qvs"))},              // payload short of its fields
        {server.gamePort, Le32(0x7FFFFFFF)},                     // huge game frame
        {server.gamePort, Le32(3) + Bytes({9, 9, 9})},           // scrambled garbage
        {server.httpPort, std::string(20000, 'A')},              // head without an end
        {server.httpPort, "POST / HTTP/1.0\r\n\r\n"},            // not a GET
    };
    for (const auto& [port, request] : requests) {
        std::string reply;
        try {
            reply = RawExchange(port, request, true);
        } catch (const platform::SocketError&) { // closed with the request unread: no reply
        }
        if (port != server.httpPort) {
            EXPECT_EQ(reply, "") << request.substr(0, 12);
        } else {
            EXPECT_EQ(reply.rfind("HTTP/1.0 4", 0), 0u) << reply.substr(0, 40);
        }
    }
    // Every good request cut short at every byte, then our side closed.
    for (const std::string& good : {Message(0, ""), Message(1, Sz("qvs")),
                                    Message(2, Sz("qvs") + Le32(3)), Message(4, Sz("qvs.exe"))}) {
        for (std::size_t cut = 0; cut < good.size(); ++cut) {
            EXPECT_EQ(RawExchange(server.updatePort, good.substr(0, cut), true), "") << cut;
        }
    }
}

TEST_F(QvsServerTest, LogsOneEscapedLinePerRequest) {
    RawExchange(server.updatePort, Message(1, Sz("qvs")));
    Http("/missing");
    RawExchange(server.updatePort, Message(1, Sz("q\x1b[2J\nupdate 6.6.6.6:1 Ping\xff")));
    Http("/a\x1b[0m");
    EXPECT_TRUE(LogShows(server, "GetLatestVersion \"qvs\""));
    EXPECT_TRUE(LogShows(server, "\"GET /missing HTTP/1.0\" 404"));
    EXPECT_TRUE(LogShows(server, "\"q\\x1b[2J\\x0aupdate 6.6.6.6:1 Ping\\xff\": "));
    EXPECT_TRUE(LogShows(server, "\"GET /a\\x1b[0m HTTP/1.0\" 404"));
    EXPECT_EQ(ReadRawFile(server.LogFile()).value_or("").find("\nupdate 6.6.6.6"),
              std::string::npos);
    // Long names are cut, and the cut said outside the quotes.
    const std::string name(199, 'n');
    RawExchange(server.updatePort, Message(1, Sz(name + "\x01" + "rest")));
    EXPECT_TRUE(LogShows(server, '"' + name + "\\x01\" (cut from 204 bytes): "));
}

// qvs-probe's queries, and the client code, launcher and pages it stores,
// each over HTTP and over the update port; a refusal exits 1 and says why.
TEST_F(QvsServerTest, ProbePrintsOneValuePerLineAndStoresFilesWhole) {
    TempDir install;
    const std::string update = "--port " + std::to_string(server.updatePort);
    const std::string web = "http://127.0.0.1:" + std::to_string(server.httpPort) + "/";
    const std::string ports = "--web " + web + "updates/ " + update + " --install " + install.Str();
    const std::string launcherBytes = "bytes=" + std::to_string(served->launcher.size()) + "\n";
    const std::string nowhere = std::to_string(ExternalProcess::FreePort());
    const struct {
        std::string words;
        std::string out;
        std::string file; // what it stores, when anything
        std::string bytes = "<none>";
        int exitCode = 0;
        std::string error;
    } cases[] = {
        {update + " ping", "address=127.0.0.1\n"},
        {update + " latest qvs", "version=12\n"},
        {update + " fileversion", "server=1.2.30.400\nlocal=0.0.0.0\nnewer=true\n"},
        {"--port " + std::to_string(server.gamePort) + " status",
         "people=42\nnotice_mode=2\nnotice_title=Maintenance\n"},
        {ports + " fetch qvsc 7", "bytes=12\n", "qvsc.ecd", "client seven"},
        // The whole reply's payload is counted here.
        {ports + " fetch qvsc 7 --server", "bytes=35\n", "qvsc.ecd", "client seven"},
        {ports + " launcher", launcherBytes, "QVS", served->launcher},
        {ports + " launcher --server", launcherBytes, "QVS", served->launcher},
        {"get " + web + "updates/qvs3.ecd --out " + install.File("page"), "status=200\nbytes=10\n",
         "page", served->qvs3},
        {"get " + web + " --out " + install.File("home"), "status=200\nbytes=17\n", "home",
         "<html>home</html>"},
        {"get " + web + "updates/qvsc7.ecd?cache=1 --out " + install.File("q"),
         "status=200\nbytes=12\n", "q", "client seven"},
        {"get " + web + "missing --out " + install.File("missing"), "status=404\nbytes=90\n",
         "missing", "<none>", 1, "qvs-probe: get:"},
        {"--port " + nowhere + " ping", "", "", "<none>", 1,
         "qvs-probe: ping: network failure: Cannot connect to 127.0.0.1:" + nowhere + ": "},
    };
    for (const auto& c : cases) {
        const std::filesystem::path file = install.Path() / (c.file.empty() ? "none" : c.file);
        std::filesystem::remove(file);
        const std::string probe = QVS_PROBE_PATH " --host 127.0.0.1 --wait-ms 5000 ";
        const auto result = platform::RunCapturingOutput(probe + c.words);
        EXPECT_EQ(result.exitCode, c.exitCode) << c.words << result.errors;
        EXPECT_EQ(result.output, c.out) << c.words;
        EXPECT_EQ(ReadRawFile(file).value_or("<none>"), c.bytes) << c.words;
        EXPECT_TRUE(c.error.empty() ? result.errors.empty()
                                    : result.errors.find(c.error) != std::string::npos)
            << result.errors;
    }
}

// Each option at 0, the others sound: the server refuses to start.
TEST(QvsServerOptionsTest, ZeroIsNoPortCapOrTimeout) {
    for (const std::string zero : {"--update-port", "--max-connections", "--request-timeout"}) {
        QvsServer server({zero, "0"}); // the last of an option counts
        const std::optional<int> status = server.Process().Stop(0, 10000); // no signal: its own end
        ASSERT_TRUE(status.has_value()) << zero;
        EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) != 0) << zero;
    }
}

TEST(WebPathTest, DecodesWholeEscapesOnlyWithinTheView) {
    EXPECT_EQ(WebPath::Decode("/a%41%2f"), "/aA/");
    const std::string_view text = "/a%41";
    for (std::size_t cut = 3; cut < text.size(); ++cut) {
        EXPECT_EQ(WebPath::Decode(text.substr(0, cut)), std::nullopt) << cut;
    }
}

// Every way the server is stopped ends it cleanly.
void ExpectCleanStop(QvsServer& server, int signal) {
    const std::optional<int> status = server.Process().Stop(signal, 15000);
    ASSERT_TRUE(status.has_value());
    EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0) << *status;
}

// Servers with options of their own, each stopped by its test.
// Four clients take every slot with a 64 MiB reply they never read: each is
// closed once a whole window went by below the minimum rate (not when the
// file could have gone at that rate: hours), so the next client is served
// within seconds; meanwhile the server holds no copy of the file, and the
// kernel queues no more than the send buffer's cap for each.
TEST(QvsServerOwnTest, ClientsThatNeverReadHoldNoSlotMemoryOrTheStop) {
    QvsServer slow({"--max-connections", "4", "--reply-timeout", "2", "--min-reply-rate", "16"});
    slow.Serve("qvs20.ecd", std::string(64 << 20, 'b'));
    ASSERT_TRUE(slow.Ready());
    ASSERT_TRUE(HoldsSockets(slow.Process().Pid(), Listeners())); // the readiness check's gone
    const std::size_t before = ResidentKiB(slow.Process().Pid());
    std::list<RawClient> readers;
    for (int i = 0; i < 4; ++i) {
        readers.emplace_back("127.0.0.1", slow.updatePort).Send(Message(2, Sz("qvs") + Le32(20)));
    }
    const auto full = std::chrono::steady_clock::now();
    std::this_thread::sleep_for(std::chrono::milliseconds(700));
    const std::vector<std::size_t> queued = QueuedToSend(slow.updatePort);
    EXPECT_EQ(queued.size(), 4u);
    for (const std::size_t bytes : queued) {
        EXPECT_GT(bytes, 0u);
        EXPECT_LE(bytes, 256u * 1024);
    }
    EXPECT_LT(ResidentKiB(slow.Process().Pid()), before + 16 * 1024); // not one copy of the file

    std::string reply;
    while (reply.empty() && std::chrono::steady_clock::now() - full < std::chrono::seconds(10)) {
        RawClient fifth("127.0.0.2", slow.updatePort);
        fifth.Send(Message(0, ""));
        reply = fifth.ReadToEnd(1000).value_or("");
        std::this_thread::sleep_for(std::chrono::milliseconds(reply.empty() ? 100 : 0));
    }
    EXPECT_EQ(reply, Message(0, Sz("127.0.0.2")));
    EXPECT_LT(std::chrono::steady_clock::now() - full, std::chrono::seconds(5));
    EXPECT_TRUE(LogShows(slow, "reply taken at under 16 KiB/s for 2.0 s, closed"));
    EXPECT_TRUE(readers.front().ReadToEnd(5000).has_value());

    RawClient stalled("127.0.0.1", slow.updatePort, 4096);
    stalled.Send(Message(2, Sz("qvs") + Le32(20)));
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    const auto signalled = std::chrono::steady_clock::now();
    ExpectCleanStop(slow, SIGTERM);
    EXPECT_LT(std::chrono::steady_clock::now() - signalled, std::chrono::seconds(2));
}

TEST(QvsServerOwnTest, CapsCloseTheExcessAtOnceAndLeaveOthersServed) {
    QvsServer capped(
        {"--max-per-address", "4", "--max-connections", "8", "--request-timeout", "3"});
    ASSERT_TRUE(capped.Ready());
    std::list<RawClient> drips; // half a header each, the rest never comes
    for (int i = 0; i < 4; ++i) {
        drips.emplace_back("127.0.0.9", capped.updatePort).Send(Bytes({1}));
    }
    ASSERT_TRUE(HoldsSockets(capped.Process().Pid(), Listeners() + 4));
    RawClient overAddress("127.0.0.9", capped.updatePort);
    EXPECT_EQ(overAddress.ReadToEnd(1000), "");
    {
        RawClient launcher("127.0.0.2", capped.updatePort);
        launcher.Send(Message(0, ""));
        EXPECT_EQ(launcher.ReadToEnd(1000), Message(0, Sz("127.0.0.2")));
    }

    std::list<RawClient> idle;
    for (int i = 3; i < 7; ++i) { // 8 with the drips
        idle.emplace_back("127.0.0." + std::to_string(i), capped.httpPort);
    }
    ASSERT_TRUE(HoldsSockets(capped.Process().Pid(), Listeners() + 8));
    RawClient overTotal("127.0.0.8", capped.gamePort);
    EXPECT_EQ(overTotal.ReadToEnd(1000), "");
    const std::string log = ReadRawFile(capped.LogFile()).value_or("");
    EXPECT_NE(log.find("refused: 4 connections from this address"), std::string::npos) << log;
    EXPECT_NE(log.find("refused: 8 connections open"), std::string::npos) << log;

    // Dripping does not stretch the request's time: 3 s from the connection.
    for (int i = 0; i < 10 && drips.front().ReadToEnd(0) == std::nullopt; ++i) {
        drips.front().Send(Bytes({0}));
        std::this_thread::sleep_for(std::chrono::milliseconds(400));
    }
    EXPECT_TRUE(drips.front().ReadToEnd(1000).has_value());
    EXPECT_TRUE(LogShows(capped, "no whole request within 3.0 s, closed"));
}

// Each connection may hold a socket and a file: a cap the open-file limit
// cannot hold is refused at start, not met as failing accepts later; the
// default cap is lowered to fit, and said so.
TEST(QvsServerOwnTest, RefusesMoreConnectionsThanItsFileLimitHolds) {
    for (const auto& [options, said] :
         std::vector<std::pair<std::vector<std::string>, std::string>>{
             {{"--max-connections", "10000"}, "qvs-server: --max-connections 10000 needs "},
             {{"--max-connections", "50"}, ""},
             {{}, "qvs-server: at most "}}) {
        QvsServer server(options, 4096);
        if (said.find("needs") == std::string::npos) {
            EXPECT_TRUE(server.Ready());
            ExpectCleanStop(server, SIGINT);
        } else {
            const std::optional<int> status = server.Process().Stop(0, 10000); // its own end
            ASSERT_TRUE(status.has_value());
            EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 2) << *status;
        }
        const std::string log = ReadRawFile(server.LogFile()).value_or("");
        EXPECT_EQ(log.find(said.empty() ? "qvs-server: " : said) != std::string::npos,
                  !said.empty())
            << log;
    }
}

// The root is opened once: replaced by a link to another folder while the
// server runs, it still serves its own files and nothing of the other.
TEST(QvsServerOwnTest, ARootReplacedByALinkServesNothingOutside) {
    QvsServer server;
    server.Serve("qvs3.ecd", "inside");
    ASSERT_TRUE(server.Ready());
    TempDir outside;
    WriteRawFile(outside.File("secret"), "SECRET");
    const std::filesystem::path root = server.Root();
    const std::filesystem::path moved = root.string() + ".moved";
    std::filesystem::rename(root, moved);
    std::filesystem::create_directory_symlink(outside.Path(), root);
    const std::string secret = RawExchange(server.httpPort, "GET /secret HTTP/1.0\r\n\r\n");
    const std::string package =
        RawExchange(server.httpPort, "GET /updates/qvs3.ecd HTTP/1.0\r\n\r\n");
    const std::string update = RawExchange(server.updatePort, Message(2, Sz("qvs") + Le32(3)));
    std::filesystem::remove(root);
    std::filesystem::rename(moved, root);
    EXPECT_EQ(secret.substr(0, secret.find("\r\n")), "HTTP/1.0 404 Not Found");
    EXPECT_TRUE(package.ends_with("\r\n\r\ninside")) << package;
    EXPECT_EQ(update, Message(2, Sz("qvs") + Le32(3) + Sz("qvs3.ecd") + Le32(6) + "inside"));
}

// An IPv6 client counts by its /64 (here ::1's), given in the refusal.
TEST(QvsServerOwnTest, IPv6ClientsCountByTheirSlash64) {
    if (ReadRawFile("/proc/net/if_inet6").value_or("").find(std::string(31, '0') + "1 ") ==
        std::string::npos) {
        GTEST_SKIP() << "no IPv6 loopback";
    }
    QvsServer server({"--bind", "::", "--max-per-address", "1"});
    ASSERT_TRUE(server.Ready());
    ASSERT_TRUE(HoldsSockets(server.Process().Pid(), Listeners()));
    RawClient held("::1", server.updatePort);
    held.Send(Bytes({1}));
    ASSERT_TRUE(HoldsSockets(server.Process().Pid(), Listeners() + 1));
    RawClient over("::1", server.gamePort);
    EXPECT_EQ(over.ReadToEnd(1000), "");
    EXPECT_TRUE(LogShows(server, "refused: 1 connections from ::/64"));
    for (const auto& [address, group] : std::vector<std::pair<std::string, std::string>>{
             {"2001:db8:1:2:aaaa::1", "2001:db8:1:2::/64"},
             {"2001:db8:1:2:ffff:ffff:ffff:ffff", "2001:db8:1:2::/64"},
             {"2001:db8:1:3::1", "2001:db8:1:3::/64"},
             {"127.0.0.1", "127.0.0.1"}}) {
        EXPECT_EQ(ConnectionLimits::Group(address), group);
    }
}

} // namespace
} // namespace qvs::test
