// Names that the store must keep whole through every change: long names,
// whatever part of them the folder takes, and the several names of one file.
#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>
#include <memory>
#include <ostream>
#include <string>
#include <system_error>
#include <vector>

#include "store/WordList.h"
#include "support/TestFiles.h"

namespace spellcheck::store {
namespace {

using namespace spellcheck::testing;
using Words = std::vector<std::string>;

// Names up to 259 characters are dictionaries like any other, whatever part
// of them the folder takes.
struct LongNameCase {
  const char* name;
  std::size_t baseLength;
  bool unnamedFiles;  // whether the file system makes files without a name
};

// A file system without unnamed files, as some are.
class WithoutUnnamedFiles final : public ForwardingFileSystem {
 public:
  WithoutUnnamedFiles() : ForwardingFileSystem(FileSystem::Default()) {}
  IoCode CreateUnnamed(const std::string&, std::unique_ptr<File>& file) override {
    file.reset();
    return code::NotSupported;
  }
};

void PrintTo(const LongNameCase& scenario, std::ostream* out) {
  *out << scenario.name;
}

class StoreLongName : public ::testing::TestWithParam<LongNameCase> {};

TEST_P(StoreLongName, TakesEveryChangeAt255Characters) {
  TempDir dir;
  const std::size_t total = 255;
  const std::size_t base = GetParam().baseLength;
  const std::size_t folderLength = total - base - 1;
  ASSERT_GT(folderLength, dir.Path().size() + 1);
  const std::string folder =
      dir.Path() + "/" + std::string(folderLength - dir.Path().size() - 1, 'f');
  ASSERT_TRUE(std::filesystem::create_directory(folder));
  const std::string dic = folder + "/" + std::string(base - 4, 'n') + ".dic";
  ASSERT_EQ(dic.size(), total);
  WithoutUnnamedFiles named;
  FileSystem& fs = GetParam().unnamedFiles ? FileSystem::Default() : named;
  EXPECT_TRUE(InsertWord(fs, "b", dic));
  EXPECT_TRUE(InsertWord(fs, "a", dic));
  EXPECT_TRUE(InsertWord(fs, "c", dic));
  EXPECT_TRUE(RemoveWord(fs, "b", dic, false));
  EXPECT_EQ(ReadDictionary(dic), (Words{"a", "c"}));
  const auto entries = std::distance(std::filesystem::directory_iterator(folder),
                                     std::filesystem::directory_iterator());
  EXPECT_EQ(entries, 1) << "nothing left beside the dictionary";
}

INSTANTIATE_TEST_SUITE_P(Store, StoreLongName,
                         ::testing::Values(LongNameCase{"ShortBase", 5, true},
                                           LongNameCase{"MediumBase", 14, true},
                                           LongNameCase{"LongBase", 200, true},
                                           LongNameCase{"ShortBaseNamedCopies", 5, false},
                                           LongNameCase{"MediumBaseNamedCopies", 14, false},
                                           LongNameCase{"LongBaseNamedCopies", 200, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(StoreHardLinks, EveryNameOfTheFileSeesTheChange) {
  TempDir dir;
  const std::string dic = dir.File("d.dic");
  const std::string other = dir.File("other.dic");
  WriteDictionary(dic, {"b", "d"});
  std::error_code failed;
  std::filesystem::create_hard_link(dic, other, failed);
  if (failed) GTEST_SKIP() << "the file system has no hard links";
  FileSystem& fs = FileSystem::Default();
  EXPECT_TRUE(InsertWord(fs, "c", dic));
  EXPECT_EQ(ReadDictionary(other), (Words{"b", "c", "d"}));
  EXPECT_TRUE(RemoveWord(fs, "b", other, false));
  EXPECT_EQ(ReadDictionary(dic), (Words{"c", "d"}));
  FileInfo info;
  ASSERT_EQ(fs.Info(dic, info), code::Ok);
  EXPECT_EQ(info.links, 2u) << "still one file";
  // Emptied through one name: that name goes, the other stays without words.
  EXPECT_TRUE(RemoveWord(fs, "c", dic, false));
  EXPECT_TRUE(RemoveWord(fs, "d", dic, false));
  EXPECT_FALSE(FileExists(dic));
  EXPECT_EQ(ReadBytes(other), "");
}

}  // namespace
}  // namespace spellcheck::store
