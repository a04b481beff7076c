// The engine as front ends see it: the speller's answers over a set of
// dictionaries, and when contents kept in memory are read again.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "engine/FileWatch.h"
#include "engine/Speller.h"
#include "support/TestFiles.h"

namespace spellcheck::engine {
namespace {

using spellcheck::testing::TempDir;
using spellcheck::testing::WriteDictionary;

constexpr std::int64_t Second = 1'000'000'000;

using Clock = std::filesystem::file_time_type::clock;

void SetModificationTime(const std::string& path, Clock::time_point when) {
  std::error_code error;
  std::filesystem::last_write_time(path, when, error);
  ASSERT_FALSE(error) << error.message();
}

TEST(FileWatch, ContentsAreTrustedOnceTheFileHasBeenQuietOrItsStampIsInTheFuture) {
  struct Case {
    const char* what;
    bool exists;
    std::int64_t changedBeforeRead;  // ns before the reading; negative: after it
    bool settled;
  };
  const Case cases[] = {
      {"an absent file", false, 0, true},
      {"changed an hour before", true, 3600 * Second, true},
      {"changed just before", true, Second / 100, false},
      {"changed at the moment of reading", true, 0, false},
      {"stamped an hour ahead (a skewed clock)", true, -3600 * Second, true},
  };
  const std::int64_t readAt = WallClockNs();
  for (const Case& c : cases) {
    FileState state;
    state.exists = c.exists;
    state.info.changedNs = readAt - c.changedBeforeRead;
    EXPECT_EQ(Settled(state, readAt), c.settled) << c.what;
  }
}

class SpellerTest : public ::testing::Test {
 protected:
  SpellerTest() {
    WriteDictionary(main_, {"Paris", "hello", "known", "well"});
    Age(main_);
  }

  // A file changed an hour ago, as dictionaries usually are.
  static void Age(const std::string& path) {
    SetModificationTime(path, Clock::now() - std::chrono::hours(1));
  }

  Speller Make(Recheck recheck, bool rememberAnswers = true) {
    DictionarySet set;
    set.mains.push_back({main_, "", true, ""});
    set.custom = custom_;
    auto& fs = store::FileSystem::Default();
    return Speller(std::make_unique<Engine>(fs, KeepInMemory(fs, recheck)), set, rememberAnswers);
  }

  TempDir dir_;
  std::string main_ = dir_.File("main.dic");
  std::string custom_ = dir_.File("cust.dic");
};

TEST_F(SpellerTest, AnswersFollowTheCaseAndHyphenRules) {
  struct Case {
    const char* word;
    bool correct;
  };
  const Case cases[] = {
      {"hello", true},      {"Hello", true},        {"HELLO", true},        {"hELLO", false},
      {"Paris", true},      {"paris", false},       {"PARIS", true},        {"well-known", true},
      {"Well-Known", true}, {"well-knwn", false},   {"well--known", false}, {"helo", false},
      {"", false},          {"caf\xC3\xA9", false},
  };
  Speller speller = Make({Recheck::When::OnRefresh, {}});
  for (const Case& c : cases) EXPECT_EQ(speller.IsCorrect(c.word), c.correct) << c.word;
  // The parts of a hyphenated word, asked for by themselves.
  EXPECT_FALSE(speller.IsCorrectWhole("well-known"));
}

TEST_F(SpellerTest, AnAdditionIsSeenAtOnceAndRemembered) {
  Speller speller = Make({Recheck::When::OnRefresh, {}});
  EXPECT_FALSE(speller.IsCorrect("spellcheck"));
  ASSERT_TRUE(speller.AddToCustom("spellcheck"));
  EXPECT_TRUE(speller.IsCorrect("spellcheck"));
  EXPECT_TRUE(speller.IsCorrect("Spellcheck"));
  speller.AcceptForSession("zyx");
  EXPECT_TRUE(speller.IsCorrect("zyx"));
  EXPECT_EQ(spellcheck::testing::ReadDictionary(custom_), std::vector<std::string>{"spellcheck"});
}

TEST_F(SpellerTest, AChangeInPlaceWithTheOldTimeRestoredIsSeenAtTheNextRefresh) {
#if defined(_WIN32)
  GTEST_SKIP() << "Windows keeps no change time apart from the modification time";
#endif
  // Read once the file has been quiet long enough to be trusted as it is.
  std::this_thread::sleep_for(std::chrono::milliseconds(1100));
  Speller speller = Make({Recheck::When::OnRefresh, {}});
  ASSERT_TRUE(speller.IsCorrect("known"));
  ASSERT_FALSE(speller.Refresh()) << "nothing changed";
  const auto before = std::filesystem::last_write_time(main_);
  // Same size, same modification time (as cp -p or rsync --inplace -t leave it).
  WriteDictionary(main_, {"Paris", "hello", "knows", "well"});
  SetModificationTime(main_, before);
  EXPECT_TRUE(speller.IsCorrect("known")) << "kept in memory until told to look";
  EXPECT_TRUE(speller.Refresh());
  EXPECT_FALSE(speller.IsCorrect("known"));
  EXPECT_TRUE(speller.IsCorrect("knows"));
}

TEST_F(SpellerTest, EveryOperationLooksAgainWhenSoConfigured) {
  Speller speller = Make({Recheck::When::EveryOperation, {}}, false);
  ASSERT_FALSE(speller.IsCorrect("world"));
  WriteDictionary(main_, {"hello", "world"});
  EXPECT_TRUE(speller.IsCorrect("world"));
}

TEST_F(SpellerTest, SuggestionsKeepCapitalsAndComeInTextOrder) {
  WriteDictionary(main_, {"card", "care", "cart", "dart", "hello"});
  Age(main_);
  Speller speller = Make({Recheck::When::OnRefresh, {}});
  EXPECT_EQ(speller.Suggest("carx"), (std::vector<std::string>{"card", "care", "cart"}));
  EXPECT_EQ(speller.Suggest("CARX"), (std::vector<std::string>{"CARD", "CARE", "CART"}));
}

}  // namespace
}  // namespace spellcheck::engine
