#include "windows/TfrmTCP_UDP_Information.h"

#include "WindowTestSupport.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QPlainTextEdit>
#include <QTest>

#include <string>

namespace qvs {
namespace {

using Memo = INetworkInformationView::Memo;

// Each case shows its own memo; the box ticked in one case stays ticked, and
// is what the window answers, in the other.
TEST(TfrmTCP_UDP_InformationTest, ShowsTheMemoOfItsCaseAndAnswersWithTheBox) {
    QWidget owner;
    TfrmTCP_UDP_Information window(&owner);
    std::string shown;
    const auto show = [&](Memo memo, bool tick) {
        return test::RunModal(
            window,
            [&] {
                shown = std::string(window.mem1->isVisible() ? "mem1" : "") +
                        (window.mem2->isVisible() ? "mem2" : "");
                if (tick) {
                    QTest::mouseClick(window.cbDoNotDisplayThisMessageInTheFuture, Qt::LeftButton,
                                      {}, QPoint(5, 8));
                }
                window.close();
            },
            [&] { return window.ShowModalWith(memo); });
    };
    EXPECT_FALSE(show(Memo::SlowContact, false));
    EXPECT_EQ(shown, "mem2");
    EXPECT_TRUE(show(Memo::AddressDifference, true));
    EXPECT_EQ(shown, "mem1");
    EXPECT_TRUE(show(Memo::SlowContact, false));
}

} // namespace
} // namespace qvs
