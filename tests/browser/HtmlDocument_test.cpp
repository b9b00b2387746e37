#include "windows/HtmlDocument.h"

#include <gtest/gtest.h>

#include <string>

namespace qvs {
namespace {

struct DocumentCase {
    const char* name;
    std::string text;
    std::string document;
};

class HtmlDocumentTest : public ::testing::TestWithParam<DocumentCase> {};

TEST_P(HtmlDocumentTest, EveryLineEndsWithCrLf) {
    const QByteArray document = HtmlDocument(GetParam().text);
    EXPECT_EQ(std::string(document.constData(), static_cast<std::size_t>(document.size())),
              GetParam().document);
}

using namespace std::string_literals;

INSTANTIATE_TEST_SUITE_P(
    Breaks, HtmlDocumentTest,
    ::testing::Values(DocumentCase{"Empty", "", ""},
                      DocumentCase{"OneLineWithoutBreak", "<b>Maintenance</b>",
                                   "<b>Maintenance</b>\r\n"},
                      DocumentCase{"CrLf", "a\r\nb", "a\r\nb\r\n"},
                      DocumentCase{"Lf", "a\nb\n", "a\r\nb\r\n"},
                      DocumentCase{"LoneCr", "a\rb", "a\r\nb\r\n"},
                      DocumentCase{"EmptyLineKept", "a\r\n\r\nb", "a\r\n\r\nb\r\n"},
                      DocumentCase{"LfCrIsTwoBreaks", "a\n\rb", "a\r\n\r\nb\r\n"},
                      DocumentCase{"OnlyABreak", "\r\n", "\r\n"},
                      DocumentCase{"MixedBreaks", "1\r2\n3\r\n4", "1\r\n2\r\n3\r\n4\r\n"},
                      DocumentCase{"EightBitBytesKept", "caf\xe9\x00z"s, "caf\xe9\x00z\r\n"s}),
    [](const ::testing::TestParamInfo<DocumentCase>& info) {
        return std::string(info.param.name);
    });

} // namespace
} // namespace qvs
