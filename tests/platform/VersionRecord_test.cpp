// The longest text a version record can hold; the other record shapes are
// checked with the protocol tests.
#include "platform/VersionRecord.h"

#include <gtest/gtest.h>

#include <string>

namespace qvs::platform {
namespace {

TEST(VersionRecordSearch, FindsATextOfTheMaximumLength) {
    const std::string text(MaxVersionTextLength, '9');
    EXPECT_EQ(FindVersionRecord("MZ" + std::string(VersionRecordTag) + text + '\0'), text);
}

} // namespace
} // namespace qvs::platform
