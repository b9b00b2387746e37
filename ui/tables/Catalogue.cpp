#include "ui/tables/Catalogue.h"

#include <array>

namespace qvs::ui {

namespace {

constexpr std::string_view Sans = "MS Sans Serif";
constexpr std::string_view Serif = "Times New Roman";
constexpr std::string_view BundledSans = "Liberation Sans";
constexpr std::string_view BundledSerif = "Liberation Serif";

// Indexed by FontId.
constexpr std::array<FontSpec, 9> Fonts = {{
    {Sans, BundledSans, 11, false, false},   // Window
    {Serif, BundledSerif, 21, true, true},   // ServerStatus
    {Serif, BundledSerif, 13, true, true},   // ForgotLogin
    {Sans, BundledSans, 20, true, false},    // DownloadingUpdate
    {Sans, BundledSans, 13, false, false},   // Counter
    {Serif, BundledSerif, 15, false, false}, // Help
    {Serif, BundledSerif, 12, false, false}, // Percent
    {Sans, BundledSans, 13, true, true},     // StepHeading
    {Serif, BundledSerif, 15, true, true},   // ReportInstruction
}};

constexpr std::array<std::string_view, 4> FontFiles = {
    "LiberationSans-Regular.ttf", "LiberationSans-Bold.ttf", "LiberationSerif-Regular.ttf",
    "LiberationSerif-Bold.ttf"};

// Indexed by PictureId.
constexpr std::array<std::string_view, 18> PictureFiles = {
    "",
    "imgBackground.jpg",
    "img_moLiveChat.jpg",
    "img_moAccountSignup.jpg",
    "img_moRegisterAccount.jpg",
    "img_moViewWebsite.jpg",
    "img_moGameForum.jpg",
    "img_moProblems.jpg",
    "img_moClans.jpg",
    "img_moPlayGame.jpg",
    "img_moExit.jpg",
    "imgStatus.jpg",
    "imgDownloadBarBg.jpg",
    "imgDownloadBar.jpg",
    "imgSendErrorReportOff.jpg",
    "imgSendErrorReportOn.jpg",
    "imgCancelOff.jpg",
    "imgCancelOn.jpg",
};

constexpr auto Pictures = [] {
    std::array<PictureId, PictureFiles.size() - 1> ids{};
    for (std::size_t i = 0; i < ids.size(); ++i) {
        ids[i] = static_cast<PictureId>(i + 1);
    }
    return ids;
}();

} // namespace

const FontSpec& Font(FontId id) {
    return Fonts.at(static_cast<std::size_t>(id));
}

std::span<const std::string_view> BundledFontFiles() {
    return FontFiles;
}

std::string_view PictureFile(PictureId id) {
    return PictureFiles.at(static_cast<std::size_t>(id));
}

std::span<const PictureId> AllPictures() {
    return Pictures;
}

} // namespace qvs::ui
