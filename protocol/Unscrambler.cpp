#include "protocol/Unscrambler.h"

#include "protocol/BlockXor.h"

#include <algorithm>

namespace qvs {

std::size_t Unscrambler::Feed(const std::uint8_t* input, std::size_t count, std::uint8_t* out) {
    std::size_t read = 0;
    std::size_t written = 0;
    while (read < count) {
        if (blockLeft_ > 0) {
            const std::size_t take = std::min(blockLeft_, count - read);
            if (out != nullptr) {
                BlockXor::Forward(out + written, input + read, take, key_);
            }
            read += take;
            written += take;
            blockLeft_ -= take;
        } else if (haveKey_) {
            blockLeft_ = input[read++];
            haveKey_ = false;
        } else if (count - read >= 2) {
            key_ = input[read];
            blockLeft_ = input[read + 1];
            read += 2;
        } else {
            key_ = input[read++];
            haveKey_ = true;
        }
    }
    return written;
}

} // namespace qvs
