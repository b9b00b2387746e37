// libgcrypt must be initialised once per process before its first use.
#pragma once

namespace qvs {

class GcryptLibrary {
public:
    // Safe to call from any thread, any number of times.
    static void Ready();
};

} // namespace qvs
