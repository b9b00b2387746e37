// Our configuration code against the system's own profile-string functions:
// the same writes on two files must read back the same and leave the same
// bytes. Where the system rewrites lines that were not written to (it drops
// blank lines and the blanks around names), the files are compared in that
// rewritten form.
#ifdef _WIN32

#include "launcher/CConfig.h"
#include "launcher/CIniText.h"

#include "support/RawFile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace qvs {
namespace {

struct Assignment {
    std::string section;
    std::string key;
    std::string value;
};

struct ProfileCase {
    const char* name;
    std::optional<std::string> initial;
    std::vector<Assignment> writes;
    std::vector<std::pair<std::string, std::string>> reads; // besides the keys written
    bool sameBytes = true; // false: compare after the system's rewriting
};

void PrintTo(const ProfileCase& c, std::ostream* out) {
    *out << c.name;
}

std::string SystemRead(const std::string& file, const std::string& section,
                       const std::string& key) {
    std::string buffer(4096, '#');
    DWORD length = GetPrivateProfileStringA(section.c_str(), key.c_str(), "dflt", buffer.data(),
                                            2048, file.c_str());
    return buffer.substr(0, length);
}

std::string_view TrimBlanks(std::string_view text) {
    auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\x1a'; };
    while (!text.empty() && blank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && blank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

// A line as the system writes it back when it rewrites a file.
std::optional<std::string> RewrittenLine(std::string_view line) {
    std::string_view text = TrimBlanks(line);
    std::size_t close = text.rfind(']');
    std::size_t equals = text.find('=');
    if (text.empty()) {
        return std::nullopt;
    }
    if (text.front() == '[' && close != std::string_view::npos) {
        return "[" + std::string(TrimBlanks(text.substr(1, close - 1))) + "]";
    }
    if (equals == std::string_view::npos) {
        return std::string(text);
    }
    return std::string(TrimBlanks(text.substr(0, equals))) + "=" +
           std::string(TrimBlanks(text.substr(equals + 1)));
}

std::string Rewritten(const std::string& text) {
    std::string result;
    for (const std::string& line : CIniText::SplitLines(text)) {
        if (std::optional<std::string> kept = RewrittenLine(line)) {
            result += *kept + "\r\n";
        }
    }
    return result;
}

class SystemProfile : public ::testing::TestWithParam<ProfileCase> {
protected:
    test::TempDir dir;
    std::string ours = CConfig::PathIn(dir.Str());
    std::string theirs = dir.File("system.ini");

    void Prepare() {
        if (GetParam().initial) {
            test::WriteRawFile(ours, *GetParam().initial);
            test::WriteRawFile(theirs, *GetParam().initial);
        }
    }
};

TEST_P(SystemProfile, SameReadsAndBytes) {
    const ProfileCase& c = GetParam();
    Prepare();
    CConfig config(ours);
    std::vector<std::pair<std::string, std::string>> reads = c.reads;
    for (const Assignment& a : c.writes) {
        config.WriteValue(a.section, a.key, a.value);
        ASSERT_TRUE(WritePrivateProfileStringA(a.section.c_str(), a.key.c_str(), a.value.c_str(),
                                               theirs.c_str()));
        reads.emplace_back(a.section, a.key);
    }
    for (const auto& [section, key] : reads) {
        EXPECT_EQ(config.ReadValue(section, key, "dflt"), SystemRead(theirs, section, key))
            << section << "/" << key;
    }
    std::string ourBytes = test::ReadRawFile(ours).value_or("<missing>");
    std::string theirBytes = test::ReadRawFile(theirs).value_or("<missing>");
    if (c.sameBytes) {
        EXPECT_EQ(ourBytes, theirBytes);
    } else {
        EXPECT_EQ(Rewritten(ourBytes), Rewritten(theirBytes));
    }
}

const std::string x2047(2047, 'x');

INSTANTIATE_TEST_SUITE_P(
    Cases, SystemProfile,
    ::testing::Values(
        ProfileCase{"new_file",
                    std::nullopt,
                    {{"A", "K", "V"}, {"A", "K2", "V2"}, {"B", "X", "1"}, {"a", "k", "new"}},
                    {{"B", "x"}, {"C", "X"}, {"A", "K3"}}},
        ProfileCase{"launcher_sequence",
                    std::nullopt,
                    {{"EXE_VERSION", "MAJOR_VERSION", "1"},
                     {"EXE_VERSION", "MINOR_VERSION", "0"},
                     {"EXE_VERSION", "RELEASE", "0"},
                     {"EXE_VERSION", "BUILD", "1"},
                     {"START_UP", "DELETED_DUPLICATE_JAVA_VERSIONS", "TRUE"},
                     {"AUI", "NUM_FAILED_PINGS", "1"},
                     {"OPTIONS", "DISABLE_ERROR_DISPLAY", "FALSE"},
                     {"AUI", "NUM_FAILED_PINGS", "0"},
                     {"AUI", "CAN_PING", "TRUE"},
                     {"JAVA_VERSION", "VERSION", "java version \"1.8.0\" <BR> Java(TM) SE"},
                     {"ERROR", "LAST_ERROR_STATUS", "esNoError"},
                     {"EXE_VERSION", "BUILD", "2"}}},
        ProfileCase{"empty_file", "", {{"A", "K", "V"}}},
        ProfileCase{"no_final_line_break", "[A]\r\nK=V", {{"A", "K2", "V2"}, {"B", "X", "1"}}},
        ProfileCase{"no_final_line_break_replace", "[A]\r\nK=V", {{"A", "K", "W"}}},
        ProfileCase{"lf_lines", "[A]\nK=V\nL=1\n[B]\nX=1\n", {{"A", "K", "W"}, {"A", "K2", "V2"}}},
        ProfileCase{"cr_lines", "[A]\rK=V\rL=1\r[B]\rX=1\r", {{"A", "K", "W"}}, {{"B", "X"}}},
        ProfileCase{"mixed_line_breaks",
                    "[A]\nK=V\r\nL=1\rM=2\n",
                    {{"A", "N", "3"}},
                    {{"A", "L"}, {"A", "M"}}},
        ProfileCase{"duplicate_keys", "[A]\r\nK=1\r\nK=2\r\n", {{"A", "K", "3"}}},
        ProfileCase{"duplicate_sections",
                    "[A]\r\nK=1\r\n[B]\r\nx=1\r\n[A]\r\nK=2\r\nL=3\r\n",
                    {{"A", "L", "4"}, {"A", "M", "5"}},
                    {{"A", "K"}}},
        ProfileCase{"equals_in_value", "[A]\r\nK=a=b\r\n", {{"A", "K", "c=d"}, {"A", "E", ""}}},
        ProfileCase{
            "names_ignore_case", "[sec]\r\nkey=v\r\n", {{"SEC", "KEY", "w"}, {"Sec", "NEW", "n"}}},
        ProfileCase{"stray_lines",
                    "junk\r\n[A]\r\nstray\r\nK=V\r\n;c=1\r\n",
                    {{"A", "K", "W"}, {"A", "N", "1"}},
                    {{"A", "stray"}, {"A", ";c"}}},
        ProfileCase{"key_without_equals", "[A]\r\nK\r\nL\r\n", {{"A", "K", "v"}}, {{"A", "L"}}},
        ProfileCase{"text_after_header",
                    "[A] x\r\nK=V\r\n[B\r\nL=1\r\n",
                    {{"A", "K", "W"}},
                    {{"A", "L"}, {"B", "L"}},
                    false},
        ProfileCase{"keys_above_first_section", "K=V\r\n[A]\r\nX=1\r\n", {{"A", "Y", "2"}}},
        ProfileCase{"quotes",
                    "[A]\r\nQ=\"abc\"\r\nS='x'\r\nH=\"abc\r\nM=\"a\"b\"\r\nE=\"\"\r\n",
                    {{"A", "W", "\"q\""}, {"A", "Z", "'q\""}},
                    {{"A", "Q"}, {"A", "S"}, {"A", "H"}, {"A", "M"}, {"A", "E"}}},
        ProfileCase{"names_and_values_trimmed",
                    std::nullopt,
                    {{"A", "K", "  v"}, {"A", " S", "x"}, {"\tB", "T", "\ty"}}},
        ProfileCase{"eight_bit_bytes",
                    "[A]\r\nK=\xe9\x81\xff\r\n",
                    {{"A", "L", "\xe9\x81\xfe"}, {"A", "K", "a"}}},
        ProfileCase{"long_values",
                    std::nullopt,
                    {{"A", "A", x2047}, {"A", "B", x2047 + "y"}, {"A", "C", x2047 + x2047}}},
        ProfileCase{"long_values_in_file",
                    "[A]\r\nA=" + x2047 + "\r\nB=" + x2047 + "yy\r\n",
                    {},
                    {{"A", "A"}, {"A", "B"}}},
        ProfileCase{"unchanged_value_leaves_file", "[A]\r\n K = V \r\n\r\n", {{"A", "K", "V"}}},
        ProfileCase{"blank_lines_between_sections",
                    "[A]\r\nK=V\r\n\r\n[B]\r\nX=1\r\n\r\n\r\n",
                    {{"A", "K2", "V2"}, {"B", "Y", "2"}, {"C", "Z", "3"}},
                    {},
                    false},
        ProfileCase{"blanks_around_names",
                    "  [ A ]  \r\n  K  =  V  \r\n\tT\t=\tv\t\r\nL = 1\r\n",
                    {{"A", "L", "2"}, {"A", "N", "3"}},
                    {{"A", "K"}, {"A", "T"}, {" A ", " K "}},
                    false},
        ProfileCase{
            "ctrl_z", "[A]\r\nK=\x1av\x1a\r\n\x1a\r\n", {{"A", "L", "w"}}, {{"A", "K"}}, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SystemProfileDefault, TrailingSpacesOfDefaultDropped) {
    test::TempDir dir;
    std::string missing = dir.File("missing.ini");
    CConfig config(missing);
    for (const char* defaultValue : {"dd  ", "  dd", " ", "   ", "a \t", "a\t "}) {
        std::string buffer(4096, '#');
        DWORD length =
            GetPrivateProfileStringA("A", "K", defaultValue, buffer.data(), 2048, missing.c_str());
        EXPECT_EQ(config.ReadValue("A", "K", defaultValue), buffer.substr(0, length))
            << "[" << defaultValue << "]";
    }
}

} // namespace
} // namespace qvs

#endif // _WIN32
