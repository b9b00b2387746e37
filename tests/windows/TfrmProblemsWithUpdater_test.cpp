#include "windows/TfrmProblemsWithUpdater.h"

#include "ModalRun.h"
#include "launcher/CConfig.h"
#include "launcher/ProcessValues.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace qvs {
namespace {

using Lines = std::vector<std::string>;

class TfrmProblemsWithUpdaterTest : public ::testing::Test {
protected:
    TfrmProblemsWithUpdaterTest() : values(dir.Str()) {
        values.Config = std::make_unique<CConfig>(dir.File("qvs.cfg"));
    }

    // Shows the window with the lines; action plays the player's part.
    ModalResult Show(const Lines& lines, const std::function<void()>& action) {
        return test::RunModal(window, action, [this, &lines] { return window.ShowModal(lines); });
    }
    std::string Switch() const {
        return values.Config->ReadValue("OPTIONS", "DISABLE_ERROR_DISPLAY", "<none>");
    }

    test::TempDir dir;
    ProcessValues values;
    QWidget owner;
    int reportsSent = 0;
    TfrmProblemsWithUpdater window{&owner, values, [this] { ++reportsSent; }};
};

TEST_F(TfrmProblemsWithUpdaterTest, Layout) {
    EXPECT_TRUE(window.isHidden());
    EXPECT_EQ(window.windowTitle().toStdString(), "Automatic Updater Error");
    EXPECT_EQ(window.size(), QSize(378, 249));
    EXPECT_EQ(window.memDisplay->geometry(), QRect(0, 0, 369, 113));
    EXPECT_TRUE(window.memDisplay->isReadOnly());
    EXPECT_EQ(window.cbDisableAutomaticUpdateErrorDisplay->text().toStdString(),
              "Disable Automatic Update Errors From Being Displayed");
    EXPECT_FALSE(window.cbDisableAutomaticUpdateErrorDisplay->isChecked());
    EXPECT_EQ(window.Button1->text().toStdString(),
              "Send This Error To the Developers (Recomended)");
    EXPECT_EQ(window.btnOk->text().toStdString(),
              "Download New Patch (If problem persists this may be necessary)");
    EXPECT_EQ(window.btnOk->toolTip().toStdString(), "Press Ok to Download the latest Patch");
    EXPECT_EQ(window.btnCancel->text().toStdString(),
              "Just Ignore This I want To see If I can Still Play the Game");
    EXPECT_EQ(window.btnCancel->toolTip().toStdString(),
              "Press Cancel to Play the game without downloading a new patch.");
    EXPECT_EQ(window.btnOk->geometry(), QRect(24, 176, 329, 25));
    EXPECT_EQ(window.btnCancel->geometry(), QRect(24, 208, 329, 25));
}

TEST_F(TfrmProblemsWithUpdaterTest, ButtonsAndCloseBoxGiveTheirResults) {
    const Lines lines = {"first", "second"};
    EXPECT_EQ(Show(lines, [this] { window.btnOk->click(); }), ModalResult::OK);
    EXPECT_EQ(Show(lines, [this] { window.btnCancel->click(); }), ModalResult::Cancel);
    EXPECT_EQ(Show(lines, [this] { window.close(); }), ModalResult::Cancel);
    EXPECT_EQ(test::MemoLines(*window.memDisplay), lines);
}

TEST_F(TfrmProblemsWithUpdaterTest, EachShowingReplacesTheText) {
    Show({"old one", "old two", "old three"}, [this] { window.btnCancel->click(); });
    Show({"new"}, [this] { window.btnCancel->click(); });
    EXPECT_EQ(test::MemoLines(*window.memDisplay), Lines{"new"});
}

TEST_F(TfrmProblemsWithUpdaterTest, CheckBoxWritesTheSwitchAtOnceAndKeepsItsState) {
    Show({"x"}, [this] {
        QTest::mouseClick(window.cbDisableAutomaticUpdateErrorDisplay, Qt::LeftButton, {},
                          QPoint(5, 8));
        EXPECT_EQ(Switch(), "TRUE");
        window.btnCancel->click();
    });
    EXPECT_TRUE(window.cbDisableAutomaticUpdateErrorDisplay->isChecked());
    Show({"x"}, [this] {
        QTest::mouseClick(window.cbDisableAutomaticUpdateErrorDisplay, Qt::LeftButton, {},
                          QPoint(5, 8));
        window.btnCancel->click();
    });
    EXPECT_EQ(Switch(), "FALSE");
}

// qvs.cfg cannot be written (a folder of that name): the error stays inside
// the window, which goes on to its result.
TEST_F(TfrmProblemsWithUpdaterTest, SwitchThatCannotBeWrittenLeavesTheWindowWorking) {
    std::filesystem::create_directory(dir.Path() / "qvs.cfg");
    bool stillOpen = false;
    const ModalResult result = Show({"x"}, [this, &stillOpen] {
        QTest::mouseClick(window.cbDisableAutomaticUpdateErrorDisplay, Qt::LeftButton, {},
                          QPoint(5, 8));
        stillOpen = window.isVisible();
        window.btnCancel->click();
    });
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(result, ModalResult::Cancel);
}

TEST_F(TfrmProblemsWithUpdaterTest, SendReportLeavesTheWindowOpenWithItsText) {
    bool stillOpen = false;
    Show({"why"}, [this, &stillOpen] {
        window.Button1->click();
        stillOpen = window.isVisible();
        window.btnCancel->click();
    });
    EXPECT_EQ(reportsSent, 1);
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(test::MemoLines(*window.memDisplay), Lines{"why"});
}

} // namespace
} // namespace qvs
