#include "signing/PeHeader.h"

#include <algorithm>

namespace qvs {

namespace {

constexpr std::size_t lfanewAt = 0x3c;
constexpr std::size_t fileHeaderSize = 20;
constexpr std::size_t checkSumInOptional = 64;
constexpr std::size_t securityDirectory = 4;

// Little-endian; the caller has bounded at + size by the bytes.
std::uint32_t Read(std::string_view bytes, std::size_t at, std::size_t size) {
    std::uint32_t value = 0;
    for (std::size_t i = size; i-- > 0;) {
        value = (value << 8) | static_cast<std::uint8_t>(bytes[at + i]);
    }
    return value;
}

} // namespace

std::optional<PeHeader> PeHeader::Find(std::string_view head) {
    head = head.substr(0, std::min(head.size(), MaxHeadSize));
    if (head.size() < lfanewAt + 4 || head.substr(0, 2) != "MZ") {
        return std::nullopt;
    }
    const std::uint64_t signatureAt = Read(head, lfanewAt, 4);
    const std::uint64_t optionalAt = signatureAt + 4 + fileHeaderSize;
    if (optionalAt + 2 > head.size() ||
        head.substr(static_cast<std::size_t>(signatureAt), 4) != std::string_view("PE\0\0", 4)) {
        return std::nullopt;
    }
    const auto optional = static_cast<std::size_t>(optionalAt);
    const std::uint32_t magic = Read(head, optional, 2);
    // PE32 and PE32+ differ in the size of the fields before the directories.
    const std::size_t directories = magic == 0x10b ? 96 : magic == 0x20b ? 112 : 0;
    const std::size_t end = directories + (securityDirectory + 1) * 8;
    if (directories == 0 || optional + end > head.size() || Read(head, optional - 4, 2) < end ||
        Read(head, optional + directories - 4, 4) <= securityDirectory) {
        return std::nullopt;
    }
    PeHeader found;
    found.checkSumAt = optional + checkSumInOptional;
    found.securityEntryAt = optional + directories + securityDirectory * 8;
    found.tableOffset = Read(head, found.securityEntryAt, 4);
    found.tableSize = Read(head, found.securityEntryAt + 4, 4);
    return found;
}

} // namespace qvs
