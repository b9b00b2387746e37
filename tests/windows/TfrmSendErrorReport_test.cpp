#include "windows/TfrmSendErrorReport.h"

#include "BuildSettings.h"
#include "ModalRun.h"
#include "launcher/ErrorReport.h"
#include "launcher/gui/TImage.h"
#include "support/RawFile.h"
#include "support/RecordingShell.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QEnterEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTest>

#include <string>
#include <vector>

namespace qvs {
namespace {

using Lines = std::vector<std::string>;

const std::string Config = "[EXE_VERSION]\r\nMAJOR_VERSION=1\r\n[AUI]\r\nCAN_PING=TRUE\r\n";

std::string NumberedLines(int count) {
    std::string text;
    for (int i = 1; i <= count; ++i) {
        text += "at line " + std::to_string(i) + "\n";
    }
    return text;
}

class TfrmSendErrorReportTest : public ::testing::Test {
protected:
    TfrmSendErrorReportTest() { QApplication::clipboard()->setText(QStringLiteral("before")); }

    void WriteConfig(const std::string& text) { test::WriteRawFile(dir.File("qvs.cfg"), text); }
    void WriteLog(const std::string& text) {
        test::WriteRawFile(dir.File("betaErrorLog.out"), text);
    }
    Lines Memo() const { return test::MemoLines(*window.memErrorLog); }
    ModalResult ShowAnd(const std::function<void()>& action) {
        return test::RunModal(window, action, [this] { return window.ShowModal(); });
    }
    static void Click(QWidget* hotArea) { QTest::mouseClick(hotArea, Qt::LeftButton); }
    static std::string Clipboard() { return QApplication::clipboard()->text().toStdString(); }

