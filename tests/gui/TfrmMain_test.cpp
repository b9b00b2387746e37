#include "ui/qt/TfrmMain.h"

#include "BuildSettings.h"
#include "support/QtTestApplication.h"
#include "support/RawFile.h"
#include "support/RecordingPrompts.h"
#include "support/RecordingShell.h"
#include "support/TempDir.h"
#include "ui/qt/TImage.h"
#include "ui/qt/TLabel.h"
#include "ui/qt/TfrmSendErrorReport.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace qvs {
namespace {

using Lines = std::vector<std::string>;

[[maybe_unused]] ::testing::Environment* const QtEnvironment =
    ::testing::AddGlobalTestEnvironment(new test::QtTestApplication);

// Mean absolute channel difference between a picture placed at place and the
// background under it: over the picture's outermost ring of pixels, or over
// all inside it.
double Difference(const QImage& picture, const QImage& background, QPoint place, bool ring) {
    const QRect inside = picture.rect().adjusted(1, 1, -1, -1);
    long total = 0;
    long count = 0;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            if (ring != inside.contains(x, y)) {
                const QColor a = picture.pixelColor(x, y);
                const QColor b = background.pixelColor(place + QPoint(x, y));
                total += std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) +
                         std::abs(a.blue() - b.blue());
                count += 3;
            }
        }
    }
    return static_cast<double>(total) / static_cast<double>(count);
}

// The background decodes to its colours. At its control's place a highlight
// continues the background seamlessly at its edges, better than one or two
// pixels off (a misplaced control or a shifted cut shows as a jump in the
// stone), and is clearly lit inside. The pointer brings up highlights, help
// lines and the hand; click areas and the highlights over them open their
// pages. Captions that grow after the first one ("13 of 13" after "1 of 1",
// many people online) are shown whole; the download display closes.
TEST(TfrmMainTest, PicturesPointerAndCaptions) {
    ProcessValues values{"install/"};
    test::RecordingPrompts prompts;
    test::RecordingShell shell;
    TfrmMain window{values, prompts, shell};
    const QImage background = window.imgBackground->Picture().toImage();
    // RGB, top row first: the top of the menu slab is bronze rim (red well
    // above blue), the night sky right of it is blue.
    EXPECT_GT(background.pixelColor(120, 13).red(), background.pixelColor(120, 13).blue() + 30);
    EXPECT_GT(background.pixelColor(260, 100).blue(), background.pixelColor(260, 100).red());
    for (const TImage* highlight : window.HighlightImages) {
        const std::string name = highlight->objectName().toStdString();
        const QImage picture = highlight->Picture().toImage();
        const QPoint place = highlight->pos();
        const double atPlace = Difference(picture, background, place, true);
        EXPECT_LT(atPlace, 5.0) << name;
        for (int shift = 0; shift < 25; ++shift) {
            const QPoint off(shift % 5 - 2, shift / 5 - 2); // up to two pixels either way
            if (!off.isNull() && background.rect().contains(QRect(place + off, picture.size()))) {
                EXPECT_LT(atPlace, Difference(picture, background, place + off, true))
                    << name << " fits better " << off.x() << "," << off.y() << " off its place";
            }
        }
        EXPECT_GT(Difference(picture, background, place, false), 20.0) << name;
    }

    // Moves the pointer as the user would; answers the highlights then shown.
    const auto moveTo = [&window](QPoint at) {
        QTest::mouseMove(&window, at);
        QApplication::processEvents();
        Lines names;
        for (TImage* image : window.HighlightImages) {
            if (!image->isHidden()) {
                names.push_back(image->objectName().toStdString());
            }
        }
        return names;
    };
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_EQ(moveTo({300, 350}), Lines{}); // background: the six start highlights go
    EXPECT_EQ(moveTo({150, 35}), Lines{"img_moLiveChat"});
    EXPECT_EQ(window.lblHelp1->text().toStdString(),
              "Provides the ability to chat with other players and receive help");
    EXPECT_EQ(window.cursor().shape(), Qt::PointingHandCursor);
    // The part of the Live Chat picture outside its hot area.
    EXPECT_EQ(moveTo({20, 35}), Lines{});
    EXPECT_TRUE(window.lblHelp1->isHidden());
    EXPECT_EQ(window.cursor().shape(), Qt::ArrowCursor);
    // Exit follows entering and leaving, not movement.
    EXPECT_EQ(moveTo({540, 428}), Lines{"img_moExit"});
    QTest::mouseClick(window.MenuButtons[TagAccountSignup - 1], Qt::LeftButton);
    QTest::mouseClick(window.HighlightImages[TagClans - 1], Qt::LeftButton, {}, QPoint(5, 5));
    const std::string site = build::GameWebSite;
    EXPECT_EQ(shell.urls, (Lines{site + "/newaccount.html", site + "/clanmanagement.html"}));

    window.BeginUpdateDisplay(13, "Downloading latest client artwork, sound, etc", "host");
    window.SetCurrentUpdate(12);
    window.ShowPeopleOnline(123456);
    for (const TLabel* label :
         {window.lblCurrentUpdate, window.lblNumUpdates, window.lblPeopleOnline}) {
        EXPECT_GE(label->width(), label->fontMetrics().horizontalAdvance(label->text()))
            << label->objectName().toStdString();
    }
    window.EndUpdateDisplay("");
    EXPECT_EQ(window.lblHelp1->text().toStdString(), "Download Complete");
    EXPECT_TRUE(window.lblCurrentUpdate->isHidden() && !window.IsDownloadShown());
}

TEST(TfrmMainStartUpTest, StartUpPreparesTheFilesThenStartsTheServerTimers) {
    test::TempDir dir;
    std::filesystem::create_directory(dir.Path() / "Log");
    test::WriteRawFile(dir.Path() / "Log" / "betaErrorLog.out", "NullPointerException\n");
    ProcessValues values(dir.Str());
    test::RecordingPrompts prompts;
    test::RecordingShell shell;
    TfrmMain window(values, prompts, shell);
    EXPECT_FALSE(window.tmrPingGameServerOnline.isActive()); // not before the start-up
    window.RunStartUp();
    // The error report is read once the start-up has written the configuration.
    const std::string report = window.frmSendErrorReport->ReportText();
    EXPECT_EQ(report.rfind("[EXE_VERSION]\r\n", 0), 0u) << report;
    EXPECT_NE(report.find("\r\n\r\nNullPointerException\r\n\r\n"), std::string::npos) << report;
    EXPECT_FALSE(window.timer.isActive()); // the update pass waits for Play Game
    EXPECT_TRUE(window.tmrGameServerOffline.isActive());
    EXPECT_TRUE(window.tmrGaverServerOfflineTooLong.isActive());
    // The one-shot status timer stops itself once the event loop runs it.
    EXPECT_TRUE(QTest::qWaitFor([&] { return !window.tmrPingGameServerOnline.isActive(); }));
}

} // namespace
} // namespace qvs
