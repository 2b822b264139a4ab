#include <gtest/gtest.h>

#include "support/string_list.h"

namespace zul00500 {
namespace {

TEST(StringListText, EveryLineEndsWithCrLf) {
  StringList list{"000-000 = ATV", "500-000 = "};
  EXPECT_EQ(list.Text(), "000-000 = ATV\r\n500-000 = \r\n");
  EXPECT_EQ(StringList().Text(), "");
}

TEST(StringListText, CrLfOrBothEndALineAndALastLineNeedsNoEnd) {
  StringList list;
  list.SetText("a\r\nb\nc\rd\n\re");
  EXPECT_EQ(list.lines(), (std::vector<std::string>{"a", "b", "c", "d", "", "e"}));
  list.SetText("one\r\n\r\n");
  EXPECT_EQ(list.lines(), (std::vector<std::string>{"one", ""}));
  list.SetText("");
  EXPECT_TRUE(list.empty());
}

TEST(StringListField, NameIsTheTextBeforeTheFirstEquals) {
  StringList answer{"000-000 = CRT",    "001-000=0347520030", "001-000 = 0347520030",
                    "009-000 =   0   ", "030-000 = A = B",    "009-000 = 5"};
  // A line without the blank before "=" is not the field.
  EXPECT_EQ(answer.Value("001-000 "), " 0347520030");
  // First match wins; trimming removes the surrounding blanks.
  EXPECT_EQ(answer.Field("009-000 "), "0");
  // Only the first "=" separates.
  EXPECT_EQ(answer.Field("030-000 "), "A = B");
  EXPECT_EQ(answer.Field("999-999 "), "");
}

TEST(StringListField, WholeLineComparisonsAreExact) {
  StringList status{"000-000 = ATV "};
  EXPECT_EQ(status.IndexOf("000-000 = ATV"), -1);
  EXPECT_EQ(status.IndexOf("000-000 = ATV "), 0);
}

TEST(Trim, RemovesBlanksAndControlCharacters) {
  EXPECT_EQ(Trim(" \t\x01 texto  com  blancos \r\n"), "texto  com  blancos");
  EXPECT_EQ(Trim("\xA0x\xA0"), "\xA0x\xA0");
}

} // namespace
} // namespace zul00500
