// Shared by the fuzz targets: a failed check stops the run where the fuzzer
// reports it, and the errors a parser refuses bad input with are no failure.
#pragma once

#include "protocol/CStream.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <exception>

namespace qvs::fuzz {

inline void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

// Runs parse, which may refuse its input with an Error; crashing is a failure.
template <typename Error = std::exception, typename Parse> void Refusing(Parse parse) {
    try {
        parse();
    } catch (const Error&) {
    }
}

// The input as a stream, read from its start.
inline CStream StreamOf(const std::uint8_t* data, std::size_t size) {
    CStream stream;
    stream.Write(data, size);
    stream.SetPosition(0);
    return stream;
}

} // namespace qvs::fuzz
