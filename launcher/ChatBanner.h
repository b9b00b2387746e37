// The live chat window's page and its advertisement banner: the banner's
// HTML lines (as its hidden memo holds them) and its reload interval.
#pragma once

#include <string>
#include <vector>

namespace qvs {

// The game's web site address followed by the chat page's path.
std::string ChatPage();

// The banner document: a script that swallows right-clicks, an empty line,
// and the sponsor's linked 468 x 60 picture, which opens in a new window.
std::vector<std::string> AdvertisementLines();

// The banner's reload interval in milliseconds for a pseudo-random number r
// (0 to 32767): 25 to 45 seconds.
inline int AdvertisementInterval(int r) {
    return 25000 + r % 20000;
}

// After each completed banner document the view is fitted to its panel
// again, then grown by BannerViewGrowth both ways and moved to this corner:
// its border and scroll bars fall outside the panel, which clips them.
inline constexpr int BannerViewLeft = -12;
inline constexpr int BannerViewTop = -17;
inline constexpr int BannerViewGrowth = 50;

// The left edge that centres the banner panel in the window's client width,
// also when the window is narrower (the division truncates toward zero).
inline int BannerPanelLeft(int clientWidth, int panelWidth) {
    return (clientWidth - panelWidth) / 2;
}

} // namespace qvs
