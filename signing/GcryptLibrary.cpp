#include "signing/GcryptLibrary.h"

#include <gcrypt.h>

#include <stdexcept>

namespace qvs {

void GcryptLibrary::Ready() {
    // A function-local static: C++ runs the set-up exactly once, even when
    // two workers or tests get here at the same moment.
    static const bool ready = [] {
        if (gcry_check_version(GCRYPT_VERSION) == nullptr) {
            throw std::runtime_error("libgcrypt is older than the one we were built with");
        }
        // Only public keys and short-lived seeds: no locked memory needed.
        gcry_control(GCRYCTL_DISABLE_SECMEM, 0);
        gcry_control(GCRYCTL_INITIALIZATION_FINISHED, 0);
        return true;
    }();
    (void)ready;
}

} // namespace qvs
