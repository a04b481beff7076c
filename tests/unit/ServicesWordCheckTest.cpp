// The word check across dictionaries, through the checker object.
#include <gtest/gtest.h>
#include <spellcheck/SpellCheck.h>

#include <array>
#include <string>
#include <vector>

#include "checker/SpellerCheck.h"
#include "support/TestFiles.h"
#include "unit/ServicesTestFileSystem.h"

namespace spellcheck {
namespace {

using testing::RecordingFileSystem;
using testing::TempDir;
using testing::WriteDictionary;

// Dictionaries of the tests, by label: "main" and "cust" are the checker's
// names, "d1".."d10" each hold "only<N>", "missing" does not exist.
class WordCheckFixture {
 public:
  WordCheckFixture() {
    WriteDictionary(Path("main"), {"Paris", "house"});
    WriteDictionary(Path("cust"), {"custom"});
    for (int n = 1; n <= 10; ++n) {
      WriteDictionary(Path("d" + std::to_string(n)), {"only" + std::to_string(n)});
    }
    mainName_ = Path("main");
    custName_ = Path("cust");
    checker_.SetMainDic(mainName_.c_str());
    checker_.SetCustDic(custName_.c_str());
  }

  std::string Path(const std::string& label) const { return dir_.File(label + ".dic"); }

  // "-" is the default marker, anything else a dictionary label.
  const char* Arg(const std::string& label) {
    if (label == "-") return DefaultDic;
    names_.push_back(Path(label));
    return names_.back().c_str();
  }

  bool Check(const char* word, bool useExtra, bool ignoreCase, const std::string& mainDic,
             const std::array<std::string, 10>& further) {
    names_.reserve(16);
    std::array<const char*, 10> d{};
    for (std::size_t i = 0; i < 10; ++i) d[i] = Arg(further[i]);
    return checker_.CheckWord(word, useExtra, ignoreCase, Arg(mainDic), d[0], d[1], d[2], d[3],
                              d[4], d[5], d[6], d[7], d[8], d[9]);
  }

  // The labels of the files opened, in order.
  std::vector<std::string> Opened() const {
    std::vector<std::string> labels;
    for (const auto& name : fs_.opened) {
      const auto slash = name.rfind('/');
      labels.push_back(name.substr(slash + 1, name.size() - slash - 5));
    }
    return labels;
  }

  RecordingFileSystem fs_;
  SpellerCheck checker_{fs_};

