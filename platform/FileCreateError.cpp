#include "platform/FileSystem.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>

namespace qvs::platform {

namespace {

// Package paths arrive with "\"; the message shows one kind of separator.
std::string Displayed(std::string path) {
    constexpr char native = static_cast<char>(std::filesystem::path::preferred_separator);
    std::replace(path.begin(), path.end(), native == '/' ? '\\' : '/', native);
    return path;
}

std::string FolderOf(const std::string& path) {
    const std::size_t end = path.find_last_of("\\/");
    return end == std::string::npos ? "." : path.substr(0, end + 1);
}

std::string Message(const std::string& path, FileCreateError::Cause cause) {
    using enum FileCreateError::Cause;
    const std::string file = Displayed(path);
    const std::string head = "Cannot create file " + file;
    switch (cause) {
    case DiskFull:
        return head + ": not enough disk space in " + Displayed(FolderOf(path));
    case ReadOnlyFile:
        return head + ": " + file + " is read-only";
    case ReadOnlyFolder:
        return head + ": " + Displayed(FolderOf(path)) + " is read-only";
    case FolderInTheWay:
        return head + ": a folder of that name is in the way";
    case Unknown:
        break;
    }
    return head;
}

} // namespace

FileCreateError::FileCreateError(const std::string& path, Cause cause)
    : std::runtime_error(Message(path, cause)), cause_(cause) {}

FileCreateError::Cause FileCreateError::CauseOf(std::error_code error) {
    const std::error_condition condition = error.default_error_condition();
    if (condition == std::errc::no_space_on_device || condition == std::errc::file_too_large) {
        return Cause::DiskFull;
    }
#ifdef EDQUOT
    if (condition.category() == std::generic_category() && condition.value() == EDQUOT) {
        return Cause::DiskFull;
    }
#endif
    if (condition == std::errc::read_only_file_system ||
        condition == std::errc::permission_denied ||
        condition == std::errc::operation_not_permitted) {
        return Cause::ReadOnlyFolder;
    }
    if (condition == std::errc::is_a_directory) {
        return Cause::FolderInTheWay;
    }
    return Cause::Unknown;
}

FileCreateError::FileCreateError(const std::string& path, const std::string& reason)
    : std::runtime_error("Cannot create file " + Displayed(path) + " (" + reason + ")") {}

} // namespace qvs::platform
