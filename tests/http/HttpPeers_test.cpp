// The HTTP client against independent servers: nginx and Python's
// http.server, each started on a free loopback port for the test. Skipped
// where the programs are missing (under Wine, for one).
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "http/CHttpClient.h"
#include "http/HttpError.h"
#include "support/ExternalProcess.h"
#include "support/TempDir.h"

namespace qvs {
namespace {

using test::ExternalProcess;

std::string BinaryFile(std::size_t size) {
    std::string data(size, '\0');
    for (std::size_t i = 0; i < size; ++i) {
        data[i] = static_cast<char>((i * 131 + i / 977) & 0xFF);
    }
    return data;
}

void WriteFile(const std::filesystem::path& path, const std::string& data) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << data;
}

struct Result {
    bool success = false;
    bool failure = false;
    std::string error;
};

Result Fetch(CHttpClient& client, const std::string& url) {
    Result result;
    client.OnSuccess = [&](CHttpClient::Command) { result.success = true; };
    client.OnFailure = [&](CHttpClient::Command) { result.failure = true; };
    try {
        client.Get(url);
    } catch (const HttpError& error) {
        result.error = error.what();
    }
    return result;
}

// Serves root/updates/ the way an update web host does.
class PeerTest : public testing::Test {
protected:
    void SetUp() override {
        WriteFile(dir_.Path() / "www" / "updates" / "qvs12.ecd", package_);
        WriteFile(dir_.Path() / "www" / "updates" / "QVS_SERVER_ADDRESS.TXT", "127.0.0.5\r\n");
        std::filesystem::create_directories(dir_.Path() / "www" / "updates" / "news");
        WriteFile(dir_.Path() / "www" / "updates" / "news" / "index.html", "<p>news</p>");
    }

    std::string Url(const std::string& path) const {
        return "http://127.0.0.1:" + std::to_string(port_) + path;
    }

    void ExpectServesLikeAnUpdateHost() {
        CHttpClient client(10000);
        Result result = Fetch(client, Url("/updates/qvs12.ecd"));
        EXPECT_EQ(result.error, "");
        EXPECT_TRUE(result.success);
        EXPECT_FALSE(result.failure);
        EXPECT_TRUE(client.Body() == package_) << "body of " << client.Body().size() << " bytes";
        EXPECT_EQ(client.Total(), package_.size());

        result = Fetch(client, Url("/updates/QVS_SERVER_ADDRESS.TXT"));
        EXPECT_TRUE(result.success);
        EXPECT_EQ(client.Body(), "127.0.0.5\r\n");

        result = Fetch(client, Url("/updates/qvs13.ecd"));
        EXPECT_EQ(result.error, "");
        EXPECT_FALSE(result.success);
        EXPECT_TRUE(result.failure);
        EXPECT_EQ(client.Status(), 404);

        // A directory without its slash is redirected to the one with it.
        result = Fetch(client, Url("/updates/news"));
        EXPECT_EQ(result.error, "");
        EXPECT_TRUE(result.success);
        EXPECT_EQ(client.Body(), "<p>news</p>");
    }

    test::TempDir dir_;
    std::string package_ = BinaryFile(3 * 1024 * 1024 + 123);
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
