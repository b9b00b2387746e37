#include "platform/ProgramEnvironment.h"

#include <cstdlib>
#include <unistd.h>

namespace qvs::platform {

std::vector<std::string> ProgramArguments(int argc, char** argv) {
    return argc > 1 ? std::vector<std::string>(argv + 1, argv + argc) : std::vector<std::string>();
}

std::string ProgramPath() {
    std::string path(4096, '\0');
    const ssize_t length = ::readlink("/proc/self/exe", path.data(), path.size());
    path.resize(length > 0 ? static_cast<std::size_t>(length) : 0);
    return path;
}

std::optional<std::string> CurrentDirectory() {
    std::string path(4096, '\0');
    if (::getcwd(path.data(), path.size()) == nullptr) {
        return std::nullopt;
    }
    path.resize(path.find('\0'));
    return path;
}

std::optional<std::string> EnvironmentVariable(std::string_view name) {
    const char* value = std::getenv(std::string(name).c_str());
    return value != nullptr ? std::optional<std::string>(value) : std::nullopt;
}

} // namespace qvs::platform
