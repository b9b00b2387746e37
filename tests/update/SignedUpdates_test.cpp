// The update pass with keys, against the real qvs-server: each kind of file,
// tampered in each way, is refused on both paths with the installation left
// byte for byte as it was and the failure counted as any failed transfer;
// a proxy that alters every package on the web host makes the pass take the
// genuine files from the update server. Redirects are CHttpClient_test's, a
// launcher of another release FileTransfer_test's.
#include "signing/Ed25519.h"
#include "signing/UpdateSignature.h"
#include "support/RawExchange.h"
#include "support/ScriptedServer.h"
#include "support/TreeSnapshot.h"
#include "update/UpdateFixture.h"

#include <algorithm>
#include <gmock/gmock.h>

#include <functional>

namespace qvs::test {
namespace {

enum class Kind { DataSet, ClientCode, Launcher, None };
using Alter = std::function<std::string(const std::string&, const SignedItem&)>;

class SignedUpdates : public UpdateFixture {
protected:
    SignedUpdates() { values.Workers.UpdatePublicKeys = {keys.publicKey}; }

    std::string Signed(const std::string& content, const SignedItem& item,
                       const std::string& seed = {}) const {
        return content + UpdateSignature::Sign(seed.empty() ? keys.seed : seed, item, content);
    }
    // Large enough to arrive in many pieces.
    std::string DataSet(int n) const {
        return ScrambledPackage("", "data" + std::to_string(n) + ".txt", data);
    }
    std::string ClientCode() const {
        return ScrambledPackage("MainClass\\", "StartUp.class", "client");
    }
    // Data set 1, client code 1 and the launcher 1.0.0.2, all signed; but
    // the one of kind replaced by what alter makes of its content.
    void Serve(Kind kind = Kind::None, const Alter& alter = {}) {
        const std::pair<std::string, SignedItem> items[] = {{DataSet(1), {"qvs", "1"}},
                                                            {ClientCode(), {"qvsc", "1"}},
                                                            {Launcher(2), {"QVS.exe", "1.0.0.2"}}};
        const char* names[] = {"qvs1.ecd", "qvsc1.ecd", "QVS.exe"};
        for (int i = 0; i < 3; ++i) {
            const auto& [content, item] = items[i];
            server.Serve(names[i], i == static_cast<int>(kind) ? alter(content, item)
                                                               : Signed(content, item));
        }
    }
    std::map<std::string, std::string> Installation() const {
        auto tree = TreeSnapshot(install.Path());
        // The launcher's own records, not installed files.
        tree.erase("qvs.cfg");
        tree.erase("Log/");
        tree.erase("Log/update.log");
        return tree;
    }

