#include "windows/TfrmTCP_UDP_Information.h"

#include "BuildSettings.h"
#include "ModalRun.h"
#include "launcher/CConfig.h"
#include "launcher/NetworkAdvice.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QPlainTextEdit>
#include <QTest>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace qvs {
namespace {

using Lines = std::vector<std::string>;
using Memo = INetworkInformationView::Memo;

class TfrmTCP_UDP_InformationTest : public ::testing::Test {
protected:
    struct Seen {
        bool mem1Visible = false;
        bool mem2Visible = false;
    };

    // Shows the window in a mode; the player ticks the box or not, then
    // closes it with the close box.
    bool ShowWith(Memo memo, bool tick, Seen* seen = nullptr) {
        return test::RunModal(
            window,
            [this, tick, seen] {
                if (seen != nullptr) {
                    seen->mem1Visible = window.mem1->isVisible();
                    seen->mem2Visible = window.mem2->isVisible();
                }
                if (tick) {
                    QTest::mouseClick(window.cbDoNotDisplayThisMessageInTheFuture, Qt::LeftButton,
                                      {}, QPoint(5, 8));
                }
                window.close();
            },
            [this, memo] { return window.ShowModalWith(memo); });
    }

    QWidget owner;
    TfrmTCP_UDP_Information window{&owner};
};

TEST_F(TfrmTCP_UDP_InformationTest, Layout) {
    EXPECT_TRUE(window.isHidden());
    EXPECT_EQ(window.windowTitle().toStdString(), "TCP/UDP Information");
    EXPECT_EQ(window.size(), QSize(334, 184));
    EXPECT_EQ(window.mem1->geometry(), QRect(0, 0, 329, 153));
    EXPECT_EQ(window.mem2->geometry(), QRect(-3, 0, 329, 153));
    EXPECT_EQ(window.cbDoNotDisplayThisMessageInTheFuture->geometry(), QRect(16, 160, 249, 17));
    EXPECT_EQ(window.cbDoNotDisplayThisMessageInTheFuture->text().toStdString(),
              "Do Not Display This Message In The Future");
    EXPECT_FALSE(window.cbDoNotDisplayThisMessageInTheFuture->isChecked());
    for (QPlainTextEdit* memo : {window.mem1, window.mem2}) {
        EXPECT_TRUE(memo->isReadOnly());
        EXPECT_EQ(memo->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    }
    // mem2 lies over mem1.
    EXPECT_GT(window.children().indexOf(window.mem2), window.children().indexOf(window.mem1));
}

TEST_F(TfrmTCP_UDP_InformationTest, MemosListThePortsAndTheTroubleshootingPage) {
    const std::string reference = std::string(build::GameWebSite) + "/troubleshooting.html for ";
    const Lines ports = {"6069", "7068", "7069", "7070", "7071", "9006"};
    const Lines mem1 = test::MemoLines(*window.mem1);
    ASSERT_EQ(mem1.size(), 22u);
    EXPECT_EQ(mem1[0], "We have detected that your internal IP address is different from ");
    EXPECT_EQ(mem1[5], "be able to do real time battles against UPD players.");
    EXPECT_EQ(Lines(mem1.begin() + 12, mem1.begin() + 18), ports);
    EXPECT_EQ(Lines(mem1.end() - 4, mem1.end()),
              (Lines{"", "Please refer to ", reference, "further assistance."}));
    const Lines mem2 = test::MemoLines(*window.mem2);
    ASSERT_EQ(mem2.size(), 19u);
    EXPECT_EQ(mem2[8], "messages:");
    EXPECT_EQ(Lines(mem2.begin() + 9, mem2.begin() + 15), ports);
    EXPECT_EQ(Lines(mem2.end() - 4, mem2.end()),
              (Lines{"", "Please refer to ", reference, "further assistance."}));
}

TEST_F(TfrmTCP_UDP_InformationTest, EachModeShowsOnlyItsMemo) {
    Seen seen;
    EXPECT_FALSE(ShowWith(Memo::AddressDifference, false, &seen));
    EXPECT_TRUE(seen.mem1Visible);
    EXPECT_FALSE(seen.mem2Visible);
    EXPECT_FALSE(ShowWith(Memo::SlowContact, false, &seen));
    EXPECT_FALSE(seen.mem1Visible);
    EXPECT_TRUE(seen.mem2Visible);
    EXPECT_TRUE(window.isHidden());
}

TEST_F(TfrmTCP_UDP_InformationTest, TickedBoxStaysTickedForTheOtherMode) {
    EXPECT_TRUE(ShowWith(Memo::AddressDifference, true));
    EXPECT_TRUE(ShowWith(Memo::SlowContact, false));
}

TEST_F(TfrmTCP_UDP_InformationTest, AdviceWritesBothSwitchesWhenTheBoxStaysTicked) {
    test::TempDir dir;
    CConfig config(dir.File("qvs.cfg"));
    NetworkAdvice advice(config, window);
    // The player ticks the box in the address advice, then closes the
    // slow-contact advice unchanged.
    QTimer::singleShot(0, &window, [this] {
        QTest::mouseClick(window.cbDoNotDisplayThisMessageInTheFuture, Qt::LeftButton, {},
                          QPoint(5, 8));
        window.close();
    });
    advice.AdviseOnAddressDifference("203.0.113.7", "192.168.1.5");
    EXPECT_EQ(config.ReadValue("OPTIONS", "DISABLE_TCP_UDP_1", ""), "TRUE");
    EXPECT_EQ(config.ReadValue("OPTIONS", "DISABLE_TCP_UDP_2", "<absent>"), "<absent>");
    QTimer::singleShot(0, &window, [this] { window.close(); });
    advice.AdviseOnSlowContact();
    EXPECT_EQ(config.ReadValue("OPTIONS", "DISABLE_TCP_UDP_2", ""), "TRUE");
    // Both switched off: neither shows again.
    for (const auto& adviseAgain : std::vector<std::function<void()>>{
             [&advice] { advice.AdviseOnSlowContact(); },
             [&advice] { advice.AdviseOnAddressDifference("203.0.113.7", "192.168.1.5"); }}) {
        bool shownAgain = false;
        QTimer::singleShot(0, &window, [this, &shownAgain] {
            shownAgain = window.isVisible();
            window.close();
        });
        adviseAgain();
        QTest::qWait(10);
        EXPECT_FALSE(shownAgain);
    }
}

TEST_F(TfrmTCP_UDP_InformationTest, UntickedCloseWritesNothing) {
    test::TempDir dir;
    CConfig config(dir.File("qvs.cfg"));
    NetworkAdvice advice(config, window);
    QTimer::singleShot(0, &window, [this] { window.close(); });
    advice.AdviseOnSlowContact();
    EXPECT_FALSE(std::filesystem::exists(dir.Path() / "qvs.cfg"));
}

} // namespace
} // namespace qvs
