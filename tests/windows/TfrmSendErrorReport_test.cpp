#include "ui/qt/TfrmSendErrorReport.h"
#include "ui/qt/WindowBuilder.h"

#include "BuildSettings.h"
#include "WindowTestSupport.h"
#include "launcher/ErrorReport.h"
#include "support/RawFile.h"
#include "support/RecordingShell.h"
#include "support/TempDir.h"
#include "ui/qt/TImage.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QEnterEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTest>

#include <string>
#include <tuple>
#include <vector>

namespace qvs {
namespace {

// While the pointer is over a hot area its "on" picture replaces the "off"
// one; the hot areas lie on top, where the clicks land. "<control><v>" is
// shown as it is, not taken for markup. Don't Send and the close box send
// nothing. Send copies the report, with what the player added and the log as
// read at creation, opens the mail and closes; the updater's error window
// sends the configuration alone.
TEST(TfrmSendErrorReportTest, HotAreasSwapPicturesAndTheReportIsSentOnlyWhenAsked) {
    const std::string config = "[EXE_VERSION]\r\nMAJOR_VERSION=1\r\n";
    test::TempDir dir;
    test::WriteRawFile(dir.File("qvs.cfg"), config);
    test::WriteRawFile(dir.File("betaErrorLog.out"), "boom\n");
    test::RecordingShell shell;
    int clicks = 0;
    QWidget owner;
    TfrmSendErrorReport window{&owner, dir.File("qvs.cfg"), dir.File("betaErrorLog.out"), shell,
                               [&clicks] { ++clicks; }};
    window.FormCreate();
    EXPECT_EQ(window.childAt(100, 258), window.btnSendErrorReport);
    EXPECT_EQ(window.childAt(340, 258), window.btnDontSend);
    const auto image = [&window](const char* name) { return Find<TImage>(window, name); };
    for (const auto& [hotArea, off, on] :
         {std::tuple{window.btnSendErrorReport, image("imgSendErrorReportOff"),
                     image("imgSendErrorReportOn")},
          std::tuple{window.btnDontSend, image("imgCancelOff"), image("imgCancelOn")}}) {
        QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
        QApplication::sendEvent(hotArea, &enter);
        EXPECT_TRUE(off->isHidden() && !on->isHidden());
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(hotArea, &leave);
        EXPECT_TRUE(!off->isHidden() && on->isHidden());
    }
    const auto* instruction = window.findChild<QLabel*>(QStringLiteral("Label3"));
    ASSERT_NE(instruction, nullptr);
    EXPECT_EQ(instruction->textFormat(), Qt::PlainText);

    QClipboard* clipboard = QApplication::clipboard();
    clipboard->setText(QStringLiteral("before"));
    const auto click = [](TImage* hotArea) {
        return [hotArea] { QTest::mouseClick(hotArea, Qt::LeftButton); };
    };
    EXPECT_EQ(test::RunModal(window, click(window.btnDontSend)), ModalResult::Cancel);
    EXPECT_EQ(test::RunModal(window, [&window] { window.close(); }), ModalResult::Cancel);
    EXPECT_EQ(clipboard->text().toStdString(), "before");
    EXPECT_TRUE(shell.urls.empty());
    test::WriteRawFile(dir.File("betaErrorLog.out"), "later\n");
    const auto addAndSend = [&window, &click] {
        window.memErrorLog->moveCursor(QTextCursor::End);
        QTest::keyClicks(window.memErrorLog, "I was attacking");
        click(window.btnSendErrorReport)();
    };
    EXPECT_EQ(test::RunModal(window, addAndSend), ModalResult::OK);
    EXPECT_EQ(clipboard->text().toStdString(), config + "\r\nboom\r\n\r\nI was attacking");
    EXPECT_EQ(shell.urls, std::vector{ErrorReportMailLink(build::ErrorReportEmail)});
    EXPECT_EQ(clicks, 2);
    window.LoadConfiguration();
    EXPECT_EQ(test::RunModal(window, click(window.btnSendErrorReport)), ModalResult::OK);
    EXPECT_EQ(clipboard->text().toStdString(), config);
}

} // namespace
} // namespace qvs
