// The batch session gives the checker object's answers, byte for byte, while
// it keeps dictionaries in memory, and sees files that change under it.
#include <gtest/gtest.h>
#include <spellcheck/SpellCheck.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "checker/SpellerCheck.h"
#include "support/SettledFiles.h"
#include "support/TestFiles.h"

namespace spellcheck {
namespace {

using testing::Backdate;
using testing::RecordBytes;
using testing::TempDir;
using testing::WriteBytes;
using testing::WriteDictionary;
using Words = std::vector<std::string>;

#define MARKERS10                                                                                 \
  DefaultDic, DefaultDic, DefaultDic, DefaultDic, DefaultDic, DefaultDic, DefaultDic, DefaultDic, \
      DefaultDic, DefaultDic

struct Maker {
  const char* name;
  std::function<std::unique_ptr<TSpellerCheck>()> make;
};

const Maker kMakers[] = {
    {"CheckerObject", [] { return std::unique_ptr<TSpellerCheck>(CreateSpellerCheck()); }},
    {"BatchSession", [] { return CreateBatchSession(); }},
    {"CheckerObjectKeepingContents",
     [] {
       static testing::SettledFiles fs;
       return std::unique_ptr<TSpellerCheck>(std::make_unique<SpellerCheck>(fs));
     }},
};

void PrintTo(const Maker& maker, std::ostream* os) {
  *os << maker.name;
}

class BothCheckers : public ::testing::TestWithParam<Maker> {
 protected:
  BothCheckers() : checker_(GetParam().make()) {
    checker_->SetMainDic(main_.c_str());
    checker_->SetCustDic(cust_.c_str());
  }
  bool Check(const char* word, bool useExtra = false, bool ignoreCase = false) {
    return checker_->CheckWord(word, useExtra, ignoreCase, DefaultDic, MARKERS10);
  }
  std::string Suggest(const char* word, bool useExtra = false) {
    return checker_->SuggestWords(word, useExtra, false, DefaultDic, MARKERS10);
  }
  void Write(const std::string& path, const Words& words) {
    WriteDictionary(path, words);
    Backdate(path);
  }

