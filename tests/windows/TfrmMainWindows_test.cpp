// The main window creates and owns the secondary windows.
#include "launcher/gui/TfrmMain.h"

#include "ModalRun.h"
#include "support/RawFile.h"
#include "support/RecordingPrompts.h"
#include "support/RecordingShell.h"
#include "support/TempDir.h"
#include "windows/TfrmProblems.h"
#include "windows/TfrmSendErrorReport.h"
#include "windows/TfrmTCP_UDP_Information.h"

#include <gtest/gtest.h>

#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include <memory>
#include <string>

namespace qvs {
namespace {

class TfrmMainWindowsTest : public ::testing::Test {
protected:
    test::TempDir dir;
    ProcessValues values{dir.Str()};
    test::RecordingPrompts prompts;
    test::RecordingShell shell;
    std::unique_ptr<TfrmMain> main = std::make_unique<TfrmMain>(values, prompts, shell);

    bool ShowProblemsAnd(const std::function<void()>& action) {
        return test::RunModal(*main->frmProblems, action, [this] { return main->ShowProblems(); });
    }
};

TEST_F(TfrmMainWindowsTest, CreatesTheThreeWindowsHiddenAndOwnsThem) {
    QPointer<QWidget> windows[] = {main->frmProblems, main->frmSendErrorReport,
                                   main->frmTCP_UDP_Information};
    for (const QPointer<QWidget>& window : windows) {
        ASSERT_FALSE(window.isNull());
        EXPECT_TRUE(window->isWindow());
        EXPECT_TRUE(window->isHidden());
        EXPECT_EQ(window->parentWidget(), main.get());
    }
    main.reset();
    for (const QPointer<QWidget>& window : windows) {
        EXPECT_TRUE(window.isNull());
    }
}

TEST_F(TfrmMainWindowsTest, ShowProblemsIsTrueOnlyForOk) {
    const auto click = [this](const char* name) {
        return [this, name] {
            auto* button = main->frmProblems->findChild<QPushButton*>(QString::fromLatin1(name));
            ASSERT_NE(button, nullptr);
            main->frmProblems->findChild<QTabWidget*>()->setCurrentWidget(button->parentWidget());
            QTest::mouseClick(button, Qt::LeftButton);
        };
    };
    EXPECT_TRUE(ShowProblemsAnd(click("btnPatchDownload")));
    EXPECT_FALSE(ShowProblemsAnd(click("btnSubmitBugReport")));
    EXPECT_FALSE(ShowProblemsAnd([this] { main->frmProblems->close(); }));
    EXPECT_EQ(shell.urls.size(), 2u);
}

TEST_F(TfrmMainWindowsTest, ErrorReportIsBuiltAfterTheStartUpWroteTheConfiguration) {
    std::filesystem::create_directory(dir.Path() / "Log");
    test::WriteRawFile(dir.Path() / "Log" / "betaErrorLog.out", "NullPointerException\n");
    EXPECT_TRUE(main->frmSendErrorReport->memErrorLog->toPlainText().isEmpty());
    main->RunStartUp();
    const std::string report = main->frmSendErrorReport->ReportText();
    EXPECT_EQ(report.rfind("[EXE_VERSION]\r\n", 0), 0u) << report;
    EXPECT_NE(report.find("\r\n\r\nNullPointerException\r\n\r\n"), std::string::npos) << report;
}

} // namespace
} // namespace qvs
