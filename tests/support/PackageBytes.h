// Packages written byte by byte for the tests, independent of PackageWriter.
#pragma once

#include "protocol/CStream.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace qvs::test {

class PackageBytes {
public:
    PackageBytes& Str(std::string_view text) {
        bytes_.append(text);
        bytes_.push_back('\0');
        return *this;
    }
    PackageBytes& Int(std::int32_t value) {
        const auto bits = static_cast<std::uint32_t>(value);
        for (int shift = 0; shift < 32; shift += 8) {
            bytes_.push_back(static_cast<char>((bits >> shift) & 0xFF));
        }
        return *this;
    }
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

    CStream Stream(std::size_t length = std::string::npos) const {
        CStream stream;
        const std::string_view data = std::string_view(bytes_).substr(0, length);
        stream.Write(data.data(), data.size());
        stream.SetPosition(0);
        return stream;
    }

private:
    std::string bytes_;
};

} // namespace qvs::test
