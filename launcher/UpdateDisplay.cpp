#include "launcher/UpdateDisplay.h"

#include "launcher/IControlPanel.h"

#include <array>
#include <chrono>
#include <stdexcept>
#include <string_view>
#include <thread>

namespace qvs {

namespace {

constexpr std::array<std::string_view, 4> HelpLabels = {"lblHelp1", "lblHelp2", "lblHelp3",
                                                        "lblHelp4"};
// Shown only while a download is.
constexpr std::array<std::string_view, 7> DownloadControls = {
    "lblDownloadingUpdate", "lblCurrentUpdate", "lblNumUpdates",     "lblOf",
    "imgDownloadBarBg",     "imgDownloadBar",   "lblPercentFinished"};

} // namespace

UpdateDisplay::UpdateDisplay(IControlPanel& panel) : panel_(panel) {}

void UpdateDisplay::Begin(int count, const std::string& what, const std::string& host) {
    panel_.SetCaption("lblCurrentUpdate", "1");
    panel_.SetCaption("lblNumUpdates", std::to_string(count));
    panel_.SetCaption("lblHelp1", "");
    panel_.SetCaption("lblHelp2", what);
    panel_.SetCaption("lblHelp3", host);
    panel_.SetCaption("lblHelp4", "");
    panel_.SetCaption("lblPercentFinished", "0%");
    panel_.SetVisible("imgStatus", true);
    panel_.SetVisible("lblHelp2", true);
    panel_.SetVisible("lblHelp3", true);
    for (std::string_view control : DownloadControls) {
        panel_.SetVisible(control, true);
    }
    panel_.BringToFront("imgDownloadBar");
    panel_.BringToFront("lblPercentFinished");
}

void UpdateDisplay::SetLine(int line, const std::string& text) {
    if (line < 1 || line > static_cast<int>(HelpLabels.size())) {
        throw std::out_of_range("no help line " + std::to_string(line));
    }
    panel_.SetCaption(HelpLabels[static_cast<std::size_t>(line - 1)], text);
}

void UpdateDisplay::SetCurrentUpdate(int number) {
    panel_.SetCaption("lblCurrentUpdate", std::to_string(number));
}

void UpdateDisplay::ShowProgress(int barWidth, const std::string& percent) {
    panel_.SetWidth("imgDownloadBar", barWidth);
    panel_.SetCaption("lblPercentFinished", percent);
}

void UpdateDisplay::End(const std::string& message) {
    for (std::string_view label : HelpLabels) {
        panel_.SetVisible(label, false);
    }
    panel_.SetVisible("lblHelp1", true);
    if (message.empty()) {
        panel_.SetCaption("lblHelp1", "Download Complete");
    } else {
        panel_.SetCaption("lblHelp1", message);
        panel_.ProcessPendingMessages();
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
    }
    for (std::string_view control : DownloadControls) {
        panel_.SetVisible(control, false);
    }
}

bool UpdateDisplay::IsShown() const {
    return panel_.IsVisible("lblDownloadingUpdate");
}

} // namespace qvs
