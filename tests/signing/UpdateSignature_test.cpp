// A signed file in memory against every way it can be wrong: each is refused
// with its own one-line reason.
#include "signing/Ed25519.h"
#include "signing/SignatureError.h"
#include "signing/UpdateSignature.h"
#include "signing/UpdateTrailer.h"
#include "support/RawFile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <iostream>

namespace qvs {
namespace {

std::string Flip(std::string bytes, std::size_t fromEnd) {
    bytes[bytes.size() - fromEnd] ^= 0x01;
    return bytes;
}

std::string Replace(std::string bytes, const std::string& from, const std::string& to) {
    return bytes.replace(bytes.rfind(from), from.size(), to);
}

std::string ReasonFor(const std::string& file, const std::vector<std::string>& keys,
                      const SignedItem& expected) {
    try {
        UpdateSignature::Verify(file, keys, expected);
        return "accepted";
    } catch (const SignatureError& error) {
        return error.what();
    }
}

TEST(UpdateSignature, EachTamperingIsRefusedWithItsReason) {
    const Ed25519::KeyPair ours = Ed25519::Generate();
    const Ed25519::KeyPair other = Ed25519::Generate();
    const std::string content = "package bytes \x01\x02\x03 and more";
    const SignedItem item{"qvs", "5"};
    const std::string file = content + UpdateSignature::Sign(ours.seed, item, content);
    const std::size_t trailer = file.size() - content.size();
    const struct {
        const char* what;
        std::string file;
        SignedItem expected;
        std::string reason;
    } cases[] = {
        {"genuine", file, item, "accepted"},
        {"content byte", Flip(file, trailer + 3), item, "signature does not match the file"},
        {"signature byte", Flip(file, 30), item, "signed by an unknown key"},
        {"length byte", Flip(file, 12), item, "damaged signature trailer"},
        {"magic byte", Flip(file, 1), item, "no signature"},
        {"message byte", Flip(file, trailer - 2), item, "damaged signature trailer"},
        {"unsigned", content, item, "no signature"},
        {"blank in the name", Replace(file, "\nqvs\n", "\nq s\n"), item,
         "damaged signature trailer"},
        {"digest too long", Replace(file, "\nqvs\n5\n", "\nq\n5\n00"), item,
         "damaged signature trailer"},
        {"other version", file, {"qvs", "6"}, "signed for qvs 5, not qvs 6"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ReasonFor(c.file, {other.publicKey, ours.publicKey}, c.expected), c.reason)
            << c.what;
    }
    // Signed, but by none of the keys the build knows.
    EXPECT_EQ(ReasonFor(file, {other.publicKey}, item), "signed by an unknown key");
    EXPECT_EQ(UpdateSignature::Content(file), content);
    // Read from the last bytes of a longer file, a size reaching before them is refused.
    EXPECT_THROW(
        UpdateTrailer::Read(std::string_view(file).substr(content.size() + 1), file.size()),
        SignatureError);
}

void Put(std::string& bytes, std::size_t at, std::uint64_t value, int size) {
    for (int i = 0; i < size; ++i) {
        bytes[at + static_cast<std::size_t>(i)] = static_cast<char>((value >> (8 * i)) & 0xff);
    }
}

// The smallest 64-bit Windows program Authenticode signs: headers, then a
// .text section of one "ret" at codeAt.
constexpr std::size_t codeAt = 512;
std::string TinyProgram() {
    std::string pe(1024, '\0');
    pe.replace(0, 2, "MZ");
    Put(pe, 0x3c, 0x40, 4);
    pe.replace(0x40, 4, std::string("PE\0\0", 4));
    Put(pe, 0x44, 0x8664, 2); // machine
    Put(pe, 0x46, 1, 2);      // sections
    Put(pe, 0x54, 240, 2);    // size of the optional header
    Put(pe, 0x56, 0x22, 2);   // executable, large addresses
    constexpr std::size_t opt = 0x58;
    const std::uint64_t fields[][3] = {{0, 0x20b, 2},   {16, 0x1000, 4}, {24, 0x140000000, 8},
                                       {32, 0x1000, 4}, {36, 0x200, 4},  {56, 0x2000, 4},
                                       {60, codeAt, 4}, {68, 3, 2},      {108, 16, 4}};
    for (const auto& f : fields) {
        Put(pe, opt + f[0], f[1], static_cast<int>(f[2]));
    }
    constexpr std::size_t section = opt + 240;
    pe.replace(section, 5, ".text");
    Put(pe, section + 8, 0x200, 4);   // virtual size
    Put(pe, section + 12, 0x1000, 4); // address
    Put(pe, section + 16, 0x200, 4);  // raw size
    Put(pe, section + 20, codeAt, 4);
    Put(pe, section + 36, 0x60000020, 4); // code, execute, read
    pe[codeAt] = '\xc3';
    return pe;
}

// The program signed by osslsigncode with a fresh self-signed code-signing
// certificate; nothing when osslsigncode is not installed.
std::optional<std::string> Authenticode(const std::string& program) {
    if (std::system("command -v osslsigncode >/dev/null") != 0) {
        return std::nullopt;
    }
    const test::TempDir temp;
    test::WriteRawFile(temp.File("in.exe"), program);
    const std::string script =
        "cd '" + temp.Str() +
        "' && openssl req -x509 -newkey rsa:2048 -nodes -keyout key.pem -out cert.pem -days 2 "
        "-subj /CN=Test -addext extendedKeyUsage=codeSigning 2>/dev/null && "
        "openssl pkcs12 -export -inkey key.pem -in cert.pem -out cert.p12 -passout pass:pw && "
        "echo pw >pass && osslsigncode sign -pkcs12 cert.p12 -readpass pass -h sha256 "
        "-in in.exe -out out.exe >/dev/null && "
        "osslsigncode verify -CAfile cert.pem -in out.exe >/dev/null";
    if (std::system(script.c_str()) != 0) {
        throw std::runtime_error("osslsigncode refused the program");
    }
    return test::ReadRawFile(temp.File("out.exe"));
}

// Signed for updates first, then by Authenticode: both hold, and every byte
// but the two header fields Authenticode rewrites and its own table is ours.
TEST(UpdateSignature, AProgramKeepsItsSignatureUnderAuthenticode) {
    const Ed25519::KeyPair ours = Ed25519::Generate();
    const SignedItem item{"QVS.exe", "1.0.0.2"};
    const std::string program = TinyProgram();
    const std::string updateSigned = program + UpdateSignature::Sign(ours.seed, item, program);
    EXPECT_EQ(updateSigned.size() % 8, 0U) << "the certificate table would need padding";
    std::string rewritten = updateSigned;
    Put(rewritten, 0x58 + 64, 0x1e74, 4);        // CheckSum
    Put(rewritten, 0x58 + 112 + 32, 0x12345, 4); // a certificate table entry
    std::string shortHeader = updateSigned;
    Put(shortHeader, 0x3c, 0xfffffff0, 4);
    struct Case {
        const char* what;
        std::string file;
        std::string reason;
    };
    std::vector<Case> cases = {
        {"signed for updates", updateSigned, "accepted"},
        {"checksum and table entry rewritten", rewritten, "accepted"},
        {"code byte", Flip(updateSigned, updateSigned.size() - codeAt),
         "signature does not match the file"},
        {"header out of bounds", shortHeader, "signature does not match the file"},
    };
    if (const std::optional<std::string> both = Authenticode(updateSigned)) {
        cases.push_back({"then Authenticode", *both, "accepted"});
        cases.push_back({"then Authenticode, code byte", Flip(*both, both->size() - codeAt),
                         "signature does not match the file"});
        cases.push_back({"then Authenticode, update signature byte",
                         Flip(*both, both->size() - updateSigned.size() + 20),
                         "signed by an unknown key"});
        EXPECT_EQ(UpdateSignature::Content(*both).size(),
                  UpdateSignature::Content(updateSigned).size());
    } else {
        std::cout << "osslsigncode is not installed: the Authenticode cases are skipped\n";
    }
    for (const Case& c : cases) {
        EXPECT_EQ(ReasonFor(c.file, {ours.publicKey}, item), c.reason) << c.what;
    }
}

} // namespace
} // namespace qvs
