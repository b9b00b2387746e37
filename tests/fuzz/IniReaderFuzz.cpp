// Arbitrary configuration text, read with arbitrary names, then one write that
// must read back. Input: section NUL key NUL value NUL file text.
#include "launcher/CIniText.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

std::vector<std::string_view> SplitFields(std::string_view input) {
    std::vector<std::string_view> fields;
    while (fields.size() < 3) {
        std::size_t zero = input.find('\0');
        if (zero == std::string_view::npos) {
            break;
        }
        fields.push_back(input.substr(0, zero));
        input.remove_prefix(zero + 1);
    }
    fields.resize(3);
    fields.push_back(input);
    return fields;
}

bool IsBlank(char c) {
    return std::string_view(" \t\n\v\f\r\x1a").find(c) != std::string_view::npos;
}

bool UsableName(std::string_view name) {
    return name.find_first_of("[]=\r\n") == std::string_view::npos;
}

// A value that a read gives back unchanged apart from the length limit.
bool PlainValue(std::string_view value) {
    if (value.empty()) {
        return true;
    }
    bool quoted = value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
                  value.back() == value.front();
    return !quoted && !IsBlank(value.front()) && !IsBlank(value.back()) &&
           value.find_first_of("\r\n") == std::string_view::npos;
}

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view input(reinterpret_cast<const char*>(data), size);
    std::vector<std::string_view> fields = SplitFields(input);
    std::string_view section = fields[0], key = fields[1], value = fields[2];

    qvs::CIniText ini(fields[3]);
    std::string before = ini.Read(section, key, "d");
    Check(before.size() <= qvs::CIniText::MaxValueLength);
    qvs::CIniText reparsed(ini.Text());
    Check(reparsed.Text() == ini.Text());
    Check(reparsed.Read(section, key, "d") == before);

    ini.Write(section, key, value);
    if (UsableName(section) && UsableName(key) && PlainValue(value)) {
        std::string_view expected = value.substr(0, qvs::CIniText::MaxValueLength);
        Check(ini.Read(section, key, "<default>") == expected);
        Check(qvs::CIniText(ini.Text()).Read(section, key, "<default>") == expected);
    }
    return 0;
}
