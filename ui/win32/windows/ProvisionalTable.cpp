#include "ui/win32/windows/ProvisionalTable.h"

namespace qvs::tables {

namespace {

constexpr Rgb Lime{0, 255, 0};
constexpr Rgb Red{255, 0, 0};
constexpr Rgb White{255, 255, 255};
constexpr FontSpec NoFont{"Liberation Sans", 11, false, false};
constexpr FontSpec Large{"Liberation Serif", 21, true, true};
constexpr FontSpec Small{"Liberation Serif", 13, true, true};
constexpr FontSpec Heading{"Liberation Sans", 20, true, false};
constexpr FontSpec Counter{"Liberation Sans", 13, false, false};
constexpr FontSpec Help{"Liberation Serif", 15, false, false};
constexpr FontSpec Percent{"Liberation Serif", 12, false, false};

constexpr Control Picture(std::string_view name, Bounds b, bool visible) {
    return {name, Kind::Picture, b, "", NoFont, White, name, visible, 0, Align::Left};
}
constexpr Control Click(std::string_view name, Bounds b, int tag) {
    return {name, Kind::ClickArea, b, "", NoFont, White, "", true, tag, Align::Left};
}
constexpr Control Label(std::string_view name, int x, int y, std::string_view caption,
                        FontSpec font, Rgb ink) {
    return {name, Kind::Label, {x, y, 0, 0}, caption, font, ink, "", false, 0, Align::Left};
}
constexpr Control Centred(std::string_view name, Bounds b, std::string_view caption, FontSpec font,
                          bool visible) {
    return {name, Kind::Label, b, caption, font, White, "", visible, 0, Align::Centre};
}

constexpr Control MainControls[] = {
    Picture("imgBackground", {0, 0, 600, 450}, true),
    Picture("img_moViewWebsite", {10, 118, 127, 32}, false),
    Picture("img_moPlayGame", {63, 403, 185, 47}, false),
    Click("btnViewWebsite", {16, 118, 121, 27}, 4),
    Click("btnPlayGame", {63, 408, 185, 42}, 8),
    Label("lblGameServerOffline", 73, 374, "Game Server Offline ", Large, Lime),
    Label("lblPeopleOnline", 497, 70, "0 ", Large, Lime),
    Label("lblPeopleOnlineDisp", 353, 70, "People Online ", Large, Lime),
    Label("lblForgot1", 481, 350, "Forget Login Name,", Small, Lime),
    Label("lblForgot2", 481, 366, "Authorization Code", Small, Lime),
    Label("lblForgot3", 481, 382, "or Password?", Small, Lime),
    Picture("img_moExit", {501, 412, 94, 32}, false),
    Click("btnExit", {501, 412, 94, 32}, 9),
    Picture("img_moLiveChat", {10, 22, 221, 32}, true),
    Picture("img_moAccountSignup", {10, 54, 187, 32}, true),
    Picture("img_moRegisterAccount", {10, 86, 152, 32}, true),
    Picture("img_moGameForum", {10, 150, 105, 32}, true),
    Picture("img_moProblems", {10, 182, 89, 32}, true),
    Picture("img_moClans", {10, 214, 75, 29}, true),
    Click("btnLiveChat", {96, 22, 135, 27}, 1),
    Click("btnAccountSignup", {18, 55, 177, 27}, 2),
    Click("btnRegisterAccount", {18, 87, 143, 27}, 3),
    Click("btnGameForum", {12, 151, 103, 27}, 5),
    Click("btnProblems", {17, 183, 81, 27}, 6),
    Click("btnClans", {31, 215, 57, 27}, 7),
    Picture("imgStatus", {160, 146, 410, 135}, false),
    Picture("imgDownloadBarBg", {215, 256, 300, 22}, false),
    Label("lblDownloadingUpdate", 170, 153, "Downloading Update ", Heading, Red),
    Label("lblCurrentUpdate", 202, 175, "1", Counter, White),
    Label("lblOf", 226, 175, "of", Counter, White),
    Label("lblNumUpdates", 250, 175, "1", Counter, White),
    Centred("lblHelp1", {168, 186, 393, 18}, "", Help, true),
    Centred("lblHelp2", {168, 202, 393, 18}, "", Help, false),
    Centred("lblHelp3", {168, 218, 393, 18}, "", Help, false),
    Centred("lblHelp4", {168, 234, 393, 18}, "", Help, false),
    Picture("imgDownloadBar", {215, 256, 15, 22}, false),
    Centred("lblPercentFinished", {168, 259, 393, 18}, "10%", Percent, false),
    {"mpClick", Kind::Media, {248, 416, 253, 30}, "", NoFont, White, "", false, 0, Align::Left},
};

constexpr Window Main{"frmMain", "Quorvash", 600, 450, MainControls};

} // namespace

const Window& MainWindow() {
    return Main;
}

} // namespace qvs::tables
