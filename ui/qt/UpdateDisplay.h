// The download display of the main window: "Downloading Update ", "n of m",
// what is fetched from where, the progress bar and its percentage. Open
// between Begin and End; other parts of the window test IsShown to know that
// an update is downloading.
#pragma once

#include <array>
#include <functional>
#include <string>

namespace qvs {

class TImage;
class TLabel;

class UpdateDisplay {
public:
    struct Controls {
        TImage* imgStatus;
        TLabel* lblDownloadingUpdate;
        TLabel* lblCurrentUpdate;
        TLabel* lblOf;
        TLabel* lblNumUpdates;
        std::array<TLabel*, 4> help;
        TImage* imgDownloadBarBg;
        TImage* imgDownloadBar;
        TLabel* lblPercentFinished;
    };

    // processPendingMessages lets the window repaint before a pause.
    UpdateDisplay(const Controls& controls, std::function<void()> processPendingMessages);

    void Begin(int count, const std::string& what, const std::string& host);
    void SetLine(std::size_t line, const std::string& text);
    void SetCurrentUpdate(int number);
    void ShowProgress(int barWidth, const std::string& percent);
    // An empty message shows "Download Complete"; any other stays in view
    // for 500 ms. imgStatus and the first help line stay until the pointer
    // next moves over the background.
    void End(const std::string& message);
    bool IsShown() const;

private:
    Controls controls_;
    std::function<void()> processPendingMessages_;
};

} // namespace qvs
