// The main window's download display: "Downloading Update ", "n of m", what
// is fetched from where on the help lines, the progress bar and its
// percentage. Open between Begin and End; other parts of the window test
// IsShown to know that an update is downloading.
#pragma once

#include <string>

namespace qvs {

class IControlPanel;

class UpdateDisplay {
public:
    explicit UpdateDisplay(IControlPanel& panel);

    void Begin(int count, const std::string& what, const std::string& host);
    // Help line 1 to 4.
    void SetLine(int line, const std::string& text);
    void SetCurrentUpdate(int number);
    void ShowProgress(int barWidth, const std::string& percent);
    // An empty message shows "Download Complete"; any other stays in view
    // for 500 ms. imgStatus and the first help line stay until the pointer
    // next moves over the background.
    void End(const std::string& message);
    bool IsShown() const;

private:
    IControlPanel& panel_;
};

} // namespace qvs
