// The folder qvs-server serves, opened once at start. Every name is resolved
// by the kernel below that descriptor (openat2 with RESOLVE_BENEATH): "..",
// a link that points out, or the folder's path replaced later (by a link to
// "/", say) reach nothing outside it. Links that stay below are followed.
// Names match in any letter case, as on the launcher's Windows hosts.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ServedFile.h"

namespace qvs {

class RootFolder {
public:
    // Throws std::system_error when path is no folder that can be opened,
    // or the kernel cannot resolve names below one (Linux before 5.6).
    explicit RootFolder(const std::string& path);
    RootFolder(const RootFolder&) = delete;
    RootFolder& operator=(const RootFolder&) = delete;
    ~RootFolder();

    // relative ("updates/QVS.exe") as it exists, each component that does
    // not exist as written matched in any letter case; unchanged from the
    // first component that matches nothing.
    std::string Match(std::string_view relative) const;
    // The regular file relative names exactly, opened for sending.
    std::optional<ServedFile> OpenFile(const std::string& relative) const;
    bool IsDirectory(const std::string& relative) const;
    // The names in the folder relative names exactly, folders left out.
    std::vector<std::string> ListFiles(const std::string& relative) const;
    // The regular file relative names exactly, whole; nothing when it is
    // missing or longer than limit.
    std::optional<std::string> ReadSmall(const std::string& relative, std::size_t limit) const;

private:
    // A descriptor of what relative names with these open flags, or -1.
    int Open(const std::string& relative, int flags) const;
    std::optional<std::string> FindIgnoringCase(const std::string& folder,
                                                std::string_view name) const;

    int descriptor_;
};

} // namespace qvs
