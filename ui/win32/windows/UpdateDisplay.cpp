#include "ui/win32/windows/UpdateDisplay.h"

#include "ui/win32/controls/Scene.h"

#include <string>

namespace qvs::win32 {

namespace {

const char* const HelpLine[] = {"lblHelp1", "lblHelp2", "lblHelp3", "lblHelp4"};
// What the download display shows besides the help lines and imgStatus.
const char* const DownloadControls[] = {
    "lblDownloadingUpdate", "lblCurrentUpdate", "lblNumUpdates",     "lblOf",
    "imgDownloadBarBg",     "imgDownloadBar",   "lblPercentFinished"};

} // namespace

UpdateDisplay::UpdateDisplay(Scene& scene, std::function<void()> processPendingMessages)
    : scene_(scene), processPendingMessages_(std::move(processPendingMessages)) {}

void UpdateDisplay::Begin(int count, const std::string& what, const std::string& host) {
    scene_["imgStatus"].SetVisible(true);
    scene_["lblCurrentUpdate"].SetCaption("1");
    scene_["lblNumUpdates"].SetCaption(std::to_string(count));
    for (const char* name : DownloadControls) {
        scene_[name].SetVisible(true);
    }
    const std::string lines[] = {"", what, host, ""};
    for (int i = 0; i < 4; ++i) {
        scene_[HelpLine[i]].SetCaption(lines[i]);
    }
    scene_["lblHelp2"].SetVisible(true);
    scene_["lblHelp3"].SetVisible(true);
    scene_["lblPercentFinished"].SetCaption("0%");
}

void UpdateDisplay::SetLine(int line, const std::string& text) {
    scene_[HelpLine[line - 1]].SetCaption(text);
}

void UpdateDisplay::SetCurrentUpdate(int number) {
    scene_["lblCurrentUpdate"].SetCaption(std::to_string(number));
}

void UpdateDisplay::ShowProgress(int barWidth, const std::string& percent) {
    scene_["imgDownloadBar"].SetWidth(barWidth);
    scene_["lblPercentFinished"].SetCaption(percent);
}

void UpdateDisplay::End(const std::string& message) {
    for (const char* name : HelpLine) {
        scene_[name].SetVisible(false);
    }
    TableControl& first = scene_["lblHelp1"];
    first.SetVisible(true);
    if (message.empty()) {
        first.SetCaption("Download Complete");
    } else {
        first.SetCaption(message);
        processPendingMessages_();
        Sleep(500);
    }
    for (const char* name : DownloadControls) {
        scene_[name].SetVisible(false);
    }
}

bool UpdateDisplay::IsShown() const {
    return scene_["lblDownloadingUpdate"].IsVisible();
}

} // namespace qvs::win32
