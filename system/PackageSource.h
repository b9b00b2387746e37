// Where the plain bytes of a package come from: a CStream in memory
// (StreamPackageSource) or a scrambled file unscrambled as it is read
// (ScrambledPackageFile). Reads behave as CStream's do: ReadInt and
// ReadPieces throw StreamReadError when too few bytes are left, ReadString
// never fails.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>

namespace qvs {

class PackageSource {
public:
    using ByteSink = std::function<void(std::span<const std::byte>)>;

    virtual ~PackageSource() = default;

    virtual void ReadString(std::string& value) = 0;
    virtual void ReadInt(std::int32_t& value) = 0;
    // Hands the next count bytes to sink in order, in one or more pieces; an
    // empty sink skips them. When the source ends early, the pieces handed
    // over before that are not taken back.
    virtual void ReadPieces(std::size_t count, const ByteSink& sink) = 0;
    // The plain bytes left.
    virtual std::uint64_t Remaining() const = 0;
};

} // namespace qvs
