#include "ui/qt/TfrmProblemsWithUpdater.h"

#include "WindowTestSupport.h"
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

// Each showing replaces the text; sending the report leaves the window open;
// the box writes its switch at once, and a switch that cannot be written (a
// folder named qvs.cfg) leaves the window working.
TEST(TfrmProblemsWithUpdaterTest, ButtonsGiveTheirResultsAndTheBoxWritesItsSwitch) {
    test::TempDir dir;
    ProcessValues values(dir.Str());
    values.Config = std::make_unique<CConfig>(dir.File("qvs.cfg"));
    QWidget owner;
    int reportsSent = 0;
    TfrmProblemsWithUpdater window(&owner, values, [&reportsSent] { ++reportsSent; });
    // Sends the report, ticks the box, then leaves by button (none: the close box).
    const auto sendTickAndLeave = [&window](QPushButton* button) {
        return [&window, button] {
            window.Button1->click();
            QTest::mouseClick(window.cbDisableAutomaticUpdateErrorDisplay, Qt::LeftButton, {},
                              QPoint(5, 8));
            EXPECT_TRUE(window.isVisible());
            button != nullptr ? button->click() : (void)window.close();
        };
    };
    const auto written = [&values] {
        return values.Config->ReadValue("OPTIONS", "DISABLE_ERROR_DISPLAY", "");
    };
    EXPECT_EQ(test::RunModal(window, sendTickAndLeave(window.btnOk), Lines{"old one", "old two"}),
              ModalResult::OK);
    EXPECT_EQ(written(), "TRUE");
    EXPECT_EQ(test::RunModal(window, sendTickAndLeave(window.btnCancel), Lines{"first", "second"}),
              ModalResult::Cancel);
    EXPECT_EQ(window.memDisplay->toPlainText().toStdString(), "first\nsecond");
    EXPECT_EQ(written(), "FALSE");
    std::filesystem::remove(dir.Path() / "qvs.cfg");
    std::filesystem::create_directory(dir.Path() / "qvs.cfg");
    EXPECT_EQ(test::RunModal(window, sendTickAndLeave(nullptr), Lines{"x"}), ModalResult::Cancel);
    EXPECT_EQ(reportsSent, 3);
}

} // namespace
} // namespace qvs
