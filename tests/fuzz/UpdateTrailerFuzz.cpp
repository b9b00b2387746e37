// Fetched files end in whatever the network made of the trailer: the check
// must refuse any bytes with a SignatureError, never read out of bounds, and
// never accept a file that no key signed.
#include "FuzzSupport.h"
#include "signing/SignatureError.h"
#include "signing/UpdateSignature.h"

#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string file(reinterpret_cast<const char*>(data), size);
    qvs::fuzz::Refusing<qvs::SignatureError>([&] {
        qvs::UpdateSignature::Verify(file, {std::string(32, '\x01')}, {"qvs", "1"});
        std::abort();
    });
    return 0;
}
