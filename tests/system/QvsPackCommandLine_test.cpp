// Runs the qvs-pack binary the build produced; POSIX only where the openssl
// steps go through the shell.
#if defined(QVS_PACK_BINARY)

#include "platform/Process.h"
#include "support/Scramble.h"
#include "support/TempDir.h"
#include "support/TinyProgram.h"
#include "support/TreeSnapshot.h"
#include "support/WireBytes.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>

namespace qvs {
namespace {

using test::ReadFileBytes;
using test::TreeSnapshot;
using test::WriteFileBytes;
namespace fs = std::filesystem;

class QvsPack : public ::testing::Test {
protected:
    static platform::CapturedOutput Run(const std::string& arguments) {
        return platform::RunCapturingOutput("\"" QVS_PACK_BINARY "\" " + arguments);
    }
    std::string Quoted(const std::string& name) { return '"' + temp_.File(name) + '"'; }
    test::TempDir temp_;
};

#ifndef _WIN32
TEST_F(QvsPack, WrongUsagePrintsUsageAndExitsWithTwo) {
    for (const char* arguments : {"", "create", "create a", "list", "list a b", "extract a",
                                  "create a b --bse c", "frobnicate x y"}) {
        const platform::CapturedOutput outcome = Run(arguments);
        EXPECT_EQ(outcome.exitCode, 2) << arguments;
        EXPECT_EQ(outcome.errors.rfind("usage: qvs-pack", 0), 0U) << arguments;
    }
}

TEST_F(QvsPack, BadInputExitsWithOneAndOneLine) {
    WriteFileBytes(temp_.File("junk.ecd"), "\x0f\x4b\x6e\x6d\x6c"); // decodes to "abc"
    WriteFileBytes(temp_.File("hostile.ecd"),
                   test::Scramble(test::Sz("..\\") + test::Le32(0) + test::Le32(0)));
    fs::create_directories(temp_.Path() / "install");
    // A program whose certificate table (Authenticode's) ends the file.
    std::string program = test::TinyProgram() + std::string(16, '\0');
    program.replace(test::SecurityEntryAt, 8, test::Le32(1024) + test::Le32(16));
    WriteFileBytes(temp_.File("signed.exe"), program);
    ASSERT_EQ(Run("keygen " + Quoted("k.pem")).exitCode, 0);
    const std::string cases[] = {
        "sign --key " + Quoted("k.pem") + " --name QVS.exe --version 1.0.0.1 " +
            Quoted("signed.exe"),
        "list " + Quoted("missing.ecd"),
        "list " + Quoted("junk.ecd"),
        "extract " + Quoted("junk.ecd") + " " + Quoted("install"),
        "extract " + Quoted("hostile.ecd") + " " + Quoted("install"),
        "create " + Quoted("no-folder") + " " + Quoted("x.ecd"),
        "encode " + Quoted("missing") + " " + Quoted("x"),
        "decode " + Quoted("missing") + " " + Quoted("x"),
    };
    for (const auto& arguments : cases) {
        const platform::CapturedOutput outcome = Run(arguments);
        EXPECT_EQ(outcome.exitCode, 1) << arguments;
        EXPECT_EQ(outcome.errors.rfind("qvs-pack: ", 0), 0U) << arguments;
        EXPECT_EQ(outcome.errors.find('\n'), outcome.errors.size() - 1) << arguments;
    }
    // The junk package names the base "abc", made and removed again when
    // its first count fails.
    EXPECT_TRUE(fs::is_empty(temp_.Path() / "install"));
    EXPECT_FALSE(fs::exists(temp_.File("x.ecd")));
}

// A package made from a folder lists its records, is scrambled, decodes and
// encodes back to the same records, and unpacks to the same tree, signed or
// not. Keys and signatures interoperate with the openssl command line:
// openssl reads our secret key, and a signature openssl makes over the
// message the README defines verifies, one over other bytes does not.
TEST_F(QvsPack, PackagesRoundTripAndSignaturesInteroperateWithOpenssl) {
    fs::create_directories(temp_.Path() / "src" / "sub");
    WriteFileBytes(temp_.Path() / "src" / "top.txt", "top");
    WriteFileBytes(temp_.Path() / "src" / "sub" / "a.bin", std::string("\0\xff", 2));
    ASSERT_EQ(Run("create " + Quoted("src") + " " + Quoted("p.ecd") + " --base data\\").exitCode,
              0);
    const platform::CapturedOutput listing = Run("list " + Quoted("p.ecd"));
    EXPECT_EQ(listing.exitCode, 0);
    EXPECT_EQ(listing.output, "base \"data\\\"\n"
                              "directory \"\"\n"
                              "directory \"sub\\\"\n"
                              "file \"sub\\\" \"a.bin\" 2\n"
                              "file \"\" \"top.txt\" 3\n");
    EXPECT_EQ(ReadFileBytes(temp_.File("p.ecd")).find("top.txt"), std::string::npos);
    ASSERT_EQ(Run("decode " + Quoted("p.ecd") + " " + Quoted("plain")).exitCode, 0);
    EXPECT_NE(ReadFileBytes(temp_.File("plain")).find("top.txt"), std::string::npos);
    ASSERT_EQ(Run("encode " + Quoted("plain") + " " + Quoted("again.ecd")).exitCode, 0);
    EXPECT_EQ(Run("list " + Quoted("again.ecd")).output, listing.output);

    const std::string publicKey = Run("keygen " + Quoted("k.pem")).output;
    EXPECT_EQ(fs::status(temp_.File("k.pem")).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(Run("keygen " + Quoted("k.pem")).exitCode, 1); // never overwrites a key
    const auto shell = [this](const std::string& script) {
        return std::system(("cd '" + temp_.Str() + "' && " + script).c_str());
    };
    ASSERT_EQ(shell("openssl pkey -in k.pem -pubout -outform DER | tail -c 32 | base64 >pub"), 0);
    EXPECT_EQ(ReadFileBytes(temp_.File("pub")), publicKey);
    const std::string key = publicKey.substr(0, publicKey.size() - 1);

    ASSERT_EQ(shell("cp p.ecd o.ecd && printf 'QVS-UPDATE-SIGNATURE-1\\nqvs\\n7\\n%s\\n' "
                    "$(sha256sum p.ecd | cut -c1-64) >msg && cp msg other && echo x >>other"),
              0);
    for (const std::string& message : {std::string("msg"), std::string("other")}) {
        ASSERT_EQ(
            shell("openssl pkeyutl -sign -rawin -inkey k.pem -in " + message +
                  " -out sig && cp p.ecd " + message +
                  ".ecd && n=$(( $(wc -c <msg) + 76 )) "
                  "&& { cat msg sig; printf \"$(printf '\\\\%03o' $n)\\0\\0\\0QvsSig01\"; } >>" +
                  message + ".ecd"),
            0);
    }
    EXPECT_EQ(
        Run("verify --public-key " + key + " --name qvs --version 7 " + Quoted("msg.ecd")).output,
        "name=qvs\nversion=7\n");
    EXPECT_EQ(Run("verify --public-key " + key + " " + Quoted("other.ecd")).errors,
              "qvs-pack: signed by an unknown key\n");

    ASSERT_EQ(Run("sign --key " + Quoted("k.pem") + " --name qvs --version 7 " + Quoted("o.ecd"))
                  .exitCode,
              0);
    EXPECT_EQ(ReadFileBytes(temp_.File("o.ecd")), ReadFileBytes(temp_.File("msg.ecd")));
    for (const char* package : {"again.ecd", "o.ecd"}) {
        const std::string install = std::string(package) + ".d";
        fs::create_directories(temp_.Path() / install);
        EXPECT_EQ(Run("extract " + Quoted(package) + " " + Quoted(install)).exitCode, 0);
        EXPECT_EQ(TreeSnapshot(temp_.Path() / install / "data"), TreeSnapshot(temp_.Path() / "src"))
            << package;
    }
    // Cut, then signed: the reader stops at the trailer, so the package is
    // short and nothing of it is installed.
    const std::string whole = ReadFileBytes(temp_.File("p.ecd"));
    WriteFileBytes(temp_.File("cut.ecd"), whole.substr(0, whole.size() - 2));
    ASSERT_EQ(Run("sign --key " + Quoted("k.pem") + " --name qvs --version 7 " + Quoted("cut.ecd"))
                  .exitCode,
              0);
    fs::create_directories(temp_.Path() / "cut.d");
    EXPECT_EQ(Run("extract " + Quoted("cut.ecd") + " " + Quoted("cut.d")).exitCode, 1);
    EXPECT_TRUE(fs::is_empty(temp_.Path() / "cut.d"));
}

#endif

// A player's profile named in several scripts, none of them in the ANSI code
// page (under Wine, its default one): the tool takes the folder from its
// command line and unpacks names stored in UTF-8 into it, the same tree on
// every platform.
TEST_F(QvsPack, ExtractsIntoAFolderNamedInAnyScript) {
    // Not the profile the end-to-end tests use, which may run meanwhile.
#ifdef _WIN32
    const fs::path profile(u8"C:\\users\\王伟 Ωμέγα Jürgen");
#else
    const fs::path profile = temp_.Path() / u8"王伟 Ωμέγα Jürgen";
#endif
    const fs::path install = profile / "AppData" / "Local" / "Quorvash";
    fs::remove_all(profile);
    fs::create_directories(install);
    fs::create_directories(temp_.Path() / "src" / u8"Ωμέγα");
    fs::create_directories(temp_.Path() / "src" / "sub");
    WriteFileBytes(temp_.Path() / "src" / "top.txt", "top");
    WriteFileBytes(temp_.Path() / "src" / u8"Ωμέγα" / u8"王伟.txt", "abc");
    WriteFileBytes(temp_.Path() / "src" / "sub" / u8"\U0001F3B2.bin", std::string("\0\xff", 2));
    ASSERT_EQ(Run("create " + Quoted("src") + " " + Quoted("p.ecd") + " --base data\\").exitCode,
              0);

    const std::u8string folder = install.u8string();
    const platform::CapturedOutput outcome = Run("extract " + Quoted("p.ecd") + " \"" +
                                                 std::string(folder.begin(), folder.end()) + "\"");
    EXPECT_EQ(outcome.exitCode, 0) << outcome.errors;
    const std::map<std::string, std::string> expected = {
        {"sub/", ""},
        {"sub/\xF0\x9F\x8E\xB2.bin", std::string("\0\xff", 2)},
        {"top.txt", "top"},
        {"\xCE\xA9\xCE\xBC\xCE\xAD\xCE\xB3\xCE\xB1/", ""},
        {"\xCE\xA9\xCE\xBC\xCE\xAD\xCE\xB3\xCE\xB1/\xE7\x8E\x8B\xE4\xBC\x9F.txt", "abc"}};
    EXPECT_EQ(TreeSnapshot(install / "data"), expected);
    fs::remove_all(profile);
}

} // namespace
} // namespace qvs

#endif
