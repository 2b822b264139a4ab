#include "platform/file_system.h"

#include <gtest/gtest.h>

namespace zul00500::platform {
namespace {

TEST(WildcardMatchTest, ExchangeFilePatternMatchesEveryExtension) {
  for (const char* name : {"intpos.001", "intpos.sts", "INTPOS.STS", "Intpos.12", "intpos."})
    EXPECT_TRUE(wildcard_match("intpos.*", name)) << name;
  for (const char* name : {"intpos1.001", "xintpos.001", "intpo.001", "intpos_001"})
    EXPECT_FALSE(wildcard_match("intpos.*", name)) << name;
}

TEST(WildcardMatchTest, TrailingDotStarAlsoMatchesNamesWithoutExtension) {
  EXPECT_TRUE(wildcard_match("intpos.*", "intpos"));
  EXPECT_TRUE(wildcard_match("*.*", "LEIAME"));
  EXPECT_TRUE(wildcard_match("*.*", "a.b.c"));
  EXPECT_FALSE(wildcard_match("intpos.*", "intposx"));
}

TEST(WildcardMatchTest, QuestionMarkIsExactlyOneCharacter) {
  EXPECT_TRUE(wildcard_match("intpos.00?", "intpos.001"));
  EXPECT_FALSE(wildcard_match("intpos.00?", "intpos.00"));
  EXPECT_FALSE(wildcard_match("intpos.00?", "intpos.0012"));
}

TEST(WildcardMatchTest, StarsBacktrack) {
  EXPECT_TRUE(wildcard_match("*a*b", "xaxxab"));
  EXPECT_TRUE(wildcard_match("a*b*c", "abbbcbc"));
  EXPECT_FALSE(wildcard_match("a*b*c", "abbbcb"));
  EXPECT_TRUE(wildcard_match("*", ""));
  EXPECT_FALSE(wildcard_match("a*", ""));
  EXPECT_TRUE(wildcard_match("**x", "x"));
}

TEST(WildcardMatchTest, IgnoresCaseOfCodePage1252Letters) {
  EXPECT_TRUE(wildcard_match("CART\xC3O*", "cart\xE3o.txt"));          // Ã / ã
  EXPECT_TRUE(wildcard_match("\xC7\xC9\xDE", "\xE7\xE9\xFE"));         // Ç É Þ
  EXPECT_TRUE(wildcard_match("\x8A\x8C\x8E\x9F", "\x9A\x9C\x9E\xFF")); // Š Œ Ž Ÿ
  EXPECT_FALSE(wildcard_match("\xD7", "\xF7"));                        // × and ÷ are no letters
  EXPECT_FALSE(wildcard_match("\xDF", "\xFF"));                        // ß has no capital here
  EXPECT_FALSE(wildcard_match("[", "{"));
}

TEST(WildcardMatchTest, HasWildcardSeesStarAndQuestionMarkOnly) {
  EXPECT_TRUE(has_wildcard("c:\\tef_dial\\resp\\intpos.*"));
  EXPECT_TRUE(has_wildcard("a?"));
  EXPECT_FALSE(has_wildcard("c:\\tef_dial\\resp\\intpos.001"));
}

} // namespace
} // namespace zul00500::platform
