#include "ui/qt/TfrmProblems.h"

#include "BuildSettings.h"
#include "WindowTestSupport.h"
#include "support/RawFile.h"
#include "support/RecordingPrompts.h"
#include "support/RecordingShell.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

#include <algorithm>
#include <filesystem>
#include <numeric>
#include <string>
#include <tuple>

namespace qvs {
namespace {

namespace fs = std::filesystem;

// Each button closes the (reused) window with its result after opening its
// page or deleting its files (and saying so); Determine Now shows Java's
// output and errors and leaves the window open (for its close box). With the
// bundled fonts all seven tabs are in view at once: no scroll arrows, the last
// tab's right edge inside the window.
TEST(TfrmProblemsTest, ButtonsDoTheirWorkAndAllTabsFit) {
    const std::string site = build::GameWebSite;
    const char* const files[] = {"qvsc.ecd", "qvsc.dat", "qvs.dat"};
    const std::tuple<const char*, ModalResult, std::string> buttons[] = {
#ifndef _WIN32
        {"btnDetermineJavaVersion", ModalResult::Cancel, "open: java version \"1.4.2_19\"\nVM"},
#endif
        {"btnEnglishAutomatic", ModalResult::OK,
         std::string(build::JavaSite) + "/en/download/windows_automatic.jsp"},
        {"btnNonEnglish", ModalResult::OK, build::JavaSite},
        {"btnDeleteQVSC_ECD", ModalResult::OK, " qvsc.ecd qvsc.dat"},
        {"btnDeleteQVS_dat", ModalResult::OK, " qvs.dat"},
        {"btnPatchDownload", ModalResult::OK, site + "/download.html"},
        {"btnTroubleShooting", ModalResult::Cancel, site + "/troubleshooting.html"},
        {"btnSubmitBugReport", ModalResult::Cancel, site + "/bugs.html"},
    };
    test::TempDir dir;
    test::RecordingShell shell;
    test::RecordingPrompts prompts;
    QWidget owner;
    TfrmProblems window{&owner, dir.Str(), shell, &prompts};
    const fs::path java = dir.Path() / "java-stand-in.sh";
    test::WriteRawFile(java, "#!/bin/sh\necho 'java version \"1.4.2_19\"'\necho VM >&2\n");
    fs::permissions(java, fs::perms::owner_all);
    window.SetJavaVersionCommandLine(java.string());
    const auto* memo = window.findChild<QPlainTextEdit*>(QStringLiteral("memJavaVersion"));
    for (const auto& [name, result, expected] : buttons) {
        std::string effect;
        shell.urls.clear();
        prompts.messages.clear();
        for (const char* file : files) {
            test::WriteRawFile(dir.Path() / file, "data");
        }
        auto* button = window.findChild<QPushButton*>(QString::fromLatin1(name));
        ASSERT_NE(button, nullptr) << name;
        const auto action = [&] {
            // On its tab, clicked as the player would.
            window.findChild<QTabWidget*>()->setCurrentWidget(button->parentWidget());
            QTest::mouseClick(button, Qt::LeftButton);
            if (window.isVisible()) {
                effect = "open: " + memo->toPlainText().toStdString();
                window.close();
            }
        };
        EXPECT_EQ(test::RunModal(window, action), result);
        effect = std::accumulate(shell.urls.begin(), shell.urls.end(), effect);
        for (const char* file : files) {
            effect += fs::exists(dir.Path() / file) ? "" : std::string(" ") + file;
        }
        EXPECT_EQ(effect, expected) << name;
        EXPECT_EQ(prompts.messages.size(), effect.starts_with(" ") ? 1u : 0u) << name;
    }

    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    const QTabBar* bar = window.findChild<QTabWidget*>()->tabBar();
    ASSERT_EQ(bar->count(), 7);
    EXPECT_LE(bar->mapTo(&window, bar->tabRect(6).topRight()).x(), window.width());
    EXPECT_TRUE(std::ranges::none_of(bar->findChildren<QToolButton*>(), &QWidget::isVisible));
}

} // namespace
} // namespace qvs
