// The HTTP client against independent servers: nginx and Python's
// http.server, each started on a free loopback port for the test. Skipped
// where the programs are missing (under Wine, for one).
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "http/CHttpClient.h"
#include "support/ExternalProcess.h"
#include "support/RawFile.h"
#include "support/TempDir.h"

namespace qvs {
namespace {

using test::ExternalProcess;

// Serves root/updates/ the way an update web host does.
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
            int successes = 0;
            int failures = 0;
            client.OnSuccess = [&](CHttpClient::Command) { ++successes; };
            client.OnFailure = [&](CHttpClient::Command) { ++failures; };
            EXPECT_NO_THROW(client.Get("http://127.0.0.1:" + std::to_string(port_) + c.path));
            EXPECT_EQ(successes, c.found ? 1 : 0) << c.path;
            EXPECT_EQ(failures, c.found ? 0 : 1) << c.path;
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
