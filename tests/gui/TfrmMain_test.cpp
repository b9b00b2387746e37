#include "launcher/gui/TfrmMain.h"

#include "BuildSettings.h"

#include "launcher/gui/TImage.h"
#include "launcher/gui/TLabel.h"
#include "support/QtTestApplication.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFontInfo>
#include <QTest>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace qvs {
namespace {

[[maybe_unused]] ::testing::Environment* const QtEnvironment =
    ::testing::AddGlobalTestEnvironment(new test::QtTestApplication);

struct Recorder : IShell, IPrompts {
    std::vector<std::string> log;
    void OpenUrl(const std::string& url) override { log.push_back("open " + url); }
    void OpenFile(const std::string& path, const std::string&) override {
        log.push_back("file " + path);
    }
    void StartProgram(const ProgramStart& start) override {
        log.push_back("start " + start.program);
    }
    void ShowMessage(const std::string& text) override { log.push_back("message " + text); }
    bool AskYesNo(const std::string&) override { return false; }
};

class TfrmMainTest : public ::testing::Test {
protected:
    QWidget* Control(const char* name) {
        auto* control = window.findChild<QWidget*>(QString::fromLatin1(name));
        EXPECT_NE(control, nullptr) << name;
        return control;
    }
    void ShowWindow() {
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
    // Moves the pointer to a point of the window, as the user would.
    void MoveTo(QPoint at) {
        QTest::mouseMove(&window, at);
        QApplication::processEvents();
    }
    std::vector<std::string> VisibleHighlights() {
        std::vector<std::string> names;
        for (TImage* image : window.HighlightImages) {
            if (!image->isHidden()) {
                names.push_back(image->objectName().toStdString());
            }
        }
        return names;
    }
    std::vector<std::string> HelpTexts() {
        std::vector<std::string> texts;
        for (const char* name : {"lblHelp1", "lblHelp2", "lblHelp3", "lblHelp4"}) {
            texts.push_back(static_cast<QLabel*>(Control(name))->text().toStdString());
        }
        return texts;
    }

    ProcessValues values{"install/"};
    Recorder recorder;
    TfrmMain window{values, recorder, recorder};
};

struct LayoutRow {
    const char* name;
    QRect bounds; // width and height 0: the label sizes itself to its caption
    bool visible;
};

// Bottom to top, as the controls are stacked.
const LayoutRow Layout[] = {
    {"imgBackground", {0, 0, 600, 450}, true},
    {"img_moViewWebsite", {10, 118, 127, 32}, false},
    {"img_moPlayGame", {63, 403, 185, 47}, false},
    {"btnViewWebsite", {16, 118, 121, 27}, true},
    {"btnPlayGame", {63, 408, 185, 42}, true},
    {"lblGameServerOffline", {73, 374, 0, 0}, false},
    {"lblPeopleOnline", {497, 70, 0, 0}, false},
    {"lblPeopleOnlineDisp", {353, 70, 0, 0}, false},
    {"lblForgot1", {481, 350, 0, 0}, false},
    {"lblForgot2", {481, 366, 0, 0}, false},
    {"lblForgot3", {481, 382, 0, 0}, false},
    {"img_moExit", {501, 412, 94, 32}, false},
    {"btnExit", {501, 412, 94, 32}, true},
    {"img_moLiveChat", {10, 22, 221, 32}, true},
    {"img_moAccountSignup", {10, 54, 187, 32}, true},
    {"img_moRegisterAccount", {10, 86, 152, 32}, true},
    {"img_moGameForum", {10, 150, 105, 32}, true},
    {"img_moProblems", {10, 182, 89, 32}, true},
    {"img_moClans", {10, 214, 75, 29}, true},
    {"btnLiveChat", {96, 22, 135, 27}, true},
    {"btnAccountSignup", {18, 55, 177, 27}, true},
    {"btnRegisterAccount", {18, 87, 143, 27}, true},
    {"btnGameForum", {12, 151, 103, 27}, true},
    {"btnProblems", {17, 183, 81, 27}, true},
    {"btnClans", {31, 215, 57, 27}, true},
    {"imgStatus", {160, 146, 410, 135}, false},
    {"imgDownloadBarBg", {215, 256, 300, 22}, false},
    {"lblDownloadingUpdate", {170, 153, 0, 0}, false},
    {"lblCurrentUpdate", {202, 175, 0, 0}, false},
    {"lblOf", {226, 175, 0, 0}, false},
    {"lblNumUpdates", {250, 175, 0, 0}, false},
    {"lblHelp1", {168, 186, 393, 18}, true},
    {"lblHelp2", {168, 202, 393, 18}, false},
    {"lblHelp3", {168, 218, 393, 18}, false},
    {"lblHelp4", {168, 234, 393, 18}, false},
    {"imgDownloadBar", {215, 256, 15, 22}, false},
    {"lblPercentFinished", {168, 259, 393, 18}, false},
    {"mpClick", {248, 416, 253, 30}, false},
};

TEST_F(TfrmMainTest, EveryControlHasItsPlaceSizeAndVisibility) {
    for (const LayoutRow& row : Layout) {
        QWidget* control = Control(row.name);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(control->pos(), row.bounds.topLeft()) << row.name;
        if (row.bounds.width() > 0) {
            EXPECT_EQ(control->size(), row.bounds.size()) << row.name;
        } else {
            EXPECT_GT(control->width(), 0) << row.name;
            EXPECT_GT(control->height(), 0) << row.name;
        }
        EXPECT_EQ(!control->isHidden(), row.visible) << row.name;
    }
}

TEST_F(TfrmMainTest, ControlsAreStackedInLayoutOrder) {
    std::vector<std::string> stacked;
    for (QObject* child : window.children()) {
        // The secondary windows it owns are windows of their own, not controls.
        if (child->isWidgetType() && !static_cast<QWidget*>(child)->isWindow() &&
            !child->objectName().isEmpty()) {
            stacked.push_back(child->objectName().toStdString());
        }
    }
    std::vector<std::string> expected;
    for (const LayoutRow& row : Layout) {
        expected.emplace_back(row.name);
    }
    EXPECT_EQ(stacked, expected);
}

TEST_F(TfrmMainTest, WindowIsBorderless600By450WithTheIcon) {
    EXPECT_TRUE(window.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_EQ(window.size(), QSize(600, 450));
    EXPECT_TRUE(window.windowIcon().availableSizes().contains(QSize(16, 16)));
    // Drawn, not blank: the ring's gold and the sky's dark blue.
    const QImage image = window.windowIcon().pixmap(256).toImage();
    EXPECT_GT(image.pixelColor(128, 10).red(), 150);
    EXPECT_LT(image.pixelColor(128, 40).red(), 100);
}

TEST_F(TfrmMainTest, PicturesAreDecodedAtTheirControlSize) {
    for (const char* name :
         {"imgBackground", "img_moLiveChat", "img_moAccountSignup", "img_moRegisterAccount",
          "img_moViewWebsite", "img_moGameForum", "img_moProblems", "img_moClans", "img_moPlayGame",
          "img_moExit", "imgStatus", "imgDownloadBarBg", "imgDownloadBar"}) {
        auto* image = static_cast<TImage*>(Control(name));
        ASSERT_FALSE(image->Picture().isNull()) << name;
        EXPECT_EQ(image->Picture().size(), image->size()) << name;
    }
    // Click areas have no picture of their own.
    EXPECT_TRUE(static_cast<TImage*>(Control("btnLiveChat"))->Picture().isNull());
}

struct FontRow {
    const char* name;
    const char* family;
    int pixelSize;
    bool bold;
    bool italic;
    QColor colour;
    const char* caption;
};

TEST_F(TfrmMainTest, LabelsHaveTheirFontColourAndCaption) {
    const QColor lime(0, 255, 0);
    const QColor white(255, 255, 255);
    const FontRow rows[] = {
        {"lblGameServerOffline", "Liberation Serif", 21, true, true, lime, "Game Server Offline "},
        {"lblPeopleOnline", "Liberation Serif", 21, true, true, lime, "0 "},
        {"lblPeopleOnlineDisp", "Liberation Serif", 21, true, true, lime, "People Online "},
        {"lblForgot1", "Liberation Serif", 13, true, true, lime, "Forget Login Name,"},
        {"lblForgot2", "Liberation Serif", 13, true, true, lime, "Authorization Code"},
        {"lblForgot3", "Liberation Serif", 13, true, true, lime, "or Password?"},
        {"lblDownloadingUpdate", "Liberation Sans", 20, true, false, QColor(255, 0, 0),
         "Downloading Update "},
        {"lblCurrentUpdate", "Liberation Sans", 13, false, false, white, "1"},
        {"lblOf", "Liberation Sans", 13, false, false, white, "of"},
        {"lblNumUpdates", "Liberation Sans", 13, false, false, white, "1"},
        {"lblHelp1", "Liberation Serif", 15, false, false, white, ""},
        {"lblHelp4", "Liberation Serif", 15, false, false, white, ""},
        {"lblPercentFinished", "Liberation Serif", 12, false, false, white, "10%"},
    };
    for (const FontRow& row : rows) {
        auto* label = static_cast<QLabel*>(Control(row.name));
        const QFontInfo info(label->font());
        EXPECT_EQ(info.family(), QString::fromLatin1(row.family)) << row.name;
        EXPECT_EQ(label->font().pixelSize(), row.pixelSize) << row.name;
        EXPECT_EQ(label->font().bold(), row.bold) << row.name;
        EXPECT_EQ(label->font().italic(), row.italic) << row.name;
        EXPECT_EQ(label->palette().color(QPalette::WindowText), row.colour) << row.name;
        EXPECT_EQ(label->text().toStdString(), row.caption) << row.name;
    }
}

TEST_F(TfrmMainTest, HoveringShowsHighlightAndHelpLines) {
    ShowWindow();
    MoveTo({300, 350}); // background: the six start highlights go
    EXPECT_TRUE(VisibleHighlights().empty());
    EXPECT_TRUE(Control("imgStatus")->isHidden());

    MoveTo({150, 35}); // Live Chat
    EXPECT_EQ(VisibleHighlights(), std::vector<std::string>{"img_moLiveChat"});
    EXPECT_FALSE(Control("imgStatus")->isHidden());
    EXPECT_EQ(HelpTexts(), (std::vector<std::string>{
                               "Provides the ability to chat with other players and receive help",
                               "from a live representive if any of them are online.",
                               "Please click the 'Problems' button first to see if any of those",
                               "steps help fix your problem first."}));
    for (const char* name : {"lblHelp1", "lblHelp2", "lblHelp3", "lblHelp4"}) {
        EXPECT_FALSE(Control(name)->isHidden()) << name;
    }
    EXPECT_EQ(window.cursor().shape(), Qt::PointingHandCursor);

    MoveTo({20, 35}); // the part of the Live Chat picture outside its hot area
    EXPECT_TRUE(VisibleHighlights().empty());
    EXPECT_TRUE(Control("lblHelp1")->isHidden());
    EXPECT_EQ(window.cursor().shape(), Qt::ArrowCursor);
}

// Captions that grow after the first one ("13 of 13" after "1 of 1", many
// people online) are shown whole.
TEST_F(TfrmMainTest, LabelsThatChangeTheirCaptionAreNeverClipped) {
    window.BeginUpdateDisplay(13, "Downloading latest client artwork, sound, etc", "host");
    window.SetCurrentUpdate(12);
    window.ShowPeopleOnline(123456);
    for (const char* name : {"lblCurrentUpdate", "lblNumUpdates", "lblPeopleOnline"}) {
        const auto* label = static_cast<QLabel*>(Control(name));
        EXPECT_GE(label->width(), label->fontMetrics().horizontalAdvance(label->text())) << name;
    }
}

TEST_F(TfrmMainTest, PlayGameBeforeTheServerAnsweredSaysItIsDisabled) {
    ShowWindow();
    MoveTo({150, 430});
    EXPECT_EQ(VisibleHighlights(), std::vector<std::string>{"img_moPlayGame"});
    EXPECT_EQ(HelpTexts(),
              (std::vector<std::string>{"The 'Play Game' button has been disabled. ",
                                        "Try again later when the Server is Online. ", "", ""}));
}

TEST_F(TfrmMainTest, ExitHighlightFollowsThePointer) {
    ShowWindow();
    MoveTo({300, 350});
    MoveTo({540, 428});
    EXPECT_FALSE(Control("img_moExit")->isHidden());
    EXPECT_EQ(HelpTexts()[1], "Exits Quorvash.");
}

TEST_F(TfrmMainTest, LinkClickOpensThePage) {
    ShowWindow();
    QTest::mouseClick(Control("btnAccountSignup"), Qt::LeftButton);
    QTest::mouseClick(Control("img_moClans"), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(recorder.log,
              (std::vector<std::string>{
                  "open " + std::string(build::GameWebSite) + "/newaccount.html",
                  "open " + std::string(build::GameWebSite) + "/clanmanagement.html"}));
}

TEST_F(TfrmMainTest, PlayGamePictureIsNoButton) {
    ShowWindow();
    MoveTo({150, 430});
    QTest::mouseClick(Control("img_moPlayGame"), Qt::LeftButton, {}, QPoint(90, 2));
    EXPECT_TRUE(recorder.log.empty());
}

TEST_F(TfrmMainTest, TimersHaveTheirIntervalsAndWaitForStartUp) {
    EXPECT_EQ(window.timer.interval(), 1);
    EXPECT_EQ(window.tmrGameServerOffline.interval(), 500);
    EXPECT_EQ(window.tmrPingGameServerOnline.interval(), 1);
    EXPECT_EQ(window.tmrGaverServerOfflineTooLong.interval(), 30000);
    for (const QTimer* timer :
         {&window.timer, &window.tmrGameServerOffline, &window.tmrPingGameServerOnline,
          &window.tmrGaverServerOfflineTooLong}) {
        EXPECT_FALSE(timer->isActive());
    }
}

TEST(TfrmMainStartUpTest, StartUpWithoutSoundFileWorksSilently) {
    test::TempDir dir;
    ProcessValues values(dir.Str());
    Recorder recorder;
    TfrmMain window(values, recorder, recorder);
    window.RunStartUp();
    window.PlayClickSound(); // no "sounds" directory: nothing happens
    EXPECT_TRUE(std::filesystem::exists(dir.Path() / "qvs.dat"));
    EXPECT_TRUE(std::filesystem::is_directory(dir.Path() / "Log"));
    EXPECT_NE(values.Config, nullptr);
    EXPECT_FALSE(window.timer.isActive());
    EXPECT_TRUE(window.tmrGameServerOffline.isActive());
    EXPECT_TRUE(window.tmrGaverServerOfflineTooLong.isActive());
    // The one-shot status timer stops itself once the event loop runs it.
    for (int i = 0; i < 250 && window.tmrPingGameServerOnline.isActive(); ++i) {
        QTest::qWait(20);
    }
    EXPECT_FALSE(window.tmrPingGameServerOnline.isActive());
}

} // namespace
} // namespace qvs
