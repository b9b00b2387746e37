#include "windows/TfrmProblems.h"

#include "BuildSettings.h"
#include "ModalRun.h"
#include "support/RawFile.h"
#include "support/RecordingPrompts.h"
#include "support/RecordingShell.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

#include <filesystem>
#include <string>
#include <vector>

namespace qvs {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

// Records, with each message, whether the window was still open then.
class WatchingPrompts : public test::RecordingPrompts {
public:
    void ShowMessage(const std::string& text) override {
        openWhenShown.push_back(window != nullptr && window->isVisible());
        RecordingPrompts::ShowMessage(text);
    }
    QWidget* window = nullptr;
    std::vector<bool> openWhenShown;
};

class TfrmProblemsTest : public ::testing::Test {
protected:
    TfrmProblemsTest() { prompts.window = &window; }

    template <typename T = QWidget> T* Find(const char* name) {
        auto* control = window.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(control, nullptr) << name;
        return control;
    }
    QTabWidget* Pages() { return Find<QTabWidget>("PageControl1"); }
    // Brings the button's tab to the front and clicks it as the player would.
    ModalResult ShowAndClick(const char* button) {
        return test::RunModal(
            window,
            [this, button] {
                QPushButton* target = Find<QPushButton>(button);
                Pages()->setCurrentWidget(target->parentWidget());
                QTest::mouseClick(target, Qt::LeftButton);
            },
            [this] { return window.ShowModal(); });
    }
    ModalResult ShowAndClose() {
        return test::RunModal(
            window, [this] { window.close(); }, [this] { return window.ShowModal(); });
    }
    std::string WriteScript(const std::string& body) {
        const fs::path path = dir.Path() / "java-stand-in.sh";
        test::WriteRawFile(path, "#!/bin/sh\n" + body);
        fs::permissions(path, fs::perms::owner_all);
        return path.string();
    }

