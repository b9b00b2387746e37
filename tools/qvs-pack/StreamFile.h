// Reading a whole file into a CStream and writing one out. A package is held
// once: the file is read in pieces into one reserved buffer, then decoded in
// place.
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
