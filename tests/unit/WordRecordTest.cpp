// The record format and the two comparison rules of the store.
#include <gtest/gtest.h>

#include <string>

#include "store/TvarWord.h"

namespace spellcheck::store {
namespace {

TEST(WordRecord, ShortWordKeepsItsLength) {
  const TvarWord record = TvarWord::FromWord("house");
  EXPECT_EQ(record.length, 5);
  EXPECT_EQ(record.Word(), "house");
}

TEST(WordRecord, LongWordIsCutTo24Characters) {
  const std::string word = "abcdefghijklmnopqrstuvwxyz0123";  // 30 characters
  const TvarWord record = TvarWord::FromWord(word);
  EXPECT_EQ(record.length, 24);
  EXPECT_EQ(record.Word(), word.substr(0, 24));
}

TEST(WordRecord, EmptyWordIsAnEmptyRecord) {
  EXPECT_EQ(TvarWord::FromWord("").length, 0);
  EXPECT_EQ(TvarWord::FromWord("").Word(), "");
}

TEST(WordRecord, LengthAbove24ReadsAs24Characters) {
  TvarWord record = TvarWord::FromWord("abcdefghijklmnopqrstuvwx");
  record.length = 200;
  EXPECT_EQ(record.Text().size(), 24u);
}

TEST(WordRecord, FillerDoesNotChangeTheWord) {
  TvarWord a = TvarWord::FromWord("cat");
  TvarWord b = TvarWord::FromWord("cat");
  b.chars[10] = 'x';
  EXPECT_EQ(CompareText(a.Text(), b.Text()), 0);
}

struct OrderCase {
  std::string smaller;
  std::string larger;
};

void PrintTo(const OrderCase& c, std::ostream* os) {
  *os << c.smaller << " < " << c.larger;
}

class TextOrder : public ::testing::TestWithParam<OrderCase> {};

TEST_P(TextOrder, SmallerComesFirst) {
  const auto& c = GetParam();
  EXPECT_LT(CompareText(c.smaller, c.larger), 0);
  EXPECT_GT(CompareText(c.larger, c.smaller), 0);
}

INSTANTIATE_TEST_SUITE_P(Cases, TextOrder,
                         ::testing::Values(OrderCase{"Apple", "Zebra"}, OrderCase{"Zebra", "apple"},
                                           OrderCase{"apple", "apples"},
                                           OrderCase{"apples", "banana"}, OrderCase{"ab", "abc"},
                                           OrderCase{"zzz", "\xE9t\xE9"}, OrderCase{"", "a"},
                                           OrderCase{"", "\x01"}, OrderCase{"z", "\x80"}));

TEST(TextOrderEquality, EqualTextsCompareEqual) {
  EXPECT_EQ(CompareText("same", "same"), 0);
  EXPECT_EQ(CompareText("", ""), 0);
}

TEST(AsciiLowerCasing, OnlyLatinCapitalsChange) {
  EXPECT_EQ(AsciiLower("MIXED-Case 42"), "mixed-case 42");
  EXPECT_EQ(AsciiLower("\xC4"
                       "BC"),
            "\xC4"
            "bc");
  EXPECT_TRUE(EqualIgnoringAsciiCase("Apple", "aPPLE"));
  EXPECT_FALSE(EqualIgnoringAsciiCase("\xC4", "\xE4"));
  EXPECT_FALSE(EqualIgnoringAsciiCase("apple", "apples"));
}

}  // namespace
}  // namespace spellcheck::store
