#include "http/HttpUrl.h"

#include <algorithm>
#include <cctype>
#include <string_view>

#include "http/HttpError.h"
#include "platform/AsciiCase.h"

namespace qvs {

namespace {

// Only a real scheme name counts, so a ":" inside a path ("/a:b") does not
// reset the port of a relative address.
bool IsSchemeName(std::string_view text) {
    if (text.empty() || !std::isalpha(static_cast<unsigned char>(text.front()))) {
        return false;
    }
    return std::all_of(text.begin(), text.end(), [](unsigned char c) {
        return std::isalnum(c) || c == '+' || c == '-' || c == '.';
    });
}

std::uint16_t SchemePort(const std::string& url, std::uint16_t port) {
    const std::size_t colon = url.find(':');
    if (colon == std::string::npos) {
        return port;
    }
    const std::string scheme = platform::LowerAscii(std::string_view(url).substr(0, colon));
    if (!IsSchemeName(scheme)) {
        return port;
    }
    if (scheme == "https") {
        throw HttpError("HTTP Secure Socket is not supported");
    }
    if (scheme == "gopher") {
        return 70;
    }
    return scheme == "ftp" ? 21 : 80;
}

std::uint16_t ParsePort(std::string_view text) {
    if (text.empty() || text.size() > 5 ||
        !std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isdigit(c); })) {
        throw HttpError("Invalid port number");
    }
    const int value = std::stoi(std::string(text));
    if (value < 1 || value > 65535) {
        throw HttpError("Invalid port number");
    }
    return static_cast<std::uint16_t>(value);
}

// Position of the n-th "/" (1-based), or npos.
std::size_t NthSlash(const std::string& url, int n) {
    std::size_t at = std::string::npos;
    for (int i = 0; i < n; ++i) {
        at = url.find('/', at == std::string::npos ? 0 : at + 1);
        if (at == std::string::npos) {
            break;
        }
    }
    return at;
}

// Host (possibly with ":port") and path; the host stays empty for "/path".
void SplitHostAndPath(const std::string& url, std::string& host, std::string& path) {
    if (url.find("//") != std::string::npos) {
        const std::size_t second = NthSlash(url, 2);
        const std::size_t third = NthSlash(url, 3);
        host = url.substr(second + 1,
                          third == std::string::npos ? std::string::npos : third - second - 1);
        path = third == std::string::npos ? std::string() : url.substr(third);
        return;
    }
    const std::size_t first = url.find('/');
    if (url.front() != '/') {
        host = url.substr(0, first);
    }
    path = first == std::string::npos ? std::string() : url.substr(first);
}

} // namespace

HttpUrl ParseHttpUrl(const std::string& url, const std::string& currentHost,
                     std::uint16_t currentPort) {
    if (url.empty()) {
        throw HttpError("Empty URL");
    }
    HttpUrl result;
    result.url = url;
    result.port = SchemePort(url, currentPort == 0 ? 80 : currentPort);
    std::string host;
    SplitHostAndPath(url, host, result.path);
    if (host.empty() && url.front() == '/') {
        host = currentHost;
    }
    const std::size_t colon = host.find(':');
    if (colon != std::string::npos) {
        result.port = ParsePort(std::string_view(host).substr(colon + 1));
        host.resize(colon);
    }
    result.host = host;
    if (result.path.size() > HttpUrl::MaxPathLength) {
        result.path.resize(HttpUrl::MaxPathLength);
    }
    if (result.path.empty()) {
        result.path = "/";
        result.url += "/";
    }
    return result;
}

} // namespace qvs
