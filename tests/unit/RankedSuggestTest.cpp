// Ranked suggestions at the API: commonness levels, one index and several
// indexes ranked together, capitals, split words and apostrophes.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "suggest/RankedIndex.h"
#include "suggest/WordLevels.h"

namespace spellcheck::suggest {
namespace {

// A small English dictionary, unsorted and with a repeat, as a caller may
// pass it.
const std::vector<std::string> kWords = {
    "the",         "tea",      "ten",      "then",     "a",          "lot",       "allot",
    "slot",        "in",       "fact",     "infect",   "intact",     "don't",     "done",
    "dent",        "Paris",    "pairs",    "NASA",     "nose",       "receive",   "relieve",
    "recipe",      "separate", "operate",  "phone",    "fine",       "fun",       "which",
    "witch",       "wish",     "I",        "think",    "thing",      "believe",   "belief",
    "their",       "there",    "tomorrow", "occurred", "occur",      "because",   "became",
    "the",         "color",    "collar",   "physics",  "definitely", "defiantly", "Wednesday",
    "accommodate", "b"};

const char kLevels[] =
    "10\tthe\n10\ta\n10\tlot\n35\tallot\n60\tslot\n10\tin\n10\tfact\n20\tinfect\n35\tintact\n"
    "10\tdon't\n10\tdone\n35\tdent\n35\tParis\n10\tpairs\n50\tNASA\n10\tnose\n10\treceive\n"
    "35\trelieve\n20\trecipe\n10\tseparate\n20\toperate\n10\tphone\n10\tfine\n10\tfun\n"
    "10\twhich\n20\twitch\n10\twish\n10\tI\n10\tthink\n10\tthing\n10\tbelieve\n20\tbelief\n"
    "10\ttheir\n10\tthere\n10\ttomorrow\n10\toccurred\n10\toccur\n10\tbecause\n10\tbecame\n"
    "10\tcolor\n35\tcollar\n20\tphysics\n10\tdefinitely\n50\tdefiantly\n35\tWednesday\n"
    "35\taccommodate\n40\tb\n20\ttea\n20\tten\n10\tthen\n";

class RankedSuggest : public ::testing::Test {
 protected:
  RankedSuggest() : levels_(Levels()), main_(kWords, &levels_) {}

  static WordLevels Levels() {
    WordLevels levels;
    levels.LoadText(kLevels);
    return levels;
  }

  std::vector<std::string> Ask(std::string_view word, std::size_t max = 10) const {
    const RankedIndex* const indexes[] = {&main_};
    return Suggest(word, indexes, max);
  }

