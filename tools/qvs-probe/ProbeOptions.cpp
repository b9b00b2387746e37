#include "ProbeOptions.h"

#include <BuildSettings.h>

#include <charconv>
#include <map>

namespace qvs {

namespace {

std::optional<int> ParseNumber(const std::string& text, int low, int high) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < low || value > high) {
        return std::nullopt;
    }
    return value;
}

std::string* TextOption(ProbeOptions& options, const std::string& name) {
    const std::map<std::string, std::string ProbeOptions::*> fields = {
        {"--host", &ProbeOptions::host},
        {"--web", &ProbeOptions::web},
        {"--install", &ProbeOptions::install},
        {"--local", &ProbeOptions::local},
        {"--out", &ProbeOptions::out}};
    const auto found = fields.find(name);
    return found == fields.end() ? nullptr : &(options.*(found->second));
}

bool SetNumber(ProbeOptions& options, const std::string& name, const std::string& value) {
    const bool isPort = name == "--port";
    const std::optional<int> number =
        isPort ? ParseNumber(value, 1, 65535) : ParseNumber(value, 1, 3600000);
    if (!number) {
        return false;
    }
    (isPort ? options.port : options.waitMs) = *number;
    return true;
}

bool OperandsFit(const ProbeOptions& options) {
    const std::map<std::string, std::size_t> counts = {
        {"ping", 0},     {"latest", 1}, {"fileversion", 0}, {"fetch", 2},
        {"launcher", 0}, {"status", 0}, {"get", 1}};
    const auto found = counts.find(options.command);
    if (found == counts.end() || found->second != options.operands.size()) {
        return false;
    }
    const bool needsInstall = options.command == "fetch" || options.command == "launcher";
    return !needsInstall || !options.install.empty();
}

} // namespace

std::optional<ProbeOptions> ParseProbeOptions(const std::vector<std::string>& args) {
    ProbeOptions options;
    options.host = build::ServerHost;
    options.web = std::string("http://") + build::UpdateWebHost + "/updates/";
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == "--server") {
            options.server = true;
        } else if (std::string* text = TextOption(options, arg)) {
            if (!hasValue) {
                return std::nullopt;
            }
            *text = args[++i];
        } else if (arg == "--port" || arg == "--wait-ms") {
            if (!hasValue || !SetNumber(options, arg, args[i + 1])) {
                return std::nullopt;
            }
            ++i;
        } else if (arg.starts_with("--")) {
            return std::nullopt;
        } else if (options.command.empty()) {
            options.command = arg;
        } else {
            options.operands.push_back(arg);
        }
    }
    if (!OperandsFit(options)) {
        return std::nullopt;
    }
    return options;
}

} // namespace qvs
