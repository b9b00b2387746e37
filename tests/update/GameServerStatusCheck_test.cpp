// The game server status check against the real qvs-server: the three
// attempts, the address file, the people-online display and PlayHelp1.
#include "launcher/GameServerStatusCheck.h"

#include "launcher/IServerStatusView.h"
#include "update/UpdateFixture.h"

#include <gmock/gmock.h>

namespace qvs::test {
namespace {

using ::testing::ElementsAre;

// Addresses on the loopback network where nothing listens: the server is
// bound to 127.0.0.1 only.
constexpr const char* Nowhere = "127.0.0.5";
constexpr const char* DefaultAddress = "127.0.0.6";

class RecordingStatusView : public IServerStatusView {
public:
    void RestartBlinking() override {
        ++attempts;
        blinking = true;
    }
    void StopBlinking() override { blinking = false; }
    bool IsBlinking() const override { return blinking; }
    void ShowPeopleOnline(int people) override { shownPeople.push_back(people); }
    void ProcessPendingMessages() override { ++messageRounds; }
    void ShowErrorReport() override { ++errorReports; }

    int attempts = 0;
    bool blinking = true;
    std::vector<int> shownPeople;
    int messageRounds = 0;
    int errorReports = 0;
};

class GameServerStatusTest : public UpdateFixture {
protected:
    void StartServer(const std::string& people) {
        WriteFile((serverRoot.Path() / "status" / "people").string(), people);
        Start();
        values.GameServerPort = server->gamePort;
    }
    void Check() { GameServerStatusCheck(values, statusView, DefaultAddress).Run(); }

    RecordingStatusView statusView;
};

struct PeopleCase {
    const char* reported;
    int shown;
};

class PeopleOnline : public GameServerStatusTest,
                     public ::testing::WithParamInterface<PeopleCase> {};

TEST_P(PeopleOnline, FirstAttemptAnswersAndPlayIsAllowed) {
    StartServer(GetParam().reported);
    Check();
    EXPECT_THAT(statusView.shownPeople, ElementsAre(GetParam().shown));
    EXPECT_EQ(statusView.attempts, 1);
    EXPECT_FALSE(statusView.blinking);
    EXPECT_EQ(values.PlayHelp1, PlayHelpOnline);
    EXPECT_EQ(values.Workers.ServerHost, "127.0.0.1");
}

INSTANTIATE_TEST_SUITE_P(Counts, PeopleOnline,
                         ::testing::Values(PeopleCase{"0", 1}, PeopleCase{"4", 5},
                                           PeopleCase{"5", 5}, PeopleCase{"12", 12}));

TEST_F(GameServerStatusTest, AddressFileLeadsToTheServer) {
    StartServer("3");
    ServeFile("QVS_SERVER_ADDRESS.TXT", " 127.0.0.1\r\n");
    values.Workers.ServerHost = Nowhere;
    Check();
    EXPECT_EQ(values.AddressFetchResult, AddressFetch::Succeeded);
    EXPECT_EQ(values.Workers.ServerHost, "127.0.0.1");
    EXPECT_EQ(statusView.attempts, 2);
    EXPECT_THAT(statusView.shownPeople, ElementsAre(4));
    EXPECT_EQ(values.PlayHelp1, PlayHelpOnline);
    EXPECT_GT(statusView.messageRounds, 0);
}

TEST_F(GameServerStatusTest, MissingAddressFileRepeatsTheFirstHostThenTheDefault) {
    StartServer("3");
    values.Workers.ServerHost = Nowhere;
    Check();
    EXPECT_EQ(values.AddressFetchResult, AddressFetch::Failed);
    EXPECT_EQ(statusView.attempts, 3);
    EXPECT_EQ(values.Workers.ServerHost, DefaultAddress);
    EXPECT_TRUE(statusView.shownPeople.empty());
    EXPECT_TRUE(statusView.blinking);
    EXPECT_EQ(values.PlayHelp1, PlayHelpDisabled);
}

TEST_F(GameServerStatusTest, AddressFileWithTwoLinesIsNoAddress) {
    StartServer("3");
    ServeFile("QVS_SERVER_ADDRESS.TXT", "127.0.0.1\r\nbackup.quorvash.test\r\n");
    values.Workers.ServerHost = Nowhere;
    Check();
    EXPECT_EQ(statusView.attempts, 3);
    EXPECT_EQ(values.PlayHelp1, PlayHelpDisabled);
}

TEST_F(GameServerStatusTest, UnreachableWebHostSkipsTheSecondAttempt) {
    Start(false);
    values.GameServerPort = ExternalProcess::FreePort();
    values.Workers.ServerHost = Nowhere;
    Check();
    EXPECT_EQ(values.AddressFetchResult, AddressFetch::NotDone);
    EXPECT_EQ(statusView.attempts, 2);
    EXPECT_EQ(values.Workers.ServerHost, DefaultAddress);
    EXPECT_EQ(values.PlayHelp1, PlayHelpDisabled);
}

TEST_F(GameServerStatusTest, ErrorLogOfAHundredBytesIsOfferedForSending) {
    StartServer("1");
    for (const auto& [size, offers] : {std::pair{99, 0}, std::pair{100, 1}}) {
        WriteFile(values.ErrorLogPath, std::string(static_cast<std::size_t>(size), 'x'));
        statusView.errorReports = 0;
        Check();
        EXPECT_EQ(statusView.errorReports, offers) << size << " bytes";
    }
}

TEST(GameServerStatusAddress, TrimsBlanksAndControlCharactersOnly) {
    const std::pair<const char*, const char*> cases[] = {
        {"game.quorvash.test", "game.quorvash.test"},
        {"  10.0.0.7\r\n", "10.0.0.7"},
        {"\t\x01host\x7F", "host"},
        {"a b\r\nc", "a b\r\nc"},
        {" \r\n\t", ""},
        {"", ""},
    };
    for (const auto& [body, host] : cases) {
        EXPECT_EQ(GameServerStatusCheck::TrimmedAddress(body), host) << body;
    }
}

} // namespace
} // namespace qvs::test
