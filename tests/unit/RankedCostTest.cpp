// The two measures behind the ranking: the weighted edit cost and the sound
// key, through their orderings and equalities rather than their numbers.
#include <gtest/gtest.h>

#include "suggest/EditCost.h"
#include "suggest/Phonetic.h"

namespace spellcheck::suggest {
namespace {

constexpr int kNoLimit = 10000;

TEST(RankedCostTest, LikelySlipsCostLess) {
  const struct {
    const char *typed, *cheap, *dear;
  } cases[] = {
      {"ocur", "occur", "odour"},            // a doubled letter written once
      {"untill", "until", "unfill"},         // a single letter doubled
      {"seperate", "separate", "sederate"},  // a vowel for a vowel
      {"tje", "the", "tve"},                 // a neighbouring key
      {"fone", "phone", "bone"},             // ph for f against a plain replacement
      {"recieve", "receive", "relieve"},     // ie/ei swapped
      {"dont", "don't", "dent"},             // a left-out apostrophe
      {"nife", "knife", "nine"},             // a silent letter
      {"kat", "cat", "bat"},                 // letters of one sound
      {"hte", "the", "hue"},                 // neighbours swapped
  };
  for (const auto& c : cases) {
    EXPECT_LT(EditCost(c.typed, c.cheap, kNoLimit), EditCost(c.typed, c.dear, kNoLimit))
        << c.typed << ": " << c.cheap << " / " << c.dear;
  }
}

TEST(RankedCostTest, CostBasics) {
  EXPECT_EQ(EditCost("word", "word", kNoLimit), 0);
  EXPECT_EQ(EditCost("", "", kNoLimit), 0);
  EXPECT_EQ(EditCost("abc", "xyz", kNoLimit), 3 * kEditCost);
  EXPECT_GT(EditCost("abcdefgh", "zyxwvuts", 150), 150);  // gives up beyond the limit
  EXPECT_GT(EditCost(std::string(40, 'a'), std::string(24, 'b'), 200), 200);
}

TEST(RankedCostTest, SoundKeys) {
  const struct {
    const char *a, *b;
    bool same;
  } cases[] = {
      {"phone", "fone", true},     {"knight", "nite", true}, {"color", "kolor", true},
      {"which", "wich", true},     {"cent", "sent", true},   {"accommodate", "acomodate", true},
      {"wrap", "rap", true},       {"thumb", "thum", true},  {"don't", "dont", true},
      {"na\xEFve", "naive", true}, {"cat", "dog", false},    {"think", "sink", false},
      {"apple", "pple", false},  // a vowel at the start counts
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PhoneticKey(c.a) == PhoneticKey(c.b), c.same) << c.a << " / " << c.b;
  }
  EXPECT_LE(PhoneticKey(std::string(24, 'x')).size(), kMaxKeyLength);
}

}  // namespace
}  // namespace spellcheck::suggest
