#include "spreadsheet/core/TextCodec.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>

namespace quill::spreadsheet {
namespace {

TEST(TextCodecTest, RoundTripsEveryPlane) {
    const std::string text = "A\xC3\xA9\xE2\x82\xAC\xF0\x9F\x92\xB6";  // A, e-acute, euro, U+1F4B6
    const std::u16string units = Utf16FromUtf8(text);
    EXPECT_EQ(units, (std::u16string{u'A', u'\u00E9', u'\u20AC', 0xD83D, 0xDCB6}));
    EXPECT_EQ(Utf8FromUtf16(units), text);
}

TEST(TextCodecTest, BadInputBecomesReplacementCharacters) {
    // A stray continuation byte, a truncated sequence, an overlong slash, an encoded
    // surrogate and a byte that never starts a sequence.
    EXPECT_EQ(Utf16FromUtf8("a\x80"
                            "b"),
              u"a\uFFFDb");
    EXPECT_EQ(Utf16FromUtf8("a\xE2\x82"), u"a\uFFFD\uFFFD");
    EXPECT_EQ(Utf16FromUtf8("\xC0\xAF"), u"\uFFFD\uFFFD");
    EXPECT_EQ(Utf16FromUtf8("\xED\xA0\x80"), u"\uFFFD");
    EXPECT_EQ(Utf16FromUtf8("\xFF"), u"\uFFFD");
    // Lone surrogates in either order.
    EXPECT_EQ(Utf8FromUtf16(std::u16string{0xD800, u'x'}), "\xEF\xBF\xBDx");
    EXPECT_EQ(Utf8FromUtf16(std::u16string{0xDC00, 0xD800}), "\xEF\xBF\xBD\xEF\xBF\xBD");
    // Repairing gives what a round trip gives, and nothing for a text that needs none.
    EXPECT_EQ(RepairedUtf8("a\xC0\xAF"), "a\xEF\xBF\xBD\xEF\xBF\xBD");
    EXPECT_EQ(RepairedUtf8("plain"), std::nullopt);
    EXPECT_EQ(RepairedUtf8("A\xC3\xA9\xF0\x9F\x92\xB6"), std::nullopt);
}

// XML 1.0 holds tab, line feed, carriage return and the characters from U+0020 on, less
// the surrogates, U+FFFE and U+FFFF; everything else becomes U+FFFD for an .xlsx file.
TEST(TextCodecTest, XmlSafeTextReplacesWhatXmlForbids) {
    const std::string fffd = "\xEF\xBF\xBD";
    const std::pair<std::string, std::optional<std::string>> cases[] = {
        {"plain \t\n\r text", std::nullopt},
        {"Gr\xC3\xBC\xC3\x9F \xF0\x9F\x98\x80 \xEF\xBF\xBD \xEF\xBF\xBC", std::nullopt},
        {std::string("a\0b", 3), "a" + fffd + "b"},
        {"\x01\x08\x0B\x0C\x1F", fffd + fffd + fffd + fffd + fffd},
        {"x\xEF\xBF\xBEy\xEF\xBF\xBFz", "x" + fffd + "y" + fffd + "z"},  // U+FFFE, U+FFFF
        {"\xED\xA0\x80!", fffd + "!"},                                   // an encoded surrogate
        {"\x7F\xC2\x85", std::nullopt},  // DEL and C1 controls are XML characters
    };
    for (const auto& [text, safe] : cases) EXPECT_EQ(XmlSafeUtf8(text), safe) << text;
}

}  // namespace
}  // namespace quill::spreadsheet
