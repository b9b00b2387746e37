#pragma once

#include <stdexcept>
#include <string>

namespace qvs {

// A JPEG picture that could not be decoded: corrupt, truncated or not a JPEG.
class JpegError : public std::runtime_error {
public:
    explicit JpegError(const std::string& what) : std::runtime_error(what) {}
};

} // namespace qvs
