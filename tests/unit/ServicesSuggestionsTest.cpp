// The similar-word scan and the suggestion list, through the checker object.
#include <gtest/gtest.h>
#include <spellcheck/SpellCheck.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "checker/SpellerCheck.h"
#include "services/SuggestionList.h"
#include "support/TestFiles.h"
#include "unit/ServicesTestFileSystem.h"

namespace spellcheck {
namespace {

using testing::RecordBytes;
using testing::RecordingFileSystem;
using testing::TempDir;
using testing::WriteBytes;
using testing::WriteDictionary;

// Dic3 to Dic10 as default markers.
#define MARKERS8 \
  DefaultDic, DefaultDic, DefaultDic, DefaultDic, DefaultDic, DefaultDic, DefaultDic, DefaultDic

class Suggestions : public ::testing::Test {
 protected:
  Suggestions() {
    checker_.SetMainDic(main_.c_str());
    checker_.SetCustDic(cust_.c_str());
  }

  // Suggestions from the main dictionary alone, as the scan produced them.
  std::string FromMain(const std::vector<std::string>& words, const std::string& word) {
    WriteDictionary(main_, words);
    return Suggest(word.c_str(), false, DefaultDic, DefaultDic);
  }

  std::string Suggest(const char* word, bool useExtra, const char* mainDic, const char* dic1,
                      const char* dic2 = DefaultDic) {
    const char* text = checker_.SuggestWords(word, useExtra, false, mainDic, dic1, dic2, DefaultDic,
                                             DefaultDic, DefaultDic, DefaultDic, DefaultDic,
                                             DefaultDic, DefaultDic, DefaultDic);
    EXPECT_NE(text, nullptr);
    return text ? std::string(text) : std::string();
  }

