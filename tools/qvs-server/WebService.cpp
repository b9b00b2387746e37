#include "WebService.h"

#include <optional>
#include <utility>

#include "LogText.h"
#include "WebPath.h"

namespace qvs {

namespace {

std::string Head(const std::string& status, const std::string& type, std::uint64_t length) {
    return "HTTP/1.0 " + status + "\r\nContent-Type: " + type +
           "\r\nContent-Length: " + std::to_string(length) + "\r\nConnection: close\r\n\r\n";
}

Reply ErrorPage(const std::string& status, std::string log) {
    const std::string body = "<html><head><title>" + status + "</title></head><body><h1>" + status +
                             "</h1></body></html>\n";
    return {Head(status, "text/html", body.size()) + body, std::nullopt,
            std::move(log) + status.substr(0, 3)};
}

bool HeadEnded(std::string_view received) {
    return received.find("\r\n\r\n") != std::string_view::npos ||
           received.find("\n\n") != std::string_view::npos;
}

std::string ContentType(const std::string& file) {
    const std::size_t dot = file.rfind('.');
    const std::string extension = dot == std::string::npos ? "" : file.substr(dot);
    if (extension == ".html" || extension == ".htm") {
        return "text/html";
    }
    if (extension == ".txt") {
        return "text/plain";
    }
    return "application/octet-stream";
}

} // namespace

WebService::WebService(const RootFolder& root) : root_(root) {}

std::size_t WebService::Missing(std::string_view received) const {
    // A head that grew past its limit is whole too: Answer refuses it.
    if (HeadEnded(received) || received.size() > MaxRequestHead) {
        return 0;
    }
    return MaxRequestHead + 1 - received.size();
}

Reply WebService::CutShort(std::string_view) const {
    return ErrorPage("400 Bad Request", "bad request head: ");
}

Reply WebService::Answer(std::string_view request, const std::string&) const {
    if (!HeadEnded(request)) {
        return CutShort(request);
    }
    const std::string line(request.substr(0, request.find_first_of("\r\n")));
    const std::size_t space = line.find(' ');
    const std::size_t secondSpace = line.find(' ', space + 1);
    const std::string log = QuoteForLog(line) + " ";
    if (space == std::string::npos) {
        return ErrorPage("400 Bad Request", log);
    }
    if (line.substr(0, space) != "GET") {
        return ErrorPage("405 Method Not Allowed", log);
    }
    const std::string target = line.substr(space + 1, secondSpace - space - 1);
    std::string path;
    std::optional<ServedFile> file = WebPath::Open(root_, target, path);
    if (!file) {
        return ErrorPage("404 Not Found", log);
    }
    const std::uint64_t size = file->Size();
    return {Head("200 OK", ContentType(path), size), std::move(file),
            log + "200 " + std::to_string(size)};
}

} // namespace qvs