    test::TempDir dir;
    test::RecordingShell shell;
    int clicks = 0;
    QWidget owner;
    TfrmSendErrorReport window{&owner, dir.File("qvs.cfg"), dir.File("betaErrorLog.out"), shell,
                               [this] { ++clicks; }};
};

TEST_F(TfrmSendErrorReportTest, LayoutAndCaptions) {
    EXPECT_TRUE(window.isHidden());
    EXPECT_EQ(window.windowTitle().toStdString(), "Send Your Error Report");
    EXPECT_EQ(window.size(), QSize(432, 279));
    EXPECT_FALSE(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    const std::tuple<const char*, const char*, int> labels[] = {
        {"Label1", "Please send this error report! ", 9},
        {"Label2", "1)Press the Send Error report. ", 33},
        {"Label3", "2)click on the body of the email and press <control><v>  ", 57},
    };
    for (const auto& [name, text, top] : labels) {
        auto* label = window.findChild<QLabel*>(QString::fromLatin1(name));
        ASSERT_NE(label, nullptr) << name;
        EXPECT_EQ(label->text().toStdString(), text);
        EXPECT_EQ(label->pos(), QPoint(7, top));
        EXPECT_EQ(label->textFormat(), Qt::PlainText); // "<control><v>" is no markup
        EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(255, 128, 0));
        EXPECT_TRUE(label->font().bold() && label->font().italic());
        EXPECT_EQ(label->font().pixelSize(), 15);
    }
    EXPECT_EQ(window.memErrorLog->geometry(), QRect(8, 96, 409, 137));
    EXPECT_FALSE(window.memErrorLog->isReadOnly());
    EXPECT_EQ(window.memErrorLog->palette().color(QPalette::Base), QColor(Qt::white));
    EXPECT_EQ(window.memErrorLog->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(window.memErrorLog->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
}

TEST_F(TfrmSendErrorReportTest, PictureButtonsWithHotAreasOnTop) {
    EXPECT_EQ(window.imgSendErrorReportOff->geometry(), QRect(24, 248, 160, 22));
    EXPECT_EQ(window.imgSendErrorReportOn->geometry(), QRect(24, 248, 160, 22));
    EXPECT_EQ(window.imgCancelOff->geometry(), QRect(312, 248, 66, 24));
    EXPECT_EQ(window.imgCancelOn->geometry(), QRect(312, 248, 66, 24));
    EXPECT_EQ(window.btnSendErrorReport->geometry(), QRect(24, 248, 160, 22));
    EXPECT_EQ(window.btnDontSend->geometry(), QRect(312, 247, 66, 24));
    for (TImage* picture : {window.imgSendErrorReportOff, window.imgSendErrorReportOn,
                            window.imgCancelOff, window.imgCancelOn}) {
        EXPECT_EQ(picture->Picture().size(), picture->size())
            << picture->objectName().toStdString();
    }
    EXPECT_FALSE(window.imgSendErrorReportOff->isHidden());
    EXPECT_TRUE(window.imgSendErrorReportOn->isHidden());
    EXPECT_EQ(window.childAt(100, 258), window.btnSendErrorReport);
    EXPECT_EQ(window.childAt(340, 258), window.btnDontSend);
}

TEST_F(TfrmSendErrorReportTest, PointerOverHotAreaSwapsPictures) {
    struct Case {
        TImage* hotArea;
        TImage* off;
        TImage* on;
    };
    for (const Case& c : {Case{window.btnSendErrorReport, window.imgSendErrorReportOff,
                               window.imgSendErrorReportOn},
                          Case{window.btnDontSend, window.imgCancelOff, window.imgCancelOn}}) {
        QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
        QApplication::sendEvent(c.hotArea, &enter);
        EXPECT_TRUE(c.off->isHidden());
        EXPECT_FALSE(c.on->isHidden());
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(c.hotArea, &leave);
        EXPECT_FALSE(c.off->isHidden());
        EXPECT_TRUE(c.on->isHidden());
    }
}

TEST_F(TfrmSendErrorReportTest, ReportIsConfigurationEmptyLineAndLog) {
    WriteConfig(Config);
    WriteLog(std::string(99, 'x'));
    window.FormCreate();
    EXPECT_EQ(Memo(), (Lines{"[EXE_VERSION]", "MAJOR_VERSION=1", "[AUI]", "CAN_PING=TRUE", "",
                             std::string(99, 'x'), ""}));
}

// The 99- and 100-byte logs differ in whether they are offered at start-up,
// not in what the report shows.
TEST_F(TfrmSendErrorReportTest, HundredByteLogEndingInBreakShowsEmptyLastLogLine) {
    WriteLog(std::string(99, 'y') + "\n");
    EXPECT_TRUE(ShouldOfferErrorReport(dir.File("betaErrorLog.out")));
    window.FormCreate();
    EXPECT_EQ(Memo(), (Lines{std::string(99, 'y'), "", ""}));
}

TEST_F(TfrmSendErrorReportTest, OnlyThe102FirstLogLinesAreShown) {
    WriteConfig(Config);
    WriteLog(NumberedLines(150));
    window.FormCreate();
    const Lines memo = Memo();
    ASSERT_EQ(memo.size(), 4u + 1u + 102u + 1u);
    EXPECT_EQ(memo[4], "");
    EXPECT_EQ(memo[5], "at line 1");
    EXPECT_EQ(memo[106], "at line 102");
    EXPECT_EQ(memo[107], "");
}

TEST_F(TfrmSendErrorReportTest, WithoutLogTheConfigurationEndsInOneEmptyLine) {
    WriteConfig(Config);
    window.FormCreate();
    EXPECT_EQ(Memo(),
              (Lines{"[EXE_VERSION]", "MAJOR_VERSION=1", "[AUI]", "CAN_PING=TRUE", "", ""}));
}

TEST_F(TfrmSendErrorReportTest, WithoutConfigurationOnlyTheLogShows) {
    WriteLog("Exception\n\tat Client.main");
    window.FormCreate();
    EXPECT_EQ(Memo(), (Lines{"Exception", "\tat Client.main", ""}));
}

TEST_F(TfrmSendErrorReportTest, SendCopiesReportOpensMailAndCloses) {
    WriteConfig(Config);
    WriteLog("boom\n");
    window.FormCreate();
    EXPECT_EQ(ShowAnd([this] { Click(window.btnSendErrorReport); }), ModalResult::OK);
    EXPECT_TRUE(window.isHidden());
    EXPECT_EQ(Clipboard(), Config + "\r\nboom\r\n\r\n");
    EXPECT_EQ(shell.urls, Lines{ErrorReportMailLink(build::ErrorReportEmail)});
    EXPECT_EQ(clicks, 1);
}

TEST_F(TfrmSendErrorReportTest, TypedTextIsSentAndKeptForNextShowing) {
    WriteLog("boom");
    window.FormCreate();
    ShowAnd([this] {
        window.memErrorLog->moveCursor(QTextCursor::End);
        QTest::keyClicks(window.memErrorLog, "I was attacking");
        Click(window.btnSendErrorReport);
    });
    EXPECT_EQ(Clipboard(), "boom\r\nI was attacking");
    ShowAnd([this] { Click(window.btnDontSend); });
    EXPECT_EQ(Memo(), (Lines{"boom", "I was attacking"}));
}

TEST_F(TfrmSendErrorReportTest, UpdaterErrorWindowSendsConfigurationOnly) {
    WriteConfig(Config);
    WriteLog("boom\n");
    window.FormCreate();
    window.LoadConfiguration();
    EXPECT_EQ(window.ReportText(), Config);
    ShowAnd([this] { Click(window.btnSendErrorReport); });
    EXPECT_EQ(Clipboard(), Config);
}

TEST_F(TfrmSendErrorReportTest, CancelClicksAndLeavesClipboardAndShellAlone) {
    WriteLog("boom\n");
    window.FormCreate();
    EXPECT_EQ(ShowAnd([this] { Click(window.btnDontSend); }), ModalResult::Cancel);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(Clipboard(), "before");
    EXPECT_TRUE(shell.urls.empty());
}

TEST_F(TfrmSendErrorReportTest, CloseBoxIsSilent) {
    EXPECT_EQ(ShowAnd([this] { window.close(); }), ModalResult::Cancel);
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(Clipboard(), "before");
    EXPECT_TRUE(shell.urls.empty());
}

TEST_F(TfrmSendErrorReportTest, LogWrittenAfterCreationIsNotShown) {
    WriteLog("first\n");
    window.FormCreate();
    WriteLog("second\n");
    ShowAnd([this] { window.close(); });
    EXPECT_EQ(Memo(), (Lines{"first", "", ""}));
}

} // namespace
} // namespace qvs
