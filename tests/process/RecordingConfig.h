// A configuration writer for tests: records every write in order, or fails
// every write when told to.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include "system/IConfigWriter.h"

namespace qvs::test {

struct ConfigWrite {
    std::string section;
    std::string key;
    std::string value;
    bool operator==(const ConfigWrite&) const = default;
};

class RecordingConfig : public IConfigWriter {
public:
    void WriteValue(const std::string& section, const std::string& key,
                    const std::string& value) override {
        if (failWrites) {
            throw std::runtime_error("configuration file cannot be written");
        }
        writes.push_back({section, key, value});
    }

    std::vector<ConfigWrite> writes;
    bool failWrites = false;
};

} // namespace qvs::test
