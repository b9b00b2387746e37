// Arbitrary configuration text, read with arbitrary names, then one write that
// must read back. Input: section NUL key NUL value NUL file text.
#include "FuzzSupport.h"
#include "launcher/CIniText.h"

#include <array>
#include <string>
#include <string_view>

namespace {

// Section, key and value, each ended by the first NUL left (empty once none
// is), then the file text.
std::array<std::string_view, 4> SplitFields(std::string_view input) {
    std::array<std::string_view, 4> fields;
    for (std::size_t i = 0, zero; i < 3 && (zero = input.find('\0')) != input.npos; ++i) {
        fields[i] = input.substr(0, zero);
        input.remove_prefix(zero + 1);
    }
    fields[3] = input;
    return fields;
}

bool UsableName(std::string_view name) {
    return name.find_first_of("[]=\r\n") == std::string_view::npos;
}

// A value that a read gives back unchanged apart from the length limit.
bool PlainValue(std::string_view value) {
    constexpr std::string_view blank = " \t\n\v\f\r\x1a";
    const bool quoted = value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
                        value.back() == value.front();
    return value.empty() ||
           (!quoted && blank.find(value.front()) == blank.npos &&
            blank.find(value.back()) == blank.npos && value.find_first_of("\r\n") == value.npos);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using qvs::fuzz::Check;
    const auto [section, key, value, text] =
        SplitFields(std::string_view(reinterpret_cast<const char*>(data), size));

    qvs::CIniText ini(text);
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
