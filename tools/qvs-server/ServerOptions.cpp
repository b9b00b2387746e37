#include "ServerOptions.h"

#include <charconv>

namespace qvs {

namespace {

// A whole number in 1..most, or nothing.
std::optional<std::uint64_t> Number(const std::string& text, std::uint64_t most) {
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < 1 || value > most) {
        return std::nullopt;
    }
    return value;
}

template <typename T> bool Set(T& field, const std::string& text, std::uint64_t most) {
    const auto value = Number(text, most);
    if (value) {
        field = static_cast<T>(*value);
    }
    return value.has_value();
}

bool SetSeconds(std::chrono::milliseconds& field, const std::string& text) {
    const auto value = Number(text, 86400);
    if (value) {
        field = std::chrono::seconds(*value);
    }
    return value.has_value();
}

bool Apply(ServerOptions& options, const std::string& name, const std::string& value) {
    if (name == "--root" || name == "--bind") {
        (name == "--root" ? options.root : options.bind) = value;
        return true;
    }
    if (name == "--update-port") {
        return Set(options.updatePort, value, 65535);
    }
    if (name == "--game-port") {
        return Set(options.gamePort, value, 65535);
    }
    if (name == "--http-port") {
        return Set(options.httpPort, value, 65535);
    }
    options.maxConnectionsGiven |= name == "--max-connections";
    if (name == "--max-connections" || name == "--max-per-address") {
        return Set(name == "--max-connections" ? options.maxConnections : options.maxPerAddress,
                   value, 1000000);
    }
    if (name == "--request-timeout") {
        return SetSeconds(options.requestTimeout, value);
    }
    if (name == "--reply-timeout") {
        return SetSeconds(options.replyTimeout, value);
    }
    if (name == "--min-reply-rate" && Set(options.minReplyRate, value, 1 << 30)) {
        options.minReplyRate *= 1024; // given in KiB/s
        return true;
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