  TempDir dir_;
  std::string main_ = dir_.File("main.dic");
  std::string cust_ = dir_.File("cust.dic");
  RecordingFileSystem fs_;
  SpellerCheck checker_{fs_};
};

TEST_F(Suggestions, WorkedExampleOfALowerCaseWord) {
  EXPECT_EQ(FromMain({"horse", "hose", "house", "houses", "mouse"}, "house"),
            "horse, houses, mouse");
}

TEST_F(Suggestions, WorkedExampleOfACapitalisedWord) {
  EXPECT_EQ(FromMain({"card", "care", "cart", "carts", "dart"}, "Cart"), "Card, Care, Carts, Dart");
  EXPECT_EQ(FromMain({"card", "care", "cart", "carts", "dart"}, "cart"), "card, care, carts, dart");
}

TEST_F(Suggestions, ScoreOfOneStoredWord) {
  const struct {
    const char* word;
    const char* stored;
    bool taken;
  } cases[] = {
      {"cat", "cats", true},                // 3 of 4: 75
      {"cat", "catalogue", false},          // 3 of 9: 33
      {"house", "hous", true},              // 4 of 5: 80
      {"house", "ouse", false},             // a shift at the front: 0
      {"house", "House", true},             // case counts: 80
      {"House", "house", false},            // equal to the word once capitalised
      {"house", "house", false},            // the word itself
      {"abcdefghij", "abcdefgxyz", false},  // 7 of 10: exactly 70
      {"abcdefg", "abcdexy", true},         // 5 of 7: 71
      {"abcdef", "abcdex", true},           // 5 of 6: 83
      {"abcdefghijklmnopqrstuvwx", "abcdefghijklmnopqABCDEFG", false},  // 17 of 24: 70
      {"abcdefghijklmnopq", "abcdefghijklABCDE", false},                // 12 of 17: 70
      {"abcdefghijklmnopqrstuvwx", "abcdefghijklmnopqrABCDEF", true},   // 18 of 24: 75
      {"ab", "a", false},                                               // 1 of 2: 50
      {"ab", "", false},
      {"\xE9t\xE9s", "\xE9t\xE9", true},  // bytes above 127 compare like any other
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FromMain({c.stored}, c.word), c.taken ? c.stored : "") << c.word << " / " << c.stored;
  }
}

TEST_F(Suggestions, CapitalisedWordReportsTheCapitalisedForm) {
  // 0xE9 capitalises to 0xC9 in code page 1252.
  EXPECT_EQ(FromMain({"\xE9t\xE9", "\xE9tat"}, "\xC9t\xE9s"), "\xC9t\xE9");
}

TEST_F(Suggestions, ScanListsEveryRecordInFileOrder) {
  EXPECT_EQ(FromMain({"mouse", "horse", "mouse"}, "house"), "mouse, horse, mouse");
  EXPECT_EQ(FromMain({"horse"}, "house"), "horse");
}

TEST_F(Suggestions, EmptyAndMissingDictionariesGiveTheEmptyText) {
  EXPECT_EQ(FromMain({}, "house"), "");
  EXPECT_EQ(Suggest("house", false, dir_.File("missing.dic").c_str(), DefaultDic), "");
}

TEST_F(Suggestions, AGivenWordLongerThanAStoredWordCanStillMatch) {
  const std::string stored = "abcdefghijklmnopqrstuvwx";  // 24 characters
  EXPECT_EQ(FromMain({stored}, stored + "yz"), stored);   // 24 of 26: 92
}

TEST_F(Suggestions, RecordWithAnOverlongLengthByteReadsAs24Characters) {
  std::string record = RecordBytes("abcdefghijklmnopqrstuvwx");
  record[0] = static_cast<char>(200);
  WriteBytes(main_, RecordBytes("abcdefghijklmnopqrstuvwy") + record + RecordBytes("zz"));
  EXPECT_EQ(Suggest("abcdefghijklmnopqrstuvwxy", false, DefaultDic, DefaultDic),
            "abcdefghijklmnopqrstuvwy, abcdefghijklmnopqrstuvwx");
}

TEST_F(Suggestions, TrailingPieceOfARecordIsNoRecord) {
  WriteBytes(main_, RecordBytes("horse") + RecordBytes("mouse").substr(0, 24));
  EXPECT_EQ(Suggest("house", false, DefaultDic, DefaultDic), "horse");
}

TEST_F(Suggestions, FailingReadEndsTheScanWithTheWordsFoundSoFar) {
  std::vector<std::string> words(9000, "zzzz");
  words[10] = "horse";
  words[5000] = "mouse";
  words[5002] = "louse";
  words[8000] = "houses";
  WriteDictionary(main_, words);
  fs_.failName = main_;
  const struct {
    long long readable;
    const char* expected;
  } cases[] = {
      {0, ""},
      {25 * 5000, "horse"},
      {25 * 5001 + 10, "horse, mouse"},
      {25 * 5003, "horse, mouse, louse"},
      {25 * 9000, "horse, mouse, louse, houses"},
  };
  for (const auto& c : cases) {
    fs_.readableBytes = c.readable;
    EXPECT_EQ(Suggest("house", false, DefaultDic, DefaultDic), c.expected) << c.readable;
  }
}

TEST_F(Suggestions, FailingCloseRaisesAndNoListIsReturned) {
  WriteDictionary(main_, {"horse"});
  fs_.failName = main_;
  fs_.closeFailure = 5;
  try {
    checker_.SuggestWords("house", false, false, DefaultDic, DefaultDic, DefaultDic, MARKERS8);
    ADD_FAILURE() << "no error raised";
  } catch (const EInOutError& error) {
    EXPECT_EQ(error.ErrorCode, 5);
    EXPECT_STREQ(error.what(), "File access denied");
  }
}

// The Part's scan and score, step by step, as the oracle for large files.
std::string ReferenceScan(const std::vector<std::string>& stored, const std::string& word) {
  std::string result;
  const bool capitalized = !word.empty() && ((word[0] >= 'A' && word[0] <= 'Z'));
  for (std::string c : stored) {
    if (capitalized && !c.empty() && c[0] >= 'a' && c[0] <= 'z')
      c[0] = static_cast<char>(c[0] - 32);
    if (c == word) continue;
    std::size_t equal = 0;
    for (std::size_t i = 0; i < c.size(); ++i) {
      if (i < word.size() && c[i] == word[i]) ++equal;
    }
    const std::size_t denominator =
        (!word.empty() && word.size() < c.size()) ? c.size() : word.size();
    if (equal * 100 / denominator > 70) {
      if (result.size() < 2) {
        result = c;
      } else {
        result += ", " + c;
      }
    }
  }
  return result;
}

TEST_F(Suggestions, LargeDictionaryGivesTheResultOfTheRecordByRecordScan) {
  std::mt19937 random(42);
  std::vector<std::string> words;
  for (int i = 0; i < 20000; ++i) {
    std::string word(3 + random() % 8, 'a');
    for (char& ch : word) ch = static_cast<char>("abcAB"[random() % 5]);
    words.push_back(word);
  }
  std::sort(words.begin(), words.end());
  // Filler that matches the sought words must not count.
  std::string bytes;
  for (const auto& word : words) bytes += RecordBytes(word, "abcAB"[word.size() % 5]);
  WriteBytes(main_, bytes);
  for (const char* word : {"abcab", "Abcab", "aabbccaa", "ABCabc", "abcabcabcabc", "ab"}) {
    EXPECT_EQ(Suggest(word, false, DefaultDic, DefaultDic), ReferenceScan(words, word)) << word;
  }
}

TEST_F(Suggestions, WordsShorterThanTwoCharactersOpenNoFile) {
  WriteDictionary(main_, {"a", "ab", "ax"});
  EXPECT_EQ(Suggest(nullptr, true, DefaultDic, DefaultDic), "");
  EXPECT_EQ(Suggest("", true, DefaultDic, DefaultDic), "");
  EXPECT_EQ(Suggest("a", true, DefaultDic, DefaultDic), "");
  EXPECT_TRUE(fs_.opened.empty());
  Suggest("ab", false, DefaultDic, DefaultDic);
  EXPECT_EQ(fs_.opened, std::vector<std::string>{main_});
}

TEST_F(Suggestions, WithoutUseExtraTheMainListIsNeitherSortedNorDeduplicated) {
  WriteDictionary(main_, {"mouse", "horse", "mouse"});
  WriteDictionary(cust_, {"louse"});
  EXPECT_EQ(Suggest("house", false, DefaultDic, DefaultDic), "mouse, horse, mouse");
  EXPECT_EQ(fs_.opened, std::vector<std::string>{main_});
}

TEST_F(Suggestions, DefaultMainAndDic1TakeMainThenCustomThenFurther) {
  WriteDictionary(main_, {"mouse", "horse", "mouse"});
  WriteDictionary(cust_, {"louse", "horse"});
  const std::string d2 = dir_.File("d2.dic");
  const std::string d3 = dir_.File("d3.dic");
  WriteDictionary(d2, {"houses"});
  WriteDictionary(d3, {"hous"});
  const char* text = checker_.SuggestWords("house", true, false, DefaultDic, DefaultDic, d2.c_str(),
                                           DefaultDic, d3.c_str(), DefaultDic, DefaultDic,
                                           DefaultDic, DefaultDic, DefaultDic, DefaultDic);
  EXPECT_STREQ(text, "horse, houses, louse, mouse");
  EXPECT_EQ(fs_.opened, (std::vector<std::string>{main_, cust_, d2}));
}

TEST_F(Suggestions, ExplicitMainWithDefaultDic1ScansMainOnlyButTidies) {
  WriteDictionary(main_, {"mouse", "horse", "mouse"});
  WriteDictionary(cust_, {"louse"});
  EXPECT_EQ(Suggest("house", true, main_.c_str(), DefaultDic), "horse, mouse");
  EXPECT_EQ(fs_.opened, std::vector<std::string>{main_});
}

TEST_F(Suggestions, EmptyFurtherPartLeavesASeparatorThatTidyingRemoves) {
  WriteDictionary(main_, {"cat"});
  const std::string empty = dir_.File("empty.dic");
  WriteDictionary(empty, {});
  EXPECT_EQ(Suggest("cats", true, DefaultDic, empty.c_str()), "cat");
  EXPECT_EQ(services::TidySuggestions("cat, "), "cat");
}

TEST_F(Suggestions, EmptyMainListIsReplacedByTheFirstPart) {
  WriteDictionary(cust_, {"mouse", "horse"});
  EXPECT_EQ(Suggest("house", true, dir_.File("missing.dic").c_str(), cust_.c_str()),
            "horse, mouse");
}

TEST_F(Suggestions, SortingIsByByteValue) {
  WriteDictionary(main_, {"house", "housed", "hous", "House", "houses"});
  EXPECT_EQ(Suggest("house", true, DefaultDic, DefaultDic), "House, hous, housed, houses");
}

TEST_F(Suggestions, ResultBelongsToTheCheckerUntilTheNextCall) {
  WriteDictionary(main_, {"horse"});
  const char* first =
      checker_.SuggestWords("house", false, false, DefaultDic, DefaultDic, DefaultDic, MARKERS8);
  const std::string copy = first;
  checker_.CheckWord("house", false, false, DefaultDic, DefaultDic, DefaultDic, MARKERS8);
  EXPECT_EQ(std::string(first), copy);
  const char* none =
      checker_.SuggestWords("zzzzzz", false, true, DefaultDic, DefaultDic, DefaultDic, MARKERS8);
  ASSERT_NE(none, nullptr);
  EXPECT_STREQ(none, "");
}

TEST_F(Suggestions, IgnoreCaseHasNoEffect) {
  WriteDictionary(main_, {"HOUSE", "House", "horse"});
  const char* exact =
      checker_.SuggestWords("house", false, false, DefaultDic, DefaultDic, DefaultDic, MARKERS8);
  const std::string withoutFlag = exact;
  const char* folded =
      checker_.SuggestWords("house", false, true, DefaultDic, DefaultDic, DefaultDic, MARKERS8);
  EXPECT_EQ(withoutFlag, folded);
  EXPECT_EQ(withoutFlag, "House, horse");
}

TEST_F(Suggestions, ErrorInAFurtherDictionaryReachesTheCaller) {
  WriteDictionary(main_, {"horse"});
  WriteDictionary(cust_, {"mouse"});
  fs_.failName = cust_;
  fs_.closeFailure = 32;
  EXPECT_THROW(Suggest("house", true, DefaultDic, DefaultDic), EInOutError);
}

TEST(SuggestionList, JoinPartReplacesAListOfAtMostTwoCharacters) {
  const struct {
    const char* collected;
    const char* part;
    const char* joined;
  } cases[] = {
      {"", "cd, ef", "cd, ef"}, {"a", "cd", "cd"},    {"ab", "cd, ef", "cd, ef"},
      {"ab", "", ""},           {"abc", "", "abc, "}, {"abc", "de", "abc, de"},
  };
  for (const auto& c : cases) {
    std::string collected = c.collected;
    services::JoinPart(collected, c.part);
    EXPECT_EQ(collected, c.joined) << c.collected << " + " << c.part;
  }
}

TEST(SuggestionList, TidySuggestions) {
  const struct {
    const char* list;
    const char* tidy;
  } cases[] = {
      {"", ""},
      {"pear, apple, pear", "apple, pear"},
      {", apple", ", apple"},  // the empty entry sorts first and keeps its separator
      {"apple, ", "apple"},    // a separator at the end yields no entry
      {", , ", ", "},          // the second empty entry becomes a blank, sorted last
      {"b,a, b,a", "b,a"},     // a comma without a blank does not split
      {"apple, Apple, apple", "Apple, apple"},
      {"apples, apple", "apple, apples"},
      {"\xE9t\xE9, zzz", "zzz, \xE9t\xE9"},
      {"abcdefghijklmnopqrstuvwxyz, abcdefghijklmnopqrstuvwx", "abcdefghijklmnopqrstuvwx"},
      {"b,  a", " a, b"},  // a piece may begin with a blank
  };
  for (const auto& c : cases) EXPECT_EQ(services::TidySuggestions(c.list), c.tidy) << c.list;
}

}  // namespace
}  // namespace spellcheck