 private:
  TempDir dir_;
  std::string mainName_, custName_;
  std::vector<std::string> names_;
};

const std::array<std::string, 10> kAllMarkers = {"-", "-", "-", "-", "-", "-", "-", "-", "-", "-"};

struct WordCheckCase {
  const char* title;
  const char* word;
  bool useExtra;
  bool ignoreCase;
  std::string mainDic;
  std::array<std::string, 10> further;
  bool expected;
  std::vector<std::string> opened;
};

void PrintTo(const WordCheckCase& c, std::ostream* os) {
  *os << c.title;
}

class WordCheck : public ::testing::TestWithParam<WordCheckCase> {};

TEST_P(WordCheck, ConsultsDictionariesInOrder) {
  const WordCheckCase& c = GetParam();
  WordCheckFixture fixture;
  EXPECT_EQ(fixture.Check(c.word, c.useExtra, c.ignoreCase, c.mainDic, c.further), c.expected);
  EXPECT_EQ(fixture.Opened(), c.opened);
}

const WordCheckCase kWordCheckCases[] = {
    {"CapitalisedWordFoundLoweredAfterOneSearch",
     "House",
     false,
     false,
     "-",
     kAllMarkers,
     true,
     {"main"}},
    {"CapitalisedWordStoredCapitalisedTakesTwoSearches",
     "Paris",
     false,
     false,
     "-",
     kAllMarkers,
     true,
     {"main", "main"}},
    {"LowerCaseWordNeverTriesTheCapitalisedForm",
     "paris",
     false,
     false,
     "-",
     kAllMarkers,
     false,
     {"main"}},
    {"IgnoreCaseAcceptsAProbedRecord", "paris", false, true, "-", kAllMarkers, true, {"main"}},
    {"WithoutUseExtraCustomIsNotOpened", "custom", false, false, "-", kAllMarkers, false, {"main"}},
    {"DefaultDic1IsTheCustomDictionary",
     "custom",
     true,
     false,
     "-",
     kAllMarkers,
     true,
     {"main", "cust"}},
    {"AllMarkersMeanMainAndCustomOnly",
     "only3",
     true,
     false,
     "-",
     kAllMarkers,
     false,
     {"main", "cust"}},
    {"MarkerInDic3EndsTheWalkAfterMainCustomAndDic2",
     "only4",
     true,
     false,
     "-",
     {"-", "d2", "-", "d4", "-", "-", "-", "-", "-", "-"},
     false,
     {"main", "cust", "d2"}},
    {"Dic2IsConsultedAfterTheCustomDictionary",
     "only2",
     true,
     false,
     "-",
     {"-", "d2", "-", "d4", "-", "-", "-", "-", "-", "-"},
     true,
     {"main", "cust", "d2"}},
    {"MarkerInDic5EndsTheWalkAfterTheFourthEntry",
     "only6",
     true,
     false,
     "-",
     {"d1", "d2", "d3", "d4", "-", "d6", "d7", "d8", "d9", "d10"},
     false,
     {"main", "d1", "d2", "d3", "d4"}},
    {"WordInDic10IsFoundAfterElevenDictionaries",
     "only10",
     true,
     false,
     "-",
     {"d1", "d2", "d3", "d4", "d5", "d6", "d7", "d8", "d9", "d10"},
     true,
     {"main", "d1", "d2", "d3", "d4", "d5", "d6", "d7", "d8", "d9", "d10"}},
    {"WordInNoneOfTenNamedDictionaries",
     "nowhere",
     true,
     false,
     "-",
     {"d1", "d2", "d3", "d4", "d5", "d6", "d7", "d8", "d9", "d10"},
     false,
     {"main", "d1", "d2", "d3", "d4", "d5", "d6", "d7", "d8", "d9", "d10"}},
    {"ExplicitDic1ReplacesTheCustomDictionary",
     "custom",
     true,
     false,
     "-",
     {"d1", "-", "-", "-", "-", "-", "-", "-", "-", "-"},
     false,
     {"main", "d1"}},
    {"ExplicitMainDicWithDefaultDic1StillTakesTheCustomDictionary",
     "custom",
     true,
     false,
     "d1",
     kAllMarkers,
     true,
     {"d1", "cust"}},
    {"MissingMainWithoutUseExtra",
     "custom",
     false,
     false,
     "missing",
     kAllMarkers,
     false,
     {"missing"}},
    {"MissingMainWithUseExtraWalksOn",
     "custom",
     true,
     false,
     "missing",
     kAllMarkers,
     true,
     {"missing", "cust"}},
    {"MissingFurtherDictionaryIsSkipped",
     "only2",
     true,
     false,
     "-",
     {"missing", "d2", "-", "-", "-", "-", "-", "-", "-", "-"},
     true,
     {"main", "missing", "d2"}},
    {"CapitalisedWordIsSearchedTwicePerDictionary",
     "Only7",
     true,
     false,
     "-",
     {"d6", "d7", "-", "-", "-", "-", "-", "-", "-", "-"},
     true,
     {"main", "main", "d6", "d6", "d7"}},
    {"NullWordIsTheEmptyWord", nullptr, true, false, "-", kAllMarkers, false, {"main", "cust"}},
    {"MarkerInEveryPositionAfterDic1EndsTheWalk",
     "only9",
     true,
     false,
     "-",
     {"d1", "d2", "d3", "d4", "d5", "d6", "d7", "-", "d9", "-"},
     false,
     {"main", "d1", "d2", "d3", "d4", "d5", "d6", "d7"}},
};

INSTANTIATE_TEST_SUITE_P(Services, WordCheck, ::testing::ValuesIn(kWordCheckCases),
                         [](const auto& info) { return std::string(info.param.title); });

TEST(WordCheckNames, AnExplicitMainDicLeavesTheStoredNameAlone) {
  WordCheckFixture fixture;
  const char* before = fixture.checker_.GetMainDic();
  EXPECT_TRUE(fixture.Check("only1", false, false, "d1", kAllMarkers));
  EXPECT_EQ(fixture.checker_.GetMainDic(), before);
}

TEST(WordCheckNames, DefaultsAreResolvedFromTheNamesAtTheTimeOfTheCall) {
  WordCheckFixture fixture;
  EXPECT_FALSE(fixture.Check("only5", true, false, "-", kAllMarkers));
  const std::string other = fixture.Path("d5");
  fixture.checker_.SetCustDic(other.c_str());
  EXPECT_TRUE(fixture.Check("only5", true, false, "-", kAllMarkers));
}

TEST(WordCheckErrors, AnInputOutputErrorEndsTheCheck) {
  WordCheckFixture fixture;
  fixture.fs_.failName = fixture.Path("cust");
  fixture.fs_.closeFailure = 32;
  try {
    fixture.Check("only2", true, false, "-", {"-", "d2", "-", "-", "-", "-", "-", "-", "-", "-"});
    ADD_FAILURE() << "no error raised";
  } catch (const EInOutError& error) {
    EXPECT_EQ(error.ErrorCode, 32);
    EXPECT_STREQ(error.what(), "I/O error 32");
  }
  EXPECT_EQ(fixture.Opened(), (std::vector<std::string>{"main", "cust"}));
}

TEST(WordCheckErrors, AFailingReadIsAMissNotAnError) {
  WordCheckFixture fixture;
  fixture.fs_.failName = fixture.Path("main");
  fixture.fs_.readableBytes = 0;
  EXPECT_FALSE(fixture.Check("house", false, false, "-", kAllMarkers));
  EXPECT_TRUE(fixture.Check("custom", true, false, "-", kAllMarkers));
}

}  // namespace
}  // namespace spellcheck
