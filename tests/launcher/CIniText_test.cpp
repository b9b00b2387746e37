// One table of INI cases. Natively each case checks the text after the writes
// and the values read; under Windows the same writes also go through the
// system's own profile-string functions, and both files must read back the
// same and hold the same bytes. Where the system rewrites lines that were not
// written to (it drops blank lines and the blanks around names), only the
// reads are compared.
#include "launcher/CIniText.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#ifdef _WIN32
#include "launcher/CConfig.h"
#include "support/RawFile.h"
#include "support/TempDir.h"

#include <windows.h>
#endif

namespace qvs {
namespace {

struct Entry {
    std::string section;
    std::string key;
    std::string value; // written, or expected from a read with default "d"
};

enum class System { SameBytes, SameReads, NotCompared };

struct IniCase {
    const char* name;
    std::string before; // empty: no file
    std::vector<Entry> writes;
    std::vector<Entry> reads;
    std::string after; // the text after the writes
    System system = System::SameBytes;
};

const std::string x2047(2047, 'x');

// clang-format off
const IniCase IniCases[] = {
    {"new_file", "",
     {{"A", "K", "V"}, {"A", "K2", "V2"}, {"B", "X", "1"}, {"a", "k", "new"}},
     {{"B", "x", "1"}, {"C", "X", "d"}, {"A", "K3", "d"}},
     "[A]\r\nK=new\r\nK2=V2\r\n[B]\r\nX=1\r\n"},
    {"line_breaks_and_no_final_one", "[A]\nK=V\rL=1\r\nM=2\n[B]\rX=1",
     {{"A", "K", "W"}, {"A", "N", "3"}, {"B", "Y", "2"}},
     {{"A", "L", "1"}, {"A", "M", "2"}, {"B", "X", "1"}},
     "[A]\r\nK=W\r\nL=1\r\nM=2\r\nN=3\r\n[B]\r\nX=1\r\nY=2\r\n"},
    {"first_duplicate_key_and_section",
     "[A]\r\nK=1\r\nK=0\r\n[B]\r\nx=1\r\n[a]\r\nK=2\r\nL=3\r\nP=9\r\n",
     {{"A", "L", "4"}, {"A", "K", "3"}}, {{"A", "P", "d"}},
     "[A]\r\nK=3\r\nK=0\r\nL=4\r\n[B]\r\nx=1\r\n[a]\r\nK=2\r\nL=3\r\nP=9\r\n"},
    {"equals_and_eight_bit_bytes_in_values", "[A]\r\nK=a=b\r\nH=\xe9\x81\xff\r\n",
     {{"A", "K", "c=d"}, {"A", "E", ""}, {"A", "L", "\xe9\x81\xfe"}},
     {{"A", "K", "c=d"}, {"A", "E", ""}, {"A", "H", "\xe9\x81\xff"}},
     "[A]\r\nK=c=d\r\nH=\xe9\x81\xff\r\nE=\r\nL=\xe9\x81\xfe\r\n"},
    {"stray_lines_and_keys_above_first_section",
     "junk\r\nZ=0\r\n[A]\r\nstray\r\nlost\r\nK=V\r\n;c=1\r\n",
     {{"A", "K", "W"}, {"A", "N", "1"}, {"A", "stray", "s"}},
     {{"A", "lost", "d"}, {"A", ";c", "1"}, {"A", "Z", "d"}},
     "junk\r\nZ=0\r\n[A]\r\nstray=s\r\nlost\r\nK=W\r\n;c=1\r\nN=1\r\n"},
    {"text_after_header_and_unclosed_header", "[A] x\r\nK=V\r\n[B\r\nL=1\r\n", {{"A", "K", "W"}},
     {{"A", "L", "1"}, {"B", "L", "d"}}, "[A] x\r\nK=W\r\n[B\r\nL=1\r\n", System::SameReads},
    {"quotes", "[A]\r\nQ=\"abc\"\r\nS='x'\r\nH=\"abc\r\nM=\"a\"b\"\r\nE=\"\"\r\nL=\"\r\n",
     {{"A", "W", "\"q\""}, {"A", "Z", "'q\""}, {"A", "Q", "abc"}},
     {{"A", "S", "x"}, {"A", "H", "\"abc"}, {"A", "M", "a\"b"}, {"A", "E", ""}, {"A", "L", "\""},
      {"A", "W", "q"}, {"A", "Z", "'q\""}},
     "[A]\r\nQ=abc\r\nS='x'\r\nH=\"abc\r\nM=\"a\"b\"\r\nE=\"\"\r\nL=\"\r\nW=\"q\"\r\nZ='q\"\r\n"},
    {"names_and_leading_blanks_of_values_trimmed", "",
     {{"A", "K", "  v"}, {"A", " S", "x"}, {"\tB", "T", "\ty z"}}, {{"B", "T", "y z"}},
     "[A]\r\nK=v\r\nS=x\r\n[B]\r\nT=y z\r\n"},
    {"long_values_stored_whole_and_read_cut", "[A]\r\nQ=\"" + x2047 + "zz\"\r\n",
     {{"A", "A", x2047}, {"A", "B", x2047 + "y"}, {"A", "C", x2047 + x2047}},
     {{"A", "A", x2047}, {"A", "B", x2047}, {"A", "C", x2047}, {"A", "Q", x2047}},
     "[A]\r\nQ=\"" + x2047 + "zz\"\r\nA=" + x2047 + "\r\nB=" + x2047 + "y\r\nC=" + x2047 +
         x2047 + "\r\n"},
    {"unchanged_value_leaves_line", "[A]\r\n K = V \r\n", {{"A", "K", "V"}}, {},
     "[A]\r\n K = V \r\n"},
    {"new_keys_go_above_blank_lines", "[A]\r\nK=V\r\n\r\n[B]\r\nX=1\r\n\r\n\r\n",
     {{"A", "K2", "V2"}, {"B", "Y", "2"}, {"C", "Z", "3"}}, {},
     "[A]\r\nK=V\r\nK2=V2\r\n\r\n[B]\r\nX=1\r\nY=2\r\n\r\n\r\n[C]\r\nZ=3\r\n", System::SameReads},
    {"blanks_around_names", "  [ A ]  \r\n  K  =  V  \r\n\tT\t=\tv\t\r\nL = 1\r\n",
     {{"A", "L", "2"}, {"A", "N", "3"}}, {{"A", "K", "V"}, {"A", "T", "v"}, {" A ", "\tK ", "V"}},
     "  [ A ]  \r\n  K  =  V  \r\n\tT\t=\tv\t\r\nL=2\r\nN=3\r\n", System::SameReads},
    {"ctrl_z", "[A]\r\nK=\x1av\x1a\r\n\x1a\r\n", {{"A", "L", "w"}}, {{"A", "K", "v"}},
     "[A]\r\nK=\x1av\x1a\r\nL=w\r\n\x1a\r\n", System::SameReads},
    // Our own rules beyond what the system does.
    {"new_key_goes_below_other_lines_and_into_empty_section",
     "[A]\r\n\r\n[B]\r\nK=1\r\n\r\n;c\r\n\r\n[C]\r\n", {{"A", "K", "1"}, {"B", "M", "3"}}, {},
     "[A]\r\nK=1\r\n\r\n[B]\r\nK=1\r\n\r\n;c\r\nM=3\r\n\r\n[C]\r\n", System::NotCompared},
    {"line_breaks_in_names_and_values_cannot_add_lines", "",
     {{"A", "K", "a\r\n[B]\r\nX=1\nY=2\rZ=3"}, {"S\r\nT", "L\nM", "v"}}, {{"B", "X", "d"}},
     "[A]\r\nK=a  [B]  X=1 Y=2 Z=3\r\n[S  T]\r\nL M=v\r\n", System::NotCompared},
    {"empty_name_is_above_first_section", "K=V\r\n[A]\r\n", {{"", "N", "1"}}, {{"", "K", "V"}},
     "K=V\r\nN=1\r\n[A]\r\n", System::NotCompared},
};
// clang-format on

class Ini : public ::testing::TestWithParam<IniCase> {};

TEST_P(Ini, TextAfterWritesAndValuesRead) {
    const IniCase& c = GetParam();
    CIniText ini(c.before);
    for (const Entry& w : c.writes) {
        ini.Write(w.section, w.key, w.value);
    }
    EXPECT_EQ(ini.Text(), c.after);
    const CIniText reread(ini.Text());
    for (const Entry& r : c.reads) {
        EXPECT_EQ(reread.Read(r.section, r.key, "d"), r.value) << r.section << "/" << r.key;
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, Ini, ::testing::ValuesIn(IniCases),
                         [](const auto& info) { return std::string(info.param.name); });

#ifdef _WIN32

std::string SystemRead(const std::string& file, const std::string& section, const std::string& key,
                       const std::string& defaultValue) {
    std::string buffer(4096, '#');
    DWORD length = GetPrivateProfileStringA(section.c_str(), key.c_str(), defaultValue.c_str(),
                                            buffer.data(), 2048, file.c_str());
    return buffer.substr(0, length);
}

TEST_P(Ini, SameReadsAndBytesAsSystem) {
    const IniCase& c = GetParam();
    if (c.system == System::NotCompared) {
        GTEST_SKIP() << "our own rule, not the system's";
    }
    test::TempDir dir;
    const std::string ours = CConfig::PathIn(dir.Str());
    const std::string theirs = dir.File("system.ini");
    if (!c.before.empty()) {
        test::WriteRawFile(ours, c.before);
        test::WriteRawFile(theirs, c.before);
    }
    CConfig config(ours);
    std::vector<Entry> reads = c.reads;
    for (const Entry& w : c.writes) {
        config.WriteValue(w.section, w.key, w.value);
        ASSERT_TRUE(WritePrivateProfileStringA(w.section.c_str(), w.key.c_str(), w.value.c_str(),
                                               theirs.c_str()));
        reads.push_back(w);
    }
    for (const Entry& r : reads) {
        EXPECT_EQ(config.ReadValue(r.section, r.key, "d"),
                  SystemRead(theirs, r.section, r.key, "d"))
            << r.section << "/" << r.key;
    }
    if (c.system == System::SameBytes) {
        EXPECT_EQ(test::ReadRawFile(ours).value_or("<missing>"),
                  test::ReadRawFile(theirs).value_or("<missing>"));
    }
}

#endif // _WIN32

} // namespace
} // namespace qvs
