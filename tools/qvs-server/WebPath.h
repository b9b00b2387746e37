// Maps the path of an HTTP request onto a file below the web root.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "RootFolder.h"
#include "ServedFile.h"

namespace qvs {

class WebPath {
public:
    // The file below root that target names ("/updates/qvs3.ecd?x=1"),
    // opened for sending, its path below root in path; nothing for a
    // malformed target or one that would leave root: "..", percent-encoded
    // or not, empty components, backslashes, zero bytes, and links that
    // point outside.
    static std::optional<ServedFile> Open(const RootFolder& root, std::string_view target,
                                          std::string& path);

    // %XX decoded; nothing for a broken escape.
    static std::optional<std::string> Decode(std::string_view text);
};

} // namespace qvs
