// A rewritten dictionary keeps its owner, its group and its permission bits.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "store/WordList.h"
#include "support/TestFiles.h"

namespace spellcheck::store {
namespace {

using testing::ReadDictionary;
using testing::TempDir;
using testing::WriteDictionary;
using Words = std::vector<std::string>;

FileSystem& fs = FileSystem::Default();

TEST(StoreOwnership, AnotherUsersDictionaryStaysTheirs) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to give a file to another user";
  TempDir dir;
  const std::string dic = dir.File("theirs.dic");
  WriteDictionary(dic, {"beta"});
  ASSERT_EQ(::chown(dic.c_str(), 65534, 65534), 0);
  ASSERT_EQ(::chmod(dic.c_str(), 0640), 0);
  EXPECT_TRUE(InsertWord(fs, "alpha", dic));
  EXPECT_TRUE(MergeWordList(fs, dic, [&] {
    const std::string source = dir.File("source.dic");
    WriteDictionary(source, {"gamma"});
    return source;
  }()));
  struct stat st;
  ASSERT_EQ(::stat(dic.c_str(), &st), 0);
  EXPECT_EQ(st.st_uid, 65534u);
  EXPECT_EQ(st.st_gid, 65534u);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  EXPECT_EQ(ReadDictionary(dic), (Words{"alpha", "beta", "gamma"}));
  EXPECT_EQ(dir.Entries(), Words{"theirs.dic"}) << "no file left beside it";
}

}  // namespace
}  // namespace spellcheck::store
