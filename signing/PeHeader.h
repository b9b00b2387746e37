// The two fields of a Windows program's headers that Authenticode rewrites
// when it signs: the CheckSum and the Certificate Table entry of the data
// directories (where its table of signatures lies, at the end of the file).
// Every offset is bounded by the bytes given: a file that is not a program,
// or whose headers do not fit, has none.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace qvs {

struct PeHeader {
    // Headers further into a file than this are not looked for.
    static constexpr std::size_t MaxHeadSize = 4096;
    static constexpr std::size_t CheckSumSize = 4;
    static constexpr std::size_t SecurityEntrySize = 8;

    std::size_t checkSumAt = 0;
    std::size_t securityEntryAt = 0;
    // The certificate table as the entry names it (zero when unsigned).
    std::uint64_t tableOffset = 0;
    std::uint64_t tableSize = 0;

    // head: the file's first bytes, up to MaxHeadSize.
    static std::optional<PeHeader> Find(std::string_view head);
};

} // namespace qvs
