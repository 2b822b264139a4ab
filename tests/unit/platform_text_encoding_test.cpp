#include "platform/text_encoding.h"

#include <gtest/gtest.h>

namespace zul00500::platform {
namespace {

TEST(TextEncodingTest, PortugueseTextRoundTrips) {
  const std::string cp1252 = "Transa\xE7\xE3o n\xE3o foi confirmada - \x80 5,00";
  const std::string utf8 = cp1252_to_utf8(cp1252);
  EXPECT_EQ(utf8, "Transação não foi confirmada - € 5,00");
  EXPECT_EQ(utf8_to_cp1252(utf8), cp1252);
}

TEST(TextEncodingTest, EveryByteRoundTrips) {
  std::string all;
  for (int c = 1; c < 256; ++c) all += static_cast<char>(c);
  EXPECT_EQ(utf8_to_cp1252(cp1252_to_utf8(all)), all);
}

TEST(TextEncodingTest, CharactersOutsideTheCodePageAreReplaced) {
  EXPECT_EQ(utf8_to_cp1252("a\xE2\x82\xBD"
                           "b"),
            "a?b");                                        // ₽
  EXPECT_EQ(utf8_to_cp1252("\xF0\x9F\x98\x80", '_'), "_"); // an emoji, four bytes
  EXPECT_EQ(utf8_to_cp1252("1\xE2\x80\xAF"
                           "000"),
            "1\xA0"
            "000"); // narrow no-break space
}

TEST(TextEncodingTest, MalformedUtf8BecomesOneReplacementPerBadByte) {
  EXPECT_EQ(utf8_to_cp1252("a\xE3o"), "a?o");       // a code page 1252 byte, not UTF-8
  EXPECT_EQ(utf8_to_cp1252("\xC3"), "?");           // cut short
  EXPECT_EQ(utf8_to_cp1252("\xC0\xAF"), "??");      // overlong "/"
  EXPECT_EQ(utf8_to_cp1252("\xED\xA0\x80"), "???"); // a lone surrogate
}

} // namespace
} // namespace zul00500::platform
