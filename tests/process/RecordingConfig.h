// A configuration writer for tests: records every write in order as
// "SECTION/KEY=value", or fails every write when told to.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include "system/IConfigWriter.h"

namespace qvs::test {

class RecordingConfig : public IConfigWriter {
public:
    void WriteValue(const std::string& section, const std::string& key,
                    const std::string& value) override {
        if (failWrites) {
            throw std::runtime_error("configuration file cannot be written");
        }
        writes.push_back(section + "/" + key + "=" + value);
    }

    std::vector<std::string> writes;
    bool failWrites = false;
};

} // namespace qvs::test
