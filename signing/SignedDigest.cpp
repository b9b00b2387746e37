#include "signing/SignedDigest.h"

#include "signing/PeHeader.h"

#include <algorithm>

namespace qvs {

void SignedDigest::Add(std::string_view bytes) {
    if (!headAdded_) {
        const std::size_t take = std::min(bytes.size(), PeHeader::MaxHeadSize - head_.size());
        head_.append(bytes.substr(0, take));
        bytes.remove_prefix(take);
        if (head_.size() < PeHeader::MaxHeadSize) {
            return;
        }
        AddHead();
    }
    digest_.Add(bytes);
}

std::string SignedDigest::HexDigest() {
    if (!headAdded_) {
        AddHead();
    }
    return digest_.HexDigest();
}

std::string SignedDigest::Of(std::string_view content) {
    SignedDigest digest;
    digest.Add(content);
    return digest.HexDigest();
}

void SignedDigest::AddHead() {
    if (const std::optional<PeHeader> pe = PeHeader::Find(head_)) {
        head_.replace(pe->checkSumAt, PeHeader::CheckSumSize, PeHeader::CheckSumSize, '\0');
        head_.replace(pe->securityEntryAt, PeHeader::SecurityEntrySize, PeHeader::SecurityEntrySize,
                      '\0');
    }
    digest_.Add(head_);
    headAdded_ = true;
    head_ = std::string();
}

} // namespace qvs
