// A signed file in memory against every way it can be wrong: each is refused
// with its own one-line reason.
#include "signing/Ed25519.h"
#include "signing/SignatureError.h"
#include "signing/UpdateSignature.h"
#include "signing/UpdateTrailer.h"
#include "support/RawFile.h"
#include "support/TempDir.h"
#include "support/TinyProgram.h"

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

// Signed by osslsigncode with a fresh self-signed code-signing certificate;
// nothing when osslsigncode is not installed.
std::optional<std::string> Authenticode(const std::string& program) {
    if (std::system("command -v osslsigncode >/dev/null") != 0) {
        return std::nullopt;
    }
    const test::TempDir temp;
    test::WriteRawFile(temp.File("in.exe"), program);
    const std::string script =
        "cd '" + temp.Str() +
        "' && openssl req -x509 -newkey rsa:2048 -nodes -keyout key.pem -out cert.pem -days 2 "
        "-subj /CN=Test -addext extendedKeyUsage=codeSigning 2>/dev/null && openssl pkcs12 "
        "-export -inkey key.pem -in cert.pem -out cert.p12 -passout pass:pw && echo pw >pass && "
        "osslsigncode sign -pkcs12 cert.p12 -readpass pass -h sha256 -in in.exe -out out.exe "
        ">/dev/null && osslsigncode verify -CAfile cert.pem -in out.exe >/dev/null";
    EXPECT_EQ(std::system(script.c_str()), 0) << "osslsigncode refused the program";
    return test::ReadRawFile(temp.File("out.exe"));
}

// Signed for updates first, then by Authenticode: both hold. Only the
// CheckSum and the certificate table's entry (Authenticode's) may change.
TEST(UpdateSignature, AProgramKeepsItsSignatureUnderAuthenticode) {
    const Ed25519::KeyPair ours = Ed25519::Generate();
    const SignedItem item{"QVS.exe", "1.0.0.2"};
    const std::string program = test::TinyProgram();
    const std::string signed1 = program + UpdateSignature::Sign(ours.seed, item, program);
    EXPECT_EQ(signed1.size() % 8, 0U) << "Authenticode would pad after the trailer";
    std::string rewritten = signed1;
    rewritten.replace(test::CheckSumAt, 4, "sum.").replace(test::SecurityEntryAt, 8, "entry...");
    std::vector<std::pair<std::string, std::string>> cases = {
        {signed1, "accepted"},
        {rewritten, "accepted"},
        {Flip(signed1, signed1.size() - test::CodeAt), "signature does not match the file"}};
    if (const std::optional<std::string> both = Authenticode(signed1)) {
        cases.emplace_back(*both, "accepted");
        cases.emplace_back(Flip(*both, both->size() - test::CodeAt),
                           "signature does not match the file");
        cases.emplace_back(Flip(*both, both->size() - signed1.size() + 20),
                           "signed by an unknown key");
    } else {
        std::cout << "osslsigncode is not installed: the Authenticode cases are skipped\n";
    }
    for (std::size_t i = 0; i < cases.size(); ++i) {
        EXPECT_EQ(ReasonFor(cases[i].first, {ours.publicKey}, item), cases[i].second) << i;
    }
}

} // namespace
} // namespace qvs
