#include "windows/TfrmProblemsWithUpdater.h"

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
    const auto show = [&window](std::vector<std::string> lines, std::function<void()> action) {
        return test::RunModal(window, action, [&] { return window.ShowModal(lines); });
    };
    const auto tick = [&window] {
        QTest::mouseClick(window.cbDisableAutomaticUpdateErrorDisplay, Qt::LeftButton, {},
                          QPoint(5, 8));
    };
    bool open = false;
    EXPECT_EQ(show({"old one", "old two"},
                   [&] {
                       window.Button1->click();
                       open = window.isVisible();
                       tick();
                       window.btnOk->click();
                   }),
              ModalResult::OK);
    EXPECT_EQ(reportsSent, 1);
    EXPECT_TRUE(open);
    EXPECT_EQ(values.Config->ReadValue("OPTIONS", "DISABLE_ERROR_DISPLAY", ""), "TRUE");
    EXPECT_EQ(show({"first", "second"},
                   [&] {
                       tick();
                       window.btnCancel->click();
                   }),
              ModalResult::Cancel);
    EXPECT_EQ(window.memDisplay->toPlainText().toStdString(), "first\nsecond");
    EXPECT_EQ(values.Config->ReadValue("OPTIONS", "DISABLE_ERROR_DISPLAY", ""), "FALSE");
    std::filesystem::remove(dir.Path() / "qvs.cfg");
    std::filesystem::create_directory(dir.Path() / "qvs.cfg");
    EXPECT_EQ(show({"x"},
                   [&] {
                       tick();
                       open = window.isVisible();
                       window.close();
                   }),
              ModalResult::Cancel);
    EXPECT_TRUE(open);
}

} // namespace
} // namespace qvs