    test::TempDir dir;
    test::RecordingShell shell;
    WatchingPrompts prompts;
    QWidget owner;
    TfrmProblems window{&owner, dir.Str(), shell, &prompts};
};

TEST_F(TfrmProblemsTest, IsHiddenFixedAndOnTop) {
    EXPECT_TRUE(window.isHidden());
    EXPECT_EQ(window.windowTitle().toStdString(), "Quorvash Problems");
    EXPECT_EQ(window.size(), QSize(641, 388));
    EXPECT_EQ(window.minimumSize(), window.maximumSize());
    EXPECT_TRUE(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(window.windowFlags().testFlag(Qt::WindowCloseButtonHint));
    EXPECT_FALSE(window.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_EQ(Pages()->geometry(), QRect(0, 0, 641, 388));
}

TEST_F(TfrmProblemsTest, TabsInOrder) {
    const std::pair<const char*, const char*> tabs[] = {
        {"tsIntro", "Intro"},
        {"tsJavaVersion", "Step 1 (Java)"},
        {"tsQVSC", "Step 2 (QVSC.ecd)"},
        {"tsQVS", "Step 3 (QVS.dat)"},
        {"tsPatchRedownload", "Step 4 (Patch)"},
        {"tsFAQ", "Step 5 (Trouble Shooting)"},
        {"tsBugReport", "Step 6 (Bug Report)"},
    };
    ASSERT_EQ(Pages()->count(), 7);
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(Pages()->widget(i)->objectName().toStdString(), tabs[i].first);
        EXPECT_EQ(Pages()->tabText(i).toStdString(), tabs[i].second);
    }
    EXPECT_EQ(Pages()->currentIndex(), 0);
}

// With the bundled fonts all seven tabs are in view at once: no scroll
// arrows, the last tab's right edge inside the window.
TEST_F(TfrmProblemsTest, AllTabsFitWithoutScrolling) {
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QTabBar* bar = Pages()->tabBar();
    const QRect last = bar->tabRect(6);
    EXPECT_LE(bar->mapTo(&window, last.topRight()).x(), window.width()) << last.right();
    for (const QToolButton* arrow : bar->findChildren<QToolButton*>()) {
        EXPECT_FALSE(arrow->isVisible());
    }
    window.hide();
}

struct ControlRow {
    const char* name;
    const char* tab;
    QRect bounds;
    const char* caption; // buttons only
};

const ControlRow Controls[] = {
    {"Memo1", "tsIntro", {0, 40, 609, 209}, nullptr},
    {"btnDetermineJavaVersion", "tsJavaVersion", {384, 4, 97, 25}, "Determine Now"},
    {"memJavaVersion", "tsJavaVersion", {0, 32, 592, 81}, nullptr},
    {"Memo3", "tsJavaVersion", {0, 144, 592, 177}, nullptr},
    {"btnEnglishAutomatic", "tsJavaVersion", {115, 324, 154, 25}, "Get Java English (Automatic)"},
    {"btnNonEnglish", "tsJavaVersion", {323, 324, 154, 25}, "Get Non-English Java"},
    {"Memo2", "tsQVSC", {0, 32, 592, 89}, nullptr},
    {"btnDeleteQVSC_ECD", "tsQVSC", {239, 132, 113, 25}, "Delete QVSC.ecd"},
    {"Memo4", "tsQVS", {0, 32, 592, 113}, nullptr},
    {"btnDeleteQVS_dat", "tsQVS", {239, 156, 113, 25}, "Delete QVS.dat"},
    {"Memo5", "tsPatchRedownload", {0, 32, 592, 89}, nullptr},
    {"btnPatchDownload", "tsPatchRedownload", {216, 128, 161, 25}, "Look for Patch or Redownload"},
    {"Memo6", "tsFAQ", {0, 32, 592, 121}, nullptr},
    {"btnTroubleShooting", "tsFAQ", {235, 160, 121, 25}, "Trouble Shooting"},
    {"Memo7", "tsBugReport", {0, 32, 592, 97}, nullptr},
    {"btnSubmitBugReport", "tsBugReport", {235, 136, 121, 25}, "Submit Bug Report"},
};

TEST_F(TfrmProblemsTest, ControlsSitOnTheirTabs) {
    for (const ControlRow& row : Controls) {
        QWidget* control = Find(row.name);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(control->parentWidget()->objectName().toStdString(), row.tab) << row.name;
        EXPECT_EQ(control->geometry(), row.bounds) << row.name;
        if (row.caption != nullptr) {
            EXPECT_EQ(static_cast<QPushButton*>(control)->text().toStdString(), row.caption);
        }
    }
}

TEST_F(TfrmProblemsTest, MemosAreReadOnlyAndOnlyJavaMemosScroll) {
    for (QPlainTextEdit* memo : window.findChildren<QPlainTextEdit*>()) {
        const std::string name = memo->objectName().toStdString();
        EXPECT_TRUE(memo->isReadOnly()) << name;
        EXPECT_EQ(memo->lineWrapMode(), QPlainTextEdit::WidgetWidth) << name;
        EXPECT_EQ(memo->palette().color(QPalette::Base), memo->palette().color(QPalette::Button))
            << name;
        const bool scrolls = name == "memJavaVersion" || name == "Memo3";
        EXPECT_EQ(memo->verticalScrollBarPolicy(),
                  scrolls ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff)
            << name;
    }
    EXPECT_TRUE(Find<QPlainTextEdit>("memJavaVersion")->toPlainText().isEmpty());
    EXPECT_TRUE(Find<QPlainTextEdit>("Memo3")->toPlainText().isEmpty());
}

TEST_F(TfrmProblemsTest, HeadingsAreBoldItalic) {
    const std::pair<const char*, const char*> headings[] = {
        {"Label1", "Step 2: Delete QVSC.ecd"},
        {"Label2", "Step 1.A  Determine your current Java Version"},
        {"Label3", "Step 1.B  Download Latest Version if the above is not 1.4.2 or greater"},
        {"Label4", "Step 3: Delete QVS.dat"},
        {"Label5", "Step 4: Check for the latest patches and downloads"},
        {"Label6", "Step 5: Trouble Shooting Communication Problems"},
        {"Label7", "Step 6: Submit a Bug Report"},
    };
    for (const auto& [name, text] : headings) {
        QLabel* label = Find<QLabel>(name);
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->text().toStdString(), text);
        EXPECT_TRUE(label->font().bold() && label->font().italic()) << name;
        EXPECT_EQ(label->font().pixelSize(), 13) << name;
    }
    EXPECT_EQ(Find<QLabel>("Label3")->pos(), QPoint(0, 126));
    EXPECT_EQ(Find<QLabel>("Label2")->pos(), QPoint(8, 8));
}

TEST_F(TfrmProblemsTest, MemoLinesKeepTheirTrailingBlanks) {
    const Lines intro = test::MemoLines(*Find<QPlainTextEdit>("Memo1"));
    ASSERT_EQ(intro.size(), 13u);
    EXPECT_EQ(intro[0].back(), ' ');
    EXPECT_EQ(intro[3], "");
    EXPECT_EQ(
        intro[7],
        std::string(
            "If none of these steps help fix your problem please submit a bug report or send an email to ") +
            build::SupportEmail);
    EXPECT_EQ(
        intro[8],
        std::string("and ") + build::ErrorReportEmail +
            " with your username and a detailed description of the problem that is occuring.");
    EXPECT_EQ(intro[12], " ");

    const Lines step2 = test::MemoLines(*Find<QPlainTextEdit>("Memo2"));
    ASSERT_EQ(step2.size(), 5u);
    EXPECT_EQ(step2[4], "needed to run the program.");
    const Lines step3 = test::MemoLines(*Find<QPlainTextEdit>("Memo4"));
    ASSERT_EQ(step3.size(), 7u);
    EXPECT_EQ(step3[6], " ");
    const Lines step4 = test::MemoLines(*Find<QPlainTextEdit>("Memo5"));
    ASSERT_EQ(step4.size(), 5u);
    EXPECT_EQ(step4[2].substr(step4[2].size() - 3), ".  ");
    EXPECT_EQ(step4[3], "");
    EXPECT_EQ(test::MemoLines(*Find<QPlainTextEdit>("Memo6")).size(), 7u);
    EXPECT_EQ(test::MemoLines(*Find<QPlainTextEdit>("Memo7")).size(), 6u);
}

struct ButtonCase {
    const char* button;
    ModalResult result;
    std::string url;
};

class ProblemsButtonTest : public TfrmProblemsTest,
                           public ::testing::WithParamInterface<ButtonCase> {};

TEST_P(ProblemsButtonTest, ClosesWithItsResultAfterOpeningItsPage) {
    EXPECT_EQ(ShowAndClick(GetParam().button), GetParam().result);
    EXPECT_TRUE(window.isHidden());
    EXPECT_EQ(shell.urls, Lines{GetParam().url});
    EXPECT_TRUE(prompts.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(
    WebPages, ProblemsButtonTest,
    ::testing::Values(ButtonCase{"btnEnglishAutomatic", ModalResult::OK,
                                 std::string(build::JavaSite) +
                                     "/en/download/windows_automatic.jsp"},
                      ButtonCase{"btnNonEnglish", ModalResult::OK, build::JavaSite},
                      ButtonCase{"btnPatchDownload", ModalResult::OK,
                                 std::string(build::GameWebSite) + "/download.html"},
                      ButtonCase{"btnTroubleShooting", ModalResult::Cancel,
                                 std::string(build::GameWebSite) + "/troubleshooting.html"},
                      ButtonCase{"btnSubmitBugReport", ModalResult::Cancel,
                                 std::string(build::GameWebSite) + "/bugs.html"}));

TEST_F(TfrmProblemsTest, CloseBoxGivesCancel) {
    EXPECT_EQ(ShowAndClose(), ModalResult::Cancel);
    EXPECT_TRUE(shell.urls.empty());
}

TEST_F(TfrmProblemsTest, DeleteClientCodeRemovesBothFilesAndReportsBeforeClosing) {
    test::WriteRawFile(dir.Path() / "qvsc.ecd", "code");
    test::WriteRawFile(dir.Path() / "qvsc.dat", "\x05\0\0\0");
    test::WriteRawFile(dir.Path() / "qvs.dat", "\x07\0\0\0");
    EXPECT_EQ(ShowAndClick("btnDeleteQVSC_ECD"), ModalResult::OK);
    EXPECT_FALSE(fs::exists(dir.Path() / "qvsc.ecd"));
    EXPECT_FALSE(fs::exists(dir.Path() / "qvsc.dat"));
    EXPECT_TRUE(fs::exists(dir.Path() / "qvs.dat"));
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(
        prompts.messages[0],
        "Successfully deleted " + dir.Str() +
            "QVSC.ecd.  Restart Quorvash and press the 'Play Button' To see if that fixed your problem.");
    EXPECT_EQ(prompts.openWhenShown, std::vector<bool>{true});
}

TEST_F(TfrmProblemsTest, MissingClientCodeStillClosesWithOk) {
    test::WriteRawFile(dir.Path() / "QVSC.DAT", "\x05\0\0\0");
    EXPECT_EQ(ShowAndClick("btnDeleteQVSC_ECD"), ModalResult::OK);
    EXPECT_FALSE(fs::exists(dir.Path() / "QVSC.DAT"));
    EXPECT_EQ(prompts.messages,
              Lines{"Could not delete " + dir.Str() + "QVSC.ecd : the file did not exist"});
}

TEST_F(TfrmProblemsTest, DeleteDataVersionRemovesOnlyThatFile) {
    test::WriteRawFile(dir.Path() / "qvs.dat", "\x07\0\0\0");
    test::WriteRawFile(dir.Path() / "qvsc.dat", "\x05\0\0\0");
    EXPECT_EQ(ShowAndClick("btnDeleteQVS_dat"), ModalResult::OK);
    EXPECT_FALSE(fs::exists(dir.Path() / "qvs.dat"));
    EXPECT_TRUE(fs::exists(dir.Path() / "qvsc.dat"));
    EXPECT_EQ(prompts.openWhenShown, std::vector<bool>{true});
}

#ifndef _WIN32
TEST_F(TfrmProblemsTest, DetermineNowShowsTheOutputAndKeepsTheWindowOpen) {
    window.SetJavaVersionCommandLine(
        WriteScript("echo 'java version \"1.4.2_19\"'\necho 'Client VM' >&2\n"));
    bool stillOpen = false;
    const ModalResult result = test::RunModal(
        window,
        [this, &stillOpen] {
            QPushButton* button = Find<QPushButton>("btnDetermineJavaVersion");
            Pages()->setCurrentWidget(button->parentWidget());
            QTest::mouseClick(button, Qt::LeftButton);
            QTest::mouseClick(button, Qt::LeftButton); // replaces, does not append
            stillOpen = window.isVisible();
            window.close();
        },
        [this] { return window.ShowModal(); });
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(result, ModalResult::Cancel);
    EXPECT_EQ(test::MemoLines(*Find<QPlainTextEdit>("memJavaVersion")),
              (Lines{"java version \"1.4.2_19\"", "Client VM"}));
    EXPECT_TRUE(shell.urls.empty());
}

TEST_F(TfrmProblemsTest, JavaThatCannotRunEmptiesTheMemo) {
    const auto pressDetermineNow = [this] {
        test::RunModal(
            window,
            [this] {
                Pages()->setCurrentIndex(1);
                QTest::mouseClick(Find<QPushButton>("btnDetermineJavaVersion"), Qt::LeftButton);
                window.close();
            },
            [this] { return window.ShowModal(); });
    };
    window.SetJavaVersionCommandLine(WriteScript("echo old\n"));
    pressDetermineNow();
    ASSERT_EQ(test::MemoLines(*Find<QPlainTextEdit>("memJavaVersion")), Lines{"old"});
    window.SetJavaVersionCommandLine((dir.Path() / "no-such-java").string());
    pressDetermineNow();
    EXPECT_TRUE(Find<QPlainTextEdit>("memJavaVersion")->toPlainText().isEmpty());
    EXPECT_EQ(prompts.messages, Lines{"Error executing command line"});
}
#endif

TEST_F(TfrmProblemsTest, SelectedTabAndJavaTextPersistBetweenOpenings) {
    EXPECT_EQ(ShowAndClick("btnTroubleShooting"), ModalResult::Cancel);
    EXPECT_EQ(Pages()->currentWidget()->objectName().toStdString(), "tsFAQ");
    int shownTab = -1;
    test::RunModal(
        window,
        [this, &shownTab] {
            shownTab = Pages()->currentIndex();
            window.close();
        },
        [this] { return window.ShowModal(); });
    EXPECT_EQ(shownTab, 5);
}

} // namespace
} // namespace qvs
