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
using Memos = std::vector<Memo>;

// Unticked, nothing is written; the same address gives no advice. Ticked, the
// box switches off only its own advice; only the exact stored text "TRUE" does.
TEST(NetworkAdviceTest, TheTickedBoxSwitchesOffItsOwnAdvice) {
    test::TempDir dir;
    CConfig config{dir.File("qvs.cfg")};
    test::RecordingNetworkView view;
    NetworkAdvice advice{config, view};
    const auto configBytes = [&dir] {
        return test::ReadRawFile(dir.File("qvs.cfg")).value_or("<missing>");
    };
    advice.AdviseOnSlowContact();
    advice.AdviseOnAddressDifference(platform::GetLocalIPAddress());
    advice.AdviseOnAddressDifference("192.168.1.5", "192.168.1.5");
    EXPECT_EQ(configBytes(), "<missing>");
    view.tick = true;
    advice.AdviseOnAddressDifference("203.0.113.7", "192.168.1.5");
    EXPECT_EQ(configBytes(), "[OPTIONS]\r\nDISABLE_TCP_UDP_1=TRUE\r\n");
    advice.AdviseOnAddressDifference("203.0.113.7", "192.168.1.5");
    advice.AdviseOnSlowContact();
    EXPECT_EQ(configBytes(), "[OPTIONS]\r\nDISABLE_TCP_UDP_1=TRUE\r\nDISABLE_TCP_UDP_2=TRUE\r\n");
    advice.AdviseOnSlowContact();
    EXPECT_EQ(view.shown, (Memos{Memo::SlowContact, Memo::AddressDifference, Memo::SlowContact}));
    view.tick = false;
    for (const std::string stored : {"true", "TRUEX", ""}) {
        config.WriteValue("OPTIONS", "DISABLE_TCP_UDP_1", stored);
        config.WriteValue("OPTIONS", "DISABLE_TCP_UDP_2", stored);
        view.shown.clear();
        advice.AdviseOnAddressDifference("203.0.113.7", "192.168.1.5");
        advice.AdviseOnAddressDifference("203.0.113.7"); // against the machine's own address
        advice.AdviseOnSlowContact();
        EXPECT_EQ(view.shown,
                  (Memos{Memo::AddressDifference, Memo::AddressDifference, Memo::SlowContact}))
            << stored;
    }
    // Unwritable, only the reminder is lost: the advice shows again next time.
    CConfig unwritable(dir.File("missing-folder/qvs.cfg"));
    NetworkAdvice adviceOnUnwritable(unwritable, view);
    view.shown.clear();
    adviceOnUnwritable.AdviseOnSlowContact();
    adviceOnUnwritable.AdviseOnSlowContact();
    EXPECT_EQ(view.shown.size(), 2u);
}

} // namespace
} // namespace qvs
