#include "WebService.h"

#include <optional>
#include <utility>

#include "WebPath.h"
#include "platform/FileSystem.h"

namespace qvs {

namespace {

std::string Response(const std::string& status, const std::string& type, const std::string& body) {
    return "HTTP/1.0 " + status + "\r\nContent-Type: " + type +
           "\r\nContent-Length: " + std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n" +
           body;
}

std::string ErrorPage(const std::string& status) {
    return Response(status, "text/html",
                    "<html><head><title>" + status + "</title></head><body><h1>" + status +
                        "</h1></body></html>\n");
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

WebService::WebService(std::string root) : root_(std::move(root)) {}

std::string WebService::Serve(platform::TcpSocket& socket) const {
    const std::optional<std::string> head = ReadHead(socket);
    std::string logLine;
    const std::string response = head ? Answer(*head, logLine) : ErrorPage("400 Bad Request");
    if (!head) {
        logLine = "bad request head: 400";
    }
    socket.SendAll(response);
    return logLine;
}

std::optional<std::string> WebService::ReadHead(platform::TcpSocket& socket) {
    std::string head;
    char buffer[1024];
    while (head.find("\r\n\r\n") == std::string::npos && head.find("\n\n") == std::string::npos) {
        if (head.size() > MaxRequestHead || !socket.WaitForData(ReadTimeoutMs)) {
            return std::nullopt;
        }
        const std::size_t count = socket.Receive(buffer, sizeof buffer);
        if (count == 0) {
            return std::nullopt;
        }
        head.append(buffer, count);
    }
    return head;
}

std::string WebService::Answer(const std::string& head, std::string& logLine) const {
    const std::string line = head.substr(0, head.find_first_of("\r\n"));
    const std::size_t space = line.find(' ');
    const std::size_t secondSpace = line.find(' ', space + 1);
    logLine = "\"" + line + "\" ";
    if (space == std::string::npos) {
        logLine += "400";
        return ErrorPage("400 Bad Request");
    }
    if (line.substr(0, space) != "GET") {
        logLine += "405";
        return ErrorPage("405 Method Not Allowed");
    }
    const std::string target = line.substr(space + 1, secondSpace - space - 1);
    const std::optional<std::string> file = WebPath::Resolve(root_, target);
    const std::optional<std::string> body = file ? platform::ReadWholeFile(*file) : std::nullopt;
    if (!body) {
        logLine += "404";
        return ErrorPage("404 Not Found");
    }
    logLine += "200 " + std::to_string(body->size());
    return Response("200 OK", ContentType(*file), *body);
}

} // namespace qvs
