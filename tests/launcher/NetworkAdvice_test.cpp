#include "launcher/NetworkAdvice.h"

#include "launcher/CConfig.h"
#include "platform/LocalAddress.h"
#include "support/RawFile.h"
#include "support/RecordingNetworkView.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace qvs {
namespace {

using Memo = INetworkInformationView::Memo;

using ScriptedView = test::RecordingNetworkView;

class NetworkAdviceTest : public ::testing::Test {
protected:
    test::TempDir dir;
    CConfig config{dir.File("qvs.cfg")};
    ScriptedView view;
    NetworkAdvice advice{config, view};

    std::string Option(const char* key) const {
        return config.ReadValue("OPTIONS", key, "<absent>");
    }
    std::string ConfigBytes() const {
        return test::ReadRawFile(dir.File("qvs.cfg")).value_or("<missing>");
    }
};

struct AddressCase {
    const char* observed;
    const char* local;
    bool shown;
};

class AddressComparisonTest : public NetworkAdviceTest,
                              public ::testing::WithParamInterface<AddressCase> {};

TEST_P(AddressComparisonTest, ShowsOnlyOnDifference) {
    advice.AdviseOnAddressDifference(GetParam().observed, GetParam().local);
    const std::vector<Memo> expected =
        GetParam().shown ? std::vector<Memo>{Memo::AddressDifference} : std::vector<Memo>{};
    EXPECT_EQ(view.shown, expected);
}

INSTANTIATE_TEST_SUITE_P(Addresses, AddressComparisonTest,
                         ::testing::Values(AddressCase{"192.168.1.5", "192.168.1.5", false},
                                           AddressCase{"203.0.113.7", "192.168.1.5", true},
                                           AddressCase{"", "192.168.1.5", true},
                                           AddressCase{"192.168.1.5", "", true},
                                           AddressCase{"", "", false},
                                           AddressCase{"10.0.0.1", "10.0.0.10", true},
                                           AddressCase{"10.0.0.1 ", "10.0.0.1", true}));

struct SwitchCase {
    const char* stored; // nullptr: the key is missing
    bool shown;
};

class SwitchValueTest : public NetworkAdviceTest, public ::testing::WithParamInterface<SwitchCase> {
protected:
    void Store(const char* key) {
        if (GetParam().stored != nullptr) {
            config.WriteValue("OPTIONS", key, GetParam().stored);
        }
    }
};

TEST_P(SwitchValueTest, OnlyExactTrueSwitchesAddressAdviceOff) {
    Store("DISABLE_TCP_UDP_1");
    advice.AdviseOnAddressDifference("203.0.113.7", "192.168.1.5");
    EXPECT_EQ(view.shown.size(), GetParam().shown ? 1u : 0u);
}

TEST_P(SwitchValueTest, OnlyExactTrueSwitchesSlowContactAdviceOff) {
    Store("DISABLE_TCP_UDP_2");
    advice.AdviseOnSlowContact();
    EXPECT_EQ(view.shown,
              GetParam().shown ? std::vector<Memo>{Memo::SlowContact} : std::vector<Memo>{});
}

INSTANTIATE_TEST_SUITE_P(Values, SwitchValueTest,
                         ::testing::Values(SwitchCase{nullptr, true}, SwitchCase{"FALSE", true},
                                           SwitchCase{"true", true}, SwitchCase{"1", true},
                                           SwitchCase{"TRUEX", true}, SwitchCase{"", true},
                                           SwitchCase{"TRUE", false}));

TEST_F(NetworkAdviceTest, TickedBoxSwitchesOffOnlyItsOwnAdvice) {
    view.tick = true;
    advice.AdviseOnAddressDifference("203.0.113.7", "192.168.1.5");
    EXPECT_EQ(Option("DISABLE_TCP_UDP_1"), "TRUE");
    EXPECT_EQ(Option("DISABLE_TCP_UDP_2"), "<absent>");
    advice.AdviseOnAddressDifference("203.0.113.7", "192.168.1.5");
    EXPECT_EQ(view.shown.size(), 1u);

    advice.AdviseOnSlowContact();
    EXPECT_EQ(Option("DISABLE_TCP_UDP_2"), "TRUE");
    advice.AdviseOnSlowContact();
    EXPECT_EQ(view.shown, (std::vector<Memo>{Memo::AddressDifference, Memo::SlowContact}));
}

TEST_F(NetworkAdviceTest, UntickedBoxWritesNothing) {
    advice.AdviseOnSlowContact();
    advice.AdviseOnAddressDifference("", "10.1.1.1");
    EXPECT_EQ(view.shown.size(), 2u);
    EXPECT_EQ(ConfigBytes(), "<missing>");
}

TEST_F(NetworkAdviceTest, EarlierSwitchIsNeverReset) {
    config.WriteValue("OPTIONS", "DISABLE_TCP_UDP_1", "TRUE");
    const std::string before = ConfigBytes();
    advice.AdviseOnSlowContact();
    EXPECT_EQ(Option("DISABLE_TCP_UDP_1"), "TRUE");
    EXPECT_EQ(ConfigBytes(), before);
}

TEST_F(NetworkAdviceTest, UnwritableConfigurationKeepsAdviceOn) {
    CConfig unwritable(dir.File("missing-folder/qvs.cfg"));
    NetworkAdvice adviceOnUnwritable(unwritable, view);
    view.tick = true;
    EXPECT_NO_THROW(adviceOnUnwritable.AdviseOnSlowContact());
    EXPECT_NO_THROW(adviceOnUnwritable.AdviseOnSlowContact());
    EXPECT_EQ(view.shown.size(), 2u);
}

TEST_F(NetworkAdviceTest, MachinesOwnAddressIsNoDifference) {
    advice.AdviseOnAddressDifference(platform::GetLocalIPAddress());
    EXPECT_TRUE(view.shown.empty());
}

TEST_F(NetworkAdviceTest, ForeignAddressDiffersFromMachinesOwn) {
    ASSERT_NE(platform::GetLocalIPAddress(), "203.0.113.7");
    advice.AdviseOnAddressDifference("203.0.113.7");
    EXPECT_EQ(view.shown, std::vector<Memo>{Memo::AddressDifference});
}

TEST_F(NetworkAdviceTest, SwitchedOffAddressAdviceIsNotShownForForeignAddress) {
    config.WriteValue("OPTIONS", "DISABLE_TCP_UDP_1", "TRUE");
    advice.AdviseOnAddressDifference("203.0.113.7");
    EXPECT_TRUE(view.shown.empty());
}

} // namespace
} // namespace qvs
