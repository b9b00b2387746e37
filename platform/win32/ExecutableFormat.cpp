#include "platform/ExecutableFormat.h"

namespace qvs::platform {

bool IsExecutableImage(std::string_view bytes) {
    return bytes.starts_with("MZ");
}

bool MakeRunnable(std::string_view) {
    return true; // the extension makes a program on Windows
}

} // namespace qvs::platform
