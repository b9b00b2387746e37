#include "windows/TfrmTCP_UDP_Information.h"

#include "ModalRun.h"
#include "launcher/CConfig.h"
#include "launcher/NetworkAdvice.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QPlainTextEdit>
#include <QTest>

#include <string>

namespace qvs {
namespace {

// The advice shows the window with the memo of its case; the box ticked in
// one case stays ticked in the other, and switches each advice off.
TEST(TfrmTCP_UDP_InformationTest, ShowsTheMemoOfItsCaseAndKeepsTheTick) {
    test::TempDir dir;
    CConfig config(dir.File("qvs.cfg"));
    QWidget owner;
    TfrmTCP_UDP_Information window(&owner);
    NetworkAdvice advice(config, window);
    std::string shown;
    const auto closeNoting = [&](bool tick) {
        return [&, tick] {
            shown = window.mem1->isVisible() ? "mem1" : "";
            shown += window.mem2->isVisible() ? "mem2" : "";
            if (tick) {
                QTest::mouseClick(window.cbDoNotDisplayThisMessageInTheFuture, Qt::LeftButton, {},
                                  QPoint(5, 8));
            }
            window.close();
        };
    };
    test::RunModal(window, closeNoting(true),
                   [&] { advice.AdviseOnAddressDifference("203.0.113.7", "192.168.1.5"); });
    EXPECT_EQ(shown, "mem1");
    EXPECT_EQ(config.ReadValue("OPTIONS", "DISABLE_TCP_UDP_1", ""), "TRUE");
    EXPECT_EQ(config.ReadValue("OPTIONS", "DISABLE_TCP_UDP_2", "<absent>"), "<absent>");
    test::RunModal(window, closeNoting(false), [&] { advice.AdviseOnSlowContact(); });
    EXPECT_EQ(shown, "mem2");
    EXPECT_EQ(config.ReadValue("OPTIONS", "DISABLE_TCP_UDP_2", ""), "TRUE");
}

} // namespace
} // namespace qvs
