// Adding, deleting and merging through the checker object: which dictionary
// each default marker names and which files each operation touches.
#include <gtest/gtest.h>
#include <spellcheck/SpellCheck.h>

#include <algorithm>
#include <string>
#include <vector>

#include "checker/SpellerCheck.h"
#include "support/TestFiles.h"
#include "unit/ServicesTestFileSystem.h"

namespace spellcheck {
namespace {

using testing::FileExists;
using testing::ReadDictionary;
using testing::RecordingFileSystem;
using testing::TempDir;
using testing::WriteDictionary;
using Words = std::vector<std::string>;

class Maintenance : public ::testing::Test {
 protected:
  Maintenance() {
    checker_.SetMainDic(main_.c_str());
    checker_.SetCustDic(cust_.c_str());
  }

  bool Opened(const std::string& name) const {
    for (const auto& opened : fs_.opened) {
      if (opened == name) return true;
    }
    return false;
  }

  TempDir dir_;
  std::string main_ = dir_.File("main.dic");
  std::string cust_ = dir_.File("cust.dic");
  std::string other_ = dir_.File("other.dic");
  RecordingFileSystem fs_;
  SpellerCheck checker_{fs_};
};

TEST_F(Maintenance, AddWordGoesToTheCustomDictionaryByDefault) {
  EXPECT_TRUE(checker_.AddWord("hello", DefaultDic));
  EXPECT_EQ(ReadDictionary(cust_), Words{"hello"});
  EXPECT_FALSE(checker_.AddWord("hello", DefaultDic));
  EXPECT_TRUE(checker_.AddWord(nullptr, DefaultDic));  // the empty word
  EXPECT_EQ(ReadDictionary(cust_), (Words{"", "hello"}));
  EXPECT_FALSE(FileExists(main_));
}

TEST_F(Maintenance, AddWordToANamedDictionaryLeavesTheCustomOneAlone) {
  EXPECT_TRUE(checker_.AddWord("zebra", other_.c_str()));
  EXPECT_TRUE(checker_.AddWord("apple", other_.c_str()));
  EXPECT_EQ(ReadDictionary(other_), (Words{"apple", "zebra"}));
  EXPECT_FALSE(Opened(cust_));
}

TEST_F(Maintenance, AddWordResolvesTheMarkerWhenCalled) {
  checker_.SetCustDic(other_.c_str());
  EXPECT_TRUE(checker_.AddWord("word", DefaultDic));
  EXPECT_EQ(ReadDictionary(other_), Words{"word"});
  EXPECT_FALSE(FileExists(cust_));
}

TEST_F(Maintenance, AddWordRaisesWhenTheDictionaryCannotBeMade) {
  try {
    checker_.AddWord("word", dir_.File("no-folder/x.dic").c_str());
    ADD_FAILURE() << "no error raised";
  } catch (const EInOutError& error) {
    EXPECT_EQ(error.ErrorCode, 3);
    EXPECT_STREQ(error.what(), "Invalid filename");
  }
}

struct DeleteCase {
  const char* title;
  bool useSecond;
  bool firstHolds;
  bool secondHolds;
  bool expected;
  Words firstAfter;   // empty: the file is gone
  Words secondAfter;  // empty: the file is gone
  bool secondOpened;
};

void PrintTo(const DeleteCase& c, std::ostream* os) {
  *os << c.title;
}

class DeleteWordTable : public Maintenance, public ::testing::WithParamInterface<DeleteCase> {};

TEST_P(DeleteWordTable, RemovesFromTheFirstOrElseTheSecond) {
  const DeleteCase& c = GetParam();
  WriteDictionary(main_, c.firstHolds ? Words{"apple", "word"} : Words{"apple"});
  WriteDictionary(cust_, c.secondHolds ? Words{"pear", "word"} : Words{"pear"});
  EXPECT_EQ(checker_.DeleteWord("word", c.useSecond, false, DefaultDic, DefaultDic), c.expected);
  EXPECT_EQ(ReadDictionary(main_), c.firstAfter);
  EXPECT_EQ(ReadDictionary(cust_), c.secondAfter);
  EXPECT_EQ(Opened(cust_), c.secondOpened);
}

const DeleteCase kDeleteCases[] = {
    {"WithoutSecondFirstHolds", false, true, true, true, {"apple"}, {"pear", "word"}, false},
    {"WithoutSecondFirstLacks", false, false, true, false, {"apple"}, {"pear", "word"}, false},
    {"WithSecondFirstHolds", true, true, true, true, {"apple"}, {"pear", "word"}, false},
    {"WithSecondOnlySecondHolds", true, false, true, true, {"apple"}, {"pear"}, true},
    {"WithSecondNeitherHolds", true, false, false, false, {"apple"}, {"pear"}, true},
};

INSTANTIATE_TEST_SUITE_P(Services, DeleteWordTable, ::testing::ValuesIn(kDeleteCases),
                         [](const auto& info) { return std::string(info.param.title); });

TEST_F(Maintenance, DeleteWordGoesToTheSecondWhenTheFirstIsMissing) {
  WriteDictionary(cust_, {"word"});
  EXPECT_TRUE(checker_.DeleteWord("WORD", true, true, DefaultDic, DefaultDic));
  EXPECT_FALSE(FileExists(cust_));  // emptied, so deleted
  EXPECT_FALSE(FileExists(main_));
}

TEST_F(Maintenance, DeleteWordNamesOverrideEachDefaultByItself) {
  WriteDictionary(main_, {"word"});
  WriteDictionary(other_, {"word", "zzz"});
  EXPECT_TRUE(checker_.DeleteWord("word", true, false, other_.c_str(), DefaultDic));
  EXPECT_EQ(ReadDictionary(other_), Words{"zzz"});
  EXPECT_EQ(ReadDictionary(main_), Words{"word"});

  WriteDictionary(cust_, {"word"});
  EXPECT_TRUE(checker_.DeleteWord("word", true, false, other_.c_str(), DefaultDic));
  EXPECT_FALSE(FileExists(cust_));
  EXPECT_EQ(ReadDictionary(main_), Words{"word"});
}

TEST_F(Maintenance, DeleteWordErrorInTheFirstLeavesTheSecondUntouched) {
  WriteDictionary(main_, {"apple"});
  WriteDictionary(cust_, {"word"});
  fs_.failName = main_;
  fs_.closeFailure = 5;
  EXPECT_THROW(checker_.DeleteWord("word", true, false, DefaultDic, DefaultDic), EInOutError);
  EXPECT_FALSE(Opened(cust_));
  EXPECT_EQ(ReadDictionary(cust_), Words{"word"});
}

struct MergeCase {
  const char* title;
  bool sourceIsDefault;
  bool targetIsDefault;
  const char* from;  // "cust" or "other"
  const char* into;  // "main" or "target"
};

class MergeTable : public Maintenance, public ::testing::WithParamInterface<MergeCase> {};

TEST_P(MergeTable, EachMarkerIsResolvedByItself) {
  const MergeCase& c = GetParam();
  const std::string target = dir_.File("target.dic");
  const std::string from = dir_.File(std::string(c.from) + ".dic");
  const std::string into = dir_.File(std::string(c.into) + ".dic");
  WriteDictionary(cust_, {"cust"});
  WriteDictionary(other_, {"other"});
  WriteDictionary(main_, {"main"});
  WriteDictionary(target, {"target"});
  EXPECT_TRUE(checker_.MergeDictionary(c.sourceIsDefault ? DefaultDic : other_.c_str(),
                                       c.targetIsDefault ? DefaultDic : target.c_str()));
  EXPECT_FALSE(FileExists(from));
  Words expected{c.from, c.into};
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(ReadDictionary(into), expected);
}

const MergeCase kMergeCases[] = {
    {"BothDefaults", true, true, "cust", "main"},
    {"DefaultSourceNamedTarget", true, false, "cust", "target"},
    {"NamedSourceDefaultTarget", false, true, "other", "main"},
    {"BothNamed", false, false, "other", "target"},
};

INSTANTIATE_TEST_SUITE_P(Services, MergeTable, ::testing::ValuesIn(kMergeCases),
                         [](const auto& info) { return std::string(info.param.title); });

TEST_F(Maintenance, MergeOfAMissingSourceChangesNothing) {
  WriteDictionary(main_, {"main"});
  EXPECT_FALSE(checker_.MergeDictionary(DefaultDic, DefaultDic));
  EXPECT_EQ(ReadDictionary(main_), Words{"main"});
}

TEST_F(Maintenance, MergeOfAnEmptySourceDeletesItAndMakesNoTarget) {
  WriteDictionary(other_, {});
  EXPECT_TRUE(checker_.MergeDictionary(other_.c_str(), DefaultDic));
  EXPECT_FALSE(FileExists(other_));
  EXPECT_FALSE(FileExists(main_));
}

TEST_F(Maintenance, MergeMovesEveryDistinctWordInOrder) {
  WriteDictionary(cust_, {"pear", "apple", "pear", "Apple"});
  WriteDictionary(main_, {"apple", "fig"});
  EXPECT_TRUE(checker_.MergeDictionary(DefaultDic, DefaultDic));
  EXPECT_EQ(ReadDictionary(main_), (Words{"Apple", "apple", "fig", "pear"}));
  EXPECT_FALSE(FileExists(cust_));
}

}  // namespace
}  // namespace spellcheck
