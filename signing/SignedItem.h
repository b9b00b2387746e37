// What a signature names: the published item and its version, for example
// "qvs" and "5" (data set 5), "qvsc" and "2", "QVS.exe" and "1.0.0.2".
#pragma once

#include <string>

namespace qvs {

struct SignedItem {
    std::string name;
    std::string version;

    std::string Text() const { return name + " " + version; }
    bool operator==(const SignedItem&) const = default;
};

} // namespace qvs
