#include "platform/ExecutableFormat.h"

#include "platform/FileSystem.h"

#include <sys/stat.h>

namespace qvs::platform {

bool IsExecutableImage(std::string_view bytes) {
    return bytes.starts_with("\x7f"
                             "ELF") ||
           bytes.starts_with("#!");
}

bool MakeRunnable(std::string_view path) {
    const std::string native = NativePath(path);
    struct stat status {};
    if (::stat(native.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) {
        return false;
    }
    mode_t mode = status.st_mode & 07777;
    // Execute for each class that may read the file.
    mode |= (mode & 0444) >> 2;
    return mode == (status.st_mode & 07777) || ::chmod(native.c_str(), mode) == 0;
}

} // namespace qvs::platform
