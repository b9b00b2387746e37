// A signed file in memory against every way it can be wrong: each is refused
// with its own one-line reason.
#include "signing/Ed25519.h"
#include "signing/SignatureError.h"
#include "signing/UpdateSignature.h"
#include "signing/UpdateTrailer.h"

#include <gtest/gtest.h>

#include <functional>

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

} // namespace
} // namespace qvs
