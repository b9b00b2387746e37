// The main window as the update pass sees it: the download display, the
// message loop, the windows the pass opens and the two hand-overs.
#pragma once

#include <string>

namespace qvs {

class IUpdateView {
public:
    virtual ~IUpdateView() = default;

    // Opens the download display at "1 of count" with what is fetched on the
    // second status line and from where on the third.
    virtual void BeginUpdateDisplay(int count, const std::string& what,
                                    const std::string& host) = 0;
    virtual void SetUpdateLine2(const std::string& text) = 0;
    virtual void SetUpdateLine3(const std::string& text) = 0;
    virtual void SetCurrentUpdate(int number) = 0;
    // The bar's width in pixels (0 to 300) and the percentage text.
    virtual void ShowProgress(int barWidth, const std::string& percent) = 0;
    // Closes the download display; an empty message shows
    // "Download Complete", any other stays in view for at least 500 ms.
    virtual void EndUpdateDisplay(const std::string& message) = 0;
    virtual bool IsDownloadShown() const = 0;

    // Lets the window handle its pending messages (timers, repaints, clicks).
    virtual void ProcessPendingMessages() = 0;
    // The update news page, modal; failures are the view's to swallow.
    virtual void ShowUpdateNews(const std::string& url) = 0;
    virtual void CloseMainWindow() = 0;

    // The two ways a pass hands over at its end.
    virtual void ReportUpdateFailure() = 0;
    virtual void LaunchGame() = 0;
};

} // namespace qvs
