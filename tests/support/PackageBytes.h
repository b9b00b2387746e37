// Packages written byte by byte for the tests, independent of PackageWriter.
#pragma once

#include "protocol/CStream.h"
#include "support/WireBytes.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace qvs::test {

class PackageBytes {
public:
    PackageBytes& Str(std::string_view text) { return Raw(Sz(text)); }
    PackageBytes& Int(std::int32_t value) { return Raw(Le32(value)); }
    PackageBytes& Raw(std::string_view data) {
        bytes_.append(data);
        return *this;
    }
    // A directory record's head: path and sub-directory count.
    PackageBytes& Dir(std::string_view path, std::int32_t subDirectories) {
        return Str(path).Int(subDirectories);
    }
    // A whole file record.
    PackageBytes& File(std::string_view directory, std::string_view name, std::string_view data) {
        return Str(directory).Str(name).Int(static_cast<std::int32_t>(data.size())).Raw(data);
    }

    const std::string& Bytes() const { return bytes_; }
    std::size_t Size() const { return bytes_.size(); }

    // The first length bytes as a stream, positioned at 0.
    CStream Stream(std::size_t length = std::string::npos) const {
        return StreamOf(std::string_view(bytes_).substr(0, length));
    }

private:
    std::string bytes_;
};

} // namespace qvs::test
