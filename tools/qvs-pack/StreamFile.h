// Reading a whole file into a CStream and writing one out, for create and
// encode, which scramble the whole content at once. The file is held once:
// it is read in pieces into one reserved buffer, not a growing series.
#pragma once

#include "protocol/CStream.h"

#include <string>

namespace qvs {

class StreamFile {
public:
    // Throws std::runtime_error when the file cannot be read.
    static void Load(const std::string& path, CStream& stream);
    // Replaces path atomically; throws platform::FileCreateError.
    static void Save(const std::string& path, const CStream& stream);
};

} // namespace qvs
