// The download display of the main window: "Downloading Update ", "n of m",
// what is fetched from where, the progress bar and its percentage. Open
// between Begin and End; IsShown tells the rest of the window that an
// update is downloading.
#pragma once

#include <functional>
#include <string>

namespace qvs::win32 {

class Scene;

class UpdateDisplay {
public:
    // processPendingMessages lets the window repaint before a pause.
    UpdateDisplay(Scene& scene, std::function<void()> processPendingMessages);

    void Begin(int count, const std::string& what, const std::string& host);
    // Line 1 to 4 of the help lines.
    void SetLine(int line, const std::string& text);
    void SetCurrentUpdate(int number);
    void ShowProgress(int barWidth, const std::string& percent);
    // An empty message shows "Download Complete"; any other stays in view
    // for 500 ms. imgStatus and the first help line stay until the pointer
    // next moves over the background.
    void End(const std::string& message);
    bool IsShown() const;

private:
    Scene& scene_;
    std::function<void()> processPendingMessages_;
};

} // namespace qvs::win32