  WordLevels levels_;
  RankedIndex main_;
};

TEST(WordLevelsTest, ReadsLinesAndAnswersLevels) {
  WordLevels levels;
  levels.LoadText(
      "10\tcat\r\n35\tdog\nbad line\n\tnoLevel\n40\t\n50\tParis\n20\tdog\nx5\tcow\n95\tmoose");
  EXPECT_EQ(levels.Size(), 4u);
  const struct {
    const char* word;
    int level;
  } cases[] = {
      {"cat", 10},
      {"dog", 20},  // a repeat keeps the lowest
      {"Cat", 10},  // a capital first letter: the lower-case word
      {"CAT", 10},
      {"Paris", 50},
      {"paris", WordLevels::kUnknown},
      {"dog's", 20},  // possessive: its stem
      {"moose", 95},
      {"cow", WordLevels::kUnknown},
      {"noLevel", WordLevels::kUnknown},
      {"", WordLevels::kUnknown},
  };
  for (const auto& c : cases) EXPECT_EQ(levels.Level(c.word), c.level) << c.word;
}

TEST(WordLevelsTest, MissingFileIsAnError) {
  WordLevels levels;
  EXPECT_FALSE(levels.LoadFile("/nonexistent/folder/levels.txt"));
}

TEST_F(RankedSuggest, IndexDropsRepeats) {
  const std::set<std::string> distinct(kWords.begin(), kWords.end());
  EXPECT_EQ(main_.Size(), distinct.size());
}

TEST_F(RankedSuggest, IntendedWordComesFirst) {
  const struct {
    const char* typed;
    const char* first;
  } cases[] = {
      {"teh", "the"},
      {"Teh", "The"},
      {"TEH", "THE"},
      {"recieve", "receive"},
      {"seperate", "separate"},
      {"fone", "phone"},
      {"wich", "which"},
      {"beleive", "believe"},
      {"thier", "their"},
      {"tommorow", "tomorrow"},
      {"ocured", "occurred"},
      {"becuase", "because"},
      {"kolor", "color"},
      {"fysics", "physics"},
      {"definately", "definitely"},
      {"acommodate", "accommodate"},  // two letters short
      {"dont", "don't"},
      {"Dont", "Don't"},  // the apostrophe put back
      {"infact", "in fact"},
      {"Ithink", "I think"},  // two words run together

      {"PARISS", "PARIS"},
      {"Pariss", "Paris"},
      {"nasa", "NASA"},
      {"paris", "Paris"},  // stored capitals stay
  };
  for (const auto& c : cases) {
    const std::vector<std::string> list = Ask(c.typed);
    ASSERT_FALSE(list.empty()) << c.typed;
    EXPECT_EQ(list.front(), c.first) << c.typed;
  }
}

TEST_F(RankedSuggest, SplitWordsAreOffered) {
  const std::vector<std::string> list = Ask("alot");
  EXPECT_NE(std::find(list.begin(), list.end(), "a lot"), list.end());
}

TEST_F(RankedSuggest, ListRules) {
  for (const char* typed : {"teh", "The", "then", "THE", "Paris", "ocur", "zzzqqxj", "a", "'"}) {
    for (std::size_t max : {1u, 3u, 10u}) {
      const std::vector<std::string> list = Ask(typed, max);
      EXPECT_LE(list.size(), max) << typed;
      EXPECT_EQ(std::count(list.begin(), list.end(), std::string(typed)), 0) << typed;
      EXPECT_EQ(std::set<std::string>(list.begin(), list.end()).size(), list.size()) << typed;
      EXPECT_EQ(list, Ask(typed, max)) << typed;  // the same every time
    }
  }
  EXPECT_TRUE(Ask("zzzqqxj").empty());
  EXPECT_TRUE(Ask("teh", 0).empty());
  EXPECT_TRUE(Ask("").empty());
  // A stored word whose capitals differ is still a suggestion.
  EXPECT_EQ(Ask("The").front(), "Then");
}

TEST_F(RankedSuggest, IndexesAreRankedTogether) {
  const std::vector<std::string> mainWords = {"foobaz", "the", "common"};
  WordLevels rare;
  rare.LoadText("95\tfoobaz\n10\tthe\n");
  const RankedIndex main(mainWords, &rare);
  const std::vector<std::string_view> custom = {"foobar", "the", "Zorblat"};
  const RankedIndex user(custom, AllCommon{});
  const RankedIndex* const both[] = {&main, &user};
  const RankedIndex* const mainOnly[] = {&main};

  EXPECT_EQ(Suggest("foobax", mainOnly).front(), "foobaz");
  // The user's word counts as common and wins over a rare one that is closer.
  EXPECT_EQ(Suggest("foobax", both).front(), "foobar");
  EXPECT_EQ(Suggest("zorblatt", both).front(), "Zorblat");
  // A word in both lists comes once.
  const std::vector<std::string> list = Suggest("teh", both);
  EXPECT_EQ(std::count(list.begin(), list.end(), "the"), 1);
  // No index, or null entries: nothing to suggest.
  EXPECT_TRUE(Suggest("teh", std::span<const RankedIndex* const>()).empty());
  const RankedIndex* const none[] = {nullptr};
  EXPECT_TRUE(Suggest("teh", none).empty());
}

TEST_F(RankedSuggest, WorksWithoutLevels) {
  const RankedIndex plain(kWords, nullptr);
  const RankedIndex* const indexes[] = {&plain};
  const struct {
    const char* typed;
    const char* first;
  } cases[] = {{"teh", "the"}, {"recieve", "receive"}, {"fone", "phone"}, {"dont", "don't"}};
  for (const auto& c : cases) EXPECT_EQ(Suggest(c.typed, indexes).front(), c.first) << c.typed;
}

TEST(RankedIndexTest, LongAndOddWords) {
  const std::vector<std::string> words = {std::string(30, 'x'), "\xE9t\xE9", "na\xEFve", "A-bomb",
                                          ""};
  const RankedIndex index(words, AllCommon{});
  EXPECT_EQ(index.Size(), 4u);  // the empty word dropped, the long one cut to 24 bytes
  const RankedIndex* const indexes[] = {&index};
  EXPECT_EQ(Suggest("\xC9T\xC9S", indexes).front(), "\xC9T\xC9");  // code page 1252 capitals
  EXPECT_EQ(Suggest("naive", indexes).front(), "na\xEFve");
  EXPECT_EQ(Suggest("abomb", indexes).front(), "A-bomb");
  EXPECT_EQ(Suggest(std::string(40, 'x'), indexes).size(), 0u);
}

}  // namespace
}  // namespace spellcheck::suggest
