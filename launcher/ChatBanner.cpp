#include "launcher/ChatBanner.h"

#include "BuildSettings.h"

#include <string_view>

namespace qvs {

namespace {

// Right-clicks on the banner do nothing.
constexpr char NoRightClickScript[] =
    "<script language=\"JavaScript\">"
    "function right(e) {"
    " if (window.Event) { if (e.which == 2 || e.which == 3) return false; }"
    " else if (event.button == 2 || event.button == 3) {"
    " event.cancelBubble = true; event.returnValue = false; return false; }"
    " return true; }"
    " function nocontextmenu() {"
    " event.cancelBubble = true; event.returnValue = false; return false; }"
    " document.oncontextmenu = nocontextmenu;"
    " document.onmousedown = right;"
    " document.onmouseup = right;"
    "</script>";

// An address as an HTML attribute value.
std::string Escaped(std::string_view text) {
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

} // namespace

std::string ChatPage() {
    return std::string(build::GameWebSite) + "/qvschat/phpMyChat.php3";
}

std::vector<std::string> AdvertisementLines() {
    const std::string host = build::AdHost;
    const std::string click =
        std::string(build::AdClickUrl) + "?host=" + host + "&size=468x60&b=indexpage&v=0";
    const std::string banner =
        std::string(build::AdBannerUrl) + "?host=" + host + "&size=468x60&b=indexpage&noscript=1";
    return {NoRightClickScript, "",
            "<a href=\"" + Escaped(click) + "\" target=\"_blank\"><img src=\"" + Escaped(banner) +
                "\" width=\"468\" height=\"60\" border=\"0\" alt=\"Click here to visit our "
                "sponsor\"></a>"};
}

} // namespace qvs
