// Writing one value of the launcher's configuration file, so that code below
// the launcher can record what it found without depending on the
// configuration class itself.
#pragma once

#include <string>

namespace qvs {

class IConfigWriter {
public:
    virtual ~IConfigWriter() = default;

    virtual void WriteValue(const std::string& section, const std::string& key,
                            const std::string& value) = 0;
};

} // namespace qvs