  TempDir dir_;
  std::string main_ = dir_.File("main.dic");
  std::string cust_ = dir_.File("cust.dic");
  std::unique_ptr<TSpellerCheck> checker_;
};

TEST_P(BothCheckers, WordCheckAndSuggestions) {
  Write(main_, {"Paris", "horse", "hose", "house", "houses", "mouse"});
  Write(cust_, {"custom", "louse"});
  EXPECT_TRUE(Check("House"));
  EXPECT_TRUE(Check("Paris"));
  EXPECT_FALSE(Check("paris"));
  EXPECT_FALSE(Check("custom"));
  EXPECT_TRUE(Check("custom", true));
  EXPECT_FALSE(Check("CUSTOM", true));
  EXPECT_TRUE(Check("CUSTOM", true, true));
  EXPECT_EQ(Suggest("house"), "horse, houses, mouse");
  EXPECT_EQ(Suggest("house", true), "horse, houses, louse, mouse");
  EXPECT_EQ(Suggest("x", true), "");
}

TEST_P(BothCheckers, SeesADictionaryRewrittenInPlaceBetweenCalls) {
  Write(main_, {"apple", "house"});
  EXPECT_TRUE(Check("house"));
  EXPECT_EQ(Suggest("mouse"), "house");
  // Same size, same file, another word: only the time stamp tells.
  WriteDictionary(main_, {"apple", "mouse"});
  EXPECT_FALSE(Check("house"));
  EXPECT_TRUE(Check("mouse"));
  EXPECT_EQ(Suggest("house"), "mouse");
  // And again at once, within the same tick of the file system's clock.
  WriteDictionary(main_, {"apple", "house"});
  EXPECT_TRUE(Check("house"));
  EXPECT_FALSE(Check("mouse"));
}

TEST_P(BothCheckers, SeesADictionaryReplacedRemovedAndMadeAgain) {
  Write(main_, {"house"});
  EXPECT_TRUE(Check("house"));
  const std::string fresh = dir_.File("fresh.dic");
  Write(fresh, {"mouse"});
  std::filesystem::rename(fresh, main_);  // replaces, on every platform
  EXPECT_FALSE(Check("house"));
  EXPECT_TRUE(Check("mouse"));
  ASSERT_EQ(std::remove(main_.c_str()), 0);
  EXPECT_FALSE(Check("mouse"));
  EXPECT_EQ(Suggest("house"), "");
  Write(main_, {"mouse"});
  EXPECT_TRUE(Check("mouse"));
}

TEST_P(BothCheckers, SeesItsOwnAndAnotherCheckersWrites) {
  Write(main_, {"house"});
  Write(cust_, {"zebra"});
  EXPECT_FALSE(Check("mouse", true));
  EXPECT_TRUE(checker_->AddWord("mouse", DefaultDic));
  EXPECT_TRUE(Check("mouse", true));
  std::unique_ptr<TSpellerCheck> other(CreateSpellerCheck());
  EXPECT_TRUE(other->DeleteWord("mouse", false, false, cust_.c_str(), DefaultDic));
  EXPECT_FALSE(Check("mouse", true));
  EXPECT_TRUE(checker_->MergeDictionary(DefaultDic, DefaultDic));
  EXPECT_TRUE(Check("zebra"));
  EXPECT_TRUE(checker_->DeleteWord("zebra", true, false, DefaultDic, DefaultDic));
  EXPECT_FALSE(Check("zebra", true));
}

TEST_P(BothCheckers, ReadOnlyAndUnreadableDictionaries) {
  Write(main_, {"house"});
  ::chmod(main_.c_str(), 0444);
  EXPECT_TRUE(Check("house"));
  EXPECT_TRUE(Check("house"));
  const std::string folder = dir_.File("folder.dic");
  ASSERT_TRUE(std::filesystem::create_directory(folder));
  EXPECT_FALSE(checker_->CheckWord("house", false, false, folder.c_str(), MARKERS10));
  EXPECT_EQ(checker_->SuggestWords("mouse", false, false, folder.c_str(), MARKERS10),
            std::string());
#if defined(_WIN32)
  GTEST_SKIP() << "the unreadable case needs a second user";
#else
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to make a file another user cannot read";
  ::chmod(main_.c_str(), 0600);
  const int status = testing::RunUnprivileged([&] {
    auto checker = GetParam().make();
    checker->SetMainDic(main_.c_str());
    const bool first = checker->CheckWord("house", false, false, DefaultDic, MARKERS10);
    const bool second = checker->CheckWord("house", false, false, DefaultDic, MARKERS10);
    return first || second ? 1 : 0;
  });
  EXPECT_EQ(status, 0);
#endif
}

TEST_P(BothCheckers, ANameSetToTheMarkerStandsForTheDefaultName) {
  char saved[4096];
  ASSERT_NE(::getcwd(saved, sizeof saved), nullptr);
  ASSERT_EQ(::chdir(dir_.Path().c_str()), 0);
  checker_->SetMainDic(DefaultDic);
  checker_->SetCustDic(DefaultDic);
  EXPECT_EQ(checker_->GetMainDic(), DefaultDic);  // kept as given
  bool added = false, found = false, foundWithCustom = false;
  std::string suggested;
  try {
    added = checker_->AddWord("house", DefaultDic);
    found = Check("house");
    foundWithCustom = Check("house", true);
    suggested = checker_->SuggestWords("mouse", true, false, DefaultDic, MARKERS10);
  } catch (...) {
  }
  const bool madeCustom = testing::FileExists("cust.dic");
  EXPECT_EQ(::chdir(saved), 0);
  EXPECT_TRUE(added);
  EXPECT_TRUE(madeCustom);
  EXPECT_FALSE(found);
  EXPECT_TRUE(foundWithCustom);
  EXPECT_EQ(suggested, "house");
}

// The checker object keeps a dictionary it was asked about twice while the
// file stays as it was; any change makes the file answer again.
TEST(CheckerObjectKeepingContents, SeesEveryChangeOfAKeptDictionary) {
  struct Case {
    const char* name;
    std::function<void(const std::string& main, TempDir& dir)> change;
    bool house, mouse;
  };
  const Case cases[] = {
      {"rewritten in place, same size",
       [](const std::string& main, TempDir&) {
         WriteDictionary(main, {"apple", "mouse"});
       },
       false, true},
      {"replaced by a rename",
       [](const std::string& main, TempDir& dir) {
         const std::string fresh = dir.File("fresh.dic");
         WriteDictionary(fresh, {"mouse"});
         Backdate(fresh);
         std::filesystem::rename(fresh, main);
       },
       false, true},
      {"removed", [](const std::string& main, TempDir&) { std::filesystem::remove(main); }, false,
       false},
      {"cut short",
       [](const std::string& main, TempDir&) { std::filesystem::resize_file(main, 25); }, false,
       false},
      {"a folder in its place",
       [](const std::string& main, TempDir&) {
         std::filesystem::remove(main);
         std::filesystem::create_directory(main);
       },
       false, false},
  };
  static testing::SettledFiles fs;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    const std::string main = dir.File("main.dic");
    WriteDictionary(main, {"apple", "house"});
    Backdate(main);
    SpellerCheck checker(fs);
    checker.SetMainDic(main.c_str());
    auto check = [&](const char* word) {
      return checker.CheckWord(word, false, false, DefaultDic, MARKERS10);
    };
    EXPECT_TRUE(check("house"));
    EXPECT_TRUE(check("House"));  // kept from here on
    EXPECT_FALSE(check("mouse"));
    c.change(main, dir);
    EXPECT_EQ(check("house"), c.house);
    EXPECT_EQ(check("mouse"), c.mouse);
  }
}

TEST(BatchSessionRecheck, OwnWritesAndRecentChangesAreSeenWithinTheInterval) {
  TempDir dir;
  const std::string main = dir.File("main.dic");
  auto session = CreateBatchSession(store::FileSystem::Default(), std::chrono::hours(1));
  session->SetMainDic(main.c_str());
  WriteDictionary(main, {"apple", "house"});
  Backdate(main);
  EXPECT_TRUE(session->CheckWord("house", false, false, DefaultDic, MARKERS10));
  EXPECT_TRUE(session->DeleteWord("house", false, false, DefaultDic, DefaultDic));
  EXPECT_FALSE(session->CheckWord("house", false, false, DefaultDic, MARKERS10));
  EXPECT_TRUE(session->AddWord("mouse", main.c_str()));
  EXPECT_TRUE(session->CheckWord("mouse", false, false, DefaultDic, MARKERS10));
  // Changed by someone else just now: not trusted, so looked at every time.
  WriteDictionary(main, {"apple", "zebra"});
  EXPECT_FALSE(session->CheckWord("mouse", false, false, DefaultDic, MARKERS10));
  EXPECT_TRUE(session->CheckWord("zebra", false, false, DefaultDic, MARKERS10));
}

INSTANTIATE_TEST_SUITE_P(Services, BothCheckers, ::testing::ValuesIn(kMakers),
                         [](const auto& info) { return std::string(info.param.name); });

// Dictionary shapes for the comparison of the two, as raw file bytes.
struct Shape {
  const char* name;
  std::function<std::string(std::mt19937&, Words&)> bytes;
};

std::string RandomWord(std::mt19937& random) {
  static const char letters[] = "aabcdeehilmnorstuAHM\xE9\xC9";
  std::string word(1 + random() % 9, 'a');
  for (char& c : word) c = letters[random() % (sizeof letters - 1)];
  return word;
}

std::string AsRecords(const Words& words, char filler) {
  std::string bytes;
  for (const auto& word : words) bytes += RecordBytes(word, filler);
  return bytes;
}

const Shape kShapes[] = {
    {"Ordered",
     [](std::mt19937& random, Words& words) {
       for (int i = 0; i < 3000; ++i) words.push_back(RandomWord(random));
       std::sort(words.begin(), words.end());
       return AsRecords(words, 'a');
     }},
    {"OrderedWithDuplicatesAndATrailingPiece",
     [](std::mt19937& random, Words& words) {
       for (int i = 0; i < 3000; ++i) words.push_back(RandomWord(random));
       for (int i = 0; i < 300; ++i) words.push_back(words[i]);
       std::sort(words.begin(), words.end());
       return AsRecords(words, 'e') + "\x05house";
     }},
    {"OutOfOrder",
     [](std::mt19937& random, Words& words) {
       for (int i = 0; i < 3000; ++i) words.push_back(RandomWord(random));
       return AsRecords(words, 'h');
     }},
    {"OverlongLengthBytes",
     [](std::mt19937& random, Words& words) {
       for (int i = 0; i < 500; ++i) words.push_back(RandomWord(random));
       words.push_back("abcdefghijklmnopqrstuvwx");
       std::sort(words.begin(), words.end());
       std::string bytes = AsRecords(words, 'a');
       for (std::size_t at = 0; at < bytes.size(); at += 25 * 7) bytes[at] = static_cast<char>(200);
       return bytes;
     }},
    {"Empty", [](std::mt19937&, Words&) { return std::string(); }},
    {"OnlyATrailingPiece", [](std::mt19937&, Words&) { return std::string(24, 'a'); }},
};

void PrintTo(const Shape& shape, std::ostream* os) {
  *os << shape.name;
}

class SameAnswers : public ::testing::TestWithParam<Shape> {};

TEST_P(SameAnswers, KeptContentsAndBatchSessionAgreeWithTheFileOnEveryQuery) {
  TempDir dir;
  const std::string main = dir.File("main.dic");
  const std::string cust = dir.File("cust.dic");
  const std::string extra = dir.File("extra.dic");
  const std::string missing = dir.File("missing.dic");
  std::mt19937 random(7);
  Words words;
  WriteBytes(main, GetParam().bytes(random, words));
  Words custWords;
  for (int i = 0; i < 200; ++i) custWords.push_back(RandomWord(random));
  std::sort(custWords.begin(), custWords.end());
  WriteDictionary(cust, custWords);
  WriteDictionary(extra, {"Hello", "house", "mouse"});
  for (const auto& path : {main, cust, extra}) Backdate(path);

  // The store's own answers, file read on every call, against the batch
  // session and the checker object keeping what it read.
  store::FileSystem& files = store::FileSystem::Default();
  auto checker = std::make_unique<SpellerCheck>(files, engine::ReadEachCall(files));
  static testing::SettledFiles settled;
  auto keeping = std::make_unique<SpellerCheck>(settled);
  auto session = CreateBatchSession();
  for (TSpellerCheck* each : {static_cast<TSpellerCheck*>(checker.get()),
                              static_cast<TSpellerCheck*>(keeping.get()), session.get()}) {
    each->SetMainDic(main.c_str());
    each->SetCustDic(cust.c_str());
  }

  Words queries = words;
  for (int i = 0; i < 400; ++i) queries.push_back(RandomWord(random));
  for (int i = 0; i < 200; ++i) {
    std::string word = queries[random() % queries.size()];
    if (!word.empty()) word[0] = static_cast<char>(word[0] & ~0x20);  // capitalised forms
    queries.push_back(word);
  }
  queries.push_back("");
  queries.push_back(std::string(30, 'a'));

  const char* dic1Choices[] = {DefaultDic, extra.c_str(), missing.c_str()};
  const char* dic2Choices[] = {DefaultDic, extra.c_str(), cust.c_str()};
  const char* mainChoices[] = {DefaultDic, missing.c_str(), extra.c_str()};
  int compared = 0;
  for (std::size_t q = 0; q < queries.size(); q += 3) {
    const char* word = queries[q].c_str();
    const bool useExtra = q % 2 == 0;
    const bool ignoreCase = q % 5 == 0;
    const char* mainDic = mainChoices[q % 7 == 0 ? 1 + q % 2 : 0];
    const char* dic1 = dic1Choices[q % 3];
    const char* dic2 = dic2Choices[q % 4 == 0 ? 1 + q % 2 : 0];
    const bool expected =
        checker->CheckWord(word, useExtra, ignoreCase, mainDic, dic1, dic2, DefaultDic, DefaultDic,
                           DefaultDic, DefaultDic, DefaultDic, DefaultDic, DefaultDic, DefaultDic);
    for (TSpellerCheck* other : {static_cast<TSpellerCheck*>(keeping.get()), session.get()}) {
      EXPECT_EQ(
          other->CheckWord(word, useExtra, ignoreCase, mainDic, dic1, dic2, DefaultDic, DefaultDic,
                           DefaultDic, DefaultDic, DefaultDic, DefaultDic, DefaultDic, DefaultDic),
          expected)
          << "CheckWord '" << word << "' query " << q;
    }
    if (q % 4 == 0) {
      const std::string list = checker->SuggestWords(
          word, useExtra, ignoreCase, mainDic, dic1, dic2, DefaultDic, DefaultDic, DefaultDic,
          DefaultDic, DefaultDic, DefaultDic, DefaultDic, DefaultDic);
      for (TSpellerCheck* other : {static_cast<TSpellerCheck*>(keeping.get()), session.get()}) {
        EXPECT_EQ(other->SuggestWords(word, useExtra, ignoreCase, mainDic, dic1, dic2, DefaultDic,
                                      DefaultDic, DefaultDic, DefaultDic, DefaultDic, DefaultDic,
                                      DefaultDic, DefaultDic),
                  list)
            << "SuggestWords '" << word << "' query " << q;
      }
    }
    ++compared;
  }
  EXPECT_GT(compared, 100);
}

INSTANTIATE_TEST_SUITE_P(Services, SameAnswers, ::testing::ValuesIn(kShapes),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace spellcheck
