// build, dump and verify.
#include "ToolFixture.h"

#if !defined(_WIN32)
#include <sys/stat.h>
#endif

namespace spellcheck::testing {
namespace {

using Words = std::vector<std::string>;

TEST_F(ToolTest, BuildSortsByByteDropsDuplicatesAndReportsWhatItLeavesOut) {
  WriteBytes(File("a.txt"), "zebra\nApple\r\napple\n\n  banana  \nzebra\nÉclair\n");
  WriteBytes(File("b.txt"), "abcdefghijklmnopqrstuvwxyz\nłódź\napple\nzz\nà la carte\n");
  const ToolResult result = Run({"build", "a.txt", "b.txt", "-o", "out.dic"});
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(result.err,
            "spellcheck: b.txt:1: 'abcdefghijklmnopqrstuvwxyz' is longer than 24 characters, "
            "left out\n"
            "spellcheck: b.txt:2: 'łódź' has a character that code page 1252 cannot hold, left "
            "out\n"
            "spellcheck: b.txt:5: 'à la carte' holds a blank (a text's words never do), left "
            "out\n"
            "spellcheck: out.dic: 6 words, 3 left out (1 with a character outside code page "
            "1252, 1 longer than 24 characters, 1 with a blank)\n");
  EXPECT_EQ(ReadDictionary(File("out.dic")), (Words{"Apple", "apple", "banana", "zebra", "zz",
                                                    "\xC9"
                                                    "clair"}));
  EXPECT_EQ(dir_.Entries(), (Words{"a.txt", "b.txt", "main.dic", "out.dic"}));
}

TEST_F(ToolTest, BuildReplacesTheOldFileAndLeavesNothingBehindOnFailure) {
  WriteBytes(File("a.txt"), "one\ntwo\n");
  WriteSorted(File("out.dic"), {"old"});
  EXPECT_EQ(Run({"build", "--quiet", "a.txt", "-o", "out.dic"}).err, "");
  EXPECT_EQ(ReadDictionary(File("out.dic")), (Words{"one", "two"}));

  const ToolResult missing = Run({"build", "a.txt", "none.txt", "-o", "out.dic"});
  EXPECT_EQ(missing.status, 2);
  EXPECT_EQ(missing.err, "spellcheck: none.txt: No such file or directory\n");
  EXPECT_EQ(ReadDictionary(File("out.dic")), (Words{"one", "two"}));

  const ToolResult folder = Run({"build", "a.txt", "-o", "no/such/folder/out.dic"});
  EXPECT_EQ(folder.status, 2);
  EXPECT_EQ(dir_.Entries(), (Words{"a.txt", "main.dic", "out.dic"}));
}

TEST_F(ToolTest, BuildOverAnExistingDictionaryKeepsItsPermissions) {
#if defined(_WIN32)
  GTEST_SKIP() << "permission bits are POSIX";
#endif
  WriteBytes(File("a.txt"), "one\n");
  WriteSorted(File("out.dic"), {"old"});
  ::chmod(File("out.dic").c_str(), 0600);
  EXPECT_EQ(Run({"build", "--quiet", "a.txt", "-o", "out.dic"}).status, 0);
  struct stat st {};
  ASSERT_EQ(::stat(File("out.dic").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0600u);
  EXPECT_EQ(ReadDictionary(File("out.dic")), (Words{"one"}));
}

TEST_F(ToolTest, DumpPrintsTheWordsInUtf8) {
  const ToolResult result = Run({"dump", MainDic()});
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.out,
            "Paris\na\napple\ncafé\ncard\ncare\ncart\ncarts\ndart\ndon't\nhello\nhorse\nhouse\n"
            "houses\nis\nknown\nmouse\nnaïve\nnote\nthe\nwell\nword\nworld\n");
  EXPECT_EQ(Run({"dump", File("none.dic")}).err,
            "spellcheck: " + File("none.dic") + ": File not found\n");
  EXPECT_EQ(Run({"dump", File("none.dic")}).status, 2);
}

TEST_F(ToolTest, VerifyFindsEveryKindOfDamage) {
  EXPECT_EQ(Run({"verify", MainDic()}).out, MainDic() + ": 23 records, 0 problems\n");
  EXPECT_EQ(Run({"verify", MainDic()}).status, 0);

  std::string bytes = RecordBytes("beta") + RecordBytes("alpha") + RecordBytes("alpha");
  std::string tooLong = RecordBytes("gamma");
  tooLong[0] = 30;
  bytes += tooLong + "tail";
  WriteBytes(File("bad.dic"), bytes);
  const ToolResult result = Run({"verify", "bad.dic"});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.out,
            "bad.dic: record 2: 'alpha' is out of order (after 'beta')\n"
            "bad.dic: record 3: 'alpha' is a duplicate of the record before\n"
            "bad.dic: record 4: length byte 30 is over 24\n"
            "bad.dic: a trailing piece of 4 bytes after the last record\n"
            "bad.dic: 4 records, 4 problems\n");
}

}  // namespace
}  // namespace spellcheck::testing
