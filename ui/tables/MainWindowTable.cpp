// The main window: one borderless 600 x 450 picture. Click areas lie over
// the menu labels painted on the background; the highlight pictures light
// them up. The status panel holds the help lines and the download display.
#include "launcher/MainMenu.h"
#include "ui/tables/Catalogue.h"

#include <array>

namespace qvs::ui {

namespace {

using enum ControlKind;
using enum PictureId;

constexpr ControlSpec Art(std::string_view name, Rect bounds, PictureId picture, bool visible) {
    return {
        .name = name, .kind = Picture, .bounds = bounds, .picture = picture, .visible = visible};
}

// A menu button's highlight picture carries the button's Tag.
constexpr ControlSpec Highlight(std::string_view name, Rect bounds, PictureId picture, bool visible,
                                int tag) {
    ControlSpec spec = Art(name, bounds, picture, visible);
    spec.tag = tag;
    return spec;
}

constexpr ControlSpec Hot(std::string_view name, Rect bounds, int tag) {
    return {.name = name, .kind = ClickArea, .bounds = bounds, .tag = tag};
}

constexpr ControlSpec Text(std::string_view name, Rect at, std::string_view caption, FontId font,
                           Rgb ink) {
    return {.name = name,
            .kind = Label,
            .bounds = at,
            .caption = caption,
            .font = font,
            .ink = ink,
            .visible = false,
            .autoSize = true};
}

constexpr ControlSpec Line(std::string_view name, int top, std::string_view caption, FontId font,
                           bool visible) {
    return {.name = name,
            .kind = Label,
            .bounds = {168, top, 393, 18},
            .caption = caption,
            .font = font,
            .ink = colour::White,
            .visible = visible,
            .align = Align::Centre};
}

constexpr std::array Controls = {
    Art("imgBackground", {0, 0, 600, 450}, Background, true),
    Highlight("img_moViewWebsite", {10, 118, 127, 32}, HighlightViewWebsite, false, TagViewWebsite),
    Highlight("img_moPlayGame", {63, 403, 185, 47}, HighlightPlayGame, false, TagPlayGame),
    Hot("btnViewWebsite", {16, 118, 121, 27}, TagViewWebsite),
    Hot("btnPlayGame", {63, 408, 185, 42}, TagPlayGame),
    Text("lblGameServerOffline", {73, 374}, "Game Server Offline ", FontId::ServerStatus,
         colour::Lime),
    Text("lblPeopleOnline", {497, 70}, "0 ", FontId::ServerStatus, colour::Lime),
    Text("lblPeopleOnlineDisp", {353, 70}, "People Online ", FontId::ServerStatus, colour::Lime),
    Text("lblForgot1", {481, 350}, "Forget Login Name,", FontId::ForgotLogin, colour::Lime),
    Text("lblForgot2", {481, 366}, "Authorization Code", FontId::ForgotLogin, colour::Lime),
    Text("lblForgot3", {481, 382}, "or Password?", FontId::ForgotLogin, colour::Lime),
    Highlight("img_moExit", {501, 412, 94, 32}, HighlightExit, false, TagExit),
    Hot("btnExit", {501, 412, 94, 32}, TagExit),
    Highlight("img_moLiveChat", {10, 22, 221, 32}, HighlightLiveChat, true, TagLiveChat),
    Highlight("img_moAccountSignup", {10, 54, 187, 32}, HighlightAccountSignup, true,
              TagAccountSignup),
    Highlight("img_moRegisterAccount", {10, 86, 152, 32}, HighlightRegisterAccount, true,
              TagRegisterAccount),
    Highlight("img_moGameForum", {10, 150, 105, 32}, HighlightGameForum, true, TagGameForum),
    Highlight("img_moProblems", {10, 182, 89, 32}, HighlightProblems, true, TagProblems),
    Highlight("img_moClans", {10, 214, 75, 29}, HighlightClans, true, TagClans),
    Hot("btnLiveChat", {96, 22, 135, 27}, TagLiveChat),
    Hot("btnAccountSignup", {18, 55, 177, 27}, TagAccountSignup),
    Hot("btnRegisterAccount", {18, 87, 143, 27}, TagRegisterAccount),
    Hot("btnGameForum", {12, 151, 103, 27}, TagGameForum),
    Hot("btnProblems", {17, 183, 81, 27}, TagProblems),
    Hot("btnClans", {31, 215, 57, 27}, TagClans),
    Art("imgStatus", {160, 146, 410, 135}, Status, false),
    Art("imgDownloadBarBg", {215, 256, 300, 22}, DownloadBarBg, false),
    Text("lblDownloadingUpdate", {170, 153}, "Downloading Update ", FontId::DownloadingUpdate,
         colour::Red),
    Text("lblCurrentUpdate", {202, 175}, "1", FontId::Counter, colour::White),
    Text("lblOf", {226, 175}, "of", FontId::Counter, colour::White),
    Text("lblNumUpdates", {250, 175}, "1", FontId::Counter, colour::White),
    Line("lblHelp1", 186, "", FontId::Help, true),
    Line("lblHelp2", 202, "", FontId::Help, false),
    Line("lblHelp3", 218, "", FontId::Help, false),
    Line("lblHelp4", 234, "", FontId::Help, false),
    Art("imgDownloadBar", {215, 256, 15, 22}, DownloadBar, false),
    Line("lblPercentFinished", 259, "10%", FontId::Percent, false),
    ControlSpec{
        .name = "mpClick", .kind = MediaPlayer, .bounds = {248, 416, 253, 30}, .visible = false},
};

// The update pass waits for Play Game; the game server status check starts
// at once, its offline text blinks, and its advice waits 30 s.
constexpr std::array Timers = {
    TimerSpec{"timer", 1, false},
    TimerSpec{"tmrGameServerOffline", 500, true},
    TimerSpec{"tmrPingGameServerOnline", 1, true},
    TimerSpec{"tmrGaverServerOfflineTooLong", 30000, true},
};

constexpr WindowSpec Window = {
    .name = "frmMain",
    .caption = "Quorvash",
    .width = 600,
    .height = 450,
    .border = Border::None,
    .launcherIcon = true,
    .controls = Controls,
    .helpLines = HelpText,
    .timers = Timers,
};

} // namespace

const WindowSpec& MainWindowTable() {
    return Window;
}

} // namespace qvs::ui
