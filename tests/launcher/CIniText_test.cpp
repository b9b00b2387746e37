#include "launcher/CIniText.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace qvs {
namespace {

struct ReadCase {
    const char* name;
    std::string text;
    std::string section;
    std::string key;
    std::string defaultValue;
    std::string expected;
};

void PrintTo(const ReadCase& c, std::ostream* out) {
    *out << c.name;
}

class IniRead : public ::testing::TestWithParam<ReadCase> {};

TEST_P(IniRead, ReturnsStoredValueOrDefault) {
    const ReadCase& c = GetParam();
    EXPECT_EQ(CIniText(c.text).Read(c.section, c.key, c.defaultValue), c.expected);
}

const std::string v2047(2047, 'x');

INSTANTIATE_TEST_SUITE_P(
    Cases, IniRead,
    ::testing::Values(
        ReadCase{"plain", "[A]\r\nK=V\r\n", "A", "K", "d", "V"},
        ReadCase{"no_final_line_break", "[A]\r\nK=V", "A", "K", "d", "V"},
        ReadCase{"lf_lines", "[A]\nK=V\nL=1\n[B]\nX=2\n", "A", "L", "d", "1"},
        ReadCase{"cr_lines", "[A]\rK=V\rL=1\r[B]\rX=2\r", "B", "X", "d", "2"},
        ReadCase{"lone_cr_after_lf", "[A]\nK=V\rL=1\n", "A", "L", "d", "1"},
        ReadCase{"mixed_breaks", "[A]\nK=V\r\nL=1\rM=2", "A", "M", "d", "2"},
        ReadCase{"names_ignore_case", "[sec]\r\nkey=v\r\n", "SEC", "KEY", "d", "v"},
        ReadCase{"blanks_around_names", "  [ A ]  \r\n  K  =  V  \r\n", "A", "K", "d", "V"},
        ReadCase{"blanks_in_query", "[A]\r\nK=V\r\n", " A ", "\tK ", "d", "V"},
        ReadCase{"tabs_and_ctrl_z", "[A]\r\n\tT\t=\x1av\t\x1a\r\n", "A", "T", "d", "v"},
        ReadCase{"first_duplicate_key", "[A]\r\nK=1\r\nK=2\r\n", "A", "K", "d", "1"},
        ReadCase{"first_duplicate_section", "[A]\r\nK=1\r\n[B]\r\n[a]\r\nL=3\r\n", "A", "L", "d",
                 "d"},
        ReadCase{"equals_in_value", "[A]\r\nK=a=b\r\n", "A", "K", "d", "a=b"},
        ReadCase{"key_without_equals", "[A]\r\nK\r\n", "A", "K", "d", "d"},
        ReadCase{"first_key_without_equals", "[A]\r\nK\r\nK=2\r\n", "A", "K", "d", "d"},
        ReadCase{"empty_value", "[A]\r\nK=\r\n", "A", "K", "d", ""},
        ReadCase{"missing_section", "[A]\r\nK=V\r\n", "B", "K", "d", "d"},
        ReadCase{"missing_key", "[A]\r\nK=V\r\n[B]\r\nL=1\r\n", "A", "L", "d", "d"},
        ReadCase{"key_of_next_section", "[A]\r\n[B]\r\nK=V\r\n", "A", "K", "d", "d"},
        ReadCase{"empty_file", "", "A", "K", "d", "d"},
        ReadCase{"blank_lines_before_key", "[A]\r\n\r\n\r\nK=V\r\n", "A", "K", "d", "V"},
        ReadCase{"text_after_header", "[A] x\r\nK=V\r\n", "A", "K", "d", "V"},
        ReadCase{"unclosed_header_is_a_key", "[A]\r\n[B\r\nL=1\r\n", "A", "L", "d", "1"},
        ReadCase{"unclosed_header_no_section", "[A]\r\n[B\r\nL=1\r\n", "B", "L", "d", "d"},
        ReadCase{"keys_above_first_section", "K=V\r\n[A]\r\n", "", "K", "d", "V"},
        ReadCase{"semicolon_is_part_of_name", "[A]\r\n;K=1\r\nK=2\r\n", "A", "K", "d", "2"},
        ReadCase{"semicolon_key", "[A]\r\n;K=1\r\n", "A", ";K", "d", "1"},
        ReadCase{"eight_bit_bytes", "[A]\r\nK=\xe9\x81\xff\r\n", "A", "K", "d", "\xe9\x81\xff"},
        ReadCase{"double_quotes_removed", "[A]\r\nQ=\"abc\"\r\n", "A", "Q", "d", "abc"},
        ReadCase{"single_quotes_removed", "[A]\r\nQ='x'\r\n", "A", "Q", "d", "x"},
        ReadCase{"unmatched_quote_kept", "[A]\r\nQ=\"abc\r\n", "A", "Q", "d", "\"abc"},
        ReadCase{"inner_quote_kept", "[A]\r\nQ=\"a\"b\"\r\n", "A", "Q", "d", "a\"b"},
        ReadCase{"mixed_quotes_kept", "[A]\r\nQ='a\"\r\n", "A", "Q", "d", "'a\""},
        ReadCase{"empty_quotes", "[A]\r\nQ=\"\"\r\n", "A", "Q", "d", ""},
        ReadCase{"lone_quote", "[A]\r\nQ=\"\r\n", "A", "Q", "d", "\""},
        ReadCase{"default_trailing_spaces", "", "A", "K", "dd  ", "dd"},
        ReadCase{"default_leading_spaces", "", "A", "K", "  dd", "  dd"},
        ReadCase{"default_of_spaces", "", "A", "K", "   ", " "},
        ReadCase{"default_trailing_tab_kept", "", "A", "K", "a \t", "a \t"},
        ReadCase{"value_2047", "[A]\r\nK=" + v2047 + "\r\n", "A", "K", "d", v2047},
        ReadCase{"value_2048", "[A]\r\nK=" + v2047 + "y\r\n", "A", "K", "d", v2047},
        ReadCase{"value_3000", "[A]\r\nK=" + v2047 + std::string(953, 'z') + "\r\n", "A", "K", "d",
                 v2047},
        ReadCase{"quoted_value_3000", "[A]\r\nK=\"" + v2047 + std::string(953, 'z') + "\"\r\n", "A",
                 "K", "d", v2047},
        ReadCase{"default_3000", "", "A", "K", v2047 + std::string(953, 'z'), v2047}),
    [](const auto& info) { return std::string(info.param.name); });

struct Assignment {
    std::string section;
    std::string key;
    std::string value;
};

struct WriteCase {
    const char* name;
    std::string text;
    std::vector<Assignment> writes;
    std::string expected;
};

void PrintTo(const WriteCase& c, std::ostream* out) {
    *out << c.name;
}

class IniWrite : public ::testing::TestWithParam<WriteCase> {};

TEST_P(IniWrite, ProducesExactText) {
    const WriteCase& c = GetParam();
    CIniText ini(c.text);
    for (const Assignment& a : c.writes) {
        ini.Write(a.section, a.key, a.value);
    }
    EXPECT_EQ(ini.Text(), c.expected);
}

TEST_P(IniWrite, ReadsBackEveryValueWritten) {
    const WriteCase& c = GetParam();
    CIniText ini(c.text);
    for (const Assignment& a : c.writes) {
        ini.Write(a.section, a.key, a.value);
        CIniText reread(ini.Text());
        EXPECT_EQ(reread.Read(a.section, a.key, "<none>"), a.value) << a.section << "/" << a.key;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IniWrite,
    ::testing::Values(
        WriteCase{"new_file",
                  "",
                  {{"A", "K", "V"}, {"A", "K2", "V2"}, {"B", "X", "1"}, {"a", "k", "new"}},
                  "[A]\r\nK=new\r\nK2=V2\r\n[B]\r\nX=1\r\n"},
        WriteCase{"key_goes_above_blank_lines",
                  "[A]\r\nK=V\r\n\r\n[B]\r\nX=1\r\n",
                  {{"A", "K2", "V2"}, {"B", "Y", "2"}, {"C", "Z", "3"}},
                  "[A]\r\nK=V\r\nK2=V2\r\n\r\n[B]\r\nX=1\r\nY=2\r\n[C]\r\nZ=3\r\n"},
        WriteCase{"key_goes_below_other_lines",
                  "[A]\r\nK=1\r\n\r\n;c\r\n\r\n[B]\r\n",
                  {{"A", "M", "3"}},
                  "[A]\r\nK=1\r\n\r\n;c\r\nM=3\r\n\r\n[B]\r\n"},
        WriteCase{
            "empty_section", "[A]\r\n\r\n[B]\r\n", {{"A", "K", "1"}}, "[A]\r\nK=1\r\n\r\n[B]\r\n"},
        WriteCase{"section_after_blank_lines",
                  "[A]\r\nK=V\r\n\r\n\r\n",
                  {{"C", "Z", "3"}},
                  "[A]\r\nK=V\r\n\r\n\r\n[C]\r\nZ=3\r\n"},
        WriteCase{"no_final_line_break_new_key",
                  "[A]\r\nK=V",
                  {{"A", "K2", "V2"}},
                  "[A]\r\nK=V\r\nK2=V2\r\n"},
        WriteCase{"no_final_line_break_new_section",
                  "[A]\r\nK=V   ",
                  {{"B", "X", "1"}},
                  "[A]\r\nK=V   \r\n[B]\r\nX=1\r\n"},
        WriteCase{"no_final_line_break_replace", "[A]\r\nK=V", {{"A", "K", "W"}}, "[A]\r\nK=W\r\n"},
        WriteCase{"lf_lines_become_cr_lf",
                  "[A]\nK=V\nL=1\n[B]\nX=1\n",
                  {{"A", "K", "W"}, {"A", "K2", "V2"}},
                  "[A]\r\nK=W\r\nL=1\r\nK2=V2\r\n[B]\r\nX=1\r\n"},
        WriteCase{"cr_lines_become_cr_lf",
                  "[A]\rK=V\rL=1\r[B]\rX=1\r",
                  {{"A", "K", "W"}},
                  "[A]\r\nK=W\r\nL=1\r\n[B]\r\nX=1\r\n"},
        WriteCase{"first_duplicate_key_replaced",
                  "[A]\r\nK=1\r\nK=2\r\n",
                  {{"A", "K", "3"}},
                  "[A]\r\nK=3\r\nK=2\r\n"},
        WriteCase{"first_duplicate_section_extended",
                  "[A]\r\nK=1\r\n[B]\r\nx=1\r\n[A]\r\nK=2\r\nL=3\r\n",
                  {{"A", "L", "4"}, {"A", "M", "5"}},
                  "[A]\r\nK=1\r\nL=4\r\nM=5\r\n[B]\r\nx=1\r\n[A]\r\nK=2\r\nL=3\r\n"},
        WriteCase{"file_spelling_of_names_kept",
                  "[sec]\r\nkey=v\r\n",
                  {{"SEC", "KEY", "w"}, {"SEC", "NEW", "n"}},
                  "[sec]\r\nkey=w\r\nNEW=n\r\n"},
        WriteCase{"other_lines_kept_as_they_are",
                  "junk\r\n[A]\r\nstray\r\n  K  =  V  \r\n;c=1\r\nL = 1\r\n",
                  {{"A", "L", "2"}, {"A", "N", "1"}},
                  "junk\r\n[A]\r\nstray\r\n  K  =  V  \r\n;c=1\r\nL=2\r\nN=1\r\n"},
        WriteCase{"equals_in_value", "[A]\r\nK=a=b\r\n", {{"A", "K", "c=d"}}, "[A]\r\nK=c=d\r\n"},
        WriteCase{
            "key_without_equals_gets_value", "[A]\r\nK\r\n", {{"A", "K", "v"}}, "[A]\r\nK=v\r\n"},
        WriteCase{"names_trimmed", "", {{" B\t", " S ", "x"}}, "[B]\r\nS=x\r\n"},
        WriteCase{"keys_above_first_section",
                  "K=V\r\n[A]\r\n",
                  {{"", "N", "1"}},
                  "K=V\r\nN=1\r\n[A]\r\n"},
        WriteCase{"empty_value", "", {{"A", "E", ""}}, "[A]\r\nE=\r\n"},
        WriteCase{"quoted_value_stored_as_given", "", {{"A", "Q", "'q\""}}, "[A]\r\nQ='q\"\r\n"},
        WriteCase{"eight_bit_bytes",
                  "[A]\r\nK=\xe9\r\n",
                  {{"A", "L", "\xe9\x81\xfe"}},
                  "[A]\r\nK=\xe9\r\nL=\xe9\x81\xfe\r\n"},
        WriteCase{"configuration_sequence",
                  "",
                  {{"EXE_VERSION", "MAJOR_VERSION", "1"},
                   {"EXE_VERSION", "MINOR_VERSION", "0"},
                   {"EXE_VERSION", "RELEASE", "0"},
                   {"EXE_VERSION", "BUILD", "1"},
                   {"START_UP", "DELETED_DUPLICATE_JAVA_VERSIONS", "TRUE"},
                   {"AUI", "NUM_FAILED_PINGS", "1"},
                   {"AUI", "NUM_FAILED_PINGS", "0"},
                   {"AUI", "CAN_PING", "TRUE"},
                   {"EXE_VERSION", "BUILD", "2"}},
                  "[EXE_VERSION]\r\nMAJOR_VERSION=1\r\nMINOR_VERSION=0\r\nRELEASE=0\r\nBUILD=2\r\n"
                  "[START_UP]\r\nDELETED_DUPLICATE_JAVA_VERSIONS=TRUE\r\n"
                  "[AUI]\r\nNUM_FAILED_PINGS=0\r\nCAN_PING=TRUE\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(IniText, LongValueIsStoredWholeAndReadCut) {
    std::string value(3000, 'z');
    CIniText ini;
    ini.Write("A", "K", value);
    EXPECT_EQ(ini.Text(), "[A]\r\nK=" + value + "\r\n");
    EXPECT_EQ(ini.Read("A", "K", "d"), value.substr(0, 2047));
}

TEST(IniText, LeadingBlanksOfValueAreNotStored) {
    CIniText ini("[A]\r\nK=1\r\n");
    ini.Write("A", "K", " \t 2 x");
    EXPECT_EQ(ini.Text(), "[A]\r\nK=2 x\r\n");
}

TEST(IniText, LineBreaksInsideNamesAndValuesCannotAddLines) {
    CIniText ini;
    ini.Write("A", "K", "a\r\n[B]\r\nX=1\nY=2\rZ=3");
    ini.Write("S\r\nT", "L\nM", "v");
    EXPECT_EQ(ini.Text(), "[A]\r\nK=a  [B]  X=1 Y=2 Z=3\r\n[S  T]\r\nL M=v\r\n");
    EXPECT_EQ(CIniText(ini.Text()).Read("B", "X", "d"), "d");
}

TEST(IniText, UnchangedValueLeavesTextAlone) {
    const std::string text = "[A]\r\n K = V \r\n\r\n";
    CIniText ini(text);
    EXPECT_FALSE(ini.Write("a", "k", "V"));
    EXPECT_EQ(ini.Text(), text);
    EXPECT_TRUE(ini.Write("A", "K", "W"));
    EXPECT_EQ(ini.Text(), "[A]\r\nK=W\r\n\r\n");
}

TEST(IniText, QuotedValueIsReplacedByUnquotedOne) {
    CIniText ini("[A]\r\nK=\"v\"\r\n");
    EXPECT_TRUE(ini.Write("A", "K", "v"));
    EXPECT_EQ(ini.Text(), "[A]\r\nK=v\r\n");
}

struct SplitCase {
    const char* name;
    std::string text;
    std::vector<std::string> lines;
};

class IniSplit : public ::testing::TestWithParam<SplitCase> {};

TEST_P(IniSplit, FindsLines) {
    EXPECT_EQ(CIniText::SplitLines(GetParam().text), GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IniSplit,
    ::testing::Values(SplitCase{"empty", "", {}}, SplitCase{"one_break", "\r\n", {""}},
                      SplitCase{"cr_lf", "a\r\nb\r\n", {"a", "b"}},
                      SplitCase{"no_final_break", "a\r\nb", {"a", "b"}},
                      SplitCase{"lf", "a\n\nb\n", {"a", "", "b"}},
                      SplitCase{"cr", "a\rb\r", {"a", "b"}},
                      SplitCase{"lf_cr_is_two_breaks", "a\n\rb", {"a", "", "b"}},
                      SplitCase{"blank_lines_kept", "\r\n\r\na", {"", "", "a"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(IniText, JoinEndsEveryLineWithCrLf) {
    EXPECT_EQ(CIniText::JoinLines({"a", "", "b"}), "a\r\n\r\nb\r\n");
    EXPECT_EQ(CIniText::JoinLines({}), "");
}

} // namespace
} // namespace qvs