    Ed25519::KeyPair keys = Ed25519::Generate();
    const std::string data = std::string(300 << 10, 'd');
};

// at < 0 counts from the end.
std::string Flip(std::string bytes, std::ptrdiff_t at) {
    bytes[static_cast<std::size_t>(at < 0 ? static_cast<std::ptrdiff_t>(bytes.size()) + at : at)] ^=
        0x20;
    return bytes;
}

// Kind and tampering by index, so each case runs with a fresh installation
// and served folder.
class SignedRefusal : public SignedUpdates,
                      public ::testing::WithParamInterface<std::tuple<Kind, int>> {
protected:
    std::string stranger = Ed25519::Generate().seed;
    SignedItem Other(SignedItem item, const char* name, const char* version) const {
        return {item.name + name, item.version + version};
    }
    const std::pair<const char*, Alter> tamperings[7] = {
        {"content byte", [&](auto& c, auto& i) { return Flip(Signed(c, i), 2); }},
        {"signature byte", [&](auto& c, auto& i) { return Flip(Signed(c, i), -30); }},
        {"trailer length", [&](auto& c, auto& i) { return Flip(Signed(c, i), -10); }},
        {"truncated", [&](auto& c, auto& i) { return Signed(c, i).substr(0, c.size() + 40); }},
        {"other version", [&](auto& c, auto& i) { return Signed(c, Other(i, "", "0")); }},
        {"other key", [&](auto& c, auto& i) { return Signed(c, i, stranger); }},
        {"unsigned", [](auto& c, auto&) { return c; }},
    };
};

TEST_P(SignedRefusal, IsRefusedOnBothPathsWithNothingWritten) {
    const auto [kind, tampering] = GetParam();
    const struct {
        UpdateError status;
        const char* counter;
    } expected[] = {{UpdateError::DataFiles, "NUM_FAILED_DOWNLOAD_NEW_FILES"},
                    {UpdateError::ClientCode, "NUM_FAILED_CLIENT_DOWNLOAD"},
                    {UpdateError::LauncherFile, "NUM_FAILED_EXE_DOWNLOADS"}};
    const auto& outcome = expected[static_cast<int>(kind)];
    Install(kind == Kind::DataSet ? 0 : 1, kind == Kind::ClientCode ? 0 : 1);
    WriteRawFile(install.File("qvs.exe"), Launcher(kind == Kind::Launcher ? 1 : 2));
    Serve(kind, tamperings[tampering].second);
    Start();
    const auto before = Installation();
    RunPass();
    SCOPED_TRACE(tamperings[tampering].first);
    EXPECT_EQ(Installation(), before);
    EXPECT_EQ(values.UpdateErrorStatus, outcome.status);
    EXPECT_EQ(Cfg("AUI", "LAST_DOWNLOAD"), "COULD_NOT_DOWNLOAD");
    EXPECT_EQ(Cfg("AUI", outcome.counter), "1");
    EXPECT_EQ(view.log.back(), "report");
    // Both refusals are in the log with their reason, for support.
    const std::string log = Installed("Log/update.log");
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 2) << log;
    EXPECT_NE(log.find(": signature: "), std::string::npos) << log;
}

INSTANTIATE_TEST_SUITE_P(EachKindEachTampering, SignedRefusal,
                         ::testing::Combine(::testing::Values(Kind::DataSet, Kind::ClientCode,
                                                              Kind::Launcher),
                                            ::testing::Range(0, 7)));

// Every reply of the web host passes a proxy that flips the first byte of
// its body; the update server's copies are genuine. The pass falls back for
// the rest of the data sets from the first one refused.
TEST_F(SignedUpdates, ATamperingProxyOnTheWebHostLeavesOnlyGenuineFiles) {
    Install(0, 0);
    Serve();
    server.Serve("qvs2.ecd", Signed(DataSet(2), {"qvs", "2"}));
    WriteRawFile(install.File("qvs.exe"), Launcher(2));
    Start();
    const std::uint16_t upstream = server.httpPort;
    ScriptedServer proxy([upstream](const std::string& request, int) {
        std::string reply = RawExchange(upstream, request);
        const std::size_t body = reply.find("\r\n\r\n");
        if (body != std::string::npos && body + 4 < reply.size()) {
            reply[body + 4] ^= 0x01;
        }
        return ScriptedServer::Script{ScriptedServer::Send(reply)};
    });
    values.Workers.WebBaseUrl = "http://" + proxy.Address() + "/updates/";
    RunPass();
    EXPECT_EQ(values.UpdateErrorStatus, UpdateError::None);
    EXPECT_EQ(Cfg("AUI", "LAST_DOWNLOAD"), ServerHostCaps);
    EXPECT_THAT(view.log, ::testing::Contains(std::string("line3 ") + ServerHostName));
    EXPECT_TRUE(Installed("data1.txt") == data);
    EXPECT_TRUE(Installed("data2.txt") == data);
    EXPECT_EQ(Installed("qvsc.ecd"), Signed(ClientCode(), {"qvsc", "1"}));
    EXPECT_EQ(proxy.Requests().size(), 2U); // data set 1 and the client code
}

} // namespace
} // namespace qvs::test
