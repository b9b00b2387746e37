#include "ServerOptions.h"

#include <charconv>

namespace qvs {

namespace {

bool ParsePort(const std::string& text, std::uint16_t& port) {
    unsigned value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value > 65535) {
        return false;
    }
    port = static_cast<std::uint16_t>(value);
    return true;
}

bool Apply(ServerOptions& options, const std::string& name, const std::string& value) {
    if (name == "--root") {
        options.root = value;
        return true;
    }
    if (name == "--bind") {
        options.bind = value;
        return true;
    }
    if (name == "--update-port") {
        return ParsePort(value, options.updatePort);
    }
    if (name == "--game-port") {
        return ParsePort(value, options.gamePort);
    }
    if (name == "--http-port") {
        return ParsePort(value, options.httpPort);
    }
    return false;
}

} // namespace

std::optional<ServerOptions> ServerOptions::Parse(const std::vector<std::string>& args,
                                                  std::string& error) {
    ServerOptions options;
    for (std::size_t i = 0; i < args.size(); i += 2) {
        if (i + 1 >= args.size() || !Apply(options, args[i], args[i + 1])) {
            error = "bad option: " + args[i];
            return std::nullopt;
        }
    }
    if (options.root.empty()) {
        error = "--root DIR is required";
        return std::nullopt;
    }
    return options;
}

} // namespace qvs
