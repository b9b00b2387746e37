// The real qvs-probe against the real qvs-server on loopback.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "ServerProcess.h"
#include "platform/VersionRecord.h"
#include "support/TempDir.h"

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

std::string Quoted(const std::string& word) {
    return "'" + word + "'";
}

struct ProbeResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// One server for every case: the probe only reads from it.
class QvsProbeTest : public ::testing::Test {
protected:
    struct Served {
        Served() {
            const auto& dir = root.Path();
            WriteFile(dir / "updates" / "qvs12.ecd", "twelve");
            WriteFile(dir / "updates" / "qvsc7.ecd", std::string("client\0\xFF seven", 14));
            const auto record = platform::MakeVersionRecord(1, 2, 30, 400);
            launcher = "MZ" + std::string(100, '\0') + std::string(record.begin(), record.end());
            WriteFile(dir / "updates" / "QVS.exe", launcher);
            WriteFile(dir / "status" / "people", "42\n");
            WriteFile(dir / "status" / "notice_mode", "2\n");
            WriteFile(dir / "status" / "notice_title", "Maintenance\n");
            WriteFile(dir / "page.bin", std::string("a\0b\r\n\xFE", 6));
        }
        TempDir root;
        TempDir logs;
        std::string launcher;
        ServerProcess server{root.Path().string(), logs.File("server.log")};
    };

    static void SetUpTestSuite() { served = std::make_unique<Served>(); }
    static void TearDownTestSuite() { served.reset(); }
    void SetUp() override { ASSERT_TRUE(server.Ready()); }

    // Runs qvs-probe with words after the loopback host.
    ProbeResult Probe(const std::vector<std::string>& words, bool withHost = true) {
        std::string command = Quoted(QVS_PROBE_PATH);
        if (withHost) {
            command += " --host 127.0.0.1 --wait-ms 5000";
        }
        for (const std::string& word : words) {
            command += " " + Quoted(word);
        }
        const std::string out = work.File("out.txt");
        const std::string err = work.File("err.txt");
        const int status = std::system((command + " >" + out + " 2>" + err).c_str());
        ProbeResult result;
        result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        result.out = ReadFile(out);
        result.err = ReadFile(err);
        return result;
    }

    std::string Port(std::uint16_t port) const { return std::to_string(port); }
    std::string Web() const { return "http://127.0.0.1:" + Port(server.httpPort) + "/updates/"; }

    static inline std::unique_ptr<Served> served;
    const TempDir& root = served->root;
    const std::string& launcher = served->launcher;
    ServerProcess& server = served->server;
    TempDir work;
    TempDir install;
};

TEST_F(QvsProbeTest, QueriesPrintOneValuePerLine) {
    const std::string update = Port(server.updatePort);
    struct Case {
        std::vector<std::string> words;
        std::string out;
    };
    const std::vector<Case> cases = {
        {{"--port", update, "ping"}, "address=127.0.0.1\n"},
        {{"--port", update, "latest", "qvs"}, "version=12\n"},
        {{"--port", update, "latest", "qvsc"}, "version=7\n"},
        {{"--port", update, "fileversion"}, "server=1.2.30.400\nlocal=0.0.0.0\nnewer=true\n"},
        {{"--port", Port(server.gamePort), "status"},
         "people=42\nnotice_mode=2\nnotice_title=Maintenance\n"},
    };
    for (const Case& c : cases) {
        const ProbeResult result = Probe(c.words);
        EXPECT_EQ(result.exitCode, 0) << c.words[2] << result.err;
        EXPECT_EQ(result.out, c.out) << c.words[2];
    }
}

// The client code and the launcher, over HTTP and from the update server.
TEST_F(QvsProbeTest, FetchedFilesAreStoredWhole) {
    const std::string code = ReadFile(root.Path() / "updates" / "qvsc7.ecd");
    const struct {
        std::vector<std::string> words;
        const char* file;
        const std::string& bytes;
        bool wholeReply; // the count is of the update server's whole reply
    } cases[] = {{{"fetch", "qvsc", "7"}, "qvsc.ecd", code, false},
                 {{"fetch", "qvsc", "7", "--server"}, "qvsc.ecd", code, true},
                 {{"launcher"}, "QVS", launcher, false},
                 {{"launcher", "--server"}, "QVS", launcher, false}};
    for (const auto& c : cases) {
        std::filesystem::remove(install.Path() / c.file);
        std::vector<std::string> words = {
            "--web", Web(), "--port", Port(server.updatePort), "--install", install.Path()};
        words.insert(words.begin(), c.words.begin(), c.words.end());
        const ProbeResult result = Probe(words);
        EXPECT_EQ(result.exitCode, 0) << result.err;
        const std::string count = "bytes=" + std::to_string(c.bytes.size()) + "\n";
        EXPECT_TRUE(c.wholeReply ? result.out.starts_with("bytes=") : result.out == count)
            << result.out;
        EXPECT_EQ(ReadFile(install.Path() / c.file), c.bytes) << c.words.back();
    }
}

TEST_F(QvsProbeTest, GetWritesTheBodyByteForByteOrNothing) {
    const std::string web = "http://127.0.0.1:" + Port(server.httpPort);
    const ProbeResult found = Probe({"get", web + "/page.bin", "--out", work.File("page.bin")});
    EXPECT_EQ(found.exitCode, 0) << found.err;
    EXPECT_EQ(found.out, "status=200\nbytes=6\n");
    EXPECT_EQ(ReadFile(work.File("page.bin")), std::string("a\0b\r\n\xFE", 6));

    const ProbeResult missing = Probe({"get", web + "/missing", "--out", work.File("missing")});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.out.starts_with("status=404\n")) << missing.out;
    EXPECT_NE(missing.err.find("qvs-probe: get:"), std::string::npos) << missing.err;
    EXPECT_FALSE(std::filesystem::exists(work.File("missing")));
}

TEST_F(QvsProbeTest, WrongUsageExitsWithTwo) {
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"nosuch"},
        {"latest"},
        {"ping", "extra"},
        {"--port", "0", "ping"},
        {"--port", "70x", "ping"},
        {"--wait-ms"},
        {"fetch", "qvs", "3"},
        {"--bogus", "ping"},
    };
    for (const auto& words : cases) {
        const ProbeResult result = Probe(words, false);
        EXPECT_EQ(result.exitCode, 2) << (words.empty() ? "" : words[0]);
        EXPECT_EQ(result.out, "");
        EXPECT_NE(result.err.find("usage: qvs-probe"), std::string::npos);
    }
}

TEST_F(QvsProbeTest, RefusedConnectionExitsWithOneAndSaysWhy) {
    const std::string port = Port(ExternalProcess::FreePort());
    const ProbeResult result = Probe({"--port", port, "ping"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.out, "");
    EXPECT_NE(result.err.find(
                  "qvs-probe: ping: network failure: Cannot connect to 127.0.0.1:" + port + ": "),
              std::string::npos)
        << result.err;
}

} // namespace
} // namespace qvs::test
