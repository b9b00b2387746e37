// Fetched files end in whatever the network made of the trailer: the check
// must refuse any bytes with a SignatureError, never read out of bounds, and
// never accept a file that no key signed.
#include "signing/SignatureError.h"
#include "signing/UpdateSignature.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string file(reinterpret_cast<const char*>(data), size);
    try {
        qvs::UpdateSignature::Verify(file, {std::string(32, '\x01')}, {"qvs", "1"});
        std::abort();
    } catch (const qvs::SignatureError&) {
    }
    return 0;
}
