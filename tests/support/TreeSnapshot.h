// Everything below a directory, as relative path ("/" separated, directories
// ending in "/") mapped to file content, for exact comparisons in tests.
#pragma once

#include "support/RawFile.h"

#include <filesystem>
#include <fstream>
#include <map>
#include <string>

namespace qvs::test {

// "" for a file that cannot be read.
inline std::string ReadFileBytes(const std::filesystem::path& path) {
    return ReadRawFile(path).value_or("");
}

// Unlike WriteRawFile, a file that cannot be written is no error here.
inline void WriteFileBytes(const std::filesystem::path& path, const std::string& data) {
    std::ofstream out(path, std::ios::binary);
    out << data;
}

inline std::map<std::string, std::string> TreeSnapshot(const std::filesystem::path& root) {
    std::map<std::string, std::string> tree;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
        // UTF-8 on every platform: Windows names are UTF-16, which the
        // narrow forms of std::filesystem do not give back faithfully.
        const std::u8string name = entry.path().lexically_relative(root).generic_u8string();
        const std::string relative(name.begin(), name.end());
        if (entry.is_directory() && !entry.is_symlink()) {
            tree[relative + "/"] = "";
        } else {
            tree[relative] = entry.is_symlink() ? "<link>" : ReadFileBytes(entry.path());
        }
    }
    return tree;
}

} // namespace qvs::test
